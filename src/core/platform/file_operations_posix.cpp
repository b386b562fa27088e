#include "document/file_operations.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

namespace verbanta {
namespace {

/// Closes a descriptor on every way out, keeping errno as the failure left it.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0) {
            const int saved = errno;
            ::close(m_fd);
            errno = saved;
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    /// Closes now and reports whether the close succeeded (a late write error shows here).
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

const char* orCurrent(const std::string& directory)
{
    return directory.empty() ? "." : directory.c_str();
}

}  // namespace

bool SystemFileOperations::exists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool SystemFileOperations::isDirectory(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SystemFileOperations::isReadOnly(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool SystemFileOperations::makeWritable(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    return ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

bool SystemFileOperations::isLocked(const std::string& path)
{
    const int saved = errno;
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        errno = saved;
        return false;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        errno = saved;
        return false;
    }
    // Both kinds of lock are checked: flock and fcntl locks do not see each other here.
    bool locked = false;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        locked = errno == EWOULDBLOCK;
    if (!locked) {
        struct flock query {};
        query.l_type = F_WRLCK;
        query.l_whence = SEEK_SET;
        locked = ::fcntl(fd.get(), F_OFD_GETLK, &query) == 0 && query.l_type != F_UNLCK;
    }
    errno = saved;
    return locked;
}

bool SystemFileOperations::remove(const std::string& path)
{
    if (isLocked(path)) {
        errno = EBUSY;
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

bool SystemFileOperations::rename(const std::string& from, const std::string& to)
{
    if (isLocked(from) || isLocked(to)) {
        errno = EBUSY;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool SystemFileOperations::readFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0)
        return false;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return false;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    if (isLocked(path)) {
        errno = EBUSY;
        return false;
    }
    if (S_ISREG(st.st_mode))
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool SystemFileOperations::syncDirectory(const std::string& directory)
{
    Descriptor fd(::open(orCurrent(directory), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    return ::fsync(fd.get()) == 0;
}

bool SystemFileOperations::sameFile(const std::string& a, const std::string& b)
{
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::vector<std::string> SystemFileOperations::listDirectory(const std::string& directory)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(orCurrent(directory));
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

FileStatus SystemFileOperations::status(const std::string& path)
{
    FileStatus result;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return result;
    result.kind = S_ISREG(st.st_mode)   ? FileStatus::Kind::Regular
                  : S_ISDIR(st.st_mode) ? FileStatus::Kind::Directory
                                        : FileStatus::Kind::Other;
    result.mode = st.st_mode & 07777;
    result.owner = st.st_uid;
    result.group = st.st_gid;
    return result;
}

std::string SystemFileOperations::resolveLinks(const std::string& path)
{
    // As many links as the system itself follows before it reports a loop.
    constexpr int kMaxLinks = 40;
    std::string current = path;
    for (int followed = 0; followed <= kMaxLinks; ++followed) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0)
            return current;
        target.resize(static_cast<std::size_t>(n));
        // A relative link is relative to the folder the link is in.
        if (target.empty() || target.front() != '/') {
            const std::size_t slash = current.find_last_of('/');
            target = (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) +
                     target;
        }
        current = std::move(target);
    }
    errno = ELOOP;
    return {};
}

int SystemFileOperations::createFile(const std::string& path, unsigned mode)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                          static_cast<mode_t>(mode));
    if (fd >= 0)
        ::flock(fd, LOCK_EX | LOCK_NB);
    return fd;
}

int SystemFileOperations::openDevice(const std::string& path)
{
    // Non-blocking only while opening, so that a FIFO without a reader fails instead of hanging.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool SystemFileOperations::writeFile(int handle, std::string_view bytes)
{
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(handle, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

bool SystemFileOperations::flushFile(int handle)
{
    return ::fsync(handle) == 0;
}

bool SystemFileOperations::closeFile(int handle)
{
    return ::close(handle) == 0;
}

bool SystemFileOperations::copyAttributes(int handle, const FileStatus& from)
{
    // The owner first: changing it may clear the set-user-id bits that the mode then restores.
    // Only the superuser may give a file away; an owner may still pass on the group.
    const int saved = errno;
    if (::fchown(handle, from.owner, from.group) != 0)
        ::fchown(handle, static_cast<uid_t>(-1), from.group);
    errno = saved;
    return ::fchmod(handle, static_cast<mode_t>(from.mode & 07777)) == 0;
}

bool SystemFileOperations::link(const std::string& from, const std::string& to)
{
    if (isLocked(from)) {
        errno = EBUSY;
        return false;
    }
    return ::link(from.c_str(), to.c_str()) == 0;
}

FileOperations& systemFileOperations()
{
    static SystemFileOperations files;
    return files;
}

}  // namespace verbanta
