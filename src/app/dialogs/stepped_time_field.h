#pragma once

#include <QWidget>

#include <cstdint>

namespace verbanta {
class Messenger;
struct AppSettings;
}  // namespace verbanta

namespace verbanta::app {

class SpinButtons;
class TimeFieldWidget;

/// A dialog's time field with its spin arrows: shown in time or milliseconds form as
/// `DisplayAsTime` says, and stepped by `SyncIncrease` (two or five steps at a time while an
/// arrow is held), never beyond its range.
class SteppedTimeField : public QWidget {
    Q_OBJECT
public:
    SteppedTimeField(const AppSettings& settings, Messenger& messenger, std::int32_t minimum,
                     std::int32_t maximum, QWidget* parent = nullptr);

    TimeFieldWidget& field() const { return *m_field; }
    SpinButtons& spin() const { return *m_spin; }

    std::int32_t value() const;
    /// Shows a value, held to the range.
    void setValue(std::int32_t value);
    /// The given number of steps up (positive) or down (negative), held to the range.
    void step(int steps);
    /// For a dialog's OK: false, after the field's message, when it holds no value.
    bool commit();

private:
    const AppSettings& m_settings;
    TimeFieldWidget* m_field;
    SpinButtons* m_spin;
};

}  // namespace verbanta::app
