// Language tabs and tools, the replay mark and the list bookmarks of the caption list.
#include <algorithm>
#include <string>
#include <vector>

#include "editor/caption_editor.h"
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

std::vector<std::string> CaptionEditor::languageTabs() const
{
    std::vector<std::string> tabs;
    for (const LanguageInfo& language : m_model.languages)
        tabs.emplace_back(trimTabLabel(language.name()));
    return tabs;
}

int CaptionEditor::currentLanguageIndex() const
{
    for (int i = 0; i < m_model.GetLanguageCount() && i < SamiModel::kSlotCount; ++i)
        if (m_model.slotOrder[static_cast<std::size_t>(i)] == m_model.GetCurrentSlot())
            return i;
    return -1;
}

void CaptionEditor::selectLanguage(int index)
{
    if (index < 0 || index >= m_model.GetLanguageCount() || index >= SamiModel::kSlotCount)
        return;
    m_model.SetCurrentSlot(m_model.slotOrder[static_cast<std::size_t>(index)]);
    m_changes.deliver(nullptr);
    if (m_listener)
        m_listener->listReplaced();
    const int n = rowCount();
    refreshAfterChange(n == 0 ? -1 : std::clamp(m_currentRow, 0, n - 1));
    updatePanelButtons();
    syncReplayWithPlayer();
    m_player.ResyncCursor();
    requestFocus(FocusTarget::List);
}

void CaptionEditor::languageInformationChanged()
{
    // Undo records name list slots. A slot whose language was deleted or given another class
    // now holds other captions or other class names, so its records would undo the wrong
    // thing: the history is dropped then. Added or reordered languages keep it.
    std::vector<std::string> classes(SamiModel::kSlotCount);
    for (std::size_t i = 0; i < m_model.languages.size() && i < classes.size(); ++i)
        classes[static_cast<std::size_t>(m_model.slotOrder[i])] = m_model.languages[i].selector;
    for (std::size_t slot = 0; slot < classes.size() && slot < m_slotClasses.size(); ++slot)
        if (!m_slotClasses[slot].empty() && m_slotClasses[slot] != classes[slot])
            m_model.ClearUndo();
    m_slotClasses = classes;

    if (m_model.GetLanguageCount() > 0)
        m_model.SetCurrentSlot(m_model.slotOrder[0]);
    m_changes.deliver(nullptr);
    if (m_listener) {
        m_listener->languagesChanged();
        m_listener->listReplaced();
    }
    const int n = rowCount();
    refreshAfterChange(n == 0 ? -1 : std::clamp(m_currentRow, 0, n - 1));
    updatePanelButtons();
    syncReplayWithPlayer();
    m_player.ResyncCursor();
    m_document.setModified(true);
}

std::vector<int> CaptionEditor::languageSyncChoices() const
{
    std::vector<int> choices;
    const int current = currentLanguageIndex();
    for (int i = 0; i < m_model.GetLanguageCount() && i < SamiModel::kSlotCount; ++i)
        if (i != current)
            choices.push_back(i);
    return choices;
}

