#pragma once

#include <QWidget>

class QButtonGroup;
class QLabel;
class QPushButton;

namespace verbanta {
struct AppSettings;
class Messenger;
}  // namespace verbanta

namespace verbanta::app {

class CaptionTextEdit;
class SpinButtons;
class TimeFieldWidget;

/// The edit panel under the caption list: the mode buttons "편집", "추가" and "이동", the start
/// and end time fields with their spin arrows, the caption text field and the buttons "등록",
/// "취소" and "코멘트". It lays the controls out; what they show comes from the caption view.
class EditPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 150;
    enum Mode { EditMode = 1, AddMode = 2, MoveMode = 3 };

    EditPanel(const AppSettings& settings, Messenger& messenger, QWidget* parent = nullptr);

    TimeFieldWidget& startField() const { return *m_start; }
    TimeFieldWidget& endField() const { return *m_end; }
    SpinButtons& startSpin() const { return *m_startSpin; }
    SpinButtons& endSpin() const { return *m_endSpin; }
    CaptionTextEdit& textField() const { return *m_text; }
    QPushButton& modeButton(Mode mode) const;
    QPushButton& registerButton() const { return *m_register; }
    QPushButton& cancelButton() const { return *m_cancel; }
    QPushButton& commentButton() const { return *m_comment; }

    /// Shows which mode button is down.
    void showMode(Mode mode);
    /// Shows or hides the end field together with its arrows and label.
    void setEndVisible(bool visible);
    void setEndEnabled(bool enabled);
    void setStartEnabled(bool enabled);

signals:
    /// A mode button was pressed.
    void modeClicked(int mode);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutControls();

    TimeFieldWidget* m_start;
    TimeFieldWidget* m_end;
    SpinButtons* m_startSpin;
    SpinButtons* m_endSpin;
    QLabel* m_startLabel;
    QLabel* m_endLabel;
    CaptionTextEdit* m_text;
    QPushButton* m_edit;
    QPushButton* m_add;
    QPushButton* m_move;
    QPushButton* m_register;
    QPushButton* m_cancel;
    QPushButton* m_comment;
    QButtonGroup* m_modes;
};

}  // namespace verbanta::app
