// Row commands of the caption list: insert, delete, move, split, join, register, comment and
// the export of video bookmarks as captions.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/caption_editor.h"
#include "editor/text_search.h"
#include "model/text_format.h"
#include "platform/messenger.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

constexpr std::string_view kEndSyncText = "&nbsp;";

std::int32_t clampedMs(std::int64_t ms)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(ms, INT32_MIN, INT32_MAX));
}

/// The letters of a caption as the end-time rules count them: tags removed, a two-byte
/// character counting one.
int lettersOf(std::string_view text)
{
    return CountCharacters(StripTags(text, true));
}

bool isBlank(std::string_view text)
{
    return TrimWhiteSpace(text).empty();
}

/// Whether a text holds enough syncs for its parse to be worth holding the rows below aside;
/// a caption or two is not, and without the hold the model's own check sees the whole list.
bool manySyncs(std::string_view text)
{
    constexpr int kHoldFrom = 32;
    int found = 0;
    for (std::ptrdiff_t at = FindForward(text, "<SYNC", 0, false); at >= 0 && found < kHoldFrom;
         at = FindForward(text, "<SYNC", static_cast<std::size_t>(at) + 1, false))
        ++found;
    return found >= kHoldFrom;
}

}  // namespace

void CaptionEditor::insertBlockBefore(int row, std::string_view block, bool merge)
{
    row = std::clamp(row, 0, rowCount());
    if (!manySyncs(block)) {
        m_model.InsertTextBefore(row, block, merge);
        return;
    }
    {
        // The parse appends entry after entry; with the rows below held aside, a long paste
        // into the middle of a long list does not shift them at every entry.
        SyncList::TailHold hold(m_model.list(), row);
        m_model.InsertTextBefore(row, block, merge);
    }
    m_model.CheckOrder();  // the parse checked the list without the rows held aside
}

void CaptionEditor::insertSyncAfter(std::string_view text, std::int32_t ms)
{
    const int r = m_currentRow;
    {
        Action action(*this);
        insertBlockBefore(r + 1, syncBlock(text, ms), true);
    }
    finishChange(r + 1);
}

void CaptionEditor::addCaptionBefore()
{
    const int r = m_currentRow;
    {
        Action action(*this);
        insertBlockBefore(r, syncBlock(newSyncText(), 0), true);
    }
    finishChange(std::max(r, 0));
}

void CaptionEditor::addCaptionAfter()
{
    insertSyncAfter(newSyncText(), 0);
}

void CaptionEditor::addEndSyncBefore()
{
    const int r = m_currentRow;
    {
        Action action(*this);
        insertBlockBefore(r, syncBlock(kEndSyncText, 0), true);
    }
    finishChange(std::max(r, 0));
}

void CaptionEditor::addEndSyncAfter()
{
    // Without a current row there is no caption to end: nothing happens.
    const SyncEntry* e = entry(m_currentRow);
    if (!e)
        return;
    std::int32_t ms = 0;
    if (!e->isComment && !e->isEndSync)
        ms = clampedMs(std::int64_t{lettersOf(e->text)} * m_settings.OneLetterSync + e->startMs);
    insertSyncAfter(kEndSyncText, ms);
}

void CaptionEditor::deleteCaption()
{
    const int r = m_currentRow;
    const SyncEntry* e = entry(r);
    if (!e)
        return;
    if (e->replayMark)
        m_player.ClearReplayRange();
    {
        Action action(*this);
        // The end sync's record follows the caption's, both after the same row, so one undo
        // brings back the caption and then its end sync below it.
        m_model.RemoveAt(r, m_settings.DeleteEndToo);
        action.group();
    }
    finishChange(r);
}

void CaptionEditor::deleteChecked()
{
    int removed = 0;
    {
        Action action(*this);
        {
            // One pass from the top: each removal is recorded as the one-by-one walk would.
            SamiModel::RowBatch batch(m_model, m_model.GetCurrentSlot());
            for (int i = 0; i < batch.count();) {
                if (!batch[i].checked) {
                    ++i;
                    continue;
                }
                if (batch[i].replayMark)
                    m_player.ClearReplayRange();
                batch.removeAt(i, true);
                ++removed;
            }
        }
        action.group();
    }
    if (removed == 0) {
        say("삭제할 자막을 선택해 주십시오.", MessageIcon::Warning);
        return;
    }
    finishChange(m_currentRow);
}

