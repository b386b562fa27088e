#pragma once

#include <cstdint>
#include <string>

namespace verbanta {

/// The edit panel's mode: edit the current row, add a caption, or shift the range.
enum class PanelMode { Edit = 1, Add = 2, Move = 3 };

/// One time field of the panel.
struct TimeFieldState {
    static constexpr std::int32_t kMaximum = 100000000;

    bool enabled = true;
    bool visible = true;
    std::int32_t value = 0;
    std::int32_t minimum = 0;
    std::int32_t maximum = kMaximum;

    bool operator==(const TimeFieldState&) const = default;
};

/// One button of the panel; labels are UTF-8.
struct ButtonState {
    bool enabled = true;
    bool visible = true;
    bool checked = false;  ///< the push-like mode buttons show the current mode
    std::string label;

    bool operator==(const ButtonState&) const = default;
};

/// The whole edit panel as a plain view-model: the view shows it and reports the user's
/// edits back; it holds no state of its own.
struct PanelState {
    PanelMode mode = PanelMode::Edit;
    TimeFieldState start;
    TimeFieldState end;
    bool textEnabled = true;
    std::string text;        ///< CP949 caption text with its markup
    int selectionStart = 0;  ///< byte offsets into `text`
    int selectionEnd = 0;
    ButtonState registerButton{true, true, false, "등록"};
    ButtonState cancelButton{true, true, false, "취소"};
    ButtonState commentButton{true, false, false, "코멘트"};
    ButtonState editButton{true, true, true, "편집"};
    ButtonState addButton{true, true, false, "추가"};
    ButtonState moveButton{true, true, false, "이동"};

    /// Shows and enables the controls of a mode, as switching to it does; the values are
    /// left to the caller.
    void applyMode(PanelMode newMode);
    /// Clears the text and its selection.
    void clearText();
    /// Selects the whole text.
    void selectAll();

    bool operator==(const PanelState&) const = default;
};

}  // namespace verbanta
