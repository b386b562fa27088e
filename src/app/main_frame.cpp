#include "main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include "caption_view.h"
#include "commands/accelerator_filter.h"
#include "commands/command_dispatcher.h"
#include "commands/command_icons.h"
#include "commands/command_ids.h"
#include "dialogs/file_dialog_look.h"
#include "document/companion_video.h"
#include "document_host.h"
#include "idle_caret.h"
#include "editor/caption_editor.h"
#include "help/about_dialog.h"
#include "help/help_dialog.h"
#include "platform/messenger.h"
#include "player/player_view.h"
#include "settings/app_settings.h"
#include "waveform/timing_strip.h"
#include "window_placement.h"

namespace verbanta::app {
namespace {

const char* const kReady = "준비";
const char* const kOneFileOnly = "드래그 앤 드롭은 하나의 파일만 허용됩니다.";

}  // namespace

CMainFrame::CMainFrame(AppContext& context, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_commands(new CommandDispatcher(*this))
{
    setWindowIcon(CommandIcons::programIcon());
    installFileDialogLook();
    installIdleCaret();
    setWindowTitle(windowTitleFor(QString::fromUtf8("제목없음")));
    setAcceptDrops(true);

    m_recentMenu = m_commands->buildMenuBar(*menuBar());
    m_toolBar = addToolBar(QString::fromUtf8("도구 모음"));
    m_toolBar->setObjectName(QStringLiteral("toolBar128"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_commands->buildToolBar(*m_toolBar);
    createStatusBar();

    m_rows = new QSplitter(Qt::Vertical, this);
    m_splitter = new QSplitter(Qt::Horizontal, m_rows);
    m_player = new CPlayerView(*this, m_splitter);
    m_captionView = new CCaptionView(*this, m_splitter);
    m_captionView->setMinimumWidth(kCaptionPaneMinimum);
    m_splitter->addWidget(m_player);
    m_splitter->addWidget(m_captionView);
    m_splitter->setChildrenCollapsible(false);
    // Column 0 keeps its width when the window is resized; the list takes the rest.
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_timingStrip = new TimingStrip(*this, m_rows);
    m_rows->addWidget(m_splitter);
    m_rows->addWidget(m_timingStrip);
    m_rows->setChildrenCollapsible(false);
    // The strip keeps its height when the window is resized.
    m_rows->setStretchFactor(0, 1);
    m_rows->setStretchFactor(1, 0);
    setCentralWidget(m_rows);
    connect(m_player, &CPlayerView::focusWanted, this, [this] {
        // In full screen the caption view is hidden: the keys stay with the player.
        if (isFullScreenMode())
            m_player->setFocus();
        else
            m_captionView->takeFocus();
    });

    m_host = new DocumentHost(*this);
    m_editor =
        std::make_unique<CaptionEditor>(m_host->model(), m_context.settings, *m_host, *m_player,
                                        m_clipboard, m_launcher, m_context.messenger);
    m_captionView->bindEditor(m_editor.get());
    m_editor->documentShown();
    connect(this, &CMainFrame::openFileRequested, m_host,
            [this](const QString& path) { m_host->openFile(path); });
    connect(this, &CMainFrame::openMediaRequested, m_player, &CPlayerView::OpenMedia);
    statusBar()->addPermanentWidget(m_player->renderingLabel());
    statusBar()->addPermanentWidget(m_player->speedStatusLabel());

    m_recentFiles.load(m_context.store);
    rebuildRecentFileMenu();
    m_accelerators = new AcceleratorFilter(*m_commands, *this);

    applySizeLimits();
    resize(1100, 720);
    applyPlayerWidth(CPlayerView::kMinimumWidth);
    m_commands->updateStates();
}

CMainFrame::~CMainFrame()
{
    // The view lets go of the editor before the editor goes.
    m_captionView->bindEditor(nullptr);
    m_editor.reset();
}

QString CMainFrame::windowTitleFor(const QString& documentTitle)
{
    return documentTitle + QStringLiteral(" - Verbanta");
}

void CMainFrame::showDocumentTitle(const QString& title)
{
    setWindowTitle(windowTitleFor(title));
}

void CMainFrame::createStatusBar()
{
    m_statusLabel = new QLabel(QString::fromUtf8(kReady), this);
    m_statusLabel->setContentsMargins(4, 0, 4, 0);
    statusBar()->addWidget(m_statusLabel, 1);
    m_encodingLabel = new QLabel(QStringLiteral("CP949"), this);
    m_encodingLabel->setContentsMargins(4, 0, 4, 0);
    statusBar()->addPermanentWidget(m_encodingLabel);
}

void CMainFrame::showEncoding(const QString& name)
{
    m_encodingLabel->setText(name);
}

QString CMainFrame::encodingText() const
{
    return m_encodingLabel->text();
}

QString CMainFrame::statusText() const
{
    return m_statusLabel->text();
}

bool CMainFrame::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        // The message pane shows a command's prompt while its item is highlighted, and
        // "준비" when nothing is.
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        m_statusLabel->setText(tip.isEmpty() ? QString::fromUtf8(kReady) : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The largest size follows the screen the window is on, also after a move to another.
    if (!m_followsScreen && windowHandle()) {
        m_followsScreen = true;
        connect(windowHandle(), &QWindow::screenChanged, this, &CMainFrame::applySizeLimits);
        applySizeLimits();
    }
}

void CMainFrame::applySizeLimits()
{
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    // As large as the screen enlarged by 10 pixels on each side and 50 above and below.
    if (const QScreen* s = screen()) {
        const QSize size = s->size();
        setMaximumSize(size.width() + 20, size.height() + 100);
    }
}

void CMainFrame::rebuildRecentFileMenu()
{
    if (!m_recentMenu)
        return;
    m_recentMenu->clear();
    const QStringList& paths = m_recentFiles.paths();
    for (int i = 0; i < paths.size(); ++i) {
        QAction* action = m_recentMenu->addAction(m_recentFiles.menuText(i));
        action->setStatusTip(QString::fromUtf8("이 자막 파일을 엽니다"));
        const QString path = paths[i];
        connect(action, &QAction::triggered, this, [this, path] { openRecentFile(path); });
    }
    m_recentMenu->setEnabled(!paths.isEmpty());
}

void CMainFrame::openRecentFile(const QString& path)
{
    // A file that is gone leaves the list once the open has said so.
    if (!m_host->openFile(path) && !QFileInfo::exists(path)) {
        m_recentFiles.remove(path);
        rebuildRecentFileMenu();
    }
}

void CMainFrame::restorePlacementAndShow()
{
    const std::string stored = WindowSettings::readWindowPos(m_context.store);
    bool maximized = false;
    if (const auto placement = WindowPlacement::parse(stored)) {
        // A rectangle on no screen at all would leave the window out of reach.
        const QRect normal = placement->normal;
        const bool visible = normal.isValid() && QGuiApplication::screenAt(normal.center());
        if (visible)
            setGeometry(QRect(normal.topLeft(), normal.size().boundedTo(maximumSize())));
        maximized = placement->showState == WindowPlacement::kShowMaximized ||
                    (placement->showState == WindowPlacement::kShowMinimized &&
                     (placement->flags & WindowPlacement::kRestoreToMaximized));
    }
    const int playerWidth =
        std::max(CPlayerView::kMinimumWidth, WindowSettings::readPlayerWidth(m_context.store));
    if (maximized)
        showMaximized();
    else
        show();
    applyPlayerWidth(playerWidth);
    m_timingStrip->restoreState();
}

void CMainFrame::applyPlayerWidth(int playerWidth)
{
    // The caption list takes what the splitter has left; giving it more would make the
    // splitter shrink both panes and the player would lose its stored width.
    const int rest = m_splitter->width() - m_splitter->handleWidth() - playerWidth;
    m_splitter->setSizes({playerWidth, std::max(kCaptionPaneMinimum, rest)});
}

void CMainFrame::savePlacement()
{
    WindowPlacement placement;
    const bool maximized = isMaximized() || (isFullScreenMode() && m_wasMaximized);
    placement.flags = maximized ? WindowPlacement::kRestoreToMaximized : 0;
    placement.showState = isMinimized() ? WindowPlacement::kShowMinimized
                          : maximized   ? WindowPlacement::kShowMaximized
                                        : WindowPlacement::kShowNormal;
    placement.normal = m_fullScreenRecord ? *m_fullScreenRecord : normalGeometry();
    if (!placement.normal.isValid())
        placement.normal = geometry();
    WindowSettings::writeWindowPos(m_context.store, placement.format());
    // In full screen the player has the whole screen; its pane's width is the one before.
    const QList<int> sizes = m_splitter->sizes();
    const int playerWidth = isFullScreenMode() ? m_playerWidthBeforeFullScreen
                            : !sizes.isEmpty() ? sizes[0]
                                               : 0;
    if (playerWidth > 0)
        WindowSettings::writePlayerWidth(m_context.store, playerWidth);
    m_timingStrip->saveState();
}

void CMainFrame::toggleFullScreen()
{
    if (!m_fullScreenRecord) {
        m_wasMaximized = isMaximized();
        m_playerWidthBeforeFullScreen = m_splitter->sizes().value(0);
        m_fullScreenRecord = normalGeometry().isValid() ? normalGeometry() : geometry();
        m_captionView->hide();
        m_timingStrip->hide();
        // Typed keys must not land in the hidden caption fields.
        m_player->setFocus();
        m_player->ShowPlayerControls(false);
        menuBar()->hide();
        m_toolBar->hide();
        statusBar()->hide();
        showFullScreen();
    } else {
        const QRect back = *m_fullScreenRecord;
        m_fullScreenRecord.reset();
        m_captionView->show();
        m_timingStrip->setVisible(m_timingStrip->wanted());
        m_player->ShowPlayerControls(true);
        menuBar()->show();
        m_toolBar->show();
        statusBar()->show();
        if (m_wasMaximized) {
            showMaximized();
        } else {
            showNormal();
            setGeometry(back);
        }
        // The splitter has its old width once the window is back to its size.
        const int playerWidth = m_playerWidthBeforeFullScreen;
        QTimer::singleShot(0, this, [this, playerWidth] { applyPlayerWidth(playerWidth); });
        m_captionView->takeFocus();
    }
    m_commands->updateStates();
}

void CMainFrame::showHelp()
{
    // The help stays open beside the window while the user works, as a help viewer does.
    if (!m_help)
        m_help = new HelpDialog(this);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void CMainFrame::showAbout()
{
    // The version is the build's (the project's in CMake), not a value left in the settings.
    AboutDialog dialog(QStringLiteral(VERBANTA_VERSION), this);
    dialog.exec();
}

bool CMainFrame::isMediaFile(const QString& path)
{
    const QString suffix = QLatin1Char('.') + QFileInfo(path).suffix().toLower();
    for (const std::string_view extension : kCompanionVideoExtensions)
        if (suffix == QLatin1String(extension.data(), static_cast<qsizetype>(extension.size())))
            return true;
    return false;
}

void CMainFrame::handleDroppedFiles(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    if (paths.size() > 1) {
        m_context.messenger.showMessage(kOneFileOnly, MessageIcon::Warning);
        return;
    }
    activateWindow();
    if (isMediaFile(paths.front())) {
        emit openMediaRequested(paths.front());
        return;
    }
    emit openFileRequested(paths.front());
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    event->acceptProposedAction();
    handleDroppedFiles(paths);
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Whenever the window becomes active the caption list gets the keys.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !isFullScreenMode())
        m_captionView->takeFocus();
}

void CMainFrame::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && isFullScreenMode()) {
        toggleFullScreen();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // The placement is stored first, even when the close is then cancelled.
    savePlacement();
    if (!m_host->closeGuard()) {
        event->ignore();
        return;
    }
    m_recentFiles.save(m_context.store);
    event->accept();
}

}  // namespace verbanta::app
