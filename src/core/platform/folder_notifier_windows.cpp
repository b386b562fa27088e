#include "platform/folder_notifier.h"

#include <map>
#include <mutex>

#include "platform/windows_support.h"

namespace verbanta::platform {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Names created, deleted and renamed, and contents, sizes and times changed.
constexpr DWORD kFolderEvents = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_CREATION;

/// 100-nanosecond ticks from 1601 to 1970.
constexpr std::int64_t kUnixEpochTicks = 116444736000000000LL;

std::wstring fullPath(const std::string& path)
{
    const std::wstring wide = widen(path.empty() ? std::string(".") : path);
    if (wide.empty())
        return {};
    const DWORD length = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return {};
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length)
        return {};
    full.resize(written);
    return full;
}

/// One folder's outstanding ReadDirectoryChangesW.
struct Watch {
    HANDLE folder = INVALID_HANDLE_VALUE;
    OVERLAPPED overlapped{};
    DWORD buffer[16384 / sizeof(DWORD)];  // the notifications are DWORD-aligned
    bool armed = false;
    bool dead = false;  ///< the folder is gone: nothing more comes

    ~Watch()
    {
        if (armed) {
            DWORD ignored = 0;
            ::CancelIoEx(folder, &overlapped);
            ::GetOverlappedResult(folder, &overlapped, &ignored, TRUE);
        }
        if (folder != INVALID_HANDLE_VALUE)
            ::CloseHandle(folder);
        if (overlapped.hEvent)
            ::CloseHandle(overlapped.hEvent);
    }

    void arm()
    {
        armed = ::ReadDirectoryChangesW(folder, buffer, sizeof buffer, FALSE, kFolderEvents,
                                        nullptr, &overlapped, nullptr) != 0;
        if (!armed) {
            dead = true;
            ::ResetEvent(overlapped.hEvent);
        }
    }
};

}  // namespace

bool readFileStamp(const std::string& path, FileStamp& stamp)
{
    const std::wstring wide = widen(path);
    if (wide.empty())
        return false;
    const HANDLE file = ::CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = ::GetFileInformationByHandle(file, &info);
    ::CloseHandle(file);
    if (!ok)
        return false;
    stamp.device = info.dwVolumeSerialNumber;
    stamp.inode = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp.size = static_cast<std::int64_t>((std::uint64_t(info.nFileSizeHigh) << 32) |
                                           info.nFileSizeLow);
    const std::int64_t ticks = static_cast<std::int64_t>(
        (std::uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) |
        info.ftLastWriteTime.dwLowDateTime) - kUnixEpochTicks;
    stamp.modifiedSeconds = ticks / 10000000;
    stamp.modifiedNanoseconds = (ticks % 10000000) * 100;
    return true;
}

std::string canonicalFolder(const std::string& directory)
{
    const std::wstring full = fullPath(directory);
    const DWORD attributes = full.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    std::string folder = narrow(full);
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder;
}

std::string canonicalPath(const std::string& path)
{
    const std::wstring full = fullPath(path);
    return full.empty() ? path : narrow(full);
}

struct FolderNotifier::State {
    std::mutex lock;
    HANDLE wakeUp = nullptr;
    int nextId = 1;
    std::map<int, std::unique_ptr<Watch>> watches;
    /// Removed while the waiting thread may wait on them: ended by that thread's next wait.
    std::vector<std::unique_ptr<Watch>> retired;
};

FolderNotifier::FolderNotifier() : m_state(std::make_unique<State>())
{
    m_state->wakeUp = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

FolderNotifier::~FolderNotifier()
{
    removeAll();
    if (m_state->wakeUp)
        ::CloseHandle(m_state->wakeUp);
}

bool FolderNotifier::valid() const
{
    return m_state->wakeUp != nullptr;
}

int FolderNotifier::addFolder(const std::string& folder)
{
    const std::wstring wide = widen(folder);
    if (wide.empty())
        return -1;
    auto watch = std::make_unique<Watch>();
    watch->folder = ::CreateFileW(wide.c_str(), FILE_LIST_DIRECTORY, kShareAll, nullptr,
                                  OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    watch->overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (watch->folder == INVALID_HANDLE_VALUE || !watch->overlapped.hEvent)
        return -1;
    // Armed at once, so that no change is missed; should this thread end first, the system
    // cancels the request and the waiting thread arms it again.
    watch->arm();
    if (!watch->armed)
        return -1;
    std::lock_guard lock(m_state->lock);
    const int id = m_state->nextId++;
    m_state->watches.emplace(id, std::move(watch));
    ::SetEvent(m_state->wakeUp);
    return id;
}

void FolderNotifier::removeFolder(int folder)
{
    std::lock_guard lock(m_state->lock);
    const auto it = m_state->watches.find(folder);
    if (it == m_state->watches.end())
        return;
    m_state->retired.push_back(std::move(it->second));
    m_state->watches.erase(it);
    ::SetEvent(m_state->wakeUp);
}

void FolderNotifier::removeAll()
{
    std::lock_guard lock(m_state->lock);
    m_state->watches.clear();
    m_state->retired.clear();
}

void FolderNotifier::wakeUp()
{
    ::SetEvent(m_state->wakeUp);
}

void FolderNotifier::wait(int timeoutMs, std::vector<Event>& events)
{
    std::vector<HANDLE> handles{m_state->wakeUp};
    {
        std::lock_guard lock(m_state->lock);
        m_state->retired.clear();
        for (auto& [id, watch] : m_state->watches)
            if (!watch->dead && handles.size() < MAXIMUM_WAIT_OBJECTS)
                handles.push_back(watch->overlapped.hEvent);
    }
    ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE,
                             timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
    std::lock_guard lock(m_state->lock);
    for (auto& [id, watch] : m_state->watches) {
        if (watch->dead || !HasOverlappedIoCompleted(&watch->overlapped))
            continue;
        DWORD length = 0;
        const bool ok =
            ::GetOverlappedResult(watch->folder, &watch->overlapped, &length, FALSE) != 0;
        watch->armed = false;
        if (!ok || length == 0) {
            // Too many changes for the buffer, or the request was cancelled: any may be lost.
            events.push_back({id, {}, true});
        } else {
            const auto* bytes = reinterpret_cast<const char*>(watch->buffer);
            for (DWORD at = 0;;) {
                const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(bytes + at);
                events.push_back(
                    {id, narrow({info->FileName, info->FileNameLength / sizeof(WCHAR)}), false});
                if (info->NextEntryOffset == 0)
                    break;
                at += info->NextEntryOffset;
            }
        }
        watch->arm();
    }
}

}  // namespace verbanta::platform
