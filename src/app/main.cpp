#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

#include "application.h"
#include "autosave_test_hooks.h"
#include "document_host.h"
#include "korean_fonts.h"
#include "main_frame.h"
#include "screenshot.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // On Windows these name the registry key Software\Quandel Soft\Verbanta.
    QApplication::setOrganizationName(QStringLiteral("Quandel Soft"));
    QApplication::setApplicationName(QStringLiteral("Verbanta"));
    // Desktops match the windows to the menu entry, and so to its icon, by this name.
    QApplication::setDesktopFileName(QStringLiteral("verbanta"));
    verbanta::app::KoreanFonts::applyApplicationFont();
    // Qt's own texts (the colour chooser, the text fields' context menus, file dialogs) speak
    // Korean like the rest of the program.
    QTranslator qtKorean;
    if (qtKorean.load(QLocale(QLocale::Korean, QLocale::SouthKorea), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtKorean);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Verbanta SAMI subtitle editor"));
    parser.addHelpOption();
    const QCommandLineOption screenshotOption(
        QStringLiteral("screenshot"),
        QStringLiteral("Render the main window into a PNG file and exit."), QStringLiteral("PATH"));
    parser.addOption(screenshotOption);
    // Hidden options for the crash test of the recovery copies:
    //   --test-edit TEXT        after the file opens, the first caption's text becomes TEXT
    //                           through the edit panel's register command (then runs as usual);
    //   --test-recovery-report  prints the start-up recovery offer's rows instead of showing
    //                           it, restores the first, prints the title and first caption
    //                           and exits (see autosave_test_hooks.h for the output).
    QCommandLineOption testEditOption(QStringLiteral("test-edit"), QString(),
                                      QStringLiteral("TEXT"));
    testEditOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(testEditOption);
    QCommandLineOption recoveryReportOption(QStringLiteral("test-recovery-report"));
    recoveryReportOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(recoveryReportOption);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Subtitle file to open."));
    parser.process(application);

    verbanta::app::Application app;
    // A screenshot run has nobody to close a message box: the reader's messages are printed.
    app.messenger().setConsoleOnly(parser.isSet(screenshotOption));
    if (!app.start())
        return 1;
    verbanta::app::CMainFrame& frame = *app.frame();
    // No argument: the new empty document the window starts with; a file name: open it.
    if (!parser.positionalArguments().isEmpty())
        frame.documentHost().openFromCommandLine(parser.positionalArguments().front());
    frame.restorePlacementAndShow();

    if (parser.isSet(screenshotOption)) {
        if (!parser.positionalArguments().isEmpty())
            verbanta::app::waitForCompanionVideo(frame, parser.positionalArguments().front());
        const QString path = parser.value(screenshotOption);
        const bool written = verbanta::app::saveScreenshot(frame, path);
        app.finish();
        if (!written) {
            std::fprintf(stderr, "Could not write the screenshot %s\n", qPrintable(path));
            return 1;
        }
        return 0;
    }
    if (parser.isSet(recoveryReportOption)) {
        const int offered = verbanta::app::AutosaveTestHooks::reportAndRestoreOffer(frame);
        app.finish();
        return offered > 0 ? 0 : 2;
    }
    if (parser.isSet(testEditOption) &&
        !verbanta::app::AutosaveTestHooks::performEdit(frame, parser.value(testEditOption)))
        std::fprintf(stderr, "The test edit could not be made\n");
    // Copies left by runs that ended abnormally are offered once the window is up.
    frame.documentHost().offerRecovery();
    const int result = QApplication::exec();
    app.finish();
    return result;
}
