#include "document/document.h"

#include <cerrno>

#include "document/companion_video.h"
#include "document/document_views.h"
#include "document/file_operations.h"
#include "document/message_text.h"
#include "document/path_parts.h"
#include "document/safe_save.h"
#include "files/merge.h"
#include "filewatch/file_watch.h"
#include "formats/foreign_import.h"
#include "formats/microdvd_reader.h"
#include "formats/reader_table.h"
#include "platform/messenger.h"
#include "sami/sami_file.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

constexpr const char* kFileNotFound =
    "%1\n이 파일을 찾을 수 없음.\n경로와 파일 이름이 정확한지 확인하십시오.";
constexpr const char* kSaveChangesQuestion = "변경 내용을 %1에 저장할까요?";
constexpr const char* kImportQuestion =
    "%s\n이 파일은 다른 형식의 자막 파일로 읽을 수 있습니다.\n자막 파일로 가져오시겠습니까?";
constexpr const char* kShorterSaveQuestion =
    "%s\n이 파일은 널 문자(0)에서 읽기를 멈추어 끝의 %d바이트를 읽지 않았습니다.\n"
    "지금 저장하면 그 부분이 없는 더 짧은 파일로 바뀝니다.\n\n저장하시겠습니까?";
constexpr const char* kFileGoneMessage =
    "%s\n현재 열린 파일이 삭제되었거나 다른 이름으로 바뀌었습니다.\n"
    "편집 중인 내용은 그대로 있으며, 저장하면 이 이름으로 다시 기록합니다.";
constexpr const char* kTooLargeToOpenMessage =
    "%s\n파일을 저장하였지만, 편집할 수 있는 크기(64MB)를 넘어 다시 열 수 없습니다.\n"
    "자막을 나누어 저장해 주십시오.";
constexpr const char* kFileGoneStatus =
    "열린 파일이 디스크에서 사라졌습니다. 저장하면 다시 기록합니다.";

}  // namespace

Document::Document(const AppSettings& settings, Messenger& messenger, FileOperations& files,
                   FileWatch* fileWatch)
    : m_settings(settings),
      m_messenger(messenger),
      m_files(files),
      m_fileWatch(fileWatch),
      m_model(settings)
{
    m_model.setMessenger(messenger);
}

Document::~Document()
{
    StopFileWatch();
    m_model.Reset(false);
    m_model.ClearUndo();
}

bool Document::newDocument()
{
    // The new document has no file, so the previous file's watch ends here.
    StopFileWatch();
    m_path.clear();
    m_encodingChosen = false;
    m_title = kUntitled;
    if (m_views && m_views->hasPlayerView()) {
        m_views->stopPlayerAndRewind();
        m_views->clearPlayerFileState();
    }
    clearContents();
    m_modified = false;
    m_unrecordedChange = false;
    m_model.journal().markClean();
    refreshTitle();
    return true;
}

void Document::clearContents()
{
    m_model.Reset(true);
    m_model.ClearUndo();
}

bool Document::openDocument(const std::string& path, bool forEditing)
{
    if (!m_files.exists(path)) {
        m_messenger.showMessage(fillIn(kFileNotFound, {path}), MessageIcon::Error);
        return false;
    }
    clearContents();
    setModifiedFlag(false);
    m_encodingChosen = false;
    if (forEditing)
        sami::clearReadOnlyAttribute(path, m_messenger);
    if (!m_model.LoadFile(path, true)) {
        // The content is gone, so the document must no longer claim the previous file: a
        // later save would overwrite that file with the empty document.
        becomeUntitled();
        return forEditing && offerImport(path);
    }
    m_model.journal().markClean();
    if (m_views && m_views->hasPlayerView()) {
        m_views->stopPlayerAndRewind();
        if (const auto video = findCompanionVideo(path, m_files))
            m_views->openCompanionVideo(*video);
        m_views->clearPlayerFileState();
    }
    setPathName(path, true);
    return true;
}

