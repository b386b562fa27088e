#include "document_host.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMetaObject>

#include <iterator>
#include <vector>

#include "autosave_controller.h"
#include "caption_view.h"
#include "commands/command_dispatcher.h"
#include "document/autosave_snapshot.h"
#include "document/file_operations.h"
#include "editor/caption_editor.h"
#include "formats/foreign_import.h"
#include "main_frame.h"
#include "player/player_view.h"
#include "recovery_dialog.h"
#include "settings/app_settings.h"

namespace verbanta::app {
namespace {

const char* const kSamiFilter = "SAMI 자막 파일 (*.smi)";
const char* const kAllFiles = "모든 파일 (*.*)";
/// The import dialog's entry that tries every reader, and the frame rate it starts with.
constexpr int kAllSupportedEntry = 1;
constexpr double kDefaultFramesPerSecond = 25.0;

std::string toPath(const QString& path)
{
    return path.toStdString();  // paths are UTF-8 bytes on this system
}

/// The encodings save-as offers, each as one file type of the dialog.
constexpr TextEncoding kSaveEncodings[] = {TextEncoding::Cp949, TextEncoding::Utf8,
                                           TextEncoding::Utf8Bom, TextEncoding::Utf16Le};

QString samiFilterFor(TextEncoding encoding)
{
    return QString::fromUtf8("SAMI 자막 파일 - %1 (*.smi)").arg(DocumentHost::encodingLabel(encoding));
}

}  // namespace

DocumentHost::DocumentHost(CMainFrame& frame)
    : QObject(&frame),
      m_frame(frame),
      m_document(frame.context().settings, frame.context().messenger, systemFileOperations(),
                 &m_fileWatch)
{
    m_document.setWatchListener(this);
    m_document.setViews(this);
    m_autosave = std::make_unique<AutosaveController>(m_document, frame.context().settings,
                                                      frame.context().messenger);
}

DocumentHost::~DocumentHost()
{
    m_document.setViews(nullptr);
    m_fileWatch.StopFileWatchThread();
}

QString DocumentHost::encodingLabel(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Cp949: return QStringLiteral("CP949");
    case TextEncoding::Utf8: return QStringLiteral("UTF-8");
    case TextEncoding::Utf8Bom: return QStringLiteral("UTF-8 (BOM)");
    case TextEncoding::Utf16Le: return QStringLiteral("UTF-16 LE");
    case TextEncoding::Utf16Be: return QStringLiteral("UTF-16 BE");
    }
    return QString();
}

void DocumentHost::showEncoding()
{
    m_frame.showEncoding(encodingLabel(m_document.encoding()));
}

void DocumentHost::documentReplaced()
{
    showEncoding();
    // The player's set-up first: the list then sends the range marks of the new document.
    m_frame.playerView().documentShown();
    if (CaptionEditor* editor = m_frame.editor())
        editor->documentShown();
    m_frame.commands().updateStates();
}

bool DocumentHost::newFile()
{
    if (!m_document.saveModified())
        return false;
    const bool created = m_document.newDocument();
    m_autosave->documentClean();
    documentReplaced();
    return created;
}

bool DocumentHost::openWithDialog()
{
    const QString filter =
        QString::fromUtf8(kSamiFilter) + QStringLiteral(";;") + QString::fromUtf8(kAllFiles);
    const QString path = QFileDialog::getOpenFileName(&m_frame, QString(), startFolder(), filter);
    if (path.isEmpty())
        return false;
    return openFile(path);
}

bool DocumentHost::openFile(const QString& path)
{
    if (!m_document.saveModified())
        return false;
    m_lastFolder = QFileInfo(path).absolutePath();
    const bool opened = m_document.openDocument(toPath(path));
    m_autosave->documentClean();
    // Success or not, the model's content changed: a failed open leaves it empty.
    documentReplaced();
    return opened;
}

bool DocumentHost::openFromCommandLine(const QString& argument)
{
    const QFileInfo file(argument);
    const QString path = file.absoluteFilePath();
    static const QStringList kImported = {QStringLiteral("srt"), QStringLiteral("ssa"),
                                          QStringLiteral("ass"), QStringLiteral("sub"),
                                          QStringLiteral("xss")};
    if (!kImported.contains(file.suffix(), Qt::CaseInsensitive))
        return openFile(path);
    if (!newFile())
        return false;
    m_lastFolder = file.absolutePath();
    const bool imported =
        importForeignFile(model(), toPath(path), kAllSupportedEntry, kDefaultFramesPerSecond);
    if (imported)
        m_document.setModifiedFlag(true);
    rebuildList();
    return imported;
}

bool DocumentHost::save()
{
    const bool saved = m_document.fileSave();
    if (saved)
        m_autosave->documentClean();
    showEncoding();
    m_frame.commands().updateStates();
    return saved;
}

bool DocumentHost::saveAs()
{
    const auto chosen = askSaveAs(m_document.pathName().empty() ? m_document.promptName()
                                                                : m_document.pathName());
    if (!chosen || chosen->first.empty())
        return false;
    const bool saved = m_document.saveDocument(chosen->first, chosen->second);
    if (saved)
        m_autosave->documentClean();
    showEncoding();
    m_frame.commands().updateStates();
    return saved;
}

