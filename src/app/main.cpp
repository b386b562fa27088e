#include <QApplication>
#include <QCommandLineParser>

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
    verbanta::app::KoreanFonts::applyApplicationFont();

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
    if (!app.start())
        return 1;
    verbanta::app::CMainFrame& frame = *app.frame();
    // No argument: the new empty document the window starts with; a file name: open it.
    if (!parser.positionalArguments().isEmpty())
        frame.documentHost().openFile(parser.positionalArguments().front());
    frame.restorePlacementAndShow();

    if (parser.isSet(screenshotOption)) {
        const QString path = parser.value(screenshotOption);
        const bool written = verbanta::app::saveScreenshot(frame, path);
        app.finish();
        if (!written) {
            std::fprintf(stderr, "Could not write the screenshot %s\n", qPrintable(path));
            return 1;
        }
        return 0;
    }
    const int result = QApplication::exec();
    app.finish();
    return result;
}
