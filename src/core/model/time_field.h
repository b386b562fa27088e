#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace verbanta {

/// The rules of the edit field in which a time is typed, without the widget: its range, its two
/// display modes, which typed keys it accepts, and the messages it shows. A widget feeds it the
/// typed characters and focus changes and shows what it returns.
///
/// Milliseconds mode: the text is a signed decimal number. Time mode: the text is a sign
/// (" " or "-") and "h:mm:ss.mmm", 12 characters; typing overwrites the character at the caret.
/// After a character is accepted in time mode the caret advances to the next position that
/// takes a character, skipping separators, and stays on the last character at the end.
class TimeFieldLogic {
public:
    static constexpr int kMillisecondsMode = 0;
    static constexpr int kTimeMode = 1;
    static constexpr char32_t kBackspace = U'\b';
    static constexpr std::int32_t kDefaultMinimum = -18000000;
    static constexpr std::int32_t kDefaultMaximum = 18000000;

    /// What a key or a focus change did, for the widget to show.
    struct KeyResult {
        bool accepted = false;    ///< false: the key is refused, the widget beeps
        std::string text;         ///< the field's text afterwards
        int caret = 0;            ///< where the caret rests afterwards
        bool valueTaken = false;  ///< a new value was taken: report value() to the owner
        /// An error message (UTF-8) to show before the recovery.
        std::optional<std::string> message;
        /// "0" was put in: the widget takes the focus back and selects the whole text.
        bool recovered = false;
    };

    TimeFieldLogic();

    /// Sets the range; refused (false) when the minimum is above the maximum. The value is kept.
    bool setRange(std::int32_t minimum, std::int32_t maximum);
    std::int32_t minimum() const { return m_minimum; }
    std::int32_t maximum() const { return m_maximum; }

    /// Switches to milliseconds (0) or time (1) mode and redraws the text; other values are
    /// refused (false).
    bool setMode(int mode);
    int mode() const { return m_mode; }

    /// Takes a value and redraws the text; a value outside the range is refused (false) and
    /// leaves the field unchanged.
    bool setValue(std::int32_t value);
    std::int32_t value() const { return m_value; }
    const std::string& text() const { return m_text; }

    /// A typed character (or kBackspace) at the caret, with the selection starting there.
    KeyResult handleKey(char32_t key, int caret, int selectionLength);

    /// The text changed other than by a typed key (a paste): taken under the same rules as
    /// typed text, or refused whole.
    KeyResult applyText(std::string_view text);

    /// The field lost the input focus: a milliseconds-mode field left without a number asks
    /// for one and recovers.
    KeyResult onFocusLost();

    /// Where the caret may rest for a wanted position: in time mode never after the last
    /// character, for the widget's own cursor keys.
    int restingCaret(int caret) const;

    /// Clicking into an unfocused milliseconds-mode field selects the whole text.
    bool selectsAllOnClick() const { return m_mode == kMillisecondsMode; }

    /// The time-mode text of a value: " " or "-", then "%01d:%02d:%02d.%03d" of the absolute
    /// value (more hour digits from 10 hours on).
    static std::string timeModeText(std::int32_t value);

private:
    KeyResult handleMillisecondsKey(char32_t key, int caret, int selectionLength);
    KeyResult handleTimeKey(char32_t key, int caret);
    KeyResult takeMillisecondsText(std::string text, int caret);
    KeyResult recover(std::string message);
    /// The field's current text with the given outcome and caret.
    KeyResult snapshot(bool accepted, int caret) const;
    std::string textOf(std::int32_t value) const;
    bool inRange(long long value) const { return value >= m_minimum && value <= m_maximum; }

    std::int32_t m_minimum = kDefaultMinimum;
    std::int32_t m_maximum = kDefaultMaximum;
    int m_mode = kMillisecondsMode;
    std::int32_t m_value = 0;
    std::string m_text;
};

}  // namespace verbanta
