#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace verbanta::app {

/// The rules of the option pages' number fields, without the widget: which keys they take,
/// which texts are complete values, and which texts are refused with which message. A refused
/// text sets the field back to its fallback value.
class NumberFieldRules {
public:
    static constexpr const char* kEmptyMessage = "값을 입력해 주십시요 ";
    static constexpr const char* kMalformedMessage = "정상적인 숫자를 입력해 주십시요 ";

    /// What the field's text amounts to.
    struct Verdict {
        /// The value when the text is a complete number in range.
        std::optional<std::int32_t> value;
        /// The message (UTF-8) to show before the field is set back to its fallback.
        std::optional<std::string> message;
    };

    /// `fallback` is what a refused entry is replaced by; it lies in the range.
    NumberFieldRules(std::int32_t minimum, std::int32_t maximum, std::int32_t fallback);

    std::int32_t minimum() const { return m_minimum; }
    std::int32_t maximum() const { return m_maximum; }
    std::int32_t fallback() const { return m_fallback; }
    /// A minus sign may be typed only where the range reaches below zero.
    bool allowsMinus() const { return m_minimum < 0; }
    /// Whether a typed character is taken: digits, and "-" where allowed.
    bool acceptsCharacter(char32_t c) const;
    /// Whether a pasted or otherwise inserted text may become part of the field.
    bool acceptsText(std::string_view text) const;

    /// The check after every change. A text that further typing can still complete (empty, a
    /// lone "-", or a number below the minimum that more digits can bring into the range)
    /// gives neither a value nor a message: the check when the field is left decides then.
    Verdict changed(std::string_view text) const;
    /// The check when the field is left (and before its page is accepted). `edited`: the user
    /// changed the text since it was last set; a value merely loaded is not judged.
    Verdict left(std::string_view text, bool edited) const;

    /// The text of a value.
    static std::string textOf(std::int32_t value);
    static std::string belowMinimumMessage(std::int32_t minimum);
    static std::string aboveMaximumMessage(std::int32_t maximum);

private:
    /// The number of a text of digits with at most a leading "-", saturating far outside
    /// every 32-bit range; nothing for any other text.
    static std::optional<std::int64_t> parse(std::string_view text);
    /// Whether appending digits to a positive value below the minimum can reach the range.
    bool canStillReach(std::int64_t value) const;

    std::int32_t m_minimum;
    std::int32_t m_maximum;
    std::int32_t m_fallback;
};

}  // namespace verbanta::app
