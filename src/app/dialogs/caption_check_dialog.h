#pragma once

#include <QDialog>

#include <vector>

#include "checks/check_rules.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace verbanta {
class CaptionEditor;
}

namespace verbanta::app {

/// "자막 검사": every finding of the current language or of all languages, one line each with
/// its row, start time, rule and value. "이동" or a double click selects the finding's row in
/// the list; "고치기" applies the clear fixes of the findings shown as one undo step and
/// checks again. The work is the editor's.
class CaptionCheckDialog : public QDialog {
    Q_OBJECT
public:
    CaptionCheckDialog(CaptionEditor& editor, const CaptionRules& rules, bool displayAsTime,
                       QWidget* parent = nullptr);

    QTreeWidget& list() const { return *m_list; }
    QRadioButton& allLanguagesButton() const { return *m_all; }
    QPushButton& fixButton() const { return *m_fix; }
    QLabel& countLabel() const { return *m_count; }
    const std::vector<CheckFinding>& findings() const { return m_findings; }

    /// Checks again and shows what was found.
    void refresh();
    /// "이동": the chosen finding's row.
    void goToChosen();
    /// "고치기".
    void fixAll();

private:
    QString languageLabel(int slot) const;

    CaptionEditor& m_editor;
    const CaptionRules& m_rules;
    bool m_displayAsTime;
    std::vector<CheckFinding> m_findings;
    QRadioButton* m_current;
    QRadioButton* m_all;
    QLabel* m_count;
    QTreeWidget* m_list;
    QPushButton* m_fix;
};

}  // namespace verbanta::app
