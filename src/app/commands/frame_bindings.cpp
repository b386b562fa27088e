#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "commands/command_bindings.h"
#include "main_frame.h"

// The commands of the frame itself.
namespace verbanta::app::bindings {

bool isFullScreen(CMainFrame& frame)
{
    return frame.isFullScreenMode();
}

bool clipboardHasText(CMainFrame&)
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText();
}

void appExit(CMainFrame& frame)
{
    frame.close();
}

void fullScreen(CMainFrame& frame)
{
    frame.toggleFullScreen();
}

void helpContents(CMainFrame& frame)
{
    frame.showHelp();
}

void about(CMainFrame& frame)
{
    frame.showAbout();
}

}  // namespace verbanta::app::bindings
