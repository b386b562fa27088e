#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace verbanta {

/// What is at a path.
struct FileStatus {
    enum class Kind { Missing, Regular, Directory, Other };
    Kind kind = Kind::Missing;
    unsigned mode = 0;  ///< the permission bits
    unsigned owner = 0;
    unsigned group = 0;
};

/// The file-system calls of the document and the file commands, behind one seam so that tests
/// can make any of them fail. A failed call returns false and leaves errno set to the reason.
class FileOperations {
public:
    virtual ~FileOperations() = default;

    /// Whether anything, file or folder, exists at the path.
    virtual bool exists(const std::string& path) = 0;
    virtual bool isDirectory(const std::string& path) = 0;
    /// Whether the file has the read-only attribute (no write permission for anyone) or this
    /// process may not write it.
    virtual bool isReadOnly(const std::string& path) = 0;
    /// Clears the read-only attribute: gives the owner write permission.
    virtual bool makeWritable(const std::string& path) = 0;
    /// Whether another open file holds a lock (flock or fcntl) on the file, which is how a
    /// program on this system says that the file is in use.
    virtual bool isLocked(const std::string& path) = 0;
    /// Deletes a file; refused with EBUSY while it is locked.
    virtual bool remove(const std::string& path) = 0;
    /// Renames a file, replacing what is at `to`; refused with EBUSY while either is locked.
    virtual bool rename(const std::string& from, const std::string& to) = 0;
    /// The whole content of a file; fails for a folder (EISDIR) and a locked file (EBUSY).
    virtual bool readFile(const std::string& path, std::string& bytes) = 0;
    /// Flushes a folder's entries (renames, deletions) to the disk; "" is the current folder.
    virtual bool syncDirectory(const std::string& directory) = 0;
    /// Whether two existing paths name the same file.
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;
    /// The names in a folder, without "." and ".."; "" is the current folder.
    virtual std::vector<std::string> listDirectory(const std::string& directory) = 0;

    // The steps of writing a file, one call each so that a test can fail any of them; the
    // atomic writer is their one user. A handle is -1 on failure.

    /// What is at the path, its links followed.
    virtual FileStatus status(const std::string& path) = 0;
    /// The path with its symbolic links followed, the last of which may point at nothing yet;
    /// the path itself when it is no link; empty (errno ELOOP) for a loop.
    virtual std::string resolveLinks(const std::string& path) = 0;
    /// Creates a file that must not exist yet (EEXIST otherwise), for writing, with the
    /// permission bits less the umask, and locks it so that others see it in use.
    virtual int createFile(const std::string& path, unsigned mode) = 0;
    /// Opens an existing device or FIFO for writing without waiting for a reader (ENXIO for a
    /// FIFO nobody reads).
    virtual int openDevice(const std::string& path) = 0;
    virtual bool writeFile(int handle, std::string_view bytes) = 0;
    /// Flushes the written data to the disk.
    virtual bool flushFile(int handle) = 0;
    /// Closes the handle; false reports a late write error.
    virtual bool closeFile(int handle) = 0;
    /// Gives the open file the permission bits of the status and, where the process may, its
    /// owner and group; false when the permission bits could not be set.
    virtual bool copyAttributes(int handle, const FileStatus& from) = 0;
    /// Makes `to` a second name of the file `from`; refused with EBUSY while `from` is locked.
    virtual bool link(const std::string& from, const std::string& to) = 0;
};

/// The real file system, through the system's own calls (src/core/platform): POSIX, or on
/// Windows wide-character paths, the read-only attribute for the permission bits and a file
/// opened without sharing for a lock.
class SystemFileOperations : public FileOperations {
public:
    bool exists(const std::string& path) override;
    bool isDirectory(const std::string& path) override;
    bool isReadOnly(const std::string& path) override;
    bool makeWritable(const std::string& path) override;
    bool isLocked(const std::string& path) override;
    bool remove(const std::string& path) override;
    bool rename(const std::string& from, const std::string& to) override;
    bool readFile(const std::string& path, std::string& bytes) override;
    bool syncDirectory(const std::string& directory) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    std::vector<std::string> listDirectory(const std::string& directory) override;
    FileStatus status(const std::string& path) override;
    std::string resolveLinks(const std::string& path) override;
    int createFile(const std::string& path, unsigned mode) override;
    int openDevice(const std::string& path) override;
    bool writeFile(int handle, std::string_view bytes) override;
    bool flushFile(int handle) override;
    bool closeFile(int handle) override;
    bool copyAttributes(int handle, const FileStatus& from) override;
    bool link(const std::string& from, const std::string& to) override;
};

/// The process's real file system.
FileOperations& systemFileOperations();

}  // namespace verbanta
