#pragma once

#include <QDialog>

#include "editor/timing_tools.h"

class QCheckBox;
class QLabel;
class QRadioButton;

namespace verbanta {
class Messenger;
struct AppSettings;
}  // namespace verbanta

namespace verbanta::app {

class SteppedTimeField;

/// "종료 싱크 일괄 재설정": every caption's end sync set a fixed time after its start, or
/// from its length, over the whole list or the marked range.
class EndSyncResetDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr std::int32_t kMaximumMs = 100000000;

    EndSyncResetDialog(const AppSettings& settings, Messenger& messenger,
                       QWidget* parent = nullptr);

    /// The options as chosen.
    EndSyncReset options() const;

    QRadioButton& durationMode() const { return *m_durationMode; }
    QRadioButton& lengthMode() const { return *m_lengthMode; }
    SteppedTimeField& durationField() const { return *m_duration; }
    SteppedTimeField& perCharacterField() const { return *m_perCharacter; }
    QCheckBox& onlyIfShorterBox() const { return *m_onlyIfShorter; }
    QCheckBox& onlyIfLongerBox() const { return *m_onlyIfLonger; }
    QCheckBox& rangeOnlyBox() const { return *m_rangeOnly; }

public slots:
    void accept() override;

private:
    void modeChosen();

    QRadioButton* m_durationMode;
    QLabel* m_durationLabel;
    SteppedTimeField* m_duration;
    QCheckBox* m_onlyIfShorter;
    QCheckBox* m_onlyIfLonger;
    QRadioButton* m_lengthMode;
    QLabel* m_perCharacterLabel;
    SteppedTimeField* m_perCharacter;
    QCheckBox* m_rangeOnly;
};

}  // namespace verbanta::app
