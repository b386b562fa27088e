#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

#include "application.h"
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
    // Copies left by runs that ended abnormally are offered once the window is up.
    frame.documentHost().offerRecovery();
    const int result = QApplication::exec();
    app.finish();
    return result;
}
