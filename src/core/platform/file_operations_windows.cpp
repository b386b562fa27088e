// The file operations on Windows: wide paths from UTF-8, the read-only attribute as the
// owner's write permission, a file opened without sharing as a lock, and replacement by
// ReplaceFileW or MoveFileExW with write-through.
#include "document/file_operations.h"

#include <io.h>

#include <cerrno>

#include "platform/windows_support.h"

namespace verbanta {
namespace {

using platform::failWithLastError;
using platform::widen;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

DWORD attributesOf(const std::string& path)
{
    const std::wstring wide = widen(path);
    return wide.empty() ? kNoAttributes : ::GetFileAttributesW(wide.c_str());
}

/// Closes a system handle on every way out, keeping errno as the failure left it.
class Handle {
public:
    explicit Handle(HANDLE h) : m_h(h) {}
    ~Handle()
    {
        if (valid()) {
            const int saved = errno;
            ::CloseHandle(m_h);
            errno = saved;
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_h; }

private:
    HANDLE m_h;
};

HANDLE openShared(const std::string& path, DWORD access)
{
    const std::wstring wide = widen(path);
    if (wide.empty()) {
        errno = path.empty() ? ENOENT : EINVAL;
        return INVALID_HANDLE_VALUE;
    }
    // Backup semantics let a folder be opened too, to be told apart from a file.
    return ::CreateFileW(wide.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

std::wstring folderPattern(const std::string& directory)
{
    std::wstring wide = directory.empty() ? std::wstring(L".") : widen(directory);
    if (!wide.empty() && wide.back() != L'\\' && wide.back() != L'/')
        wide += L'\\';
    return wide + L"*";
}

}  // namespace

bool SystemFileOperations::exists(const std::string& path)
{
    return !path.empty() && attributesOf(path) != kNoAttributes;
}

bool SystemFileOperations::isDirectory(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SystemFileOperations::isReadOnly(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    if (attributes == kNoAttributes)
        return false;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return true;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    // Refused by the file's access rights, though the attribute is not set.
    const int saved = errno;
    Handle file(openShared(path, GENERIC_WRITE));
    const bool refused = !file.valid() && ::GetLastError() == ERROR_ACCESS_DENIED;
    errno = saved;
    return refused;
}

bool SystemFileOperations::makeWritable(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    if (attributes == kNoAttributes)
        return failWithLastError();
    return ::SetFileAttributesW(widen(path).c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) ||
           failWithLastError();
}

bool SystemFileOperations::isLocked(const std::string& path)
{
    const int saved = errno;
    const DWORD attributes = attributesOf(path);
    if (attributes == kNoAttributes || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        errno = saved;
        return false;
    }
    // A program that holds a file in use opens it without sharing it: even reading is refused.
    Handle file(openShared(path, GENERIC_READ));
    const DWORD error = file.valid() ? ERROR_SUCCESS : ::GetLastError();
    errno = saved;
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

bool SystemFileOperations::remove(const std::string& path)
{
    if (isLocked(path)) {
        errno = EBUSY;
        return false;
    }
    const std::wstring wide = widen(path);
    return (!wide.empty() && ::DeleteFileW(wide.c_str())) || failWithLastError();
}

bool SystemFileOperations::rename(const std::string& from, const std::string& to)
{
    if (isLocked(from) || isLocked(to)) {
        errno = EBUSY;
        return false;
    }
    const std::wstring source = widen(from);
    const std::wstring target = widen(to);
    if (source.empty() || target.empty()) {
        errno = EINVAL;
        return false;
    }
    // An existing file is replaced in one step that keeps what the system holds about it
    // beyond its content (its creation time, its access rights); when that is refused (as on
    // some network drives) the new file is moved over it, written through to the disk.
    const DWORD existing = ::GetFileAttributesW(target.c_str());
    if (existing != kNoAttributes && !(existing & FILE_ATTRIBUTE_DIRECTORY) &&
        ::ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                       nullptr, nullptr))
        return true;
    return ::MoveFileExW(source.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
           failWithLastError();
}

bool SystemFileOperations::readFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    const DWORD attributes = attributesOf(path);
    if (attributes == kNoAttributes)
        return failWithLastError();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        errno = EISDIR;
        return false;
    }
    Handle file(openShared(path, GENERIC_READ));
    if (!file.valid()) {
        failWithLastError();
        return false;
    }
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.get(), &size))
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr))
            return failWithLastError();
        if (n == 0)
            return true;
        bytes.append(buffer, n);
    }
}

