#include "formats/reader_helpers.h"

#include <algorithm>
#include <limits>

#include "model/text_format.h"

namespace verbanta {

namespace {

constexpr int kSystemCodePage = 949;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Accumulates digits into a magnitude that stops growing past the int32 range, so absurd
// numbers cost nothing and never overflow.
struct Magnitude {
    std::int64_t value = 0;
    void add(int base, int digit)
    {
        if (value <= std::numeric_limits<std::int32_t>::max())
            value = value * base + digit;
    }
    std::int32_t signedValue(bool negative) const
    {
        constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
        constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
        const std::int64_t v = negative ? -value : value;
        return static_cast<std::int32_t>(v > kMax ? kMax : v < kMin ? kMin : v);
    }
};

// The walk FindCharDbcs describes, calling `hit` for every byte equal to `ch` it lands on.
template <class Hit>
void WalkDbcs(std::string_view text, char ch, bool wide, int charset, Hit&& hit)
{
    if (wide) {
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == ch && !hit(i))
                return;
        return;
    }
    int codePage = CodePageForCharset(charset);
    int depth = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (IsLeadByte(codePage, static_cast<unsigned char>(c)) && i + 1 < text.size()) {
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
            Magnitude number;
            while (j < text.size() && IsDigit(text[j])) number.add(10, text[j++] - '0');
            codePage = CodePageForCharset(j > i + 3 ? number.signedValue(false) : charset);
            i = j;
            continue;
        }
        ++i;
    }
}

}  // namespace

int CodePageForCharset(int charset)
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

bool IsLeadByte(int codePage, unsigned char b)
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
    WalkDbcs(text, ch, wide, charset, [&](std::size_t i) {
        if (i < start)
            return true;
        found = static_cast<std::ptrdiff_t>(i);
        return false;
    });
    return found;
}

std::vector<std::size_t> FindAllCharDbcs(std::string_view text, char ch, bool wide, int charset)
{
    std::vector<std::size_t> hits;
    WalkDbcs(text, ch, wide, charset, [&](std::size_t i) {
        hits.push_back(i);
        return true;
    });
    return hits;
}

std::string ReplaceCharDbcs(std::string_view text, char ch, std::string_view replacement, bool wide,
                            int charset)
{
    // The replacement holds no brace, backslash or lead byte, so it never changes where the
    // walk finds the later hits: one pass gives what repeated searches would.
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t hit : FindAllCharDbcs(text, ch, wide, charset)) {
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
    const int codePage = wide ? 0 : CodePageForCharset(charset);
    out = ReplaceAllDbcs(out, "\\n", kCaptionBreak, codePage);
    out = ReplaceAllDbcs(out, "\\N", kCaptionBreak, codePage);
    return ReplaceAllDbcs(out, "\\h", " ", codePage);
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
    for (const auto& [tag, code] : kTags) out = ReplaceAllDbcs(out, tag, code, 0);
    return out;
}

ScanResult ScanPattern(std::string_view text, std::string_view pattern)
{
    ScanResult r;
    std::size_t pos = 0;
    auto inputFailure = [&] {
        if (r.count == 0)
            r.count = ScanResult::kEndOfInput;
        r.end = pos;
        return r;
    };
    auto store = [&](std::int32_t value) {
        if (static_cast<std::size_t>(r.count) < ScanResult::kMaxFields)
            r.fields[static_cast<std::size_t>(r.count)] = value;
        ++r.count;
    };
    for (std::size_t p = 0; p < pattern.size(); ++p) {
        const char pc = pattern[p];
        if (IsSpace(pc)) {
            while (pos < text.size() && IsSpace(text[pos])) ++pos;
            continue;
        }
        if (pc == '%' && p + 1 < pattern.size() && pattern[p + 1] == 'd') {
            ++p;
            while (pos < text.size() && IsSpace(text[pos])) ++pos;
            if (pos == text.size())
                return inputFailure();
            std::size_t q = pos;
            const bool negative = text[q] == '-';
            if (text[q] == '-' || text[q] == '+')
                ++q;
            // A sign without a digit after it is a mismatch, even at the end of the text.
            if (q == text.size() || !IsDigit(text[q]))
                break;
            Magnitude number;
            while (q < text.size() && IsDigit(text[q])) number.add(10, text[q++] - '0');
            store(number.signedValue(negative));
            pos = q;
            continue;
        }
        if (pc == '%' && p + 1 < pattern.size() && pattern[p + 1] == 'c') {
            ++p;
            if (pos == text.size())
                return inputFailure();
            store(static_cast<unsigned char>(text[pos++]));
            continue;
        }
        if (pos == text.size())
            return inputFailure();
        if (text[pos] != pc)
            break;
        ++pos;
    }
    r.end = pos;
    return r;
}

