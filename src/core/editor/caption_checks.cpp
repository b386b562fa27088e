// The caption checks as the editor runs them: the findings of one or every language, their
// clear fixes as one undo step, and going to a finding's row.

#include "editor/caption_checks.h"

#include "checks/check_fixes.h"
#include "editor/languages_marks.h"

namespace verbanta {

std::vector<CheckFinding> CaptionChecks::checkFindings(const CaptionRules& rules,
                                                       bool allLanguages) const
{
    const SamiModel& model = m_session.model();
    const int current = model.GetCurrentSlot();
    if (!allLanguages || model.GetLanguageCount() == 0)
        return checkList(model.list(), current, rules);
    std::vector<CheckFinding> findings;
    for (int i = 0; i < model.GetLanguageCount() && i < SamiModel::kSlotCount; ++i) {
        const int slot = model.slotOrder[static_cast<std::size_t>(i)];
        std::vector<CheckFinding> more = checkList(model.slotList(slot), slot, rules);
        findings.insert(findings.end(), more.begin(), more.end());
    }
    return findings;
}

int CaptionChecks::fixFindings(std::span<const CheckFinding> findings, const CaptionRules& rules)
{
    int fixed = 0;
    {
        // The action tells the view what changed in the shown language.
        EditSession::Action action(m_session);
        fixed = verbanta::fixFindings(m_session.model(), findings, rules);
    }
    if (fixed > 0)
        m_session.finishChange(m_session.currentRow());
    return fixed;
}

bool CaptionChecks::goToFinding(const CheckFinding& finding)
{
    const SamiModel& model = m_session.model();
    if (finding.slot != model.GetCurrentSlot()) {
        for (int i = 0; i < model.GetLanguageCount() && i < SamiModel::kSlotCount; ++i) {
            if (model.slotOrder[static_cast<std::size_t>(i)] == finding.slot) {
                m_languages.selectLanguage(i);
                if (m_session.listener())
                    m_session.listener()->languagesChanged();  // the tabs show the language chosen
                break;
            }
        }
    }
    if (finding.slot != model.GetCurrentSlot() || !m_session.entry(finding.row))
        return false;
    m_session.selectRow(finding.row);
    return true;
}

}  // namespace verbanta
