// The caption editor's edit panel: its modes, the row loaded into it and the user's edits.
#include <algorithm>

#include "editor/caption_editor.h"
#include "settings/app_settings.h"

namespace verbanta {

// ---- edit panel --------------------------------------------------------------------------

void CaptionEditor::updatePanelButtons()
{
    const bool empty = rowCount() == 0;
    if (empty && m_panel.mode != PanelMode::Add)
        setPanelMode(PanelMode::Add);
    m_panel.editButton.enabled = !empty;
    m_panel.moveButton.enabled = !empty;
    notifyPanel();
}

void CaptionEditor::loadRowIntoPanel(int row)
{
    const SyncEntry* e = entry(row);
    switch (m_panel.mode) {
        case PanelMode::Move:
            return;
        case PanelMode::Add:
            m_panel.clearText();
            m_panel.start.value = e ? e->startMs : 0;
            break;
        case PanelMode::Edit: {
            m_panel.clearText();
            m_panel.start.value = 0;
            m_panel.end.value = 0;
            m_panel.end.enabled = false;
            if (!e)
                break;
            m_panel.text = e->text;
            if (e->isComment) {
                m_panel.start.enabled = false;
            } else {
                m_panel.start.enabled = true;
                m_panel.start.value = e->startMs;
                const SyncEntry* next = entry(row + 1);
                if (next && next->isEndSync) {
                    m_panel.end.value = next->startMs;
                    m_panel.end.enabled = true;
                }
            }
            break;
        }
    }
    m_rememberedStart = m_panel.start.value;
    notifyPanel();
}

void CaptionEditor::setPanelMode(PanelMode mode)
{
    // "편집" and "이동" are disabled while the list is empty.
    if (mode != PanelMode::Add && rowCount() == 0)
        return;
    m_panel.applyMode(mode);
    const SyncEntry* e = entry(m_currentRow);
    switch (mode) {
        case PanelMode::Edit:
            loadRowIntoPanel(m_currentRow);
            requestFocus(FocusTarget::TextField);
            break;
        case PanelMode::Add:
            m_panel.clearText();
            m_panel.start.value = e ? e->startMs : 0;
            m_panel.end.value = 0;
            requestFocus(FocusTarget::TextField);
            break;
        case PanelMode::Move:
            m_panel.clearText();
            m_panel.start.value = m_lastMoveOffset;
            m_panel.end.value = 0;
            requestFocus(FocusTarget::StartField);
            break;
    }
    m_rememberedStart = m_panel.start.value;
    notifyPanel();
}

void CaptionEditor::setPanelText(std::string text)
{
    m_panel.text = std::move(text);
    const int size = static_cast<int>(m_panel.text.size());
    m_panel.selectionStart = std::min(m_panel.selectionStart, size);
    m_panel.selectionEnd = std::min(m_panel.selectionEnd, size);
}

void CaptionEditor::setTextSelection(int start, int end)
{
    const int size = static_cast<int>(m_panel.text.size());
    m_panel.selectionStart = std::clamp(std::min(start, end), 0, size);
    m_panel.selectionEnd = std::clamp(std::max(start, end), 0, size);
}

void CaptionEditor::setStartField(std::int32_t ms)
{
    ms = std::clamp(ms, m_panel.start.minimum, m_panel.start.maximum);
    m_panel.start.value = ms;
    if (m_panel.mode == PanelMode::Edit && m_settings.MoveEndToo) {
        const SyncEntry* e = entry(m_currentRow);
        const SyncEntry* next = entry(m_currentRow + 1);
        // The end sync keeps its distance to the edited start.
        if (e && next && next->isEndSync) {
            const std::int64_t end = std::int64_t{next->startMs} + ms - e->startMs;
            m_panel.end.value = static_cast<std::int32_t>(
                std::clamp<std::int64_t>(end, m_panel.end.minimum, m_panel.end.maximum));
        }
    }
    m_rememberedStart = ms;
    notifyPanel();
}

void CaptionEditor::setEndField(std::int32_t ms)
{
    m_panel.end.value = std::clamp(ms, m_panel.end.minimum, m_panel.end.maximum);
    notifyPanel();
}

void CaptionEditor::stepStartField(int direction)
{
    if (!m_panel.start.enabled)
        return;
    const std::int64_t step = std::int64_t{m_settings.SyncIncrease} * (direction < 0 ? -1 : 1);
    setStartField(static_cast<std::int32_t>(std::clamp<std::int64_t>(
        m_panel.start.value + step, m_panel.start.minimum, m_panel.start.maximum)));
}

void CaptionEditor::stepEndField(int direction)
{
    if (!m_panel.end.enabled || !m_panel.end.visible)
        return;
    const std::int64_t step = std::int64_t{m_settings.SyncIncrease} * (direction < 0 ? -1 : 1);
    setEndField(static_cast<std::int32_t>(std::clamp<std::int64_t>(
        m_panel.end.value + step, m_panel.end.minimum, m_panel.end.maximum)));
}

void CaptionEditor::cancelPanel()
{
    if (m_panel.mode == PanelMode::Add) {
        m_panel.clearText();
    } else if (m_currentRow >= 0) {
        loadRowIntoPanel(m_currentRow);
        m_panel.selectAll();
    }
    notifyPanel();
    requestFocus(FocusTarget::TextField);
}

void CaptionEditor::putPlayerPositionInStart()
{
    if (m_player.IsMediaOpen())
        setStartField(m_player.GetPositionMs());
}

void CaptionEditor::putPlayerPositionInEnd()
{
    if (m_player.IsMediaOpen())
        setEndField(m_player.GetPositionMs());
}

void CaptionEditor::requestFocus(FocusTarget target)
{
    m_focusSlot = target;
    if (m_listener)
        m_listener->focusRequested(target);
}

}  // namespace verbanta
