#include "commands/command_targets.h"

#include "caption_view.h"
#include "document_host.h"
#include "editor/caption_editor.h"
#include "main_frame.h"
#include "player/player_view.h"
#include "waveform/timing_strip.h"

namespace verbanta::app {

// The caption list's components live as long as the window's editor, which outlives every
// command: menus, keys and buttons exist only while the window does.

template <>
CMainFrame& commandTarget(CMainFrame& frame)
{
    return frame;
}
template <>
QWidget& commandTarget(CMainFrame& frame)
{
    return frame;
}
template <>
CPlayerView& commandTarget(CMainFrame& frame)
{
    return frame.playerView();
}
template <>
CCaptionView& commandTarget(CMainFrame& frame)
{
    return frame.captionView();
}
template <>
DocumentHost& commandTarget(CMainFrame& frame)
{
    return frame.documentHost();
}
template <>
Document& commandTarget(CMainFrame& frame)
{
    return frame.documentHost().document();
}
template <>
EditSession& commandTarget(CMainFrame& frame)
{
    return frame.editor()->session();
}
template <>
PanelEditor& commandTarget(CMainFrame& frame)
{
    return frame.editor()->panel();
}
template <>
RowEditing& commandTarget(CMainFrame& frame)
{
    return frame.editor()->rows();
}
template <>
ListSelection& commandTarget(CMainFrame& frame)
{
    return frame.editor()->selection();
}
template <>
TimingTools& commandTarget(CMainFrame& frame)
{
    return frame.editor()->timing();
}
template <>
FindClipboard& commandTarget(CMainFrame& frame)
{
    return frame.editor()->findClipboard();
}
template <>
LanguagesMarks& commandTarget(CMainFrame& frame)
{
    return frame.editor()->languages();
}
template <>
TimingStrip& commandTarget(CMainFrame& frame)
{
    return frame.timingStrip();
}

}  // namespace verbanta::app
