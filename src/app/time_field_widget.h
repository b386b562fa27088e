#pragma once

#include <QLineEdit>

#include <cstdint>

#include "model/time_field.h"

namespace verbanta {
class Messenger;
}

namespace verbanta::app {

/// The edit field in which a time is typed: a line edit that feeds every key to the core's
/// `TimeFieldLogic` and shows what it answers (text, caret, beep, error box and recovery).
class TimeFieldWidget : public QLineEdit {
    Q_OBJECT
public:
    TimeFieldWidget(Messenger& messenger, QWidget* parent = nullptr);

    bool setRange(std::int32_t minimum, std::int32_t maximum);
    /// 0 milliseconds, 1 time ("h:mm:ss.mmm"); other values are refused.
    bool setMode(int mode);
    int mode() const { return m_logic.mode(); }
    /// Shows a value without reporting it; refused outside the range.
    bool setValue(std::int32_t value);
    /// Takes a value as if the user had entered it: reported through valueAccepted.
    bool changeValue(std::int32_t value);
    std::int32_t value() const { return m_logic.value(); }
    std::int32_t minimum() const { return m_logic.minimum(); }
    std::int32_t maximum() const { return m_logic.maximum(); }

    /// The check the field makes when it is left, made now (a dialog's OK pressed with Enter):
    /// false, after the message and the recovery, when the field holds no value.
    bool commitText();

    /// The field's own clipboard commands, under the same rules as typed text.
    void pasteText();
    void cutText();

signals:
    /// Every value the field takes from the user.
    void valueAccepted(std::int32_t value);
    /// Alt+Enter: the owner registers the panel.
    void registerRequested();
    /// The Up or Down key: one step up (+1) or down (-1).
    void stepRequested(int direction);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void show(const TimeFieldLogic::KeyResult& result);
    void showText();
    void replaceSelection(const QString& with);

    Messenger& m_messenger;
    TimeFieldLogic m_logic;
    bool m_recovering = false;
    bool m_selectAllOnRelease = false;
    bool m_focusedByClick = false;
};

}  // namespace verbanta::app
