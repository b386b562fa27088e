#include "main_frame.h"

#include <QStatusBar>

namespace verbanta::app {

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(windowTitleFor(QStringLiteral("제목없음")));
    setMinimumSize(350 + 390, 400);
    resize(1100, 700);
    statusBar()->showMessage(QStringLiteral("준비"));
}

QString CMainFrame::windowTitleFor(const QString& documentTitle)
{
    return documentTitle + QStringLiteral(" - Verbanta");
}

}  // namespace verbanta::app
