#pragma once

#include <string>
#include <vector>

#include "editor/edit_session.h"

namespace verbanta {

/// The language tabs and the tools between languages, the replay mark and the list bookmarks
/// of the caption list.
class LanguagesMarks {
public:
    explicit LanguagesMarks(EditSession& session) : m_session(session) {}

    /// The languages' part of showing a document: the classes the undo history's slots hold.
    void documentShown();

    /// The tab labels (CP949), in language order; empty when the tabs are hidden.
    std::vector<std::string> languageTabs() const;
    /// The language index whose list is shown, or -1.
    int currentLanguageIndex() const;
    void selectLanguage(int index);
    /// After the language dialog reported a change.
    void languageInformationChanged();
    /// The languages the synchronisation dialog offers: every index but the current one.
    std::vector<int> languageSyncChoices() const;
    /// Copies the reference language's start times onto the current one, row by row.
    bool synchronizeLanguages(int referenceIndex);
    /// Rows of the current language whose start no other language has.
    std::vector<FoundRow> findLanguageMismatches();

    void toggleReplay();
    void clearReplayMarks();
    void toggleBookmark();
    void previousBookmark();
    void nextBookmark();
    void clearBookmarks();

private:
    /// Per slot, the class of the language bound to it, "" for none.
    std::vector<std::string> slotClasses() const;
    /// The languages that have a list slot (all of them, unless the file has too many).
    int languagesWithSlot() const;
    /// The slot of a language index, or -1 outside them.
    int slotOf(int index) const;
    /// Takes the replay mark off the first row other than `except` that carries it.
    void clearReplayMark(int except);

    EditSession& m_session;
    std::vector<std::string> m_slotClasses;  ///< per slot, its language's class when bound
};

}  // namespace verbanta
