#pragma once

#include <functional>
#include <string>

namespace verbanta {

class FileOperations;
class Messenger;

/// Writes the complete new content to a file that does not exist yet and flushes it to the
/// disk; false when that failed (the writer has reported why and removed what it wrote).
using TemporaryWriter = std::function<bool(const std::string& temporaryPath)>;

/// How many temporary names a save tries: "~Pel000.TMP" to "~Pel999.TMP".
inline constexpr int kTemporaryNameCount = 1000;

/// "~Pel%03d.TMP" in the folder (which ends in its separator, or is empty).
std::string TemporaryFileName(const std::string& directory, int n);

/// The first temporary name in the folder at which nothing exists; empty when all are taken.
std::string FindTemporaryName(const std::string& directory, FileOperations& files);

/// The backup of a target: the target without its extension (a "." counts only after the last
/// separator) followed by ".BAK", or by ".BAC" when that would be the target itself.
struct BackupName {
    std::string path;
    bool alternate = false;  ///< ".BAC": the target is itself named like its backup
};
BackupName BackupNameOf(const std::string& target);

/// How a save ended.
enum class SaveOutcome {
    Saved,
    NoTemporaryName,     ///< all 1000 temporary names are taken; nothing was shown
    WriteFailed,         ///< the writer failed and has reported it
    BackupRefused,       ///< the user chose not to keep the ".BAC" backup
    BackupNotDeletable,  ///< the previous backup could not be deleted
    BackupNotCreated,    ///< the target could not be renamed to the backup
    TargetNotDeletable,  ///< without backup, the previous target could not be deleted
    RenameFailed,        ///< the temporary file could not take the target's name
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Saved;
    std::string temporaryPath;  ///< the temporary file used, if one was chosen
    std::string backupPath;     ///< the backup made, if any
    /// After RenameFailed without a backup the temporary file is kept: it may be the only
    /// complete copy of the content on disk.
    bool temporaryKept = false;
};

/// Saves through a temporary file in the target's folder and, when asked, keeps the previous
/// file as the backup. At every moment the target, the backup or the temporary file holds a
/// complete file; the temporary file is on the disk before any rename, and the folder is
/// flushed after the last one. Every failure but the first two shows its message.
SaveResult SaveWithBackup(const std::string& target, bool makeBackup,
                          const TemporaryWriter& write, FileOperations& files,
                          Messenger& messenger);

/// Creates or replaces a file through a temporary file and a rename, so that the previous
/// content stays whole until the new one is on the disk; the file keeps its permissions.
/// Flushes the folder afterwards unless told not to (a batch flushes each folder once).
bool ReplaceFileSafely(const std::string& target, const TemporaryWriter& write,
                       FileOperations& files, bool syncFolder = true);

}  // namespace verbanta
