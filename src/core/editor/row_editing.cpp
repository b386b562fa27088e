// Row commands of the caption list: insert, delete, move, split, join, the export of video
// bookmarks as captions, and undo and redo.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/row_editing.h"
#include "editor/undo_replay.h"
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

}  // namespace

void RowEditing::insertBefore(std::string_view text)
{
    const int r = m_session.currentRow();
    {
        EditSession::Action action(m_session);
        m_session.insertBlockBefore(r, m_session.syncBlock(text, 0), true);
    }
    m_session.finishChange(std::max(r, 0));
}

void RowEditing::addCaptionBefore()
{
    insertBefore(m_session.newSyncText());
}

void RowEditing::addCaptionAfter()
{
    m_session.insertSyncAfter(m_session.newSyncText(), 0);
}

void RowEditing::addEndSyncBefore()
{
    insertBefore(kEndSyncText);
}

void RowEditing::addEndSyncAfter()
{
    // Without a current row there is no caption to end: nothing happens.
    const SyncEntry* e = m_session.entry(m_session.currentRow());
    if (!e)
        return;
    std::int32_t ms = 0;
    if (!e->isComment && !e->isEndSync)
        ms = clampedMs(std::int64_t{lettersOf(e->text)} * m_session.settings().OneLetterSync +
                       e->startMs);
    m_session.insertSyncAfter(kEndSyncText, ms);
}

void RowEditing::deleteCaption()
{
    const int r = m_session.currentRow();
    const SyncEntry* e = m_session.entry(r);
    if (!e)
        return;
    if (e->replayMark)
        m_session.player().ClearReplayRange();
    {
        EditSession::Action action(m_session);
        // The end sync's record follows the caption's, both after the same row, so one undo
        // brings back the caption and then its end sync below it.
        m_session.model().RemoveAt(r, m_session.settings().DeleteEndToo);
        action.group();
    }
    m_session.finishChange(r);
}

void RowEditing::deleteChecked()
{
    SamiModel& model = m_session.model();
    const std::vector<int> rows = m_session.checkedRows();
    if (rows.empty()) {
        m_session.say("삭제할 자막을 선택해 주십시오.", MessageIcon::Warning);
        return;
    }
    {
        EditSession::Action action(m_session);
        {
            // From the top: each removal is recorded as the one-by-one walk would.
            SamiModel::RowBatch batch(model, model.GetCurrentSlot());
            int removed = 0;
            for (const int row : rows) {
                const int at = row - removed++;
                if (batch[at].replayMark)
                    m_session.player().ClearReplayRange();
                batch.removeAt(at, true);
            }
        }
        action.group();
    }
    m_session.finishChange(m_session.currentRow());
}

void RowEditing::swapRows(int row, int other)
{
    SyncEntry a = *m_session.entry(row);
    SyncEntry b = *m_session.entry(other);
    // The range marks stay on their rows; everything else travels with the caption.
    std::swap(a.rangeStart, b.rangeStart);
    std::swap(a.rangeEnd, b.rangeEnd);
    {
        EditSession::Action action(m_session);
        m_session.model().SetAt(m_session.rowPos(other), a, true);
        m_session.model().SetAt(m_session.rowPos(row), b, true);
        action.group();
    }
    m_session.finishChange(other);
}

void RowEditing::moveDown()
{
    const int r = m_session.currentRow();
    if (r >= 0 && r < m_session.rowCount() - 1)
        swapRows(r, r + 1);
}

void RowEditing::moveUp()
{
    const int r = m_session.currentRow();
    if (r >= 1 && m_session.rowCount() >= 2)
        swapRows(r, r - 1);
}

