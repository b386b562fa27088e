#include "autosave_test_hooks.h"

#include <cstdio>

#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "document_host.h"
#include "editor/caption_editor.h"
#include "main_frame.h"
#include "model/codepage.h"
#include "recovery_dialog.h"

namespace verbanta::app::AutosaveTestHooks {

bool performEdit(CMainFrame& frame, const QString& text)
{
    CaptionEditor* editor = frame.editor();
    if (!editor || frame.documentHost().model().GetCount() == 0)
        return false;
    editor->selectRow(0);
    editor->setPanelText(Utf8ToCp949(text.toStdString()));
    return frame.commands().run(cmd::PanelRegister);
}

int reportAndRestoreOffer(CMainFrame& frame)
{
    const auto dialog = frame.documentHost().makeRecoveryDialog();
    if (!dialog)
        return 0;
    for (int row = 0; row < dialog->rowCount(); ++row)
        std::printf("offer\t%s\t%s\t%s\n", dialog->cellText(row, 0).toUtf8().constData(),
                    dialog->cellText(row, 1).toUtf8().constData(), dialog->cellText(row, 2).toUtf8().constData());
    const int rows = dialog->rowCount();
    dialog->selectRow(0);
    if (dialog->restoreSelected()) {
        std::printf("title\t%s\n", frame.windowTitle().toUtf8().constData());
        const SamiModel& model = frame.documentHost().model();
        std::printf("caption\t%s\n", Cp949ToUtf8(model.GetFirst().text).c_str());
    }
    std::fflush(stdout);
    return rows;
}

}  // namespace verbanta::app::AutosaveTestHooks
