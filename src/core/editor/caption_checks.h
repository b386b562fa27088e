#pragma once

#include <span>
#include <vector>

#include "checks/check_rules.h"
#include "editor/edit_session.h"

namespace verbanta {

class LanguagesMarks;

/// The caption checks as the editor runs them: the findings of one or every language, their
/// clear fixes as one undo step, and going to a finding's row.
class CaptionChecks {
public:
    CaptionChecks(EditSession& session, LanguagesMarks& languages)
        : m_session(session), m_languages(languages)
    {
    }

    /// The findings of the current language, or of every language in language order.
    std::vector<CheckFinding> checkFindings(const CaptionRules& rules, bool allLanguages) const;
    /// "고치기": the clear fixes of the findings, as one undo step; the end syncs moved or added.
    int fixFindings(std::span<const CheckFinding> findings, const CaptionRules& rules);
    /// Shows the finding's language and selects its row; false when the row is gone.
    bool goToFinding(const CheckFinding& finding);

private:
    EditSession& m_session;
    LanguagesMarks& m_languages;
};

}  // namespace verbanta
