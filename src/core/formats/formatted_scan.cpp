#include "formats/formatted_scan.h"

#include <algorithm>
#include <limits>

namespace verbanta {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
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

}  // namespace

ScanResult scanPattern(std::string_view text, std::string_view pattern)
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
        if (isSpace(pc)) {
            while (pos < text.size() && isSpace(text[pos])) ++pos;
            continue;
        }
        if (pc == '%' && p + 1 < pattern.size() && pattern[p + 1] == 'd') {
            ++p;
            while (pos < text.size() && isSpace(text[pos])) ++pos;
            if (pos == text.size())
                return inputFailure();
            std::size_t q = pos;
            const bool negative = text[q] == '-';
            if (text[q] == '-' || text[q] == '+')
                ++q;
            // A sign without a digit after it is a mismatch, even at the end of the text.
            if (q == text.size() || !isDigit(text[q]))
                break;
            Magnitude number;
            while (q < text.size() && isDigit(text[q])) number.add(10, text[q++] - '0');
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

std::optional<std::int64_t> parseNumberField(std::string_view field)
{
    std::size_t i = 0;
    while (i < field.size() && isSpace(field[i])) ++i;
    Magnitude number;
    if (field.size() - i >= 2 && field[i] == '&' && (field[i + 1] == 'H' || field[i + 1] == 'h')) {
        i += 2;
        if (i == field.size() || hexValue(field[i]) < 0)
            return std::nullopt;
        while (i < field.size() && hexValue(field[i]) >= 0) number.add(16, hexValue(field[i++]));
        // Colours such as &HFF000000 are unsigned; they keep their value up to 32 bits.
        return std::min<std::int64_t>(number.value, std::numeric_limits<std::uint32_t>::max());
    }
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+'))
        negative = field[i++] == '-';
    if (i == field.size() || !isDigit(field[i]))
        return std::nullopt;
    while (i < field.size() && isDigit(field[i])) number.add(10, field[i++] - '0');
    return number.signedValue(negative);
}

std::optional<std::string_view> FieldCursor::next()
{
    if (m_done)
        return std::nullopt;
    std::size_t i = 0;
    while (i < m_rest.size() && isSpace(m_rest[i])) ++i;
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
    return parseNumberField(*field);
}

std::optional<std::string_view> FieldCursor::rest()
{
    if (m_done)
        return std::nullopt;
    std::size_t i = 0;
    while (i < m_rest.size() && isSpace(m_rest[i])) ++i;
    m_done = true;
    return m_rest.substr(i);
}

bool LineReader::next(std::string_view& line)
{
    if (m_pos >= m_text.size())
        return false;
    // A line ends at LF, at CR LF, or at a CR alone, as files of old Macs and some tools end
    // them; CRs just before an LF belong to that one line end ("\r\r\n").
    const std::size_t end = std::min(m_text.find_first_of("\r\n", m_pos), m_text.size());
    line = m_text.substr(m_pos, end - m_pos);
    m_pos = end + 1;
    if (end < m_text.size() && m_text[end] == '\r' && end >= m_loneCrsUntil) {
        // Each run of CRs is looked at once, so that a file of CRs alone reads in linear time.
        const std::size_t after = std::min(m_text.find_first_not_of('\r', end), m_text.size());
        if (after < m_text.size() && m_text[after] == '\n')
            m_pos = after + 1;
        else
            m_loneCrsUntil = after;
    }
    // Files are read as C strings: a zero byte ends the line for every reader.
    const std::size_t zero = line.find('\0');
    if (zero != std::string_view::npos)
        line = line.substr(0, zero);
    return true;
}

std::optional<std::int32_t> toTime(std::int64_t ms)
{
    if (ms < std::numeric_limits<std::int32_t>::min() ||
        ms > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(ms);
}

std::optional<std::int32_t> clockTime(std::int64_t hours, std::int64_t minutes,
                                      std::int64_t seconds, std::int64_t fraction,
                                      int msPerFraction)
{
    // Fields come saturated to 32 bits, so none of this can overflow 64.
    return toTime(((hours * 60 + minutes) * 60 + seconds) * 1000 + fraction * msPerFraction);
}

std::optional<std::int32_t> parseClockField(std::string_view field, int msPerFraction)
{
    const ScanResult scan = scanPattern(field, "%d:%d:%d.%d");
    if (scan.count != 4)
        return std::nullopt;
    const auto& f = scan.fields;
    return clockTime(f[0], f[1], f[2], f[3], msPerFraction);
}

}  // namespace verbanta
