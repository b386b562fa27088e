#include <QApplication>
#include <QDateTime>
#include <QFileInfo>

#include "commands/command_dispatcher.h"
#include "commands/file_dialog_commands.h"
#include "dialogs/batch_conversion_runner.h"
#include "dialogs/export_format_dialog.h"
#include "dialogs/import_file_dialog.h"
#include "dialogs/merge_files_dialog.h"
#include "dialogs/save_language_dialog.h"
#include "dialogs/split_file_dialog.h"
#include "document/file_operations.h"
#include "document_host.h"
#include "editor/caption_editor.h"
#include "files/batch_conversion.h"
#include "formats/foreign_import.h"
#include "formats/language_import.h"
#include "formats/text_export.h"
#include "formats/text_import.h"
#include "main_frame.h"
#include "platform/messenger.h"
#include "settings/app_settings.h"

namespace verbanta::app::file_dialog_commands {
namespace {

constexpr const char* kTextFilter = "텍스트 파일(*.txt)|*.txt|모든 파일(*.*)|*.*||";
constexpr const char* kSamiFilter = "SAMI 자막 파일 (*.smi)|*.smi|모든 파일(*.*)|*.*||";
// SAMI files and everything the other-format readers recognise; the file's extension
// decides how it is read.
constexpr const char* kAddLanguageFilter =
    "SAMI 자막 파일 (*.smi)|*.smi|"
    "지원 가능한 자막 파일|*.ass;*.srt;*.ssa;*.sub;*.xss;*.txt|모든 파일 (*.*)|*.*||";

Messenger& messengerOf(CMainFrame& frame)
{
    return frame.context().messenger;
}

/// Shows the wait cursor while it lives.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

/// The split dialog holds positions in the document's list, which a reload would free: the
/// file watch rests while it is open, and a change of the file in that time is offered for
/// reloading afterwards, as the watch would have.
class WatchPause {
public:
    explicit WatchPause(Document& document)
        : m_document(document),
          m_watched(document.watchId() != 0),
          m_stamp(lastWrite(document.pathName()))
    {
        if (m_watched)
            m_document.StopFileWatch();
    }
    ~WatchPause()
    {
        if (!m_watched)
            return;
        m_document.StartFileWatch();
        if (m_document.watchId() != 0 && lastWrite(m_document.pathName()) != m_stamp)
            m_document.onFileWatchNotify(m_document.watchId());
    }
    WatchPause(const WatchPause&) = delete;
    WatchPause& operator=(const WatchPause&) = delete;

private:
    static QDateTime lastWrite(const std::string& path)
    {
        return QFileInfo(QString::fromStdString(path)).lastModified();
    }
    Document& m_document;
    bool m_watched;
    QDateTime m_stamp;
};

/// The content was replaced by an import: the list, the tabs and the title follow; a
/// successful import is an unsaved document.
void showImported(CMainFrame& frame, bool imported)
{
    DocumentHost& host = frame.documentHost();
    if (imported)
        host.document().setModifiedFlag(true);
    host.rebuildList();
}

BatchConversionRunner* batchRunner(CMainFrame& frame)
{
    return frame.findChild<BatchConversionRunner*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace

void importOtherFormat(CMainFrame& frame)
{
    DocumentHost& host = frame.documentHost();
    // A new dialog each time: the frame rate starts at 25 for every import.
    ImportFileDialog dialog(&frame, messengerOf(frame));
    dialog.setDirectory(host.startFolder());
    if (dialog.exec() != QDialog::Accepted || dialog.chosenFile().isEmpty())
        return;
    // The import replaces the document: unsaved changes are offered for saving first.
    if (!host.newFile())
        return;
    const WaitCursor wait;
    const bool imported = importForeignFile(host.model(), dialog.chosenFile().toStdString(),
                                            dialog.filterEntry(), dialog.framesPerSecond());
    showImported(frame, imported);
}

void importText(CMainFrame& frame)
{
    DocumentHost& host = frame.documentHost();
    const bool paragraphs = frame.context().settings.TwoReturnAsSync;
    SubtitleFileDialog dialog(&frame, SubtitleFileDialog::Mode::Open, kTextFilter,
                              QStringLiteral("txt"), &messengerOf(frame));
    dialog.setDirectory(host.startFolder());
    if (dialog.exec() != QDialog::Accepted || dialog.chosenFile().isEmpty())
        return;
    if (!host.newFile())
        return;
    QApplication::processEvents();  // the window repaints where the dialog was
    const WaitCursor wait;
    const bool imported =
        importTextFile(host.model(), dialog.chosenFile().toStdString(), paragraphs);
    showImported(frame, imported);
}

void exportText(CMainFrame& frame)
{
    DocumentHost& host = frame.documentHost();
    SubtitleFileDialog dialog(&frame, SubtitleFileDialog::Mode::Save, kTextFilter,
                              QStringLiteral("txt"), &messengerOf(frame));
    dialog.setDirectory(host.startFolder());
    dialog.selectFile(QString::fromStdString(defaultTextExportName(host.document().title())));
    if (dialog.exec() != QDialog::Accepted || dialog.chosenFile().isEmpty())
        return;
    const WaitCursor wait;
    verbanta::exportText(host.model(), dialog.chosenFile().toStdString());
}

void exportOtherFormat(CMainFrame& frame)
{
    DocumentHost& host = frame.documentHost();
    app::exportOtherFormat(host.model(), QString::fromStdString(host.path()), messengerOf(frame),
                      &frame);
}

void splitFile(CMainFrame& frame)
{
    DocumentHost& host = frame.documentHost();
    FileOperations& files = systemFileOperations();
    auto parts = prepareSplitParts(host.model(), host.path(),
                                   WindowSettings::readLastDirectory(frame.context().store), files,
                                   messengerOf(frame));
    if (!parts)
        return;
    const WatchPause pause(host.document());
    SplitFileDialog dialog(host.model(), std::move(*parts), files, messengerOf(frame), &frame);
    if (dialog.exec() == QDialog::Accepted)
        reportSplitResult(dialog.written(), messengerOf(frame));
}

void mergeFiles(CMainFrame& frame)
{
    DocumentHost& host = frame.documentHost();
    Document& document = host.document();
    const auto merge = [&](const std::vector<std::string>& paths) {
        if (paths.empty())
            return document.mergeFiles(paths);  // says that the list is empty
        // The merge replaces the content: unsaved changes are offered for saving first.
        if (!document.saveModified())
            return false;
        const WaitCursor wait;
        document.mergeFiles(paths);
        // Even when no file could be read, the list shows what the model now holds.
        host.rebuildList();
        return true;
    };
    MergeFilesDialog dialog(systemFileOperations(), messengerOf(frame), host.startFolder(), merge,
                            &frame);
    dialog.exec();
}

bool batchIdle(CMainFrame& frame)
{
    const BatchConversionRunner* runner = batchRunner(frame);
    return !runner || !runner->isRunning();
}

void batchFormat(CMainFrame& frame)
{
    if (!batchIdle(frame))
        return;
    DocumentHost& host = frame.documentHost();
    SubtitleFileDialog dialog(&frame, SubtitleFileDialog::Mode::OpenMany, kSamiFilter, QString(),
                              &messengerOf(frame));
    dialog.setDirectory(host.startFolder());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    BatchConversionRunner* runner = batchRunner(frame);
    if (!runner) {
        runner = new BatchConversionRunner(frame.statusPane(), messengerOf(frame),
                                           systemFileOperations(), &frame);
        QObject::connect(runner, &BatchConversionRunner::finished, &frame,
                         [&frame] { frame.commands().updateStates(); });
    }
    runner->start(dialog.selectedFiles(),
                  ConversionOptions::fromSettings(frame.context().settings));
    frame.commands().updateStates();
}

void saveByLanguage(CMainFrame& frame)
{
    DocumentHost& host = frame.documentHost();
    if (host.model().GetLanguageCount() == 0) {
        messengerOf(frame).showMessage("저장할 언어가 없습니다.", MessageIcon::Warning);
        return;
    }
    SaveLanguageDialog dialog(host.model(), &frame, messengerOf(frame));
    dialog.setDirectory(host.startFolder());
    if (dialog.exec() != QDialog::Accepted || dialog.chosenFile().isEmpty())
        return;
    const WaitCursor wait;
    host.document().saveLanguage(dialog.chosenFile().toStdString(), dialog.languageIndex());
}

void addLanguageFile(CMainFrame& frame)
{
    DocumentHost& host = frame.documentHost();
    SubtitleFileDialog dialog(&frame, SubtitleFileDialog::Mode::Open, kAddLanguageFilter, QString(),
                              &messengerOf(frame));
    dialog.setDirectory(host.startFolder());
    if (dialog.exec() != QDialog::Accepted || dialog.chosenFile().isEmpty())
        return;
    const int before = host.model().GetLanguageCount();
    LanguageImportResult result;
    {
        const WaitCursor wait;
        result = addLanguagesFromFile(host.model(), dialog.chosenFile().toStdString());
    }
    if (!result.modified())
        return;
    // The tabs are rebuilt and the document marked modified; the first language added is shown.
    if (CaptionEditor* editor = frame.editor()) {
        editor->languages().languageInformationChanged();
        editor->languages().selectLanguage(before);
    } else {
        host.document().setModifiedFlag(true);
    }
    frame.commands().updateStates();
}

}  // namespace verbanta::app::file_dialog_commands
