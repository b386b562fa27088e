#include "document/safe_save.h"

#include <cerrno>

#include "document/file_operations.h"
#include "document/message_text.h"
#include "document/path_parts.h"
#include "platform/messenger.h"
#include "sami/sami_file.h"

namespace verbanta {
namespace {

/// File systems without a second name for a file (FAT, some network shares) say so with these.
bool linksUnsupported(int error)
{
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EMLINK ||
           error == ENOSYS || error == EXDEV;
}

/// The backup step of a save: runs when the new content is complete in the temporary file.
class BackupStep {
public:
    BackupStep(bool makeBackup, FileOperations& files, Messenger& messenger, SaveResult& result)
        : m_makeBackup(makeBackup), m_files(files), m_messenger(messenger), m_result(result)
    {
    }

    bool operator()(const AtomicWriteResult& progress)
    {
        const std::string& target = progress.target;
        // Without a previous file or a wish for a backup, the rename replaces the file alone.
        if (!m_makeBackup || m_files.status(target).kind != FileStatus::Kind::Regular)
            return true;
        const BackupName backup = backupNameOf(target);
        if (backup.alternate &&
            !m_messenger.askYesNo(fillIn("백업 파일 \"%s\"을 보존하시겠습니까?", {backup.path}))) {
            m_result.outcome = SaveOutcome::BackupRefused;
            return false;
        }
        if (m_files.exists(backup.path) && !m_files.remove(backup.path)) {
            m_messenger.showMessage(
                fillIn("기존의 백업 파일 \"%s\"을 삭제할 수 없습니다.", {backup.path}),
                MessageIcon::Error);
            m_result.outcome = SaveOutcome::BackupNotDeletable;
            return false;
        }
        // A second name keeps the target in place until the new file replaces it; where the
        // file system has none, the previous file is renamed, still whole under the backup name.
        m_moved = false;
        if (!m_files.link(target, backup.path)) {
            m_moved = linksUnsupported(errno) && m_files.rename(target, backup.path);
            if (!m_moved) {
                m_messenger.showMessage(
                    fillIn("백업 파일 \"%s\"을 작성할 수 없습니다.", {backup.path}),
                    MessageIcon::Error);
                m_result.outcome = SaveOutcome::BackupNotCreated;
                return false;
            }
        }
        m_result.backupPath = backup.path;
        return true;
    }

    /// After a failed final rename: the target is as it was before the save.
    void undo(const std::string& target)
    {
        if (m_result.backupPath.empty())
            return;
        if (m_moved)
            m_files.rename(m_result.backupPath, target);
        else
            m_files.remove(m_result.backupPath);
        m_result.backupPath.clear();
    }

private:
    bool m_makeBackup;
    FileOperations& m_files;
    Messenger& m_messenger;
    SaveResult& m_result;
    bool m_moved = false;
};

}  // namespace

BackupName backupNameOf(const std::string& target)
{
    const std::size_t sep = lastSeparator(target);
    const std::size_t dot = target.rfind('.');
    const bool dotInName = dot != std::string::npos && (sep == std::string::npos || dot > sep);
    const std::string stem = dotInName ? target.substr(0, dot) : target;
    BackupName backup{stem + ".BAK", false};
    if (equalsIgnoringCase(backup.path, target))
        backup = {stem + ".BAC", true};
    return backup;
}

SaveResult saveWithBackup(const std::string& target, bool makeBackup, std::string_view bytes,
                          FileOperations& files, Messenger& messenger)
{
    SaveResult result;
    BackupStep backup(makeBackup, files, messenger, result);
    AtomicWriteOptions options;
    // A read-only file that the user saves over anyway becomes writable by its owner.
    options.ownerWritable = true;
    options.beforeRename = [&](const AtomicWriteResult& progress) { return backup(progress); };
    const AtomicWriteResult written = writeFileAtomically(target, bytes, files, options);
    result.target = written.target;
    result.temporaryPath = written.temporaryPath;
    switch (written.failed) {
        case WriteStep::None:
            return result;
        case WriteStep::BeforeRename:
            return result;  // the backup step has set the outcome and shown its message
        case WriteStep::Name:
            result.outcome = SaveOutcome::NoTemporaryName;
            return result;
        case WriteStep::Rename:
            backup.undo(written.target);
            files.syncDirectory(directoryOf(written.target));
            messenger.showMessage(fillIn("파일 \"%s\"의 이름을 \"%s\"로 변경할 수 없습니다.",
                                         {written.temporaryPath, written.target}),
                                  MessageIcon::Error);
            result.outcome = SaveOutcome::RenameFailed;
            return result;
        default:
            // A file that could not be created is named: for a save, the temporary one.
            sami::reportWriteFailure(
                written, written.temporaryPath.empty() ? written.target : written.temporaryPath,
                messenger);
            result.outcome = SaveOutcome::WriteFailed;
            return result;
    }
}

}  // namespace verbanta
