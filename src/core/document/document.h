#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/sami_model.h"

namespace verbanta {

struct AppSettings;
class DocumentViews;
class FileOperations;
class FileWatch;
class FileWatchListener;
class Messenger;

/// The single document: owns the model of the open subtitle file and ties it to the file on
/// disk (new, open, safe save with backup, reload), keeps the modified mark in the title, asks
/// to save before the content goes, and keeps the file watched while it is open.
class Document {
public:
    /// The title of a document without a file.
    static constexpr const char* kUntitled = "제목없음";

    /// The settings are read at the moment of use (`MakeBackup`, `NoFileWatch`,
    /// `AutoLoadFile`); without a file watch the document is never watched.
    Document(const AppSettings& settings, Messenger& messenger, FileOperations& files,
             FileWatch* fileWatch = nullptr);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    void setViews(DocumentViews* views) { m_views = views; }
    /// Where the file watch delivers this document's changes (the app's queued call).
    void setWatchListener(FileWatchListener* listener) { m_listener = listener; }

    SamiModel& model() { return m_model; }
    const SamiModel& model() const { return m_model; }
    const std::string& pathName() const { return m_path; }
    const std::string& title() const { return m_title; }
    int watchId() const { return m_watchId; }

    /// An empty, untitled, clean document with the default header.
    bool newDocument();
    /// Opens a SAMI file; for editing, its read-only attribute is cleared first, while a file
    /// opened only to be read is never changed. On failure the document is left empty, clean
    /// and untitled, unless a file without SAMI captions that another format's reader
    /// recognises is imported at the user's wish.
    bool openDocument(const std::string& path, bool forEditing = true);
    /// Saves the whole model to the path through a temporary file, with a backup when
    /// `MakeBackup` is set, in the document's encoding or the one given (save-as), which the
    /// document then keeps. A file that was read only up to a NUL character is replaced only
    /// after asking. A failed save leaves the model, its edits, its encoding and the modified
    /// mark as they were, and every file on disk whole.
    bool saveDocument(const std::string& path,
                      std::optional<TextEncoding> encoding = std::nullopt);
    /// The encoding the file was opened in and is saved in; CP949 for a new document.
    TextEncoding encoding() const { return m_model.fileEncoding; }
    /// Empties the model and gives it the default header.
    void clearContents();
    /// Reads the file again after another program changed it (nothing without a path), in the
    /// encoding chosen for it if one was.
    void ReloadFromDisk();
    /// Reads the open file again in the encoding chosen, after asking to save a modified
    /// document; the choice holds for later reloads until another file is opened. False
    /// without a path, when the question is cancelled, or when the file cannot be read.
    bool reopenInEncoding(TextEncoding encoding);

    /// Marks a change no undo takes back (true), or the document saved or replaced (false).
    void setModifiedFlag(bool modified);
    /// After a recorded change, an undo or a redo: the document is modified unless the undo
    /// journal is back at the state last saved and nothing unrecorded changed since.
    void journalChanged();
    bool isModified() const { return m_modified; }
    /// Sets the path and the title, adds the path to the recent files when asked, and watches
    /// the new file.
    void setPathName(const std::string& path, bool addToRecent = true);
    void setTitle(const std::string& title);

    /// Opens the video found beside the document's file in the player, as opening the file
    /// does; nothing without a file, a player or such a video.
    void openCompanionVideo();

    /// Before close, new and open: whether to go on, after asking to save a modified document.
    bool saveModified();
    /// The save command: to the document's path, after asking for a name when it has none,
    /// its file is read-only or its folder is gone. Enabled only while the document is
    /// modified.
    bool fileSave();
    bool canSave() const { return m_modified; }
    /// Whether the save command must ask for a name first.
    bool saveNeedsName();
    /// The name the save-modified prompt shows.
    std::string promptName() const;

    void StartFileWatch();
    void StopFileWatch();
    /// The file watch's notice, on the user-interface thread: ask (or reload at once when
    /// `AutoLoadFile` is set and nothing is unsaved), reload on yes, then rebuild the list
    /// whatever the answer. A file deleted or renamed away is said once and marks the
    /// document modified. A notice that arrives while the question is showing is dropped.
    void onFileWatchNotify(int watchId);

    /// Writes one language (its index in the language list) to a file of its own, in the
    /// document's encoding unless another is given; the document, its path, its encoding and
    /// its modified mark stay as they are.
    bool saveLanguage(const std::string& path, int languageIndex,
                      std::optional<TextEncoding> encoding = std::nullopt);
    /// Loads the files one after the other into the document (the merge dialog's OK) and marks
    /// the document modified when at least one was loaded.
    bool mergeFiles(const std::vector<std::string>& paths);

private:
    bool reloadFile(std::optional<TextEncoding> encoding);
    /// After a refused open: offers to import a file without SAMI markup that another format's
    /// reader recognises, as an unsaved untitled document; whether it was imported.
    bool offerImport(const std::string& path);
    void fileGone();
    void refreshTitle();
    void showModified(bool modified);
    void becomeUntitled();

    const AppSettings& m_settings;
    Messenger& m_messenger;
    FileOperations& m_files;
    FileWatch* m_fileWatch;
    FileWatchListener* m_listener = nullptr;
    DocumentViews* m_views = nullptr;
    SamiModel m_model;
    std::string m_path;
    std::string m_title = kUntitled;
    bool m_modified = false;
    bool m_unrecordedChange = false;  ///< changed since the save in a way undo cannot undo
    int m_watchId = 0;
    bool m_askingReload = false;
    /// The user chose the file's encoding; reloads keep it instead of guessing again.
    bool m_encodingChosen = false;
    bool m_fileGone = false;  ///< the deletion of the open file has been said
};

}  // namespace verbanta
