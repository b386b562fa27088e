#include "formats/reader_helpers.h"

#include <algorithm>
#include <limits>

#include "model/text_format.h"

namespace verbanta {

namespace {

constexpr int kSystemCodePage = 949;

// The walk FindCharDbcs describes, calling `hit` for every byte equal to `ch` it lands on.
template <class Hit>
void walkDbcs(std::string_view text, char ch, bool wide, int charset, Hit&& hit)
{
    if (wide) {
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == ch && !hit(i))
                return;
        return;
    }
    int codePage = codePageForCharset(charset);
    int depth = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (isLeadByte(codePage, static_cast<unsigned char>(c)) && i + 1 < text.size()) {
            i += 2;
            continue;
        }
        if (c == ch && !hit(i))
            return;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            // A stray closing brace does not open a negative depth.
            if (depth > 0)
                --depth;
        } else if (c == '\\' && depth > 0 && text.substr(i + 1, 2) == "fe") {
            std::size_t j = i + 3;
            while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
            const auto number = parseNumberField(text.substr(i + 3, j - i - 3));
            codePage = codePageForCharset(number ? toCharset(*number) : charset);
            i = j;
            continue;
        }
        ++i;
    }
}

}  // namespace

int codePageForCharset(int charset)
{
    switch (charset) {
        case 0:
            return 1252;  // ANSI
        case 2:
            return 42;  // symbol
        case 128:
            return 932;  // Shift-JIS
        case 129:
            return 949;  // Hangul
        case 130:
            return 1361;  // Johab
        case 134:
            return 936;  // GB2312
        case 136:
            return 950;  // Big5
        case 161:
            return 1253;  // Greek
        case 162:
            return 1254;  // Turkish
        case 163:
            return 1258;  // Vietnamese
        case 177:
            return 1255;  // Hebrew
        case 178:
            return 1256;  // Arabic
        case 186:
            return 1257;  // Baltic
        case 204:
            return 1251;  // Cyrillic
        case 222:
            return 874;  // Thai
        case 238:
            return 1250;  // Central European
        default:
            return kSystemCodePage;
    }
}

bool isLeadByte(int codePage, unsigned char b)
{
    switch (codePage) {
        case 932:
            return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        case 936:
        case 949:
        case 950:
            return b >= 0x81 && b <= 0xFE;
        case 1361:
            return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xDE) || (b >= 0xE0 && b <= 0xF9);
        default:
            return false;
    }
}

std::ptrdiff_t FindCharDbcs(std::string_view text, char ch, std::size_t start, bool wide,
                            int charset)
{
    std::ptrdiff_t found = -1;
    walkDbcs(text, ch, wide, charset, [&](std::size_t i) {
        if (i < start)
            return true;
        found = static_cast<std::ptrdiff_t>(i);
        return false;
    });
    return found;
}

std::vector<std::size_t> findAllCharDbcs(std::string_view text, char ch, bool wide, int charset)
{
    std::vector<std::size_t> hits;
    walkDbcs(text, ch, wide, charset, [&](std::size_t i) {
        hits.push_back(i);
        return true;
    });
    return hits;
}

std::string replaceCharDbcs(std::string_view text, char ch, std::string_view replacement, bool wide,
                            int charset)
{
    // The replacement holds no brace, backslash or lead byte, so it never changes where the
    // walk finds the later hits: one pass gives what repeated searches would.
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t hit : findAllCharDbcs(text, ch, wide, charset)) {
        out.append(text.substr(from, hit - from));
        out.append(replacement);
        from = hit + 1;
    }
    out.append(text.substr(from));
    return out;
}

std::string StripOverrideBlocks(std::string_view text, bool wide, int charset)
{
    // Searching again from the start after every removal would be quadratic. The text before a
    // removed block holds no "{" the walk lands on, so the walk there never entered a block,
    // never switched its code page and ends exactly at the block: searching on from the block
    // with the starting state gives the same hits.
    std::string out;
    out.reserve(text.size());
    std::string_view rest = text;
    while (true) {
        const std::ptrdiff_t open = FindCharDbcs(rest, '{', 0, wide, charset);
        if (open < 0)
            break;
        const std::string_view block = rest.substr(static_cast<std::size_t>(open));
        const std::ptrdiff_t close = FindCharDbcs(block, '}', 0, wide, charset);
        if (close < 0)
            break;
        out.append(rest.substr(0, static_cast<std::size_t>(open)));
        rest = block.substr(static_cast<std::size_t>(close) + 1);
    }
    out.append(rest);
    const int codePage = wide ? 0 : codePageForCharset(charset);
    out = replaceAllDbcs(out, "\\n", kCaptionBreak, codePage);
    out = replaceAllDbcs(out, "\\N", kCaptionBreak, codePage);
    return replaceAllDbcs(out, "\\h", " ", codePage);
}

std::string SubRipTagsToOverrides(std::string_view text)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kTags{{
        {"<i>", "{\\i1}"},
        {"</i>", "{\\i}"},
        {"<b>", "{\\b1}"},
        {"</b>", "{\\b}"},
        {"<u>", "{\\u1}"},
        {"</u>", "{\\u}"},
    }};
    std::string out(text);
    for (const auto& [tag, code] : kTags) out = replaceAllDbcs(out, tag, code, 0);
    return out;
}

std::string normalizeStyleName(std::string_view name)
{
    while (!name.empty() && name.front() == '*') name.remove_prefix(1);
    if (toLowerAscii(name) == "default")
        return "Default";
    return std::string(name);
}

int charsetOfStyle(const StyleCharsets& styles, std::string_view normalizedName)
{
    if (auto it = styles.find(normalizedName); it != styles.end())
        return it->second;
    if (auto it = styles.find(std::string_view("Default")); it != styles.end())
        return it->second;
    return kDefaultCharset;
}

int toCharset(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

std::optional<int> readStyleCharset(FieldCursor& fields, int numbers)
{
    for (int i = 0; i < numbers; ++i)
        if (!fields.nextNumber())
            return std::nullopt;
    const auto charset = fields.nextNumber();
    if (!charset)
        return std::nullopt;
    return toCharset(*charset);
}

Position appendCaption(SamiModel& model, std::int32_t startMs, std::string text)
{
    SyncEntry entry;
    model.InitEntry(entry);
    entry.startMs = startMs;
    entry.text = std::move(text);
    return model.AddTail(entry, false);
}

void appendCaptionWithEnd(SamiModel& model, std::int32_t startMs, std::int32_t endMs,
                          std::string text)
{
    const Position caption = appendCaption(model, startMs, std::move(text));
    model.InsertEndSync(caption, endMs, false);
}

std::string_view textAfterBrace(std::string_view line, int n)
{
    std::size_t from = 0;
    for (int i = 0; i < n; ++i) {
        const std::size_t brace = line.find('}', from);
        if (brace == std::string_view::npos)
            return {};
        from = brace + 1;
    }
    return line.substr(from);
}

std::string replaceAllDbcs(std::string_view text, std::string_view from, std::string_view to,
                           int codePage)
{
    if (from.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.substr(i, from.size()) == from) {
            out.append(to);
            i += from.size();
        } else if (isLeadByte(codePage, static_cast<unsigned char>(text[i])) &&
                   i + 1 < text.size()) {
            out.append(text.substr(i, 2));
            i += 2;
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

}  // namespace verbanta
