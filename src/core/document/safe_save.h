#pragma once

#include <string>
#include <string_view>

#include "platform/atomic_file_writer.h"

namespace verbanta {

class FileOperations;
class Messenger;

/// The backup of a target: the target without its extension (a "." counts only after the last
/// separator) followed by ".BAK", or by ".BAC" when that would be the target itself.
struct BackupName {
    std::string path;
    bool alternate = false;  ///< ".BAC": the target is itself named like its backup
};
BackupName backupNameOf(const std::string& target);

/// How a save ended.
enum class SaveOutcome {
    Saved,
    NoTemporaryName,     ///< all 1000 temporary names are in use; nothing was shown
    WriteFailed,         ///< writing the temporary file failed; the writer's message was shown
    BackupRefused,       ///< the user chose not to keep the ".BAC" backup
    BackupNotDeletable,  ///< the previous backup could not be deleted
    BackupNotCreated,    ///< the backup of the target could not be made
    RenameFailed,        ///< the temporary file could not take the target's name
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Saved;
    std::string target;         ///< the file saved: the path with its links followed
    std::string temporaryPath;  ///< the temporary file used, if one was chosen
    std::string backupPath;     ///< the backup made, if any
};

/// Saves through a "~PelNNN.TMP" file in the target's folder and, when asked, keeps the
/// previous file as the backup (beside the file a symbolic link points to). The target holds
/// the previous or the new content whole at every moment: the backup is a second name of the
/// previous file where the file system allows it, and the new file is renamed over the
/// target. Every failure but the temporary names' shows its message.
SaveResult saveWithBackup(const std::string& target, bool makeBackup, std::string_view bytes,
                          FileOperations& files, Messenger& messenger);

}  // namespace verbanta
