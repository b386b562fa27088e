// The edit panel: its modes, the row loaded into it, the user's edits and its buttons.
#include "editor/panel_editor.h"

#include <algorithm>

#include "editor/timing_tools.h"
#include "model/text_format.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

/// A text of white space only would parse into no caption at all: it counts as empty.
bool isBlank(std::string_view text)
{
    return trimWhiteSpace(text).empty();
}

}  // namespace

std::int32_t PanelEditor::steppedValue(const TimeFieldState& field, int direction) const
{
    const std::int64_t step =
        std::int64_t{m_session.settings().SyncIncrease} * (direction < 0 ? -1 : 1);
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(field.value + step, field.minimum, field.maximum));
}

PanelEditor::PanelEditor(EditSession& session, TimingTools& timing)
    : m_session(session), m_timing(timing)
{
    m_state.applyMode(PanelMode::Edit);
}

void PanelEditor::notifyPanel()
{
    if (CaptionViewListener* listener = m_session.listener())
        listener->panelChanged();
}

void PanelEditor::documentShown()
{
    updatePanelButtons();
    if (m_session.rowCount() > 0)
        setPanelMode(PanelMode::Edit);
    m_state.clearText();
    m_state.start.value = 0;
    m_state.end.value = 0;
    loadRowIntoPanel(m_session.currentRow());
}

void PanelEditor::updatePanelButtons()
{
    const bool empty = m_session.rowCount() == 0;
    if (empty && m_state.mode != PanelMode::Add)
        setPanelMode(PanelMode::Add);
    m_state.editButton.enabled = !empty;
    m_state.moveButton.enabled = !empty;
    notifyPanel();
}

void PanelEditor::loadRowIntoPanel(int row)
{
    const SyncEntry* e = m_session.entry(row);
    switch (m_state.mode) {
        case PanelMode::Move:
            return;
        case PanelMode::Add:
            m_state.clearText();
            m_state.start.value = e ? e->startMs : 0;
            break;
        case PanelMode::Edit: {
            m_state.clearText();
            m_state.start.value = 0;
            m_state.end.value = 0;
            m_state.end.enabled = false;
            if (!e)
                break;
            m_state.text = e->text;
            if (e->isComment) {
                m_state.start.enabled = false;
            } else {
                m_state.start.enabled = true;
                m_state.start.value = e->startMs;
                const SyncEntry* next = m_session.entry(row + 1);
                if (next && next->isEndSync) {
                    m_state.end.value = next->startMs;
                    m_state.end.enabled = true;
                }
            }
            break;
        }
    }
    notifyPanel();
}

void PanelEditor::setPanelMode(PanelMode mode)
{
    // "편집" and "이동" are disabled while the list is empty.
    if (mode != PanelMode::Add && m_session.rowCount() == 0)
        return;
    m_state.applyMode(mode);
    const SyncEntry* e = m_session.entry(m_session.currentRow());
    switch (mode) {
        case PanelMode::Edit:
            loadRowIntoPanel(m_session.currentRow());
            m_session.requestFocus(FocusTarget::TextField);
            break;
        case PanelMode::Add:
            m_state.clearText();
            m_state.start.value = e ? e->startMs : 0;
            m_state.end.value = 0;
            m_session.requestFocus(FocusTarget::TextField);
            break;
        case PanelMode::Move:
            m_state.clearText();
            m_state.start.value = m_timing.lastMoveOffset();
            m_state.end.value = 0;
            m_session.requestFocus(FocusTarget::StartField);
            break;
    }
    notifyPanel();
}

void PanelEditor::setPanelText(std::string text)
{
    m_state.text = std::move(text);
    const int size = static_cast<int>(m_state.text.size());
    m_state.selectionStart = std::min(m_state.selectionStart, size);
    m_state.selectionEnd = std::min(m_state.selectionEnd, size);
}

void PanelEditor::setTextSelection(int start, int end)
{
    const int size = static_cast<int>(m_state.text.size());
    m_state.selectionStart = std::clamp(std::min(start, end), 0, size);
    m_state.selectionEnd = std::clamp(std::max(start, end), 0, size);
}

void PanelEditor::showSelection(int start, int end)
{
    setTextSelection(start, end);
    notifyPanel();
}

