#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace verbanta {

class FileOperations;

/// How many numbered temporary names a write tries: "~Pel000.TMP" to "~Pel999.TMP".
inline constexpr int kTemporaryNameCount = 1000;

/// "~Pel%03d.TMP" in the folder (which ends in its separator, or is empty).
std::string temporaryFileName(const std::string& directory, int n);

/// The step of an atomic write that failed.
enum class WriteStep {
    None,     ///< nothing failed
    Resolve,  ///< the target's links lead nowhere (a loop), or the target is a folder
    Name,     ///< every temporary name is in use
    Open,     ///< the temporary file (or the device) could not be created or prepared
    Write,
    Flush,
    Close,
    BeforeRename,  ///< the caller's step before the rename refused (it has reported why)
    Rename,
    FolderFlush,  ///< the new file is in place, but its folder did not reach the disk
};

/// What an atomic write did.
struct AtomicWriteResult {
    WriteStep failed = WriteStep::None;
    int error = 0;              ///< the system's error number of the failed step
    std::string target;         ///< the file written: the path with its links followed
    std::string temporaryPath;  ///< the temporary file used, if one was made
    bool ok() const { return failed == WriteStep::None; }
};

struct AtomicWriteOptions {
    /// The one temporary name to use (a stale file there is replaced); empty: the first free
    /// or stale numbered name in the target's folder.
    std::string temporaryPath;
    /// The permission bits of a new file, less the umask.
    unsigned newFileMode = 0666;
    /// A file replaced keeps its permission bits, owner and group; else it gets the above.
    bool keepAttributes = true;
    /// A replaced file keeps its permission bits but becomes writable by its owner.
    bool ownerWritable = false;
    /// A batch flushes each folder once at its end instead.
    bool syncFolder = true;
    /// Runs once the temporary file is complete on the disk, before it takes the target's
    /// place: the document's backup. False stops the write and removes the temporary file.
    std::function<bool(const AtomicWriteResult& progress)> beforeRename;
};

/// Replaces a file whole or not at all, the one way every file of the user is written: the
/// bytes go to a temporary file in the target's folder, which is flushed to the disk, given
/// the target's permissions (and owner and group, where allowed) and renamed over the target;
/// the folder is flushed last. A symbolic link stays: the file it points to is replaced. On
/// any failure before the rename the target is untouched and the temporary file removed.
/// A device or a FIFO cannot be replaced and is written in place, never waiting for a reader.
AtomicWriteResult writeFileAtomically(const std::string& path, std::string_view bytes,
                                      FileOperations& files,
                                      const AtomicWriteOptions& options = {});

}  // namespace verbanta
