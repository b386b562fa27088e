#include "platform/system.h"

// windows.h first: the shell's headers need it.
#include "platform/windows_support.h"

#include <io.h>
#include <malloc.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cerrno>

namespace verbanta::platform {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

PathInfo infoOf(DWORD attributes, std::uint64_t size)
{
    PathInfo info;
    info.kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathInfo::Kind::Directory
                : (attributes & FILE_ATTRIBUTE_DEVICE)  ? PathInfo::Kind::Other
                                                        : PathInfo::Kind::Regular;
    info.ownerWritable = !(attributes & FILE_ATTRIBUTE_READONLY);
    info.size = size;
    return info;
}

std::string knownFolder(REFKNOWNFOLDERID id)
{
    PWSTR wide = nullptr;
    std::string folder;
    if (::SHGetKnownFolderPath(id, 0, nullptr, &wide) == S_OK && wide && *wide)
        folder = narrow(wide);
    ::CoTaskMemFree(wide);
    return folder;
}

/// One argument as the C runtime splits a command line again: quoted when it has a space, a
/// tab or a quote, with the backslashes before a quote doubled.
void appendQuoted(std::wstring& line, const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
        line += argument;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(2 * backslashes, L'\\');
    line += L'"';
}

std::wstring commandLineOf(const std::vector<std::string>& arguments)
{
    std::wstring line;
    for (const std::string& argument : arguments) {
        if (!line.empty())
            line += L' ';
        appendQuoted(line, widen(argument));
    }
    return line;
}

HANDLE inheritableOutput(const std::string& path)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return ::CreateFileW(widen(path).c_str(), GENERIC_WRITE, kShareAll, &inherit, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

PathInfo pathInfo(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const std::wstring wide = widen(path);
    if (wide.empty() || !::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data))
        return {};
    return infoOf(data.dwFileAttributes,
                  (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

PathInfo handleInfo(int handle)
{
    BY_HANDLE_FILE_INFORMATION data{};
    if (!::GetFileInformationByHandle(systemHandle(handle), &data))
        return {};
    return infoOf(data.dwFileAttributes,
                  (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

bool clearReadOnly(const std::string& path)
{
    const std::wstring wide = widen(path);
    const DWORD attributes = wide.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return failWithLastError();
    return ::SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) ||
           failWithLastError();
}

int openFile(const std::string& path, bool write)
{
    const std::wstring wide = widen(path);
    if (wide.empty()) {
        errno = path.empty() ? ENOENT : EINVAL;
        return -1;
    }
    // Writing is refused for a file with the read-only attribute; backup semantics open a
    // folder too, which the caller then tells apart.
    const HANDLE file =
        ::CreateFileW(wide.c_str(), GENERIC_READ | (write ? GENERIC_WRITE : 0), kShareAll,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failWithLastError();
        return -1;
    }
    return handleNumber(file, write);
}

std::int64_t readSome(int handle, char* buffer, std::size_t size)
{
    DWORD n = 0;
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    if (!::ReadFile(systemHandle(handle), buffer, chunk, &n, nullptr)) {
        if (::GetLastError() == ERROR_HANDLE_EOF || ::GetLastError() == ERROR_BROKEN_PIPE)
            return 0;
        failWithLastError();
        return -1;
    }
    return n;
}

bool closeHandle(int handle)
{
    return ::_close(handle) == 0;
}

int lockFile(const std::string& path)
{
    const std::wstring wide = widen(path);
    if (wide.empty()) {
        errno = EINVAL;
        return -1;
    }
    // Unshared but for deletion, so that its holder may still remove it before closing it.
    const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        errno = error == ERROR_SHARING_VIOLATION ? EWOULDBLOCK : errnoFromWindows(error);
        return -1;
    }
    return handleNumber(file, true);
}

bool removeFile(const std::string& path)
{
    const std::wstring wide = widen(path);
    return (!wide.empty() && ::DeleteFileW(wide.c_str())) || failWithLastError();
}

void lowerThreadPriority()
{
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_LOWEST);
}

void* allocateHugePages(std::size_t bytes)
{
    // Large pages need a privilege ordinary users lack; the alignment is kept all the same.
    return ::_aligned_malloc(bytes, std::size_t(2) << 20);
}

void freeHugePages(void* memory)
{
    ::_aligned_free(memory);
}

std::uint64_t processId()
{
    return ::GetCurrentProcessId();
}

std::string homeFolder()
{
    return knownFolder(FOLDERID_Profile);
}

std::string userDataFolder()
{
    const std::string folder = knownFolder(FOLDERID_RoamingAppData);
    return folder.empty() ? folder : folder + "\\Verbanta";
}

std::string userCacheFolder()
{
    const std::string folder = knownFolder(FOLDERID_LocalAppData);
    return folder.empty() ? folder : folder + "\\Verbanta";
}

bool startProcess(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return false;
    std::wstring line = commandLineOf(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return failWithLastError();
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

int runProcess(const std::vector<std::string>& arguments, const std::string& outputFile,
               const std::string& errorFile)
{
    if (arguments.empty())
        return -1;
    std::wstring line = commandLineOf(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outputFile.empty() ? ::GetStdHandle(STD_OUTPUT_HANDLE)
                                            : inheritableOutput(outputFile);
    startup.hStdError =
        errorFile.empty() ? ::GetStdHandle(STD_ERROR_HANDLE) : inheritableOutput(errorFile);
    PROCESS_INFORMATION process{};
    const bool started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0,
                                          nullptr, nullptr, &startup, &process);
    if (!outputFile.empty() && startup.hStdOutput != INVALID_HANDLE_VALUE)
        ::CloseHandle(startup.hStdOutput);
    if (!errorFile.empty() && startup.hStdError != INVALID_HANDLE_VALUE)
        ::CloseHandle(startup.hStdError);
    if (!started)
        return -1;
    ::CloseHandle(process.hThread);
    DWORD code = 0;
    const bool done = ::WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 &&
                      ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    return done ? static_cast<int>(code) : -1;
}

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide || count != argc) {
        if (wide)
            ::LocalFree(wide);
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(narrow(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

}  // namespace verbanta::platform
