#include "platform/system.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace verbanta::platform {
namespace {

PathInfo infoOf(const struct stat& st)
{
    PathInfo info;
    info.kind = S_ISREG(st.st_mode)   ? PathInfo::Kind::Regular
                : S_ISDIR(st.st_mode) ? PathInfo::Kind::Directory
                                      : PathInfo::Kind::Other;
    info.ownerWritable = (st.st_mode & S_IWUSR) != 0;
    info.size = static_cast<std::uint64_t>(st.st_size);
    return info;
}

/// An absolute folder from the environment, with "Verbanta" added; a relative one is invalid
/// by the XDG rules and ignored. Else the home folder's `fallback`.
std::string xdgFolder(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return std::string(value) + "/Verbanta";
    const std::string home = homeFolder();
    return home.empty() ? std::string() : home + fallback;
}

std::vector<char*> argvOf(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    return argv;
}

}  // namespace

PathInfo pathInfo(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? infoOf(st) : PathInfo{};
}

PathInfo handleInfo(int handle)
{
    struct stat st {};
    return ::fstat(handle, &st) == 0 ? infoOf(st) : PathInfo{};
}

bool clearReadOnly(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    return ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

int openFile(const std::string& path, bool write)
{
    return ::open(path.c_str(), (write ? O_RDWR : O_RDONLY) | O_CLOEXEC);
}

std::int64_t readSome(int handle, char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::read(handle, buffer, size);
        if (n < 0 && errno == EINTR)
            continue;
        return n;
    }
}

bool closeHandle(int handle)
{
    return ::close(handle) == 0;
}

int lockFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

bool removeFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

void lowerThreadPriority()
{
#ifdef __linux__
    // On Linux the nice value belongs to the thread.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 19);
#endif
}

void* allocateHugePages(std::size_t bytes)
{
    void* memory = std::aligned_alloc(std::size_t(2) << 20, bytes);
#ifdef MADV_HUGEPAGE
    if (memory)
        ::madvise(memory, bytes, MADV_HUGEPAGE);
#endif
    return memory;
}

void freeHugePages(void* memory)
{
    std::free(memory);
}

std::uint64_t processId()
{
    return static_cast<std::uint64_t>(::getpid());
}

std::string homeFolder()
{
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? std::string(home) : std::string();
}

std::string userDataFolder()
{
    return xdgFolder("XDG_DATA_HOME", "/.local/share/Verbanta");
}

std::string userCacheFolder()
{
    return xdgFolder("XDG_CACHE_HOME", "/.cache/Verbanta");
}

bool startProcess(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return false;
    const std::vector<char*> argv = argvOf(arguments);
    pid_t pid = -1;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    // posix_spawnp fails late for a program that is not there: it exits with 127.
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    return done == 0 || !(WIFEXITED(status) && WEXITSTATUS(status) == 127);
}

int runProcess(const std::vector<std::string>& arguments, const std::string& outputFile,
               const std::string& errorFile)
{
    if (arguments.empty())
        return -1;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    const int flags = O_WRONLY | O_CREAT | O_TRUNC;  // kept open across the exec
    if (!outputFile.empty())
        ::posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), flags, 0644);
    if (!errorFile.empty())
        ::posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), flags, 0644);
    const std::vector<char*> argv = argvOf(arguments);
    pid_t pid = -1;
    const int rc = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace verbanta::platform
