#include "document/safe_save.h"

#include <cstdio>

#include "document/file_operations.h"
#include "document/message_text.h"
#include "document/path_parts.h"
#include "platform/messenger.h"

namespace verbanta {
namespace {

SaveResult failed(SaveOutcome outcome, SaveResult result)
{
    result.outcome = outcome;
    return result;
}

}  // namespace

std::string TemporaryFileName(const std::string& directory, int n)
{
    char name[16];
    std::snprintf(name, sizeof name, "~Pel%03d.TMP", n);
    return directory + name;
}

std::string FindTemporaryName(const std::string& directory, FileOperations& files)
{
    for (int n = 0; n < kTemporaryNameCount; ++n) {
        std::string name = TemporaryFileName(directory, n);
        if (!files.exists(name))
            return name;
    }
    return {};
}

BackupName BackupNameOf(const std::string& target)
{
    const std::size_t sep = LastSeparator(target);
    const std::size_t dot = target.rfind('.');
    const bool dotInName = dot != std::string::npos && (sep == std::string::npos || dot > sep);
    const std::string stem = dotInName ? target.substr(0, dot) : target;
    BackupName backup{stem + ".BAK", false};
    if (EqualsIgnoringCase(backup.path, target))
        backup = {stem + ".BAC", true};
    return backup;
}

SaveResult SaveWithBackup(const std::string& target, bool makeBackup, const TemporaryWriter& write,
                          FileOperations& files, Messenger& messenger)
{
    SaveResult result;
    const std::string directory = DirectoryOf(target);
    result.temporaryPath = FindTemporaryName(directory, files);
    if (result.temporaryPath.empty())
        return failed(SaveOutcome::NoTemporaryName, result);
    const std::string& temporary = result.temporaryPath;
    if (!write(temporary))
        return failed(SaveOutcome::WriteFailed, result);

    if (files.exists(target)) {
        // The new file takes the old one's place, so it takes its permissions too (a private
        // file must not become readable by everyone by being saved), writable by its owner.
        files.copyPermissions(target, temporary);
        files.makeWritable(temporary);
        if (makeBackup) {
            const BackupName backup = BackupNameOf(target);
            const std::string keepQuestion =
                FillIn("백업 파일 \"%s\"을 보존하시겠습니까?", {backup.path});
            if (backup.alternate && !messenger.askYesNo(keepQuestion)) {
                files.remove(temporary);
                return failed(SaveOutcome::BackupRefused, result);
            }
            if (files.exists(backup.path) && !files.remove(backup.path)) {
                files.remove(temporary);
                messenger.showMessage(
                    FillIn("기존의 백업 파일 \"%s\"을 삭제할 수 없습니다.", {backup.path}),
                    MessageIcon::Error);
                return failed(SaveOutcome::BackupNotDeletable, result);
            }
            if (!files.rename(target, backup.path)) {
                files.remove(temporary);
                messenger.showMessage(
                    FillIn("백업 파일 \"%s\"을 작성할 수 없습니다.", {backup.path}),
                    MessageIcon::Error);
                return failed(SaveOutcome::BackupNotCreated, result);
            }
            result.backupPath = backup.path;
        } else if (!files.remove(target)) {
            files.remove(temporary);
            messenger.showMessage(FillIn("기존 파일 \"%s\"을 삭제할 수 없습니다.", {target}),
                                  MessageIcon::Error);
            return failed(SaveOutcome::TargetNotDeletable, result);
        }
    }

    if (files.rename(temporary, target)) {
        files.syncDirectory(directory);
        return result;
    }
    if (result.backupPath.empty()) {
        result.temporaryKept = true;
    } else {
        // The previous file goes back under its name; failing that it stays whole as the
        // backup. The new content is still in memory.
        files.rename(result.backupPath, target);
        files.remove(temporary);
    }
    files.syncDirectory(directory);
    messenger.showMessage(
        FillIn("파일 \"%s\"의 이름을 \"%s\"로 변경할 수 없습니다.", {temporary, target}),
        MessageIcon::Error);
    return failed(SaveOutcome::RenameFailed, result);
}

bool ReplaceFileSafely(const std::string& target, const TemporaryWriter& write,
                       FileOperations& files, bool syncFolder)
{
    const std::string directory = DirectoryOf(target);
    const std::string temporary = FindTemporaryName(directory, files);
    if (temporary.empty() || !write(temporary))
        return false;
    if (files.exists(target))
        files.copyPermissions(target, temporary);
    if (!files.rename(temporary, target)) {
        files.remove(temporary);
        return false;
    }
    if (syncFolder)
        files.syncDirectory(directory);
    return true;
}

}  // namespace verbanta
