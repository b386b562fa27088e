#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

#include "main_frame.h"
#include "screenshot.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // On Windows these name the registry key Software\Quandel Soft\Verbanta.
    QApplication::setOrganizationName(QStringLiteral("Quandel Soft"));
    QApplication::setApplicationName(QStringLiteral("Verbanta"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Verbanta SAMI subtitle editor"));
    parser.addHelpOption();
    const QCommandLineOption screenshotOption(
        QStringLiteral("screenshot"),
        QStringLiteral("Render the main window into a PNG file and exit."), QStringLiteral("PATH"));
    parser.addOption(screenshotOption);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Subtitle file to open."));
    parser.process(application);

    verbanta::app::CMainFrame frame;
    frame.show();

    if (parser.isSet(screenshotOption)) {
        const QString path = parser.value(screenshotOption);
        if (!verbanta::app::saveScreenshot(frame, path)) {
            std::fprintf(stderr, "Could not write the screenshot %s\n", qPrintable(path));
            return 1;
        }
        return 0;
    }
    return QApplication::exec();
}
