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
#include "platform/messenger.h"
#include "sami/sami_file.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

constexpr const char* kFileNotFound =
    "%1\n이 파일을 찾을 수 없음.\n경로와 파일 이름이 정확한지 확인하십시오.";
constexpr const char* kSaveChangesQuestion = "변경 내용을 %1에 저장할까요?";

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

bool Document::NewDocument()
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
    ClearContents();
    m_modified = false;
    refreshTitle();
    return true;
}

void Document::ClearContents()
{
    m_model.Reset(true);
    m_model.ClearUndo();
}

bool Document::OpenDocument(const std::string& path)
{
    if (!m_files.exists(path)) {
        m_messenger.showMessage(FillIn(kFileNotFound, {path}), MessageIcon::Error);
        return false;
    }
    ClearContents();
    SetModifiedFlag(false);
    m_encodingChosen = false;
    if (!m_model.LoadFile(path, true)) {
        // The content is gone, so the document must no longer claim the previous file: a
        // later save would overwrite that file with the empty document.
        becomeUntitled();
        return false;
    }
    if (m_views && m_views->hasPlayerView()) {
        m_views->stopPlayerAndRewind();
        if (const auto video = FindCompanionVideo(path, m_files))
            m_views->openCompanionVideo(*video);
        m_views->clearPlayerFileState();
    }
    SetPathName(path, true);
    return true;
}

bool Document::writeModel(const std::string& temporaryPath, int languageIndex,
                          TextEncoding encoding)
{
    if (!sami::SaveSamiFile(m_model, temporaryPath, languageIndex, encoding))
        return false;
    if (m_files.syncFile(temporaryPath))
        return true;
    const int error = errno;
    m_files.remove(temporaryPath);
    m_messenger.showMessage(sami::WriteFailureMessage(error), MessageIcon::Error);
    return false;
}

bool Document::SaveDocument(const std::string& path, std::optional<TextEncoding> encoding)
{
    const bool makeBackup = m_settings.MakeBackup;
    const TextEncoding target = encoding.value_or(m_model.fileEncoding);
    StopFileWatch();
    const SaveResult result = SaveWithBackup(
        path, makeBackup, [&](const std::string& tmp) { return writeModel(tmp, -1, target); },
        m_files, m_messenger);
    if (result.outcome != SaveOutcome::Saved) {
        // The edits are still in the model and the file on disk is what it was before, so
        // watching it goes on.
        StartFileWatch();
        return false;
    }
    m_model.readOnly = false;
    m_model.fileEncoding = target;
    SetModifiedFlag(false);
    if (path != m_path)
        SetPathName(path, true);
    else
        StartFileWatch();
    return true;
}

void Document::ReloadFromDisk()
{
    reloadFile(m_encodingChosen ? std::optional(m_model.fileEncoding) : std::nullopt);
}

bool Document::ReopenInEncoding(TextEncoding encoding)
{
    if (m_path.empty() || !SaveModified() || !reloadFile(encoding))
        return false;
    m_encodingChosen = true;
    return true;
}

bool Document::reloadFile(std::optional<TextEncoding> encoding)
{
    if (m_path.empty())
        return false;
    // A file that cannot be read any more leaves the edits and their mark in place.
    if (!m_model.LoadFile(m_path, true, encoding))
        return false;
    SetModifiedFlag(false);
    if (m_views && m_views->hasPlayerView())
        m_views->stopPlayerAndRewind();
    return true;
}

void Document::SetModifiedFlag(bool modified)
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

void Document::SetPathName(const std::string& path, bool addToRecent)
{
    StopFileWatch();
    m_path = path;
    m_title = NameOf(path);
    if (m_modified)
        m_title += " *";
    refreshTitle();
    if (addToRecent && m_views)
        m_views->addToRecentFiles(path);
    StartFileWatch();
}

void Document::SetTitle(const std::string& title)
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

std::string Document::PromptName() const
{
    if (!m_path.empty())
        return NameOf(m_path);
    std::string name = m_title.empty() ? std::string(kUntitled) : m_title;
    const std::size_t mark = name.find(" *");
    if (mark != std::string::npos)
        name.replace(mark, 2, ".smi");
    return name;
}

bool Document::SaveModified()
{
    if (!m_modified)
        return true;
    switch (m_messenger.askYesNoCancel(FillIn(kSaveChangesQuestion, {PromptName()}))) {
    case Answer::Cancel:
        return false;
    case Answer::No:
        return true;
    case Answer::Yes:
        break;
    }
    return FileSave();
}

bool Document::SaveNeedsName()
{
    return m_path.empty() || !m_files.exists(m_path) || m_files.isDirectory(m_path) ||
           m_files.isReadOnly(m_path);
}

bool Document::FileSave()
{
    std::string target = m_path;
    if (SaveNeedsName()) {
        if (!m_views)
            return false;
        const auto chosen = m_views->askSaveAsPath(m_path.empty() ? PromptName() : m_path);
        if (!chosen || chosen->empty())
            return false;
        target = *chosen;
    }
    return SaveDocument(target);
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

void Document::OnFileWatchNotify(int watchId)
{
    if (m_askingReload)
        return;
    m_askingReload = true;
    const bool reload = m_fileWatch && m_fileWatch->AskReload(watchId, m_messenger);
    if (reload)
        ReloadFromDisk();
    m_askingReload = false;
    if (m_views) {
        m_views->rebuildList();
        m_views->refreshPlayerCaption();
    }
}

bool Document::SaveLanguage(const std::string& path, int languageIndex,
                            std::optional<TextEncoding> encoding)
{
    if (languageIndex < 0 || languageIndex >= m_model.GetLanguageCount())
        return false;
    // Writing over the document's own file is the program's own change, not another's.
    const bool ownFile = m_watchId != 0 && m_files.sameFile(path, m_path);
    if (ownFile)
        StopFileWatch();
    const bool saved = ReplaceFileSafely(
        path,
        [&](const std::string& tmp) {
            return writeModel(tmp, languageIndex, encoding.value_or(m_model.fileEncoding));
        },
        m_files);
    if (ownFile)
        StartFileWatch();
    return saved;
}

bool Document::MergeFiles(const std::vector<std::string>& paths)
{
    const int loaded = MergeSamiFiles(m_model, paths, m_messenger);
    if (loaded < 0)
        return false;
    if (loaded > 0) {
        SetModifiedFlag(true);
        if (m_views)
            m_views->rebuildList();
    }
    return true;
}

}  // namespace verbanta
