#include "dialogs/number_field_rules.h"

#include <algorithm>

namespace verbanta::app {
namespace {

// Far beyond every 32-bit value, so that saturated numbers still compare correctly.
constexpr std::int64_t kSaturation = 1'000'000'000'000;

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

}  // namespace

NumberFieldRules::NumberFieldRules(std::int32_t minimum, std::int32_t maximum,
                                   std::int32_t fallback)
    : m_minimum(minimum),
      m_maximum(std::max(minimum, maximum)),
      m_fallback(std::clamp(fallback, minimum, std::max(minimum, maximum)))
{
}

bool NumberFieldRules::acceptsCharacter(char32_t c) const
{
    return isDigit(c) || (c == U'-' && allowsMinus());
}

bool NumberFieldRules::acceptsText(std::string_view text) const
{
    return std::all_of(text.begin(), text.end(),
                       [this](char c) { return acceptsCharacter(static_cast<unsigned char>(c)); });
}

std::optional<std::int64_t> NumberFieldRules::parse(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (!isDigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        value = std::min(value * 10 + (c - '0'), kSaturation);
    }
    return negative ? -value : value;
}

bool NumberFieldRules::canStillReach(std::int64_t value) const
{
    // Each digit typed after the text makes it value·10 + d: the reachable values at k more
    // digits are the span [value·10^k, value·10^k + 10^k − 1].
    std::int64_t scale = 1;
    for (int k = 1; k <= 10; ++k) {
        scale *= 10;
        const std::int64_t low = value * scale;
        const std::int64_t high = low + scale - 1;
        if (low > m_maximum)
            return false;
        if (high >= m_minimum)
            return true;
    }
    return false;
}

NumberFieldRules::Verdict NumberFieldRules::changed(std::string_view text) const
{
    if (text.empty() || (text == "-" && allowsMinus()))
        return {};
    const std::optional<std::int64_t> number = parse(text);
    if (!number || (*number < 0 && !allowsMinus()) || (text.front() == '-' && !allowsMinus()))
        return {std::nullopt, std::string(kMalformedMessage)};
    if (*number > m_maximum)
        return {std::nullopt, aboveMaximumMessage(m_maximum)};
    if (*number < m_minimum) {
        // More digits move a negative number further down; a positive one may still grow into
        // the range ("2" on the way to "25" in 10 … 40).
        if (*number >= 0 && text.front() != '-' && canStillReach(*number))
            return {};
        return {std::nullopt, belowMinimumMessage(m_minimum)};
    }
    return {static_cast<std::int32_t>(*number), std::nullopt};
}

NumberFieldRules::Verdict NumberFieldRules::left(std::string_view text, bool edited) const
{
    if (text.empty())
        return {std::nullopt, std::string(kEmptyMessage)};
    if (!edited)
        return {};
    if (text == "-")
        return {std::nullopt, std::string(kMalformedMessage)};
    Verdict verdict = changed(text);
    if (!verdict.value && !verdict.message)
        verdict.message = belowMinimumMessage(m_minimum);
    return verdict;
}

std::string NumberFieldRules::textOf(std::int32_t value)
{
    return std::to_string(value);
}

std::string NumberFieldRules::belowMinimumMessage(std::int32_t minimum)
{
    return std::to_string(minimum) + " 보다 작은 값은 입력할 수 없습니다 ";
}

std::string NumberFieldRules::aboveMaximumMessage(std::int32_t maximum)
{
    return std::to_string(maximum) + " 보다 큰 값은 입력할 수 없습니다 ";
}

}  // namespace verbanta::app
