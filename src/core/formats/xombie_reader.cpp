#include "formats/xombie_reader.h"

#include <string>

#include "model/sami_model.h"

namespace verbanta {

namespace {

// After the two name parts and the font name: size, four colours, four alpha values, four
// flags and two more integers, all numbers, then the character set.
constexpr int kStyleNumbersBeforeCharset = 15;

std::optional<std::string> styleKey(FieldCursor& fields)
{
    const auto a = fields.next();
    const auto b = fields.next();
    if (!a || !b)
        return std::nullopt;
    return std::string(*b) + "_" + std::string(*a);
}

bool readStyleLine(std::string_view value, StyleCharsets& styles)
{
    FieldCursor fields(value);
    const auto key = styleKey(fields);
    if (!key || !fields.next())
        return false;
    const auto charset = readStyleCharset(fields, kStyleNumbersBeforeCharset);
    if (!charset)
        return false;
    styles[*key] = *charset;
    return true;
}

// A "Line=" value: false on a parse error; a line of any type but "D" reads as true and adds
// nothing.
bool readLineLine(std::string_view value, SamiModel& model, const StyleCharsets& styles, bool wide)
{
    FieldCursor fields(value);
    const auto type = fields.next();
    if (!type)
        return false;
    if (*type != "D")
        return true;
    if (!fields.next() || !fields.nextNumber())
        return false;
    const auto startField = fields.next();
    const auto endField = fields.next();
    if (!startField || !endField)
        return false;
    const auto start = parseXombieTime(*startField);
    const auto end = parseXombieTime(*endField);
    const auto key = styleKey(fields);
    if (!start || !end || !key || !fields.next())
        return false;
    for (int i = 0; i < 3; ++i)
        if (!fields.nextNumber())
            return false;
    const auto text = fields.rest();
    if (!text)
        return false;
    const int charset = charsetOfStyle(styles, normalizeStyleName(*key));
    appendCaptionWithEnd(model, *start, *end, StripOverrideBlocks(*text, wide, charset));
    return true;
}

}  // namespace

std::optional<std::int32_t> parseXombieTime(std::string_view field)
{
    return parseClockField(field, 1);
}

bool XombieReader::read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const
{
    StyleCharsets styles;
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string_view line = trimWhiteSpace(raw);
        if (line.empty() || line.front() == ';')
            continue;
        const std::size_t equals = line.find('=');
        const std::string key = toLowerAscii(line.substr(0, equals));
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
        // "version", "screenhorizontal", "screenvertical" and other keys have no effect.
        if (key == "style") {
            if (!readStyleLine(value, styles))
                return false;
        } else if (key == "line") {
            if (!readLineLine(value, model, styles, options.wide))
                return false;
        }
    }
    return true;
}

}  // namespace verbanta
