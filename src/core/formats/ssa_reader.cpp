#include "formats/ssa_reader.h"

#include <array>
#include <string>
#include <vector>

#include "model/sami_model.h"

namespace verbanta {

namespace {

// Style field layouts: the number of fields before Encoding and which of them are text.
constexpr int kV4StyleFieldsBeforeEncoding = 17;  // Name ... AlphaLevel
constexpr int kV5StyleFieldsBeforeEncoding = 22;  // Name ... MarginV

/// A section's "Format:" line: how many fields its lines have, and where the fields this
/// reader takes stand (the first of each name, compared without regard to case).
struct FieldOrder {
    static constexpr std::string_view kTaken[] = {"name", "encoding", "start",
                                                  "end",  "style",    "text"};
    std::size_t count = 0;
    std::array<std::optional<std::size_t>, std::size(kTaken)> at{};

    std::optional<std::size_t> indexOf(std::string_view name) const
    {
        for (std::size_t i = 0; i < std::size(kTaken); ++i)
            if (kTaken[i] == name)
                return at[i];
        return std::nullopt;
    }
};

FieldOrder readFieldOrder(std::string_view value)
{
    FieldOrder order;
    FieldCursor fields(value);
    for (; const auto field = fields.next(); ++order.count) {
        const std::string name = toLowerAscii(trimWhiteSpace(*field));
        for (std::size_t i = 0; i < std::size(FieldOrder::kTaken); ++i)
            if (FieldOrder::kTaken[i] == name && !order.at[i])
                order.at[i] = order.count;
    }
    return order;
}

/// The fields of a line as its section's "Format:" line counts them; the last takes the rest
/// of the line, commas included, as a dialogue's Text does.
std::vector<std::string_view> splitByOrder(std::string_view value, const FieldOrder& order)
{
    std::vector<std::string_view> values;
    FieldCursor fields(value);
    for (std::size_t i = 0; i < order.count; ++i) {
        const auto field = i + 1 < order.count ? fields.next() : fields.rest();
        if (!field)
            break;
        values.push_back(*field);
    }
    return values;
}

std::optional<std::string_view> fieldNamed(const std::vector<std::string_view>& values,
                                           const FieldOrder& order, std::string_view name)
{
    const auto i = order.indexOf(name);
    if (!i || *i >= values.size())
        return std::nullopt;
    return values[*i];
}

/// A numeric field that may be left empty, as Layer, Marked and the margins often are.
bool isNumberOrEmpty(std::optional<std::string_view> field)
{
    return field && (trimWhiteSpace(*field).empty() || parseNumberField(*field).has_value());
}

struct Style {
    std::string name;
    int charset = kDefaultCharset;
};

// Name and Fontname are text; every other field before Encoding is a number.
std::optional<Style> readStyleLine(std::string_view value, int version)
{
    FieldCursor fields(value);
    const auto nameField = fields.next();
    const auto fontField = fields.next();
    if (!nameField || !fontField)
        return std::nullopt;
    const auto charset = readStyleCharset(
        fields, (version >= 5 ? kV5StyleFieldsBeforeEncoding : kV4StyleFieldsBeforeEncoding) - 2);
    if (!charset)
        return std::nullopt;
    return Style{std::string(*nameField), *charset};
}

// With a "Format:" line only Name and Encoding matter; an Encoding left out or empty is the
// system's.
std::optional<Style> readStyleLine(std::string_view value, const FieldOrder& order)
{
    const auto values = splitByOrder(value, order);
    const auto name = fieldNamed(values, order, "name");
    if (!name)
        return std::nullopt;
    const auto encoding = fieldNamed(values, order, "encoding");
    const auto number = encoding ? parseNumberField(*encoding) : std::nullopt;
    return Style{std::string(*name), number ? toCharset(*number) : kDefaultCharset};
}

// Version 4 and below begin with "Marked=0": the text up to the "=" is skipped.
bool skipMarked(FieldCursor& fields)
{
    const auto marked = fields.next();
    if (!marked)
        return false;
    const std::size_t equals = marked->find('=');
    return isNumberOrEmpty(equals == std::string_view::npos ? *marked : marked->substr(equals + 1));
}

struct Dialogue {
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::string style;
    std::string_view text;
};

std::optional<Dialogue> makeDialogue(std::optional<std::string_view> start,
                                     std::optional<std::string_view> end,
                                     std::optional<std::string_view> style,
                                     std::optional<std::string_view> text)
{
    const auto startMs = start ? parseSsaTime(*start) : std::nullopt;
    const auto endMs = end ? parseSsaTime(*end) : std::nullopt;
    if (!startMs || !endMs || !text)
        return std::nullopt;
    return Dialogue{*startMs, *endMs, normalizeStyleName(style.value_or("")), *text};
}

std::optional<Dialogue> readDialogueLine(std::string_view value, int version)
{
    FieldCursor fields(value);
    if (version >= 5 ? !isNumberOrEmpty(fields.next()) : !skipMarked(fields))
        return std::nullopt;
    const auto start = fields.next();
    const auto end = fields.next();
    const auto style = fields.next();
    const auto actor = fields.next();
    if (!style || !actor)
        return std::nullopt;
    for (int margin = 0; margin < 3; ++margin)
        if (!isNumberOrEmpty(fields.next()))
            return std::nullopt;
    const auto effect = fields.next();
    const auto text = fields.rest();
    if (!effect)
        return std::nullopt;
    return makeDialogue(start, end, style, text);
}

std::optional<Dialogue> readDialogueLine(std::string_view value, const FieldOrder& order)
{
    const auto values = splitByOrder(value, order);
    return makeDialogue(fieldNamed(values, order, "start"), fieldNamed(values, order, "end"),
                        fieldNamed(values, order, "style"), fieldNamed(values, order, "text"));
}

enum class Section { Other, Styles, Events };

}  // namespace

std::optional<std::int32_t> parseSsaTime(std::string_view field)
{
    if (const auto time = parseClockField(field, 10))
        return time;
    // "0:00:01" without hundredths.
    const ScanResult scan = scanPattern(field, "%d:%d:%d");
    if (scan.count != 3 || !trimWhiteSpace(field.substr(scan.end)).empty())
        return std::nullopt;
    return clockTime(scan.fields[0], scan.fields[1], scan.fields[2]);
}

bool SsaReader::read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const
{
    // Without "Format:" lines the layouts are the standard ones of the script's version: the
    // dialogue layout follows "ScriptType" alone, a section line changes only the style layout.
    int scriptVersion = 3;
    int styleVersion = 3;
    Section section = Section::Other;
    FieldOrder styleOrder;
    FieldOrder eventOrder;
    StyleCharsets styles;
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string_view line = trimWhiteSpace(raw);
        if (line.empty() || line.front() == ';')
            continue;
        const std::size_t colon = line.find(':');
        const std::string key = toLowerAscii(line.substr(0, colon));
        const std::string_view value =
            colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);
        if (key.starts_with('[')) {
            section = key == "[events]" ? Section::Events : Section::Other;
            if (key == "[v4 styles]" || key == "[v4+ styles]") {
                styleVersion = key == "[v4 styles]" ? 4 : 5;
                section = Section::Styles;
            }
        } else if (key == "scripttype") {
            if (line.ends_with("4.00+"))
                scriptVersion = styleVersion = 5;
            else if (line.ends_with("4.00"))
                scriptVersion = styleVersion = 4;
        } else if (key == "format") {
            if (section == Section::Styles)
                styleOrder = readFieldOrder(value);
            else if (section == Section::Events)
                eventOrder = readFieldOrder(value);
        } else if (key == "style") {
            const auto style = styleOrder.count == 0 ? readStyleLine(value, styleVersion)
                                                     : readStyleLine(value, styleOrder);
            if (!style)
                return false;
            std::string_view name = style->name;
            while (!name.empty() && name.front() == '*') name.remove_prefix(1);
            styles[std::string(name)] = style->charset;
        } else if (key == "dialogue") {
            const auto d = eventOrder.count == 0 ? readDialogueLine(value, scriptVersion)
                                                 : readDialogueLine(value, eventOrder);
            if (!d)
                return false;
            const int charset = charsetOfStyle(styles, d->style);
            appendCaptionWithEnd(model, d->start, d->end,
                                 StripOverrideBlocks(d->text, options.wide, charset));
        }
        // "playresx", "playresy", "wrapstyle", "collisions", "scaledborderandshadow" and every
        // other key have no effect on the captions.
    }
    return true;
}

}  // namespace verbanta