bool CaptionEditor::synchronizeLanguages(int referenceIndex)
{
    if (referenceIndex < 0 || referenceIndex >= m_model.GetLanguageCount() ||
        referenceIndex >= SamiModel::kSlotCount || referenceIndex == currentLanguageIndex())
        return false;
    const int refSlot = m_model.slotOrder[static_cast<std::size_t>(referenceIndex)];
    const SyncList& reference = m_model.slotList(refSlot);
    const int count = rowCount();
    if (count != reference.count()) {
        say("현재 선택한 언어와 기준 언어의 자막 갯수가 다릅니다.\n\n선택 언어: " +
                std::to_string(count) + "개,    기준 언어:" + std::to_string(reference.count()) +
                "개\n\n자막 갯수를 동일하게 한 후 다시 시도해 주십시오.",
            MessageIcon::Warning);
        return false;
    }
    // Row by row, the reference language's start times; comments on either side carry no
    // time and are left alone. One undo step.
    bool changed = false;
    {
        Action action(*this);
        {
            SamiModel::RowBatch batch(m_model, m_model.GetCurrentSlot());
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
        finishChange(m_currentRow);
    return true;
}

std::vector<FoundRow> CaptionEditor::findLanguageMismatches()
{
    // Every other language's caption times, sorted: a row of the current language whose time
    // is missing from any of them does not match.
    std::vector<std::vector<std::int32_t>> others;
    const int current = currentLanguageIndex();
    for (int i = 0; i < m_model.GetLanguageCount() && i < SamiModel::kSlotCount; ++i) {
        if (i == current)
            continue;
        std::vector<std::int32_t> times;
        m_model.slotList(m_model.slotOrder[static_cast<std::size_t>(i)])
            .forEach([&](const SyncEntry& e) {
                if (!e.isComment)
                    times.push_back(e.startMs);
            });
        std::sort(times.begin(), times.end());
        others.push_back(std::move(times));
    }
    std::vector<FoundRow> found;
    const SyncList& list = m_model.list();
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
                 std::string(TruncateText(StripTags(e.text, true), kListDisplayBytes))});
    }
    if (found.empty())
        say("다국어 자막의 언어간에 일치하지 않는 싱크가 없습니다.", MessageIcon::Information);
    return found;
}

// ---- replay ------------------------------------------------------------------------------

void CaptionEditor::toggleReplay()
{
    const int r = m_currentRow;
    const SyncEntry* e = entry(r);
    if (!e) {
        say("반복 재생하고자 하는 자막을 선택해 주십시오", MessageIcon::Warning);
        return;
    }
    if (e->isEndSync) {
        say("종료 싱크에는 반복 재생을 설정할 수 없습니다", MessageIcon::Warning);
        return;
    }
    if (e->isComment) {
        say("코멘트에는 반복 재생을 설정할 수 없습니다", MessageIcon::Warning);
        return;
    }
    SyncList& list = m_model.list();
    for (int i = 0; i < list.count(); ++i) {
        if (i != r && list[i].replayMark) {
            list[i].replayMark = 0;
            m_changes.changed(i, i);
            break;
        }
    }
    m_player.StopRepeat();
    std::int32_t& mark = list[r].replayMark;
    mark = !mark;
    m_replayRow = mark ? r : -1;
    if (mark)
        replayRangeOf(r);
    else
        m_player.ClearReplayRange();
    m_changes.changed(r, r);
    publishChanges();
    if (m_listener)
        m_listener->marksChanged();
}

void CaptionEditor::clearReplayMarks()
{
    SyncList& list = m_model.list();
    for (int i = 0; i < list.count(); ++i) {
        if (list[i].replayMark) {
            list[i].replayMark = 0;
            m_changes.changed(i, i);
            break;
        }
    }
    m_replayRow = -1;
    m_player.ClearReplayRange();
    publishChanges();
    if (m_listener)
        m_listener->marksChanged();
}

// ---- list bookmarks ----------------------------------------------------------------------

void CaptionEditor::toggleBookmark()
{
    const int r = m_currentRow;
    if (!entry(r)) {
        say("북마크를 설정하고자 하는 자막을 선택해 주십시오", MessageIcon::Warning);
        return;
    }
    std::int32_t& mark = m_model.list()[r].bookmarked;
    mark = !mark;
    m_changes.changed(r, r);
    publishChanges();
}

void CaptionEditor::previousBookmark()
{
    if (m_currentRow < 0)
        return;
    const SyncList& list = m_model.list();
    for (int i = std::min(m_currentRow, list.count()) - 1; i >= 0; --i)
        if (list[i].bookmarked) {
            selectRow(i);
            return;
        }
}

void CaptionEditor::nextBookmark()
{
    if (m_currentRow < 0)
        return;
    const SyncList& list = m_model.list();
    for (int i = m_currentRow + 1; i < list.count(); ++i)
        if (list[i].bookmarked) {
            selectRow(i);
            return;
        }
}

void CaptionEditor::clearBookmarks()
{
    SyncList& list = m_model.list();
    for (int i = 0; i < list.count(); ++i) list[i].bookmarked = 0;
    if (list.count() > 0)
        m_changes.changed(0, list.count() - 1);
    publishChanges();
}

}  // namespace verbanta
