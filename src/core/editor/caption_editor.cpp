#include "editor/caption_editor.h"

namespace verbanta {

CaptionEditor::CaptionEditor(SamiModel& model, const AppSettings& settings,
                             EditorDocument& document, PlayerPort& player, ClipboardPort& clipboard,
                             ProcessLauncher& launcher, Messenger& messenger)
    : m_session(model, settings, document, player, messenger),
      m_timing(m_session),
      m_panel(m_session, m_timing),
      m_rows(m_session),
      m_selection(m_session),
      m_findClipboard(m_session, m_panel, m_rows, clipboard, launcher),
      m_languages(m_session),
      m_capture(m_session, m_timing),
      m_timingDrag(m_session),
      m_checks(m_session, m_languages)
{
    m_session.setPanel(&m_panel);
}

void CaptionEditor::documentShown()
{
    m_selection.documentShown();
    m_languages.documentShown();
    m_session.documentShown();
    m_panel.documentShown();
}

void CaptionEditor::documentReloaded()
{
    documentShown();
    m_session.scanMarks();
    m_session.player().ResyncCursor();
}

}  // namespace verbanta