void CaptionEditor::moveDown()
{
    const int r = m_currentRow;
    if (r < 0 || r >= rowCount() - 1)
        return;
    SyncEntry a = *entry(r);
    SyncEntry b = *entry(r + 1);
    // The range marks stay on their rows; everything else travels with the caption.
    std::swap(a.rangeStart, b.rangeStart);
    std::swap(a.rangeEnd, b.rangeEnd);
    {
        Action action(*this);
        m_model.SetAt(rowPos(r + 1), a, true);
        m_model.SetAt(rowPos(r), b, true);
        action.group();
    }
    finishChange(r + 1);
}

void CaptionEditor::moveUp()
{
    const int r = m_currentRow;
    if (r < 1 || rowCount() < 2)
        return;
    SyncEntry a = *entry(r - 1);
    SyncEntry b = *entry(r);
    std::swap(a.rangeStart, b.rangeStart);
    std::swap(a.rangeEnd, b.rangeEnd);
    {
        Action action(*this);
        m_model.SetAt(rowPos(r - 1), b, true);
        m_model.SetAt(rowPos(r), a, true);
        action.group();
    }
    finishChange(r - 1);
}

void CaptionEditor::splitContent()
{
    const int r = m_currentRow;
    const SyncEntry* e = entry(r);
    if (!e) {
        say("내용을 분리할 자막을 선택해 주십시오.", MessageIcon::Warning);
        return;
    }
    if (e->isComment || e->isEndSync) {
        say("코멘트나 종료 싱크는 내용을 분리할 수 없습니다.", MessageIcon::Warning);
        return;
    }
    int nextRow = r + 1;
    while (entry(nextRow) && entry(nextRow)->isComment) ++nextRow;
    const SyncEntry* next = entry(nextRow);
    if (!next) {
        say("종료 싱크나 다음 싱크가 없어 자막을 분리할 수 없습니다.", MessageIcon::Warning);
        return;
    }
    if (e->startMs >= next->startMs) {
        say("종료 싱크나 다음 싱크의 싱크 값에 오류가 있습니다.", MessageIcon::Warning);
        return;
    }
    // Every "<br>" (any case) becomes a 0x0C separator, which counts as one letter.
    std::string text = e->text;
    bool replaced = false;
    for (std::size_t at = 0; at + 4 <= text.size();) {
        if (text[at] == '<' && (text[at + 1] | 0x20) == 'b' && (text[at + 2] | 0x20) == 'r' &&
            text[at + 3] == '>') {
            text.replace(at, 4, "\x0c");
            replaced = true;
        }
        ++at;
    }
    std::vector<std::string> pieces;
    for (std::size_t from = 0; from <= text.size();) {
        std::size_t to = text.find('\x0c', from);
        if (to == std::string::npos)
            to = text.size();
        if (!isBlank(std::string_view(text).substr(from, to - from)))
            pieces.push_back(text.substr(from, to - from));
        from = to + 1;
    }
    // Breaks with nothing but blanks around them leave no piece to keep. A single piece is
    // kept: the row loses its stray breaks.
    if (!replaced || pieces.empty()) {
        say("자막이 한 줄로 되어 있어 분리할 수 없습니다.", MessageIcon::Warning);
        return;
    }
    const double per = static_cast<double>(std::int64_t{next->startMs} - e->startMs) /
                       static_cast<double>(lettersOf(text));
    SyncEntry piece = *e;
    int lastRow = r;
    {
        Action action(*this);
        std::int64_t t = e->startMs;
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            if (k > 0) {
                t += static_cast<std::int64_t>(lettersOf(pieces[k - 1]) * per);
                // New pieces carry none of the original row's marks.
                piece.checked = piece.replayMark = piece.bookmarked = 0;
                piece.rangeStart = piece.rangeEnd = piece.syncError = 0;
            }
            piece.text = std::string(TrimWhiteSpace(pieces[k]));
            piece.isEndSync = IsEndSyncText(piece.text);
            piece.startMs = clampedMs(t);
            if (k == 0)
                m_model.SetAt(rowPos(r), piece, true);
            else
                m_model.InsertAfter(rowPos(lastRow++), piece, true);
        }
        action.group();
    }
    finishChange(lastRow);
}

