#pragma once

#include <QString>

#include "checks/check_state.h"

namespace verbanta {
struct AppSettings;
class CaptionEditor;
}  // namespace verbanta

namespace verbanta::app {

/// The caption list's check marks: which rules each row of the shown language breaks, kept by
/// a `CheckState` that follows the editor's change notifications, so that a change rechecks
/// only the rows it touched. With `CheckEnabled` off nothing is checked and no row is marked.
class CaptionCheckMarks {
public:
    explicit CaptionCheckMarks(const AppSettings& settings);

    /// Follows the editor's current list (null for none); call again when the list is replaced.
    void bind(const CaptionEditor* editor);
    /// Takes the profile and the on/off setting from the options again.
    void applySettings();
    /// The frame rate of the open video; 0 or less when none is open (24 per second counts).
    void setFrameRate(double framesPerSecond);

    bool enabled() const { return m_enabled; }
    const CaptionRules& rules() const { return m_state.rules(); }

    // The editor's notifications, as the view receives them.
    void rowsInserted(int first, int count);
    void rowsRemoved(int first, int count);
    void rowsChanged(int first, int last);
    /// Rechecks what the notifications named; the rows whose marks changed lie in the range.
    CheckState::RowRange settle();

    /// The rules the row breaks; 0 with the checks off.
    CheckRuleSet rulesAt(int row);
    /// The row's findings, one line each, for its tooltip; empty when it breaks none.
    QString toolTip(int row);

    /// The rule's Korean name.
    static QString ruleName(CheckRule rule);
    /// A finding's measured value with its unit ("13.5자/초", "800ms", …); empty for none.
    static QString valueText(const CheckFinding& finding);
    /// The rule's Korean name followed by the value in parentheses when there is one.
    static QString findingText(const CheckFinding& finding);

private:
    void attach();

    const AppSettings& m_settings;
    const CaptionEditor* m_editor = nullptr;
    CheckState m_state;
    bool m_enabled = false;
};

}  // namespace verbanta::app
