#include "formats/ssa_reader.h"

#include <string>

#include "model/sami_model.h"

namespace verbanta {

namespace {

// Style field layouts: the number of fields before Encoding and which of them are text.
constexpr int kV4StyleFieldsBeforeEncoding = 17;  // Name ... AlphaLevel
constexpr int kV5StyleFieldsBeforeEncoding = 22;  // Name ... MarginV

// Name and Fontname are text; every other field before Encoding is a number.
std::optional<int> ReadStyleLine(std::string_view value, int version, std::string& name)
{
    FieldCursor fields(value);
    const auto nameField = fields.next();
    const auto fontField = fields.next();
    if (!nameField || !fontField)
        return std::nullopt;
    name = std::string(*nameField);
    while (!name.empty() && name.front() == '*') name.erase(0, 1);
    return ReadStyleCharset(
        fields, (version >= 5 ? kV5StyleFieldsBeforeEncoding : kV4StyleFieldsBeforeEncoding) - 2);
}

// Version 4 and below begin with "Marked=0": the text up to the "=" is skipped.
bool SkipMarked(FieldCursor& fields)
{
    const auto marked = fields.next();
    if (!marked)
        return false;
    const std::size_t equals = marked->find('=');
    return ParseNumberField(equals == std::string_view::npos ? *marked : marked->substr(equals + 1))
        .has_value();
}

struct Dialogue {
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::string style;
    std::string_view text;
};

std::optional<Dialogue> ReadDialogueLine(std::string_view value, int version)
{
    FieldCursor fields(value);
    if (version >= 5 ? !fields.nextNumber() : !SkipMarked(fields))
        return std::nullopt;
    Dialogue d;
    const auto startField = fields.next();
    const auto endField = fields.next();
    if (!startField || !endField)
        return std::nullopt;
    const auto start = ParseSsaTime(*startField);
    const auto end = ParseSsaTime(*endField);
    const auto style = fields.next();
    const auto actor = fields.next();
    if (!start || !end || !style || !actor)
        return std::nullopt;
    for (int margin = 0; margin < 3; ++margin)
        if (!fields.nextNumber())
            return std::nullopt;
    const auto effect = fields.next();
    const auto text = fields.rest();
    if (!effect || !text)
        return std::nullopt;
    d.start = *start;
    d.end = *end;
    d.style = NormalizeStyleName(*style);
    d.text = *text;
    return d;
}

}  // namespace

std::optional<std::int32_t> ParseSsaTime(std::string_view field)
{
    return ParseClockField(field, 10);
}

bool SsaReader::Read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const
{
    // The dialogue layout follows "ScriptType" alone; a section line changes only the style
    // layout.
    int scriptVersion = 3;
    int styleVersion = 3;
    StyleCharsets styles;
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string_view line = TrimWhiteSpace(raw);
        if (line.empty() || line.front() == ';')
            continue;
        const std::size_t colon = line.find(':');
        const std::string key = ToLowerAscii(line.substr(0, colon));
        const std::string_view value =
            colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);
        if (key == "scripttype") {
            if (line.ends_with("4.00+"))
                scriptVersion = styleVersion = 5;
            else if (line.ends_with("4.00"))
                scriptVersion = styleVersion = 4;
        } else if (key == "[v4 styles]") {
            styleVersion = 4;
        } else if (key == "[v4+ styles]") {
            styleVersion = 5;
        } else if (key == "style") {
            std::string name;
            const auto encoding = ReadStyleLine(value, styleVersion, name);
            if (!encoding)
                return false;
            styles[name] = *encoding;
        } else if (key == "dialogue") {
            const auto d = ReadDialogueLine(value, scriptVersion);
            if (!d)
                return false;
            const int charset = CharsetOfStyle(styles, d->style);
            AppendCaptionWithEnd(model, d->start, d->end,
                                 StripOverrideBlocks(d->text, options.wide, charset));
        }
        // "playresx", "playresy", "wrapstyle", "collisions", "scaledborderandshadow" and every
        // other key have no effect on the captions.
    }
    return true;
}

}  // namespace verbanta