void CaptionEditor::joinWithNext()
{
    const int r = m_currentRow;
    const SyncEntry* e = entry(r);
    if (!e) {
        say("아래 자막과 합칠 자막을 선택해 주십시오.", MessageIcon::Warning);
        return;
    }
    if (e->isComment || e->isEndSync) {
        say("코멘트나 종료 싱크를 아래 자막과 합칠 수 없습니다.", MessageIcon::Warning);
        return;
    }
    int other = r + 1;
    while (entry(other) && (entry(other)->isComment || entry(other)->isEndSync)) ++other;
    if (!entry(other)) {
        say("해당 자막 아래에 합칠 자막이 없습니다.", MessageIcon::Warning);
        return;
    }
    SyncEntry joined = *e;
    joined.text += "<br>\r\n";
    joined.text += entry(other)->text;
    {
        Action action(*this);
        m_model.SetAt(rowPos(r), joined, true);
        {
            // From the joined caption up: it and the end syncs between go, comments stay.
            SamiModel::RowBatch batch(m_model, m_model.GetCurrentSlot());
            for (int row = other; row > r; --row)
                if (!batch[row].isComment)
                    batch.removeAt(row, true);
        }
        action.group();
    }
    finishChange(r);
}

void CaptionEditor::registerPanel()
{
    const PanelMode mode = m_panel.mode;
    // A text of white space only would parse into no caption at all: it counts as empty.
    if (mode != PanelMode::Move && isBlank(m_panel.text)) {
        say("자막 내용을 입력해 주십시오.", MessageIcon::Warning);
        requestFocus(FocusTarget::TextField);
        return;
    }
    const int r = m_currentRow;
    if (mode == PanelMode::Move) {
        shiftRange(m_panel.start.value, false);
        m_lastMoveOffset = m_panel.start.value;
    } else if (mode == PanelMode::Add) {
        {
            Action action(*this);
            insertBlockBefore(r + 1, syncBlock(m_panel.text, m_panel.start.value), true);
        }
        finishChange(r + 1);
    } else {
        const SyncEntry* e = entry(r);
        if (!e)
            return;
        if (e->isComment) {
            // A comment's text is taken as typed, without an undo step.
            SyncEntry changed = *e;
            changed.text = m_panel.text;
            m_model.SetAt(rowPos(r), changed, false);
            notifyRow(r);
            finishChange(r);
        } else {
            const std::int32_t endMs = m_panel.end.value;
            const int before = rowCount();
            {
                Action action(*this);
                m_model.ReplaceAt(r, syncBlock(m_panel.text, m_panel.start.value));
            }
            // The typed text may hold several syncs; the row after the last of them.
            const int next = r + std::max(rowCount() - before + 1, 0);
            const SyncEntry* end = entry(next);
            if (end && end->isEndSync && end->startMs != endMs) {
                SyncEntry moved = *end;
                moved.startMs = endMs;
                Action action(*this);  // its own undo step
                m_model.SetAt(rowPos(next), moved, true);
            }
            finishChange(r);
        }
    }
    requestFocus(FocusTarget::List);
}

void CaptionEditor::addComment()
{
    if (m_panel.mode != PanelMode::Add)
        return;
    if (isBlank(m_panel.text)) {
        say("코멘트 내용을 입력해 주십시오.", MessageIcon::Warning);
        requestFocus(FocusTarget::TextField);
        return;
    }
    SyncEntry comment;
    m_model.InitEntry(comment);
    comment.isComment = 1;
    comment.text = m_panel.text;
    const int r = m_currentRow;
    {
        Action action(*this);
        // After the current row, or at the end of the list without one.
        m_model.InsertAfter(rowPos(r), comment, true);
    }
    finishChange(r >= 0 ? r + 1 : rowCount() - 1);
}

void CaptionEditor::exportBookmarksToSyncs()
{
    const int count = m_player.BookmarkCount();
    if (count <= 0)
        return;
    const int r = m_currentRow;
    const int before = rowCount();
    // One caption per bookmark in the bookmarks' order, parsed as one text so that they follow
    // each other below the current row; all of them are one undo step, as one command made
    // them. The last one is selected.
    std::string blocks;
    for (int i = 0; i < count; ++i) blocks += syncBlock(newSyncText(), m_player.BookmarkAt(i));
    {
        Action action(*this);
        insertBlockBefore(r + 1, blocks, true);
        action.group();
    }
    finishChange(r + rowCount() - before);
}

}  // namespace verbanta
