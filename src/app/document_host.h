#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <utility>

#include "document/document.h"
#include "document/document_views.h"
#include "editor/editor_ports.h"
#include "filewatch/file_watch.h"

namespace verbanta {
struct RecoveryEntry;
}

namespace verbanta::app {

class AutosaveController;
class CMainFrame;
class RecoveryDialog;

/// Ties the one document to the window: the file commands with their dialogs, the title, the
/// recent-file list, the save prompt before the window closes, and the file watch's notices,
/// which arrive on the watch's thread and are handled on the window's.
class DocumentHost : public QObject,
                     public DocumentViews,
                     public FileWatchListener,
                     public EditorDocument {
    Q_OBJECT
public:
    explicit DocumentHost(CMainFrame& frame);
    ~DocumentHost() override;

    Document& document() { return m_document; }
    SamiModel& model() { return m_document.model(); }

    // File commands.
    /// New (57600): after the save prompt, an empty untitled document.
    bool newFile();
    /// Open (57601): after the save prompt, the file chosen in the open dialog.
    bool openWithDialog();
    /// Opens a file (command line, recent list, drop) after the save prompt. On failure the
    /// window is left empty, clean and untitled with the reader's message shown.
    bool openFile(const QString& path);
    /// A file given on the command line, as the desktop's file manager does too: a relative
    /// name is taken from the working folder; a file named as one of the formats the import
    /// reads (.srt, .ssa, .ass, .sub, .xss) is imported as the import command does, trying
    /// every reader; any other is opened as SAMI.
    bool openFromCommandLine(const QString& argument);
    bool save();
    /// Save-as (57604): the name and, through the dialog's file type, the encoding to write.
    bool saveAs();
    /// Asks for an encoding and reads the open file again in it.
    bool reopenInEncoding();
    /// Before the window closes; false keeps it open.
    bool closeGuard();

    // DocumentViews.
    bool hasPlayerView() const override { return true; }
    void stopPlayerAndRewind() override;
    void clearPlayerFileState() override;
    void openCompanionVideo(const std::string& path) override;
    void rebuildList() override;
    void refreshPlayerCaption() override;
    void refreshTitle(const std::string& title) override;
    void addToRecentFiles(const std::string& path) override;
    std::optional<std::string> askSaveAsPath(const std::string& suggestedName) override;
    void showStatus(const std::string& text) override;

    // FileWatchListener: called on the watch's thread.
    void fileChanged(int watchId) override;

    // EditorDocument.
    void setModified(bool modified) override { m_document.setModifiedFlag(modified); }
    void undoStateChanged() override { m_document.journalChanged(); }
    bool isModified() const override { return m_document.isModified(); }
    bool saveModifiedPrompt() override { return m_document.saveModified(); }
    std::string path() const override { return m_document.pathName(); }

    /// Whether the document is bound to a file (opened or saved once).
    bool hasFile() const { return !m_document.pathName().empty(); }
    /// The folder open and save dialogs start in: the document's, or the last one used.
    QString startFolder() const;

    // Recovery copies.
    AutosaveController& autosave() { return *m_autosave; }
    /// The offer of the copies left by runs that ended abnormally; null when there are none.
    std::unique_ptr<RecoveryDialog> makeRecoveryDialog();
    /// At start-up: offers the left copies, if any; whether one was restored.
    bool offerRecovery();
    /// Opens a left copy as a modified document bound to its original path.
    bool restoreRecovery(const RecoveryEntry& entry);

    /// The name of the document's encoding as the status bar shows it ("UTF-8 (BOM)" …).
    static QString encodingLabel(TextEncoding encoding);

private:
    void documentReplaced();
    /// The save dialog with one file type per encoding, the document's own chosen first.
    std::optional<std::pair<std::string, TextEncoding>> askSaveAs(const std::string& suggested);
    void showEncoding();

    CMainFrame& m_frame;
    FileWatch m_fileWatch;
    Document m_document;
    QString m_lastFolder;
    std::unique_ptr<AutosaveController> m_autosave;
};

}  // namespace verbanta::app
