// The editor as the crash test of the recovery copies starts it, built for the test only:
//   autosave_crash_driver edit TEXT FILE   opens FILE, makes the first caption's text TEXT
//                                          through the edit panel's register command and runs
//                                          as the editor does until it is killed;
//   autosave_crash_driver report           prints the start-up recovery offer's rows as
//                                          "offer\t<file name>\t<original path>\t<time>",
//                                          restores the first and prints "title\t<window
//                                          title>", "caption\t<first caption>" and
//                                          "video\t<path>" for each video the player is
//                                          asked to open on the way; the exit
//                                          code is 0 when something was offered, else 2.
#include <QApplication>

#include <cstdio>

#include "application.h"
#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "document_host.h"
#include "editor/caption_editor.h"
#include "main_frame.h"
#include "model/codepage.h"
#include "recovery_dialog.h"

namespace {

using namespace verbanta;
using namespace verbanta::app;

bool performEdit(CMainFrame& frame, const QString& text)
{
    CaptionEditor* editor = frame.editor();
    if (!editor || frame.documentHost().model().GetCount() == 0)
        return false;
    editor->session().selectRow(0);
    editor->panel().setPanelText(utf8ToCp949(text.toStdString()));
    return frame.commands().run(cmd::PanelRegister);
}

int reportAndRestoreOffer(CMainFrame& frame)
{
    const auto dialog = frame.documentHost().makeRecoveryDialog();
    if (!dialog)
        return 0;
    for (int row = 0; row < dialog->rowCount(); ++row)
        std::printf("offer\t%s\t%s\t%s\n", qPrintable(dialog->cellText(row, 0)),
                    qPrintable(dialog->cellText(row, 1)), qPrintable(dialog->cellText(row, 2)));
    const int rows = dialog->rowCount();
    dialog->selectRow(0);
    QObject::connect(&frame, &CMainFrame::openMediaRequested, [](const QString& path) {
        std::printf("video\t%s\n", qPrintable(path));
    });
    if (dialog->restoreSelected()) {
        std::printf("title\t%s\n", qPrintable(frame.windowTitle()));
        const SamiModel& model = frame.documentHost().model();
        std::printf("caption\t%s\n", cp949ToUtf8(model.GetFirst().text).c_str());
    }
    std::fflush(stdout);
    return rows;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The names the recovery folder and the settings are found under, as the editor's own.
    QApplication::setOrganizationName(QStringLiteral("Quandel Soft"));
    QApplication::setApplicationName(QStringLiteral("Verbanta"));
    const QStringList args = QApplication::arguments().mid(1);
    const bool edit = args.size() == 3 && args[0] == QLatin1String("edit");
    if (!edit && args != QStringList{QStringLiteral("report")}) {
        std::fprintf(stderr, "usage: autosave_crash_driver edit TEXT FILE | report\n");
        return 64;
    }
    Application app;
    if (!app.start())
        return 1;
    CMainFrame& frame = *app.frame();
    if (edit)
        frame.documentHost().openFile(args[2]);
    frame.restorePlacementAndShow();
    if (!edit) {
        const int offered = reportAndRestoreOffer(frame);
        app.finish();
        return offered > 0 ? 0 : 2;
    }
    if (!performEdit(frame, args[1]))
        std::fprintf(stderr, "The test edit could not be made\n");
    const int result = QApplication::exec();
    app.finish();
    return result;
}
