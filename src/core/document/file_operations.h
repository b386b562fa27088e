#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace verbanta {

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
    /// Creates a file that must not exist yet, writes the bytes and flushes them to the disk;
    /// on failure nothing of it is left behind.
    virtual bool writeNewFile(const std::string& path, std::string_view bytes) = 0;
    /// Flushes the data of a written and closed file to the disk.
    virtual bool syncFile(const std::string& path) = 0;
    /// Flushes a folder's entries (renames, deletions) to the disk; "" is the current folder.
    virtual bool syncDirectory(const std::string& directory) = 0;
    /// Gives `to` the permission bits of `from`.
    virtual bool copyPermissions(const std::string& from, const std::string& to) = 0;
    /// Whether two existing paths name the same file.
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;
    /// The names in a folder, without "." and ".."; "" is the current folder.
    virtual std::vector<std::string> listDirectory(const std::string& directory) = 0;
};

/// The real file system through POSIX calls.
class PosixFileOperations : public FileOperations {
public:
    bool exists(const std::string& path) override;
    bool isDirectory(const std::string& path) override;
    bool isReadOnly(const std::string& path) override;
    bool makeWritable(const std::string& path) override;
    bool isLocked(const std::string& path) override;
    bool remove(const std::string& path) override;
    bool rename(const std::string& from, const std::string& to) override;
    bool readFile(const std::string& path, std::string& bytes) override;
    bool writeNewFile(const std::string& path, std::string_view bytes) override;
    bool syncFile(const std::string& path) override;
    bool syncDirectory(const std::string& directory) override;
    bool copyPermissions(const std::string& from, const std::string& to) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    std::vector<std::string> listDirectory(const std::string& directory) override;
};

/// The process's real file system.
FileOperations& SystemFileOperations();

}  // namespace verbanta
