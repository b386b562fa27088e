#include "process_launcher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace verbanta::app {

bool QtProcessLauncher::launch(const std::string& commandLine)
{
    // The command line is split as a shell would (quotes keep a path with spaces whole).
    QStringList arguments = QProcess::splitCommand(QString::fromStdString(commandLine));
    if (arguments.isEmpty())
        return false;
    const QString program = arguments.takeFirst();
    return QProcess::startDetached(program, arguments);
}

bool QtProcessLauncher::openWithDesktop(const std::string& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace verbanta::app
