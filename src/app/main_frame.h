#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

#include "app_context.h"
#include "clipboard_port.h"
#include "help/help_dialog.h"
#include "process_launcher.h"
#include "recent_file_list.h"

class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

namespace verbanta {
class CaptionEditor;
}

namespace verbanta::app {

class AcceleratorFilter;
class CCaptionView;
class CommandDispatcher;
class DocumentHost;
class TimingStrip;
class CPlayerView;

/// The main window: menus, toolbar and status bar built from the command table, and a
/// splitter with the player view on the left and the caption list on the right. It keeps its
/// placement and the player view's width, accepts one dropped file, shows the help and the
/// About box, and can show the video full screen.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kMinimumWidth = 770;
    static constexpr int kMinimumHeight = 500;
    static constexpr int kCaptionPaneMinimum = 390;

    explicit CMainFrame(AppContext& context, QWidget* parent = nullptr);
    ~CMainFrame() override;

    /// The window title for a document title ("제목없음" for a new document).
    static QString windowTitleFor(const QString& documentTitle);

    AppContext& context() { return m_context; }
    CommandDispatcher& commands() { return *m_commands; }
    AcceleratorFilter& accelerators() { return *m_accelerators; }
    CCaptionView& captionView() { return *m_captionView; }
    CPlayerView& playerView() { return *m_player; }
    DocumentHost& documentHost() { return *m_host; }
    /// The caption list's controller; null only while the window is being built or torn down.
    CaptionEditor* editor() const { return m_editor.get(); }
    QSplitter& splitter() { return *m_splitter; }
    /// The timing strip under the player and the list.
    TimingStrip& timingStrip() { return *m_timingStrip; }
    RecentFileList& recentFiles() { return m_recentFiles; }
    /// The text of the status bar's message pane.
    QString statusText() const;
    /// The status bar's message pane, where a batch conversion shows its progress bar.
    QLabel& statusPane() { return *m_statusLabel; }

    /// Shows the document's title.
    void showDocumentTitle(const QString& title);
    /// Shows the document's encoding in the status bar.
    void showEncoding(const QString& name);
    QString encodingText() const;

    /// Applies the stored placement and player width ("Settings"), then shows the window.
    void restorePlacementAndShow();
    /// Stores the placement and the player width ("Settings").
    void savePlacement();

    /// Full screen (32803): the video alone on the screen; Esc or the command again leaves.
    void toggleFullScreen();
    bool isFullScreenMode() const { return m_fullScreenRecord.has_value(); }

    /// The bundled help in a window of its own beside the main window.
    void showHelp();
    void showAbout();

    /// Files dropped on the window: one file opens, as a video or as a subtitle document.
    void handleDroppedFiles(const QStringList& paths);
    /// Whether a path names a video by its extension (case ignored).
    static bool isMediaFile(const QString& path);

    void rebuildRecentFileMenu();
    /// Opens an entry of the recent-file list; an entry whose file is gone is taken out.
    void openRecentFile(const QString& path);

signals:
    /// A dropped or chosen subtitle file is to be opened.
    void openFileRequested(const QString& path);
    /// A dropped video is to be opened in the player.
    void openMediaRequested(const QString& path);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createStatusBar();
    void applySizeLimits();
    /// Column 0 gets the player's width, column 1 the rest of the splitter.
    void applyPlayerWidth(int playerWidth);

    AppContext& m_context;
    CommandDispatcher* m_commands;
    AcceleratorFilter* m_accelerators = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_statusLabel = nullptr;
    QLabel* m_encodingLabel = nullptr;
    QMenu* m_recentMenu = nullptr;
    QSplitter* m_splitter = nullptr;
    QSplitter* m_rows = nullptr;  ///< the splitter above, and the timing strip below it
    TimingStrip* m_timingStrip = nullptr;
    CPlayerView* m_player = nullptr;
    CCaptionView* m_captionView = nullptr;
    DocumentHost* m_host = nullptr;
    QtClipboardPort m_clipboard;
    QtProcessLauncher m_launcher;
    std::unique_ptr<CaptionEditor> m_editor;
    RecentFileList m_recentFiles;
    QPointer<HelpDialog> m_help;
    /// The window's geometry to return to; set while in full screen.
    std::optional<QRect> m_fullScreenRecord;
    bool m_wasMaximized = false;
    int m_playerWidthBeforeFullScreen = 0;
    bool m_followsScreen = false;
};

}  // namespace verbanta::app