bool DocumentHost::reopenInEncoding()
{
    constexpr TextEncoding kChoices[] = {TextEncoding::Cp949, TextEncoding::Utf8,
                                         TextEncoding::Utf16Le, TextEncoding::Utf16Be};
    QStringList labels;
    int current = 0;
    for (const TextEncoding e : kChoices) {
        if (e == m_document.encoding() ||
            (e == TextEncoding::Utf8 && m_document.encoding() == TextEncoding::Utf8Bom))
            current = static_cast<int>(labels.size());
        labels << encodingLabel(e);
    }
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        &m_frame, QString::fromUtf8("인코딩 지정하여 다시 열기"),
        QString::fromUtf8("파일을 다시 읽을 인코딩:"), labels, current, false, &ok);
    if (!ok || !m_document.reopenInEncoding(kChoices[labels.indexOf(chosen)]))
        return false;
    m_autosave->documentClean();
    rebuildList();
    return true;
}

bool DocumentHost::closeGuard()
{
    // The file watch stops before the question, as the window's close does.
    m_fileWatch.StopFileWatchThread();
    if (!m_document.saveModified()) {
        m_document.StartFileWatch();
        return false;
    }
    if (!m_document.pathName().empty())
        WindowSettings::writeLastDirectory(
            m_frame.context().store,
            toPath(QFileInfo(QString::fromStdString(m_document.pathName())).absolutePath()));
    // Saved or not to be saved: either way no copy is to be offered at the next start.
    m_autosave->documentClean();
    return true;
}

QString DocumentHost::startFolder() const
{
    if (!m_document.pathName().empty())
        return QFileInfo(QString::fromStdString(m_document.pathName())).absolutePath();
    if (!m_lastFolder.isEmpty())
        return m_lastFolder;
    return QString::fromStdString(WindowSettings::readLastDirectory(m_frame.context().store));
}

void DocumentHost::stopPlayerAndRewind()
{
    m_frame.playerView().stopAndRewind();
}

void DocumentHost::clearPlayerFileState()
{
    m_frame.playerView().ClearReplayRange();
}

void DocumentHost::openCompanionVideo(const std::string& path)
{
    emit m_frame.openMediaRequested(QString::fromStdString(path));
}

void DocumentHost::rebuildList()
{
    showEncoding();  // a reload reads the file's encoding again
    if (CaptionEditor* editor = m_frame.editor())
        editor->documentReloaded();
    m_frame.commands().updateStates();
}

void DocumentHost::refreshPlayerCaption()
{
    m_frame.playerView().ResyncCursor();
}

void DocumentHost::refreshTitle(const std::string& title)
{
    m_frame.showDocumentTitle(QString::fromStdString(title));
}

void DocumentHost::addToRecentFiles(const std::string& path)
{
    m_frame.recentFiles().add(QString::fromStdString(path));
    m_frame.rebuildRecentFileMenu();
}

// The save command asks here when the document has no usable file; the encoding chosen is the
// one that save writes, and stays the document's for the next save.
std::optional<std::string> DocumentHost::askSaveAsPath(const std::string& suggestedName)
{
    const auto chosen = askSaveAs(suggestedName);
    if (!chosen)
        return std::nullopt;
    m_document.model().fileEncoding = chosen->second;
    return chosen->first;
}

std::optional<std::pair<std::string, TextEncoding>>
DocumentHost::askSaveAs(const std::string& suggested)
{
    QString suggestion = QString::fromStdString(suggested);
    if (QFileInfo(suggestion).isRelative())
        suggestion = startFolder() + QLatin1Char('/') + suggestion;
    std::vector<TextEncoding> encodings(std::begin(kSaveEncodings), std::end(kSaveEncodings));
    // A UTF-16 BE file can be saved back as it is, though new files are never made in it.
    if (m_document.encoding() == TextEncoding::Utf16Be)
        encodings.push_back(TextEncoding::Utf16Be);
    QStringList filters;
    for (const TextEncoding e : encodings)
        filters << samiFilterFor(e);
    QFileDialog dialog(&m_frame, QString(), suggestion);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(samiFilterFor(m_document.encoding()));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("smi"));
    dialog.selectFile(suggestion);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().front();
    m_lastFolder = QFileInfo(chosen).absolutePath();
    const auto index = static_cast<std::size_t>(filters.indexOf(dialog.selectedNameFilter()));
    return std::pair{toPath(chosen), index < encodings.size() ? encodings[index]
                                                              : m_document.encoding()};
}

void DocumentHost::showStatus(const std::string& text)
{
    m_frame.statusPane().setText(QString::fromStdString(text));
}

void DocumentHost::fileChanged(int watchId)
{
    // The watch's thread: hand the id to the window's thread and return at once.
    QMetaObject::invokeMethod(
        this, [this, watchId] { m_document.onFileWatchNotify(watchId); }, Qt::QueuedConnection);
}

}  // namespace verbanta::app

namespace verbanta::app {

std::unique_ptr<RecoveryDialog> DocumentHost::makeRecoveryDialog()
{
    std::vector<RecoveryEntry> left = m_autosave->store().listLeftCopies();
    if (left.empty())
        return nullptr;
    return std::make_unique<RecoveryDialog>(
        std::move(left), [this](const RecoveryEntry& e) { return restoreRecovery(e); },
        [this](const RecoveryEntry& e) { return m_autosave->store().removeEntry(e); }, &m_frame);
}

bool DocumentHost::offerRecovery()
{
    const std::unique_ptr<RecoveryDialog> dialog = makeRecoveryDialog();
    return dialog && dialog->exec() == QDialog::Accepted;
}

bool DocumentHost::restoreRecovery(const RecoveryEntry& entry)
{
    if (!m_document.saveModified())
        return false;
    if (!restoreRecoveryCopy(m_document, m_autosave->store(), entry, m_frame.context().messenger))
        return false;
    documentReplaced();
    m_autosave->documentRestored(entry);
    return true;
}

}  // namespace verbanta::app