bool SystemFileOperations::syncDirectory(const std::string& directory)
{
    // A folder's entries cannot be flushed by an ordinary user here; the rename itself was
    // written through. What is left to check is that the folder is there.
    const DWORD attributes = directory.empty() ? FILE_ATTRIBUTE_DIRECTORY : attributesOf(directory);
    if (attributes == kNoAttributes)
        return failWithLastError();
    return true;
}

bool SystemFileOperations::sameFile(const std::string& a, const std::string& b)
{
    Handle first(openShared(a, FILE_READ_ATTRIBUTES));
    Handle second(openShared(b, FILE_READ_ATTRIBUTES));
    BY_HANDLE_FILE_INFORMATION x{};
    BY_HANDLE_FILE_INFORMATION y{};
    return first.valid() && second.valid() && ::GetFileInformationByHandle(first.get(), &x) &&
           ::GetFileInformationByHandle(second.get(), &y) &&
           x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

std::vector<std::string> SystemFileOperations::listDirectory(const std::string& directory)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry{};
    const HANDLE find = ::FindFirstFileW(folderPattern(directory).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(platform::narrow(name));
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return names;
}

FileStatus SystemFileOperations::status(const std::string& path)
{
    FileStatus result;
    const DWORD attributes = attributesOf(path);
    if (attributes == kNoAttributes)
        return result;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        result.kind = FileStatus::Kind::Directory;
        result.mode = 0777;
    } else {
        result.kind = (attributes & FILE_ATTRIBUTE_DEVICE) ? FileStatus::Kind::Other
                                                            : FileStatus::Kind::Regular;
        // The read-only attribute is the one permission a file has here.
        result.mode = (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    }
    return result;
}

std::string SystemFileOperations::resolveLinks(const std::string& path)
{
    // Links are rare on Windows and replacing one replaces the link; the path is kept.
    return path;
}

int SystemFileOperations::createFile(const std::string& path, unsigned mode)
{
    const std::wstring wide = widen(path);
    if (wide.empty()) {
        errno = path.empty() ? ENOENT : EINVAL;
        return -1;
    }
    // Shared with nobody (deleting aside) while it is written: others see it in use.
    const DWORD attributes =
        (mode & 0200) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
    const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                      CREATE_NEW, attributes, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failWithLastError();
        return -1;
    }
    return platform::handleNumber(file, true);
}

int SystemFileOperations::openDevice(const std::string& path)
{
    const HANDLE device = openShared(path, GENERIC_WRITE);
    if (device == INVALID_HANDLE_VALUE) {
        failWithLastError();
        return -1;
    }
    return platform::handleNumber(device, true);
}

bool SystemFileOperations::writeFile(int handle, std::string_view bytes)
{
    const HANDLE file = platform::systemHandle(handle);
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr))
            return failWithLastError();
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool SystemFileOperations::flushFile(int handle)
{
    return ::FlushFileBuffers(platform::systemHandle(handle)) || failWithLastError();
}

bool SystemFileOperations::closeFile(int handle)
{
    return ::_close(handle) == 0;
}

bool SystemFileOperations::copyAttributes(int handle, const FileStatus& from)
{
    // The read-only attribute is what the permission bits carry over; times stay (zero).
    FILE_BASIC_INFO info{};
    if (!::GetFileInformationByHandleEx(platform::systemHandle(handle), FileBasicInfo, &info,
                                        sizeof info))
        return failWithLastError();
    if (from.mode & 0200)
        info.FileAttributes &= ~FILE_ATTRIBUTE_READONLY;
    else
        info.FileAttributes |= FILE_ATTRIBUTE_READONLY;
    if (info.FileAttributes == 0)
        info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    info.CreationTime.QuadPart = info.LastAccessTime.QuadPart = 0;
    info.LastWriteTime.QuadPart = info.ChangeTime.QuadPart = 0;
    return ::SetFileInformationByHandle(platform::systemHandle(handle), FileBasicInfo, &info,
                                        sizeof info) ||
           failWithLastError();
}

bool SystemFileOperations::link(const std::string& from, const std::string& to)
{
    if (isLocked(from)) {
        errno = EBUSY;
        return false;
    }
    const std::wstring source = widen(from);
    const std::wstring target = widen(to);
    return (!source.empty() && !target.empty() &&
            ::CreateHardLinkW(target.c_str(), source.c_str(), nullptr)) ||
           failWithLastError();
}

FileOperations& systemFileOperations()
{
    static SystemFileOperations files;
    return files;
}

}  // namespace verbanta
