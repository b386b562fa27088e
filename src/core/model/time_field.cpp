#include "model/time_field.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace verbanta {

namespace {

constexpr std::string_view kEnterValueMessage = "값을 입력해 주십시요";
constexpr std::string_view kBelowMinimumMessage = " 보다 작은 값은 입력할 수 없습니다 ";
constexpr std::string_view kAboveMaximumMessage = " 보다 큰 값은 입력할 수 없습니다 ";

// The time-mode text ends in ":mm:ss.mmm" (10 characters) after the sign and the hours.
constexpr std::size_t kTimeTailLength = 10;
constexpr std::size_t kTimeTextLength = 12;
// More hour digits than this cannot come from an int32 value; refuse such pasted texts.
constexpr std::size_t kMaxTimeTextLength = kTimeTextLength + 2;

// Beyond any int32: lets an over-long typed number read as "too large" without overflowing.
constexpr long long kSaturation = 100000000000LL;

enum class Slot { Sign, Digit, DigitToFive, Separator };

// Positions are counted from the end so that values of 10 hours and more, which have more
// hour digits, keep the same layout after the hours.
Slot slotAt(std::size_t size, std::size_t pos)
{
    if (pos == 0)
        return Slot::Sign;
    switch (size - 1 - pos) {
        case 3:
        case 6:
        case 9:
            return Slot::Separator;
        case 5:
        case 8:
            return Slot::DigitToFive;
        default:
            return Slot::Digit;
    }
}

bool slotAccepts(Slot slot, char32_t c)
{
    switch (slot) {
        case Slot::Sign:
            return c == U'+' || c == U'-';
        case Slot::Digit:
            return c >= U'0' && c <= U'9';
        case Slot::DigitToFive:
            return c >= U'0' && c <= U'5';
        case Slot::Separator:
            return false;
    }
    return false;
}

bool isWellFormedTimeText(std::string_view text)
{
    if (text.size() < kTimeTextLength || text.size() > kMaxTimeTextLength)
        return false;
    if (text[0] != ' ' && text[0] != '+' && text[0] != '-')
        return false;
    for (std::size_t pos = 1; pos < text.size(); ++pos) {
        const std::size_t tail = text.size() - 1 - pos;
        const Slot slot = slotAt(text.size(), pos);
        if (slot == Slot::Separator) {
            if (text[pos] != (tail == 3 ? '.' : ':'))
                return false;
        } else if (!slotAccepts(slot, static_cast<unsigned char>(text[pos]))) {
            return false;
        }
    }
    return true;
}

long long digitsValue(std::string_view digits)
{
    long long value = 0;
    for (char c : digits) value = std::min(value * 10 + (c - '0'), kSaturation);
    return value;
}

// Hours from position 1 up to the tail, minutes, seconds and milliseconds, negated for "-".
long long readTimeText(std::string_view text)
{
    const std::size_t size = text.size();
    const long long hours = digitsValue(text.substr(1, size - 1 - kTimeTailLength));
    const long long minutes = digitsValue(text.substr(size - 9, 2));
    const long long seconds = digitsValue(text.substr(size - 6, 2));
    const long long millis = digitsValue(text.substr(size - 3, 3));
    const long long value = ((hours * 60 + minutes) * 60 + seconds) * 1000 + millis;
    return text[0] == '-' ? -value : value;
}

bool isMillisecondsText(std::string_view text)
{
    if (!text.empty() && text[0] == '-')
        text.remove_prefix(1);
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "" and "-" hold no number yet.
bool hasDigits(std::string_view text)
{
    return text.find_first_of("0123456789") != text.npos;
}

}  // namespace

TimeFieldLogic::TimeFieldLogic() : m_text(textOf(0)) {}

bool TimeFieldLogic::setRange(std::int32_t minimum, std::int32_t maximum)
{
    if (minimum > maximum)
        return false;
    m_minimum = minimum;
    m_maximum = maximum;
    return true;
}

bool TimeFieldLogic::setMode(int mode)
{
    if (mode != kMillisecondsMode && mode != kTimeMode)
        return false;
    m_mode = mode;
    m_text = textOf(m_value);
    return true;
}

bool TimeFieldLogic::setValue(std::int32_t value)
{
    if (!inRange(value))
        return false;
    m_value = value;
    m_text = textOf(value);
    return true;
}

TimeFieldLogic::KeyResult TimeFieldLogic::handleKey(char32_t key, int caret, int selectionLength)
{
    if (m_mode == kTimeMode)
        return handleTimeKey(key, caret);
    return handleMillisecondsKey(key, caret, selectionLength);
}

TimeFieldLogic::KeyResult TimeFieldLogic::applyText(std::string_view text)
{
    if (m_mode == kMillisecondsMode) {
        if (!isMillisecondsText(text))
            return snapshot(false, restingCaret(static_cast<int>(m_text.size())));
        return takeMillisecondsText(std::string(text), static_cast<int>(text.size()));
    }
    if (!isWellFormedTimeText(text) || !inRange(readTimeText(text)))
        return snapshot(false, 0);
    m_value = static_cast<std::int32_t>(readTimeText(text));
    m_text = textOf(m_value);
    KeyResult result = snapshot(true, 0);
    result.valueTaken = true;
    return result;
}

TimeFieldLogic::KeyResult TimeFieldLogic::onFocusLost()
{
    // A lone "-" is no more a value than an empty field.
    if (m_mode == kMillisecondsMode && !hasDigits(m_text))
        return recover(std::string(kEnterValueMessage));
    return snapshot(true, 0);
}

int TimeFieldLogic::restingCaret(int caret) const
{
    const int last = static_cast<int>(m_text.size()) - (m_mode == kTimeMode ? 1 : 0);
    return std::clamp(caret, 0, std::max(last, 0));
}

std::string TimeFieldLogic::timeModeText(std::int32_t value)
{
    const long long t = std::llabs(static_cast<long long>(value));
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%c%01lld:%02lld:%02lld.%03lld", value < 0 ? '-' : ' ',
                  t / 3600000, t / 60000 % 60, t / 1000 % 60, t % 1000);
    return buffer;
}