bool Document::offerImport(const std::string& path)
{
    const auto bytes = readFileBytes(path);
    if (!bytes || bytes->empty() || bytes->size() > kMaxImportFileBytes)
        return false;
    const std::string text = toCp949(*bytes, detectEncoding(*bytes));
    if (sami::holdsSamiMarkup(std::string_view(text).substr(0, text.find('\0'))))
        return false;  // refused for another reason
    constexpr int kAllSupported = 1;
    const double fps = kFrameRates[kDefaultFrameRateIndex].framesPerSecond;
    SilentMessenger silent;
    SamiModel probe(m_settings);
    probe.setMessenger(silent);
    if (!importForeignBytes(probe, *bytes, kAllSupported, fps) ||
        !m_messenger.askYesNo(fillIn(kImportQuestion, {path})))
        return false;
    // As the import command does: a new, unsaved document with the file's captions.
    newDocument();
    if (!importForeignBytes(m_model, *bytes, kAllSupported, fps))
        return false;
    setModifiedFlag(true);
    return true;
}

bool Document::saveDocument(const std::string& path, std::optional<TextEncoding> encoding)
{
    const bool makeBackup = m_settings.MakeBackup;
    const TextEncoding target = encoding.value_or(m_model.fileEncoding);
    // The file read only up to a NUL character is replaced by a shorter one only when asked.
    if (m_model.unreadBytes > 0 && path == m_path &&
        !m_messenger.askYesNo(
            fillIn(kShorterSaveQuestion, {path, std::to_string(m_model.unreadBytes)})))
        return false;
    StopFileWatch();
    const std::string samiText = writeSami(m_model, -1);
    const SaveResult result =
        saveWithBackup(path, makeBackup, fromCp949(samiText, target), m_files, m_messenger);
    if (result.outcome != SaveOutcome::Saved) {
        // The edits are still in the model and the file on disk is what it was before, so
        // watching it goes on.
        StartFileWatch();
        return false;
    }
    m_model.readOnly = false;
    m_model.fileEncoding = target;
    m_model.unreadBytes = 0;
    m_fileGone = false;
    setModifiedFlag(false);
    if (samiText.size() > kMaxSamiFileBytes)
        m_messenger.showMessage(fillIn(kTooLargeToOpenMessage, {path}), MessageIcon::Warning);
    if (path != m_path)
        setPathName(path, true);
    else
        StartFileWatch();
    return true;
}

void Document::ReloadFromDisk()
{
    reloadFile(m_encodingChosen ? std::optional(m_model.fileEncoding) : std::nullopt);
}

bool Document::reopenInEncoding(TextEncoding encoding)
{
    if (m_path.empty() || !saveModified() || !reloadFile(encoding))
        return false;
    m_encodingChosen = true;
    return true;
}

bool Document::reloadFile(std::optional<TextEncoding> encoding)
{
    if (m_path.empty())
        return false;
    // A file that cannot be read any more leaves the edits and their mark in place.
    sami::clearReadOnlyAttribute(m_path, m_messenger);
    if (!m_model.LoadFile(m_path, true, encoding))
        return false;
    setModifiedFlag(false);
    if (m_views && m_views->hasPlayerView())
        m_views->stopPlayerAndRewind();
    return true;
}

void Document::openCompanionVideo()
{
    if (m_path.empty() || !m_views || !m_views->hasPlayerView())
        return;
    if (const auto video = findCompanionVideo(m_path, m_files))
        m_views->openCompanionVideo(*video);
}

void Document::setModifiedFlag(bool modified)
{
    // A change the journal did not record keeps the mark whatever undo does, until the next
    // save; a clean document is clean at the journal's current position.
    m_unrecordedChange = modified;
    if (!modified)
        m_model.journal().markClean();
    showModified(modified);
}

void Document::journalChanged()
{
    showModified(m_unrecordedChange || !m_model.journal().isClean());
}

void Document::showModified(bool modified)
{
    if (modified == m_modified)
        return;
    if (modified)
        m_title += " *";
    else if (m_title.size() > 1 && m_title.back() == '*')
        m_title.resize(m_title.size() - 2);
    m_modified = modified;
    refreshTitle();
}

void Document::setPathName(const std::string& path, bool addToRecent)
{
    StopFileWatch();
    m_path = path;
    m_fileGone = false;
    m_title = nameOf(path);
    if (m_modified)
        m_title += " *";
    refreshTitle();
    if (addToRecent && m_views)
        m_views->addToRecentFiles(path);
    StartFileWatch();
}

void Document::setTitle(const std::string& title)
{
    m_title = title;
    refreshTitle();
}