void RowEditing::splitContent()
{
    const int r = m_session.currentRow();
    const SyncEntry* e = m_session.entry(r);
    if (!e) {
        m_session.say("내용을 분리할 자막을 선택해 주십시오.", MessageIcon::Warning);
        return;
    }
    if (e->isComment || e->isEndSync) {
        m_session.say("코멘트나 종료 싱크는 내용을 분리할 수 없습니다.", MessageIcon::Warning);
        return;
    }
    int nextRow = r + 1;
    while (m_session.entry(nextRow) && m_session.entry(nextRow)->isComment) ++nextRow;
    const SyncEntry* next = m_session.entry(nextRow);
    if (!next) {
        m_session.say("종료 싱크나 다음 싱크가 없어 자막을 분리할 수 없습니다.",
                      MessageIcon::Warning);
        return;
    }
    if (e->startMs >= next->startMs) {
        m_session.say("종료 싱크나 다음 싱크의 싱크 값에 오류가 있습니다.", MessageIcon::Warning);
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
        if (!trimWhiteSpace(std::string_view(text).substr(from, to - from)).empty())
            pieces.push_back(text.substr(from, to - from));
        from = to + 1;
    }
    // Breaks with nothing but blanks around them leave no piece to keep. A single piece is
    // kept: the row loses its stray breaks.
    if (!replaced || pieces.empty()) {
        m_session.say("자막이 한 줄로 되어 있어 분리할 수 없습니다.", MessageIcon::Warning);
        return;
    }
    const double per = static_cast<double>(std::int64_t{next->startMs} - e->startMs) /
                       static_cast<double>(lettersOf(text));
    SyncEntry piece = *e;
    int lastRow = r;
    {
        EditSession::Action action(m_session);
        SamiModel& model = m_session.model();
        std::int64_t t = e->startMs;
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            if (k > 0) {
                t += static_cast<std::int64_t>(lettersOf(pieces[k - 1]) * per);
                // New pieces carry none of the original row's marks.
                piece.checked = piece.replayMark = piece.bookmarked = 0;
                piece.rangeStart = piece.rangeEnd = piece.syncError = 0;
            }
            piece.text = std::string(trimWhiteSpace(pieces[k]));
            piece.isEndSync = IsEndSyncText(piece.text);
            piece.startMs = clampedMs(t);
            if (k == 0)
                model.SetAt(m_session.rowPos(r), piece, true);
            else
                model.InsertAfter(m_session.rowPos(lastRow++), piece, true);
        }
        action.group();
    }
    m_session.finishChange(lastRow);
}

void RowEditing::joinWithNext()
{
    const int r = m_session.currentRow();
    const SyncEntry* e = m_session.entry(r);
    if (!e) {
        m_session.say("아래 자막과 합칠 자막을 선택해 주십시오.", MessageIcon::Warning);
        return;
    }
    if (e->isComment || e->isEndSync) {
        m_session.say("코멘트나 종료 싱크를 아래 자막과 합칠 수 없습니다.", MessageIcon::Warning);
        return;
    }
    int other = r + 1;
    for (const SyncEntry* o; (o = m_session.entry(other)) && (o->isComment || o->isEndSync);)
        ++other;
    if (!m_session.entry(other)) {
        m_session.say("해당 자막 아래에 합칠 자막이 없습니다.", MessageIcon::Warning);
        return;
    }
    SyncEntry joined = *e;
    joined.text += "<br>\r\n";
    joined.text += m_session.entry(other)->text;
    {
        EditSession::Action action(m_session);
        SamiModel& model = m_session.model();
        model.SetAt(m_session.rowPos(r), joined, true);
        {
            // From the joined caption up: it and the end syncs between go, comments stay.
            SamiModel::RowBatch batch(model, model.GetCurrentSlot());
            for (int row = other; row > r; --row)
                if (!batch[row].isComment)
                    batch.removeAt(row, true);
        }
        action.group();
    }
    m_session.finishChange(r);
}

void RowEditing::exportBookmarksToSyncs()
{
    const PlayerPort& player = m_session.player();
    const int count = player.BookmarkCount();
    if (count <= 0)
        return;
    const int r = m_session.currentRow();
    const int before = m_session.rowCount();
    // One caption per bookmark in the bookmarks' order, parsed as one text so that they follow
    // each other below the current row; all of them are one undo step, as one command made
    // them. The last one is selected.
    std::string blocks;
    for (int i = 0; i < count; ++i)
        blocks += m_session.syncBlock(m_session.newSyncText(), player.BookmarkAt(i));
    {
        EditSession::Action action(m_session);
        m_session.insertBlockBefore(r + 1, blocks, true);
        action.group();
    }
    m_session.finishChange(r + m_session.rowCount() - before);
}

void RowEditing::undo()
{
    if (!canUndo())
        return;
    SamiModel& model = m_session.model();
    const UndoReplay::Step step = UndoReplay(model, m_session.changes()).undo();
    int row = m_session.currentRow();
    if (step.applied && step.language == model.GetCurrentSlot()) {
        if (step.kind == UndoRecord::kInsert)
            row = std::max(step.prevRow, 0);
        else if (step.kind == UndoRecord::kDelete)
            row = step.prevRow + 1;
        else if (step.kind == UndoRecord::kModify)
            row = step.row;
    }
    m_session.finishChange(row, false);
    m_session.document().undoStateChanged();
}

void RowEditing::redo()
{
    if (!canRedo())
        return;
    SamiModel& model = m_session.model();
    const UndoReplay::Step step = UndoReplay(model, m_session.changes()).redo();
    int row = m_session.currentRow();
    if (step.applied && step.language == model.GetCurrentSlot()) {
        // The row after the entry before the change: row 0 when there is none.
        if (step.kind == UndoRecord::kInsert || step.kind == UndoRecord::kDelete)
            row = step.prevRow + 1;
        else if (step.kind == UndoRecord::kModify)
            row = step.row;
    }
    m_session.finishChange(row, false);
    m_session.document().undoStateChanged();
}

}  // namespace verbanta
