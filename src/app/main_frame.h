#pragma once

#include <QMainWindow>

namespace verbanta::app {

/// The main window: menus, toolbar, status bar and the player and caption panes.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);

    /// The window title for a document title ("제목없음" for a new document).
    static QString windowTitleFor(const QString& documentTitle);
};

}  // namespace verbanta::app