std::optional<std::int64_t> ParseNumberField(std::string_view field)
{
    std::size_t i = 0;
    while (i < field.size() && IsSpace(field[i])) ++i;
    Magnitude number;
    if (field.size() - i >= 2 && field[i] == '&' && (field[i + 1] == 'H' || field[i + 1] == 'h')) {
        i += 2;
        if (i == field.size() || HexValue(field[i]) < 0)
            return std::nullopt;
        while (i < field.size() && HexValue(field[i]) >= 0) number.add(16, HexValue(field[i++]));
        // Colours such as &HFF000000 are unsigned; they keep their value up to 32 bits.
        return std::min<std::int64_t>(number.value, std::numeric_limits<std::uint32_t>::max());
    }
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+'))
        negative = field[i++] == '-';
    if (i == field.size() || !IsDigit(field[i]))
        return std::nullopt;
    while (i < field.size() && IsDigit(field[i])) number.add(10, field[i++] - '0');
    return number.signedValue(negative);
}

std::optional<std::string_view> FieldCursor::next()
{
    if (m_done)
        return std::nullopt;
    std::size_t i = 0;
    while (i < m_rest.size() && IsSpace(m_rest[i])) ++i;
    const std::size_t comma = m_rest.find(',', i);
    std::string_view field;
    if (comma == std::string_view::npos) {
        field = m_rest.substr(i);
        m_rest = {};
        m_done = true;
    } else {
        field = m_rest.substr(i, comma - i);
        m_rest.remove_prefix(comma + 1);
    }
    return field;
}

std::optional<std::int64_t> FieldCursor::nextNumber()
{
    const auto field = next();
    if (!field)
        return std::nullopt;
    return ParseNumberField(*field);
}

std::optional<std::string_view> FieldCursor::rest()
{
    if (m_done)
        return std::nullopt;
    std::size_t i = 0;
    while (i < m_rest.size() && IsSpace(m_rest[i])) ++i;
    m_done = true;
    return m_rest.substr(i);
}

bool LineReader::next(std::string_view& line)
{
    if (m_pos >= m_text.size())
        return false;
    std::size_t end = m_text.find('\n', m_pos);
    const std::size_t lineEnd = end == std::string_view::npos ? m_text.size() : end;
    line = m_text.substr(m_pos, lineEnd - m_pos);
    m_pos = end == std::string_view::npos ? m_text.size() : end + 1;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    // Files are read as C strings: a zero byte ends the line for every reader.
    const std::size_t zero = line.find('\0');
    if (zero != std::string_view::npos)
        line = line.substr(0, zero);
    return true;
}

std::string NormalizeStyleName(std::string_view name)
{
    while (!name.empty() && name.front() == '*') name.remove_prefix(1);
    if (ToLowerAscii(name) == "default")
        return "Default";
    return std::string(name);
}

int CharsetOfStyle(const StyleCharsets& styles, std::string_view normalizedName)
{
    if (auto it = styles.find(normalizedName); it != styles.end())
        return it->second;
    if (auto it = styles.find(std::string_view("Default")); it != styles.end())
        return it->second;
    return kDefaultCharset;
}

int ToCharset(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

std::optional<std::int32_t> ToTime(std::int64_t ms)
{
    if (ms < std::numeric_limits<std::int32_t>::min() ||
        ms > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(ms);
}

std::optional<std::int32_t> ClockTime(std::int64_t hours, std::int64_t minutes,
                                      std::int64_t seconds, std::int64_t fraction,
                                      int msPerFraction)
{
    // Fields come saturated to 32 bits, so none of this can overflow 64.
    return ToTime(((hours * 60 + minutes) * 60 + seconds) * 1000 + fraction * msPerFraction);
}

std::optional<std::int32_t> ParseClockField(std::string_view field, int msPerFraction)
{
    const ScanResult scan = ScanPattern(field, "%d:%d:%d.%d");
    if (scan.count != 4)
        return std::nullopt;
    const auto& f = scan.fields;
    return ClockTime(f[0], f[1], f[2], f[3], msPerFraction);
}

std::optional<int> ReadStyleCharset(FieldCursor& fields, int numbers)
{
    for (int i = 0; i < numbers; ++i)
        if (!fields.nextNumber())
            return std::nullopt;
    const auto charset = fields.nextNumber();
    if (!charset)
        return std::nullopt;
    return ToCharset(*charset);
}

Position AppendCaption(SamiModel& model, std::int32_t startMs, std::string text)
{
    SyncEntry entry;
    model.InitEntry(entry);
    entry.startMs = startMs;
    entry.text = std::move(text);
    return model.AddTail(entry, false);
}

void AppendCaptionWithEnd(SamiModel& model, std::int32_t startMs, std::int32_t endMs,
                          std::string text)
{
    const Position caption = AppendCaption(model, startMs, std::move(text));
    model.InsertEndSync(caption, endMs, false);
}

std::string_view TextAfterBrace(std::string_view line, int n)
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

std::string ReplaceAllDbcs(std::string_view text, std::string_view from, std::string_view to,
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
        } else if (IsLeadByte(codePage, static_cast<unsigned char>(text[i])) &&
                   i + 1 < text.size()) {
            out.append(text.substr(i, 2));
            i += 2;
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

std::string ToLowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

}  // namespace verbanta