void Document::refreshTitle()
{
    if (m_views)
        m_views->refreshTitle(m_title);
}

void Document::becomeUntitled()
{
    StopFileWatch();
    m_path.clear();
    m_title = kUntitled;
    if (m_modified)
        m_title += " *";
    refreshTitle();
}

std::string Document::promptName() const
{
    if (!m_path.empty())
        return nameOf(m_path);
    std::string name = m_title.empty() ? std::string(kUntitled) : m_title;
    const std::size_t mark = name.find(" *");
    if (mark != std::string::npos)
        name.replace(mark, 2, ".smi");
    return name;
}

bool Document::saveModified()
{
    if (!m_modified)
        return true;
    switch (m_messenger.askYesNoCancel(fillIn(kSaveChangesQuestion, {promptName()}))) {
    case Answer::Cancel:
        return false;
    case Answer::No:
        return true;
    case Answer::Yes:
        break;
    }
    return fileSave();
}

bool Document::saveNeedsName()
{
    if (m_path.empty())
        return true;
    // A file deleted or renamed away is written again under its name while its folder is there.
    if (!m_files.exists(m_path)) {
        const std::string folder = directoryOf(m_path);
        return !m_files.isDirectory(folder.empty() ? "." : folder);
    }
    return m_files.isDirectory(m_path) || m_files.isReadOnly(m_path);
}

bool Document::fileSave()
{
    std::string target = m_path;
    if (saveNeedsName()) {
        if (!m_views)
            return false;
        const auto chosen = m_views->askSaveAsPath(m_path.empty() ? promptName() : m_path);
        if (!chosen || chosen->empty())
            return false;
        target = *chosen;
    }
    return saveDocument(target);
}

void Document::StartFileWatch()
{
    if (m_settings.NoFileWatch || !m_fileWatch || m_path.empty())
        return;
    StopFileWatch();
    m_watchId = m_fileWatch->AddWatch(m_path, m_listener);
    if (m_watchId != 0)
        m_fileWatch->SetWatchAutoReload(m_watchId, &m_settings.AutoLoadFile);
}

void Document::StopFileWatch()
{
    if (m_fileWatch && m_watchId != 0)
        m_fileWatch->RemoveWatch(m_watchId);
    m_watchId = 0;
}

void Document::onFileWatchNotify(int watchId)
{
    if (m_askingReload)
        return;
    m_askingReload = true;
    bool reload = false;
    if (!m_path.empty() && !m_files.exists(m_path)) {
        fileGone();
    } else {
        m_fileGone = false;
        reload = m_fileWatch && m_fileWatch->AskReload(watchId, m_messenger, m_modified);
    }
    if (reload)
        ReloadFromDisk();
    m_askingReload = false;
    if (m_views) {
        m_views->rebuildList();
        m_views->refreshPlayerCaption();
    }
}

void Document::fileGone()
{
    // Said once; the content now lives only in the window, so it counts as unsaved.
    if (m_fileGone)
        return;
    m_fileGone = true;
    if (m_views)
        m_views->showStatus(kFileGoneStatus);
    m_messenger.showMessage(fillIn(kFileGoneMessage, {m_path}), MessageIcon::Warning);
    setModifiedFlag(true);
}

bool Document::saveLanguage(const std::string& path, int languageIndex,
                            std::optional<TextEncoding> encoding)
{
    if (languageIndex < 0 || languageIndex >= m_model.GetLanguageCount())
        return false;
    // Writing over the document's own file is the program's own change, not another's.
    const bool ownFile = m_watchId != 0 && m_files.sameFile(path, m_path);
    if (ownFile)
        StopFileWatch();
    const bool saved = sami::writeFileReporting(
        path, fromCp949(writeSami(m_model, languageIndex), encoding.value_or(m_model.fileEncoding)),
        m_messenger, m_files);
    if (ownFile)
        StartFileWatch();
    return saved;
}

bool Document::mergeFiles(const std::vector<std::string>& paths)
{
    const int loaded = mergeSamiFiles(m_model, paths, m_messenger);
    if (loaded < 0)
        return false;
    if (loaded > 0) {
        setModifiedFlag(true);
        if (m_views)
            m_views->rebuildList();
    }
    return true;
}

}  // namespace verbanta
