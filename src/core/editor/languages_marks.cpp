// Language tabs and tools, the replay mark and the list bookmarks of the caption list.
#include "editor/languages_marks.h"

#include <algorithm>
#include <string>
#include <vector>

#include "model/text_format.h"
#include "platform/messenger.h"

namespace verbanta {
namespace {

std::string_view trimTabLabel(std::string_view name)
{
    constexpr std::string_view kTrimmed = "\"'\t\r\n ";
    const std::size_t first = name.find_first_not_of(kTrimmed);
    if (first == std::string_view::npos)
        return {};
    return name.substr(first, name.find_last_not_of(kTrimmed) - first + 1);
}

}  // namespace

// ---- languages ---------------------------------------------------------------------------

std::vector<std::string> LanguagesMarks::slotClasses() const
{
    const SamiModel& model = m_session.model();
    std::vector<std::string> classes(SamiModel::kSlotCount);
    for (std::size_t i = 0; i < model.languages.size() && i < classes.size(); ++i)
        classes[static_cast<std::size_t>(model.slotOrder[i])] = model.languages[i].selector;
    return classes;
}

int LanguagesMarks::languagesWithSlot() const
{
    return std::min(m_session.model().GetLanguageCount(), SamiModel::kSlotCount);
}

int LanguagesMarks::slotOf(int index) const
{
    if (index < 0 || index >= languagesWithSlot())
        return -1;
    return m_session.model().slotOrder[static_cast<std::size_t>(index)];
}

void LanguagesMarks::documentShown()
{
    m_slotClasses = slotClasses();
}

std::vector<std::string> LanguagesMarks::languageTabs() const
{
    std::vector<std::string> tabs;
    for (const LanguageInfo& language : m_session.model().languages)
        tabs.emplace_back(trimTabLabel(language.name()));
    return tabs;
}

int LanguagesMarks::currentLanguageIndex() const
{
    for (int i = 0; i < languagesWithSlot(); ++i)
        if (slotOf(i) == m_session.model().GetCurrentSlot())
            return i;
    return -1;
}

void LanguagesMarks::selectLanguage(int index)
{
    if (index < 0 || index >= languagesWithSlot())
        return;
    m_session.model().SetCurrentSlot(slotOf(index));
    m_session.listSwitched();
    m_session.requestFocus(FocusTarget::List);
}

void LanguagesMarks::languageInformationChanged()
{
    // Undo records name list slots. A slot whose language was deleted or given another class
    // now holds other captions or other class names, so its records would undo the wrong
    // thing: the history is dropped then. Added or reordered languages keep it.
    SamiModel& model = m_session.model();
    const std::vector<std::string> classes = slotClasses();
    for (std::size_t slot = 0; slot < classes.size() && slot < m_slotClasses.size(); ++slot)
        if (!m_slotClasses[slot].empty() && m_slotClasses[slot] != classes[slot])
            model.ClearUndo();
    m_slotClasses = classes;

    if (model.GetLanguageCount() > 0)
        model.SetCurrentSlot(model.slotOrder[0]);
    if (CaptionViewListener* listener = m_session.listener())
        listener->languagesChanged();
    m_session.listSwitched();
    m_session.document().setModified(true);
}

std::vector<int> LanguagesMarks::languageSyncChoices() const
{
    std::vector<int> choices;
    const int current = currentLanguageIndex();
    for (int i = 0; i < languagesWithSlot(); ++i)
        if (i != current)
            choices.push_back(i);
    return choices;
}

bool LanguagesMarks::synchronizeLanguages(int referenceIndex)
{
    if (referenceIndex < 0 || referenceIndex >= languagesWithSlot() ||
        referenceIndex == currentLanguageIndex())
        return false;
    SamiModel& model = m_session.model();
    const SyncList& reference = model.slotList(slotOf(referenceIndex));
    const int count = m_session.rowCount();
    if (count != reference.count()) {
        m_session.say("현재 선택한 언어와 기준 언어의 자막 갯수가 다릅니다.\n\n선택 언어: " +
                          std::to_string(count) +
                          "개,    기준 언어:" + std::to_string(reference.count()) +
                          "개\n\n자막 갯수를 동일하게 한 후 다시 시도해 주십시오.",
                      MessageIcon::Warning);
        return false;
    }
    // Row by row, the reference language's start times; comments on either side carry no
    // time and are left alone. One undo step.
    bool changed = false;
    {
        EditSession::Action action(m_session);
        {
            SamiModel::RowBatch batch(model, model.GetCurrentSlot());
            for (int row = 0; row < count; ++row) {
                if (batch[row].isComment || reference[row].isComment ||
                    batch[row].startMs == reference[row].startMs)
                    continue;
                SyncEntry e = batch[row];
                e.startMs = reference[row].startMs;
                batch.setAt(row, std::move(e), true);
                changed = true;
            }
        }
        action.group();
    }
    if (changed)
        m_session.finishChange(m_session.currentRow());
    return true;
}

std::vector<FoundRow> LanguagesMarks::findLanguageMismatches()
{
    // Every other language's caption times, sorted: a row of the current language whose time
    // is missing from any of them does not match.
    const SamiModel& model = m_session.model();
    std::vector<std::vector<std::int32_t>> others;
    const int current = currentLanguageIndex();
    for (int i = 0; i < languagesWithSlot(); ++i) {
        if (i == current)
            continue;
        std::vector<std::int32_t> times;
        model.slotList(slotOf(i)).forEach([&](const SyncEntry& e) {
            if (!e.isComment)
                times.push_back(e.startMs);
        });
        std::sort(times.begin(), times.end());
        others.push_back(std::move(times));
    }
    std::vector<FoundRow> found;
    const SyncList& list = model.list();
    for (int row = 0; row < list.count(); ++row) {
        const SyncEntry& e = list[row];
        if (e.isComment)
            continue;
        const bool missing = std::any_of(others.begin(), others.end(), [&](const auto& times) {
            return !std::binary_search(times.begin(), times.end(), e.startMs);
        });
        if (missing)
            found.push_back(
                {row, e.startMs,
                 std::string(truncateText(StripTags(e.text, true), kListDisplayBytes))});
    }
    if (found.empty())
        m_session.say("다국어 자막의 언어간에 일치하지 않는 싱크가 없습니다.",
                      MessageIcon::Information);
    return found;
}

// ---- replay ------------------------------------------------------------------------------

void LanguagesMarks::toggleReplay()
{
    const int r = m_session.currentRow();
    const SyncEntry* e = m_session.entry(r);
    if (!e) {
        m_session.say("반복 재생하고자 하는 자막을 선택해 주십시오", MessageIcon::Warning);
        return;
    }
    if (e->isEndSync) {
        m_session.say("종료 싱크에는 반복 재생을 설정할 수 없습니다", MessageIcon::Warning);
        return;
    }
    if (e->isComment) {
        m_session.say("코멘트에는 반복 재생을 설정할 수 없습니다", MessageIcon::Warning);
        return;
    }
    clearReplayMark(r);
    m_session.player().StopRepeat();
    std::int32_t& mark = m_session.model().list()[r].replayMark;
    mark = !mark;
    m_session.setReplayRow(mark ? r : -1);
    m_session.changes().changed(r, r);
    m_session.publishChanges();
    if (CaptionViewListener* listener = m_session.listener())
        listener->marksChanged();
}

void LanguagesMarks::clearReplayMark(int except)
{
    SyncList& list = m_session.model().list();
    for (int i = 0; i < list.count(); ++i) {
        if (i != except && list[i].replayMark) {
            list[i].replayMark = 0;
            m_session.changes().changed(i, i);
            break;
        }
    }
}

void LanguagesMarks::clearReplayMarks()
{
    clearReplayMark(-1);
    m_session.setReplayRow(-1);
    m_session.publishChanges();
    if (CaptionViewListener* listener = m_session.listener())
        listener->marksChanged();
}

// ---- list bookmarks ----------------------------------------------------------------------

void LanguagesMarks::toggleBookmark()
{
    const int r = m_session.currentRow();
    if (!m_session.entry(r)) {
        m_session.say("북마크를 설정하고자 하는 자막을 선택해 주십시오", MessageIcon::Warning);
        return;
    }
    std::int32_t& mark = m_session.model().list()[r].bookmarked;
    mark = !mark;
    m_session.changes().changed(r, r);
    m_session.publishChanges();
}

void LanguagesMarks::previousBookmark()
{
    if (m_session.currentRow() < 0)
        return;
    const SyncList& list = m_session.model().list();
    for (int i = std::min(m_session.currentRow(), list.count()) - 1; i >= 0; --i)
        if (list[i].bookmarked) {
            m_session.selectRow(i);
            return;
        }
}

void LanguagesMarks::nextBookmark()
{
    if (m_session.currentRow() < 0)
        return;
    const SyncList& list = m_session.model().list();
    for (int i = m_session.currentRow() + 1; i < list.count(); ++i)
        if (list[i].bookmarked) {
            m_session.selectRow(i);
            return;
        }
}

void LanguagesMarks::clearBookmarks()
{
    SyncList& list = m_session.model().list();
    for (int i = 0; i < list.count(); ++i) list[i].bookmarked = 0;
    if (list.count() > 0)
        m_session.changes().changed(0, list.count() - 1);
    m_session.publishChanges();
}

}  // namespace verbanta
