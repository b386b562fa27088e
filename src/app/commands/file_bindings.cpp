#include "commands/command_bindings.h"
#include "document_host.h"
#include "main_frame.h"

// The commands of the document's files.
namespace verbanta::app::bindings {

bool documentModified(CMainFrame& frame)
{
    return frame.documentHost().document().CanSave();
}

void fileNew(CMainFrame& frame)
{
    frame.documentHost().newFile();
}

void fileOpen(CMainFrame& frame)
{
    frame.documentHost().openWithDialog();
}

void fileSave(CMainFrame& frame)
{
    frame.documentHost().save();
}

void fileSaveAs(CMainFrame& frame)
{
    frame.documentHost().saveAs();
}

bool documentHasFile(CMainFrame& frame)
{
    return !frame.documentHost().document().pathName().empty();
}

void reopenInEncoding(CMainFrame& frame)
{
    frame.documentHost().reopenInEncoding();
}

}  // namespace verbanta::app::bindings
