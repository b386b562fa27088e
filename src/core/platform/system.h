#pragma once

// The operating system's calls that the core needs beyond FileOperations, one implementation
// per system (system_posix.cpp, system_windows.cpp). Paths are UTF-8 on Windows; a failed
// call leaves errno set to the reason, so that the messages are the same on both systems.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace verbanta::platform {

/// What is at a path, its links followed.
struct PathInfo {
    enum class Kind { Missing, Regular, Directory, Other };
    Kind kind = Kind::Missing;
    /// False when the file has the read-only attribute (on POSIX: its owner may not write it).
    bool ownerWritable = false;
    std::uint64_t size = 0;
};
PathInfo pathInfo(const std::string& path);
/// The same for an open file.
PathInfo handleInfo(int handle);

/// A UTF-8 path for the standard library's file system calls: on Windows a narrow string
/// would be read in the ANSI code page, which cannot hold every name.
inline std::filesystem::path fsPath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

/// At most `limit` + 1 bytes of a regular file (more than `limit` tells the caller it is too
/// long); nothing for anything else or when it cannot be read. FIFOs and devices are never
/// opened: one without a writer would block, another never end.
std::optional<std::string> readRegularFile(const std::string& path, std::size_t limit);

/// Clears the read-only attribute (gives the owner write permission), keeping the rest.
bool clearReadOnly(const std::string& path);

/// Opens an existing file for reading, and for writing too when asked; -1 on failure.
int openFile(const std::string& path, bool write);
/// Reads up to `size` bytes: the count, 0 at the end, -1 on failure.
std::int64_t readSome(int handle, char* buffer, std::size_t size);
/// Closes a handle of openFile or lockFile; false reports a late error.
bool closeHandle(int handle);

/// Creates (or opens) the file, readable by its owner only, and holds it locked so that
/// FileOperations::isLocked sees it in use: a handle, or -1 (EWOULDBLOCK while another
/// process holds it).
int lockFile(const std::string& path);
/// Deletes a file; false when it could not.
bool removeFile(const std::string& path);

/// Gives the calling thread the lowest priority of the normal class: it still runs on a busy
/// machine, only last. Threads it starts afterwards (a decoder's) inherit it on Linux.
void lowerThreadPriority();

/// Memory of `bytes` (a multiple of 2 MB) on a 2 MB boundary, with huge pages asked for where
/// the system has them (a hint: without them it still works); null when there is none.
/// Freed with freeHugePages.
void* allocateHugePages(std::size_t bytes);
void freeHugePages(void* memory);

/// This process's id.
std::uint64_t processId();

/// The user's home folder, without a trailing separator; empty when unknown.
std::string homeFolder();
/// Where the program keeps the user's own data ("$XDG_DATA_HOME/Verbanta", else
/// "~/.local/share/Verbanta"; on Windows "%APPDATA%\Verbanta"); empty when unknown.
std::string userDataFolder();
/// Where the program keeps what it can make again ("$XDG_CACHE_HOME/Verbanta", else
/// "~/.cache/Verbanta"; on Windows "%LOCALAPPDATA%\Verbanta"); empty when unknown.
std::string userCacheFolder();

/// Starts a program with its arguments (the first is the program, looked up on the PATH)
/// and does not wait for it (a POSIX child is reaped when this process ends). False when it
/// could not be started.
bool startProcess(const std::vector<std::string>& arguments);
/// Runs a program and waits: its exit code, or -1 when it could not run or did not exit
/// normally. Its output and error output go to the files named (empty: inherited).
int runProcess(const std::vector<std::string>& arguments, const std::string& outputFile = {},
               const std::string& errorFile = {});

/// The program's arguments in UTF-8: on Windows read again from the wide command line, since
/// main's are in the ANSI code page, which cannot hold every name; elsewhere as they are.
std::vector<std::string> commandLineArguments(int argc, char** argv);

}  // namespace verbanta::platform
