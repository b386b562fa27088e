#pragma once

#include <QDialog>

#include <cstdint>

class QCheckBox;

namespace verbanta {
class Messenger;
struct AppSettings;
}  // namespace verbanta

namespace verbanta::app {

class SteppedTimeField;

/// "싱크 일괄 조정": the offset by which the marked range moves, and whether only its end
/// syncs move.
class ShiftSyncsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr std::int32_t kLimitMs = 100000000;

    /// Starts with the last offset the dialog was confirmed with.
    ShiftSyncsDialog(const AppSettings& settings, Messenger& messenger, std::int32_t lastOffset,
                     QWidget* parent = nullptr);

    std::int32_t offset() const;
    bool endSyncsOnly() const;
    SteppedTimeField& offsetField() const { return *m_offset; }
    QCheckBox& endSyncsOnlyBox() const { return *m_endSyncsOnly; }

public slots:
    void accept() override;

private:
    SteppedTimeField* m_offset;
    QCheckBox* m_endSyncsOnly;
};

}  // namespace verbanta::app
