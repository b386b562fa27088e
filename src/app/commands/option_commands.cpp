#include "commands/option_commands.h"
#include "caption_view.h"
#include "color_scheme.h"
#include "commands/command_dispatcher.h"
#include "dialogs/option_sheet.h"
#include "dialogs/paragraph_format_dialog.h"
#include "document_host.h"
#include "editor/caption_editor.h"
#include "main_frame.h"
#include "player/player_view.h"
#include "settings/app_settings.h"

namespace verbanta::app::option_commands {
namespace {

/// The options that take effect at once: everything else is read the next time it is used
/// (the spinners' step, `SyncIncrease`, among them).
void applyOptionChanges(CMainFrame& frame, const AppSettings& before)
{
    const AppSettings& now = frame.context().settings;
    if (CaptionEditor* editor = frame.editor())
        editor->session().optionsChanged(before);  // error marks and the rows' look
    frame.captionView().applyCheckOptions();
    if (before.DisplayAsTime != now.DisplayAsTime) {
        frame.captionView().applyFieldModes();
        frame.playerView().ShowPosition();
    }
    if (before.ColorScheme != now.ColorScheme)
        ColorScheme::apply(now.ColorScheme);  // every widget repaints in the new colours
    if (before.NoFileWatch != now.NoFileWatch) {
        Document& document = frame.documentHost().document();
        if (now.NoFileWatch)
            document.StopFileWatch();
        else
            document.StartFileWatch();
    }
}

}  // namespace

void options(CMainFrame& frame)
{
    AppSettings& settings = frame.context().settings;
    const AppSettings before = settings;
    COptionSheet sheet(settings, frame.context().messenger, &frame);
    if (sheet.exec() == QDialog::Accepted)
        applyOptionChanges(frame, before);
    frame.captionView().takeFocus();
}

void wholeFileFormat(CMainFrame& frame)
{
    DocumentHost& host = frame.documentHost();
    if (editParagraphFormat(host.model(), frame.context().settings, frame.context().messenger,
                            &frame)) {
        if (CaptionEditor* editor = frame.editor())
            editor->session().formatChanged();
        frame.commands().updateStates();
    }
    frame.captionView().takeFocus();
}

}  // namespace verbanta::app::option_commands
