#include "platform/atomic_file_writer.h"

#include <cerrno>
#include <cstdio>

#include "document/file_operations.h"
#include "document/path_parts.h"

namespace verbanta {
namespace {

/// Records the failed step with the error number the last call left.
bool fail(AtomicWriteResult& result, WriteStep step, int error)
{
    result.failed = step;
    result.error = error;
    return false;
}

/// A temporary file that nobody holds locked was left by a write that was killed.
bool isStale(FileOperations& files, const std::string& name)
{
    return files.status(name).kind == FileStatus::Kind::Regular && !files.isLocked(name);
}

/// Creates the temporary file: the one named, or the first numbered one that is free or stale.
int createTemporary(FileOperations& files, const std::string& directory,
                    const AtomicWriteOptions& options, AtomicWriteResult& result)
{
    const bool numbered = options.temporaryPath.empty();
    for (int n = 0; n < (numbered ? kTemporaryNameCount : 1); ++n) {
        const std::string name = numbered ? temporaryFileName(directory, n) : options.temporaryPath;
        int handle = files.createFile(name, options.newFileMode);
        if (handle < 0 && errno == EEXIST && isStale(files, name) && files.remove(name))
            handle = files.createFile(name, options.newFileMode);
        if (handle >= 0) {
            result.temporaryPath = name;
            return handle;
        }
        if (const int error = errno; error != EEXIST) {
            result.temporaryPath = name;  // named in the message; nothing is left to remove
            fail(result, WriteStep::Open, error);
            return -1;
        }
    }
    fail(result, WriteStep::Name, EEXIST);
    return -1;
}

/// A device or a FIFO has no folder entry to replace: it gets the bytes as they are.
AtomicWriteResult writeInPlace(AtomicWriteResult result, std::string_view bytes,
                               FileOperations& files)
{
    const int handle = files.openDevice(result.target);
    if (handle < 0) {
        fail(result, WriteStep::Open, errno);
        return result;
    }
    const bool written = files.writeFile(handle, bytes) || fail(result, WriteStep::Write, errno);
    if (!files.closeFile(handle) && written)
        fail(result, WriteStep::Close, errno);
    return result;
}

}  // namespace

std::string temporaryFileName(const std::string& directory, int n)
{
    char name[16];
    std::snprintf(name, sizeof name, "~Pel%03d.TMP", n);
    return directory + name;
}

AtomicWriteResult writeFileAtomically(const std::string& path, std::string_view bytes,
                                      FileOperations& files, const AtomicWriteOptions& options)
{
    AtomicWriteResult result;
    result.target = files.resolveLinks(path);
    if (result.target.empty()) {
        fail(result, WriteStep::Resolve, errno);
        return result;
    }
    const FileStatus existing = files.status(result.target);
    if (existing.kind == FileStatus::Kind::Directory) {
        fail(result, WriteStep::Resolve, EISDIR);
        return result;
    }
    if (existing.kind == FileStatus::Kind::Other)
        return writeInPlace(std::move(result), bytes, files);

    const std::string directory = directoryOf(result.target);
    const int handle = createTemporary(files, directory, options, result);
    if (handle < 0)
        return result;
    bool ok = true;
    if (existing.kind == FileStatus::Kind::Regular && options.keepAttributes) {
        // Set before any byte is written, so the content is never readable by more people
        // than the file it replaces.
        FileStatus kept = existing;
        if (options.ownerWritable)
            kept.mode |= 0200;
        ok = files.copyAttributes(handle, kept) || fail(result, WriteStep::Open, errno);
    }
    ok = ok && (files.writeFile(handle, bytes) || fail(result, WriteStep::Write, errno));
    ok = ok && (files.flushFile(handle) || fail(result, WriteStep::Flush, errno));
    if (!files.closeFile(handle) && ok)
        ok = fail(result, WriteStep::Close, errno);
    if (ok && options.beforeRename && !options.beforeRename(result))
        ok = fail(result, WriteStep::BeforeRename, 0);
    if (ok && !files.rename(result.temporaryPath, result.target))
        ok = fail(result, WriteStep::Rename, errno);
    if (!ok) {
        files.remove(result.temporaryPath);
        return result;
    }
    // The new file is in place; a folder that did not reach the disk may still lose it.
    if (options.syncFolder && !files.syncDirectory(directory))
        fail(result, WriteStep::FolderFlush, errno);
    return result;
}

}  // namespace verbanta