void PanelEditor::setStartField(std::int32_t ms)
{
    ms = std::clamp(ms, m_state.start.minimum, m_state.start.maximum);
    m_state.start.value = ms;
    if (m_state.mode == PanelMode::Edit && m_session.settings().MoveEndToo) {
        const SyncEntry* e = m_session.entry(m_session.currentRow());
        const SyncEntry* next = m_session.entry(m_session.currentRow() + 1);
        // The end sync keeps its distance to the edited start.
        if (e && next && next->isEndSync) {
            const std::int64_t end = std::int64_t{next->startMs} + ms - e->startMs;
            m_state.end.value = static_cast<std::int32_t>(
                std::clamp<std::int64_t>(end, m_state.end.minimum, m_state.end.maximum));
        }
    }
    notifyPanel();
}

void PanelEditor::setEndField(std::int32_t ms)
{
    m_state.end.value = std::clamp(ms, m_state.end.minimum, m_state.end.maximum);
    notifyPanel();
}

void PanelEditor::stepStartField(int direction)
{
    if (m_state.start.enabled)
        setStartField(steppedValue(m_state.start, direction));
}

void PanelEditor::stepEndField(int direction)
{
    if (m_state.end.enabled && m_state.end.visible)
        setEndField(steppedValue(m_state.end, direction));
}

void PanelEditor::cancelPanel()
{
    if (m_state.mode == PanelMode::Add) {
        m_state.clearText();
    } else if (m_session.currentRow() >= 0) {
        loadRowIntoPanel(m_session.currentRow());
        m_state.selectAll();
    }
    notifyPanel();
    m_session.requestFocus(FocusTarget::TextField);
}

void PanelEditor::putPlayerPositionInStart()
{
    if (m_session.player().IsMediaOpen())
        setStartField(m_session.player().GetPositionMs());
}

void PanelEditor::putPlayerPositionInEnd()
{
    if (m_session.player().IsMediaOpen())
        setEndField(m_session.player().GetPositionMs());
}

void PanelEditor::registerPanel()
{
    const PanelMode mode = m_state.mode;
    if (mode != PanelMode::Move && isBlank(m_state.text)) {
        m_session.say("자막 내용을 입력해 주십시오.", MessageIcon::Warning);
        m_session.requestFocus(FocusTarget::TextField);
        return;
    }
    const int r = m_session.currentRow();
    if (mode == PanelMode::Move) {
        m_timing.applyShift(m_state.start.value, false);
    } else if (mode == PanelMode::Add) {
        {
            EditSession::Action action(m_session);
            m_session.insertBlockBefore(
                r + 1, m_session.syncBlock(m_state.text, m_state.start.value), true);
        }
        m_session.finishChange(r + 1);
    } else {
        const SyncEntry* e = m_session.entry(r);
        if (!e)
            return;
        SamiModel& model = m_session.model();
        if (e->isComment) {
            // A comment's text is taken as typed, without an undo step.
            SyncEntry changed = *e;
            changed.text = m_state.text;
            model.SetAt(m_session.rowPos(r), changed, false);
            m_session.changes().changed(r, r);
            m_session.finishChange(r);
        } else {
            const std::int32_t endMs = m_state.end.value;
            const int before = m_session.rowCount();
            {
                EditSession::Action action(m_session);
                model.ReplaceAt(r, m_session.syncBlock(m_state.text, m_state.start.value));
            }
            // The typed text may hold several syncs; the row after the last of them.
            const int next = r + std::max(m_session.rowCount() - before + 1, 0);
            const SyncEntry* end = m_session.entry(next);
            if (end && end->isEndSync && end->startMs != endMs) {
                SyncEntry moved = *end;
                moved.startMs = endMs;
                EditSession::Action action(m_session);  // its own undo step
                model.SetAt(m_session.rowPos(next), moved, true);
            }
            m_session.finishChange(r);
        }
    }
    m_session.requestFocus(FocusTarget::List);
}

void PanelEditor::addComment()
{
    if (m_state.mode != PanelMode::Add)
        return;
    if (isBlank(m_state.text)) {
        m_session.say("코멘트 내용을 입력해 주십시오.", MessageIcon::Warning);
        m_session.requestFocus(FocusTarget::TextField);
        return;
    }
    SyncEntry comment;
    m_session.model().InitEntry(comment);
    comment.isComment = 1;
    comment.text = m_state.text;
    const int r = m_session.currentRow();
    {
        EditSession::Action action(m_session);
        // After the current row, or at the end of the list without one.
        m_session.model().InsertAfter(m_session.rowPos(r), comment, true);
    }
    m_session.finishChange(r >= 0 ? r + 1 : m_session.rowCount() - 1);
}

}  // namespace verbanta
