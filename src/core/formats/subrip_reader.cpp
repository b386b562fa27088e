#include "formats/subrip_reader.h"

#include <limits>
#include <string>

#include "model/sami_model.h"

namespace verbanta {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

/// One SubRip time read from the start of `text`, and where it ended.
struct TimeRead {
    std::int32_t ms = 0;
    std::size_t end = 0;
};

// Hours, minutes and seconds with an optional fraction, any one byte between the fields, and
// blanks and a sign before each number as a formatted scan allows them. A fraction of one or
// two digits is tenths or hundredths ("1,5" is 1500 ms); three or more are milliseconds as
// written. A "-" before the hours makes the whole time negative.
std::optional<TimeRead> readTime(std::string_view text)
{
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (negative)
        ++i;
    constexpr std::int64_t kCap = std::numeric_limits<std::int32_t>::max();
    std::int64_t fields[4] = {};
    std::size_t digits = 0;
    int count = 0;
    for (; count < 4; ++count) {
        std::size_t j = i;
        if (count > 0) {
            if (j >= text.size())
                break;
            ++j;  // the separator
            while (j < text.size() && isBlank(text[j])) ++j;
        }
        bool fieldNegative = false;
        if (count > 0 && j < text.size() && (text[j] == '-' || text[j] == '+'))
            fieldNegative = text[j++] == '-';
        const std::size_t from = j;
        std::int64_t value = 0;
        while (j < text.size() && isDigit(text[j]))
            value = std::min(value * 10 + (text[j++] - '0'), kCap);
        if (j == from)
            break;
        fields[count] = fieldNegative ? -value : value;
        digits = j - from;
        i = j;
    }
    if (count < 3)
        return std::nullopt;
    std::int64_t fraction = count == 4 ? fields[3] : 0;
    if (count == 4 && digits < 3)
        fraction *= digits == 1 ? 100 : 10;
    const auto ms = clockTime(fields[0], fields[1], fields[2], fraction);
    if (!ms)
        return std::nullopt;
    return TimeRead{negative ? -*ms : *ms, i};
}

enum class LineKind { Text, Timing, BadTiming };

struct TimingLine {
    LineKind kind = LineKind::Text;
    std::int32_t start = 0;
    std::int32_t end = 0;
};

// "start --> end", anything after the end time (positions) ignored. A line that starts like a
// time and holds the arrow but does not read is a timing line gone wrong, not caption text.
TimingLine readTimingLine(std::string_view line)
{
    const std::size_t arrow = line.find("-->");
    if (arrow == std::string_view::npos)
        return {};
    const std::string_view left = trimWhiteSpace(line.substr(0, arrow));
    const std::size_t digit = !left.empty() && left[0] == '-' ? 1 : 0;
    if (left.size() <= digit || !isDigit(left[digit]))
        return {};
    const auto start = readTime(left);
    const auto end = readTime(trimWhiteSpace(line.substr(arrow + 3)));
    if (!start || start->end != left.size() || !end)
        return {LineKind::BadTiming};
    return {LineKind::Timing, start->ms, end->ms};
}

bool isNumberLine(std::string_view line)
{
    return scanPattern(line, "%d%c").count == 1;
}

}  // namespace

bool SubRipReader::read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const
{
    // A caption runs from its timing line to the next one. A number alone may be the counter
    // of the next entry: it is held until the line after it tells (a timing line drops it; a
    // counter may also be missing or wrong). Lines outside an entry are dropped.
    bool inCaption = false;
    TimingLine timing;
    std::string text;
    std::string held;
    bool heldAfterBlank = false;
    bool blankSeen = false;
    const auto appendText = [&](std::string_view line) {
        if (!text.empty())
            text += kCaptionBreak;
        text += line;
    };
    const auto releaseHeld = [&] {
        if (!held.empty())
            appendText(held);
        held.clear();
    };
    const auto finishCaption = [&] {
        if (inCaption)
            appendCaptionWithEnd(model, timing.start, timing.end, std::move(text));
        inCaption = false;
        text.clear();
        held.clear();
    };

    std::string_view raw;
    for (int lineNumber = 1; lines.next(raw); ++lineNumber) {
        const std::string_view line = trimWhiteSpace(raw);
        if (line.empty()) {
            blankSeen = true;
            continue;
        }
        const TimingLine read = readTimingLine(line);
        if (read.kind != LineKind::Text) {
            finishCaption();
            blankSeen = false;
            if (read.kind == LineKind::BadTiming) {
                // The entry is skipped up to the next timing line, the file is not rejected.
                if (options.skippedLines)
                    options.skippedLines->push_back(lineNumber);
                continue;
            }
            timing = read;
            inCaption = true;
            continue;
        }
        if (!inCaption)
            continue;
        releaseHeld();
        if (isNumberLine(line)) {
            held = line;
            heldAfterBlank = blankSeen;
        } else {
            appendText(line);
        }
        blankSeen = false;
    }
    // A number after a blank line at the end is the counter of an entry never written, unless
    // it is all the caption has.
    if (!heldAfterBlank || text.empty())
        releaseHeld();
    finishCaption();
    return true;
}

}  // namespace verbanta