TimeFieldLogic::KeyResult TimeFieldLogic::handleMillisecondsKey(char32_t key, int caret,
                                                                int selectionLength)
{
    const int size = static_cast<int>(m_text.size());
    caret = std::clamp(caret, 0, size);
    selectionLength = std::clamp(selectionLength, 0, size - caret);
    std::string text = m_text;
    if (key == kBackspace) {
        if (selectionLength > 0) {
            text.erase(static_cast<std::size_t>(caret), static_cast<std::size_t>(selectionLength));
        } else if (caret > 0) {
            --caret;
            text.erase(static_cast<std::size_t>(caret), 1);
        } else {
            return snapshot(true, 0);
        }
        return takeMillisecondsText(std::move(text), caret);
    }
    const bool digit = key >= U'0' && key <= U'9';
    if (!digit && key != U'-')
        return snapshot(false, caret);
    text.erase(static_cast<std::size_t>(caret), static_cast<std::size_t>(selectionLength));
    // "-" only as the first character; nothing may be typed in front of a "-" either, since
    // neither leaves a number that can be read.
    const bool beforeMinus = caret == 0 && !text.empty() && text[0] == '-';
    if (beforeMinus || (key == U'-' && caret != 0))
        return snapshot(false, caret);
    text.insert(static_cast<std::size_t>(caret), 1, static_cast<char>(key));
    return takeMillisecondsText(std::move(text), caret + 1);
}

TimeFieldLogic::KeyResult TimeFieldLogic::handleTimeKey(char32_t key, int caret)
{
    const std::size_t oldSize = m_text.size();
    const std::size_t pos = static_cast<std::size_t>(restingCaret(caret));
    if (key == kBackspace)
        return snapshot(true, static_cast<int>(pos == 0 ? 0 : pos - 1));
    if (!slotAccepts(slotAt(oldSize, pos), key))
        return snapshot(false, static_cast<int>(pos));

    std::string typed = m_text;
    typed[pos] = key == U'+' ? ' ' : static_cast<char>(key);
    const long long read = readTimeText(typed);
    // Refusing an out-of-range result keeps the text showing the value the field holds.
    if (!inRange(read))
        return snapshot(false, static_cast<int>(pos));

    m_value = static_cast<std::int32_t>(read);
    m_text = textOf(m_value);
    // A typed "-" stays on a zero value so that the sign can be typed before the digits.
    if (m_value == 0 && typed[0] == '-')
        m_text[0] = '-';

    // Fewer hour digits after the redraw shift the positions; they are counted from the end.
    const std::size_t size = m_text.size();
    const std::size_t fromEnd = oldSize - 1 - pos;
    std::size_t next = (fromEnd < size ? size - 1 - fromEnd : 0) + 1;
    while (next < size && slotAt(size, next) == Slot::Separator) ++next;
    KeyResult result = snapshot(true, static_cast<int>(std::min(next, size - 1)));
    result.valueTaken = true;
    return result;
}

TimeFieldLogic::KeyResult TimeFieldLogic::takeMillisecondsText(std::string text, int caret)
{
    m_text = std::move(text);
    KeyResult result = snapshot(true, caret);
    if (!hasDigits(m_text))
        return result;
    const bool negative = m_text[0] == '-';
    const long long magnitude = digitsValue(negative ? m_text.substr(1) : m_text);
    const long long read = negative ? -magnitude : magnitude;
    if (read < m_minimum)
        return recover(std::to_string(m_minimum) + std::string(kBelowMinimumMessage));
    if (read > m_maximum)
        return recover(std::to_string(m_maximum) + std::string(kAboveMaximumMessage));
    m_value = static_cast<std::int32_t>(read);
    result.valueTaken = true;
    return result;
}

TimeFieldLogic::KeyResult TimeFieldLogic::recover(std::string message)
{
    m_text = "0";
    KeyResult result = snapshot(true, 0);
    result.message = std::move(message);
    result.recovered = true;
    // A range without 0 cannot take the recovery text as its value; the value stays.
    if (inRange(0)) {
        m_value = 0;
        result.valueTaken = true;
    }
    return result;
}

TimeFieldLogic::KeyResult TimeFieldLogic::snapshot(bool accepted, int caret) const
{
    KeyResult result;
    result.accepted = accepted;
    result.text = m_text;
    result.caret = caret;
    return result;
}

std::string TimeFieldLogic::textOf(std::int32_t value) const
{
    return m_mode == kTimeMode ? timeModeText(value) : std::to_string(value);
}

}  // namespace verbanta
