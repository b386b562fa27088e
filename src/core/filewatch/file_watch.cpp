#include "filewatch/file_watch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <system_error>

#include "document/path_parts.h"
#include "platform/messenger.h"

namespace verbanta {
namespace {

constexpr const char* kReloadQuestion =
    "현재 열린 파일이 다른 프로그램에서 수정되었습니다.\n\n자막 파일을 다시 읽어들이겠습니까?";
constexpr const char* kReloadLosingChangesQuestion =
    "현재 열린 파일이 다른 프로그램에서 수정되었습니다.\n\n"
    "다시 읽어들이면 저장하지 않은 변경 내용이 모두 사라집니다.\n"
    "자막 파일을 다시 읽어들이겠습니까?";

// Changes of names and of contents or times in the folder, not in its subfolders. Renames
// count because many editors save by writing a new file and renaming it over the old one.
constexpr std::uint32_t kFolderEvents = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE |
                                        IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR;

// A writer usually changes a file in several steps; the folder is looked at once it has been
// quiet this long, or this long after its first event at the latest, so that one change is
// reported once and still well within a second.
constexpr auto kQuietPeriod = std::chrono::milliseconds(50);
constexpr auto kLongestDelay = std::chrono::milliseconds(400);

/// The folder's canonical path with a trailing "/", or empty when it does not exist.
std::string canonicalFolder(const std::string& directory)
{
    char* resolved = ::realpath(directory.empty() ? "." : directory.c_str(), nullptr);
    if (!resolved)
        return {};
    std::string folder(resolved);
    std::free(resolved);
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

/// The file's path with every link followed, or the path itself when it cannot be resolved.
std::string canonicalPath(const std::string& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string result(resolved);
    std::free(resolved);
    return result;
}

}  // namespace

FileWatch::FileWatch() : m_wakeUp(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

FileWatch::~FileWatch()
{
    StopFileWatchThread();
    std::lock_guard lock(m_lock);
    for (const Folder& folder : m_folders)
        ::inotify_rm_watch(m_inotify, folder.descriptor);
    if (m_inotify >= 0)
        ::close(m_inotify);
    if (m_wakeUp >= 0)
        ::close(m_wakeUp);
}

bool FileWatch::readStamp(const std::string& path, Stamp& stamp)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.modifiedSeconds = st.st_mtim.tv_sec;
    stamp.modifiedNanoseconds = st.st_mtim.tv_nsec;
    return true;
}

void FileWatch::signalWakeUp()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_wakeUp, &one, sizeof one);
}

int FileWatch::AddWatch(const std::string& path, FileWatchListener* listener)
{
    if (path.empty() || m_wakeUp < 0)
        return 0;
    std::lock_guard lock(m_lock);
    Record record;
    record.path = path;
    record.listener = listener;
    const bool folderWatch = path.back() == '/';
    if (!folderWatch && !readStamp(path, record.stamp))
        return 0;
    // A symbolic link is watched where the file it points to lives, which is what changes.
    const std::string watched = folderWatch ? path : canonicalPath(path);
    record.folder = canonicalFolder(directoryOf(watched));
    if (record.folder.empty())
        return 0;
    if (!folderWatch)
        record.name = nameOf(watched);

    if (m_inotify < 0)
        m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify < 0)
        return 0;
    const bool known = std::any_of(m_folders.begin(), m_folders.end(),
                                   [&](const Folder& f) { return f.path == record.folder; });
    if (!known) {
        const int descriptor = ::inotify_add_watch(m_inotify, record.folder.c_str(), kFolderEvents);
        if (descriptor < 0)
            return 0;
        signalWakeUp();
        m_folders.push_back({record.folder, descriptor, false, {}, {}});
    }

    const int id = m_nextId++;
    m_records.emplace(id, std::move(record));
    if (!m_worker.joinable()) {
        m_stop = false;
        signalWakeUp();
        try {
            m_worker = std::thread([this] { workerLoop(); });
        } catch (const std::system_error&) {
            m_records.erase(id);
            return 0;
        }
    }
    return id;
}

void FileWatch::SetWatchAutoReload(int id, const bool* flag)
{
    std::lock_guard lock(m_lock);
    const auto it = m_records.find(id);
    if (it != m_records.end())
        it->second.autoReload = flag;
}

void FileWatch::RemoveWatch(int id)
{
    bool last = false;
    {
        std::lock_guard lock(m_lock);
        const auto it = m_records.find(id);
        if (it == m_records.end())
            return;
        const std::string folder = it->second.folder;
        m_records.erase(it);
        const bool folderUsed = std::any_of(m_records.begin(), m_records.end(), [&](const auto& r) {
            return r.second.folder == folder;
        });
        if (!folderUsed) {
            const auto f = std::find_if(m_folders.begin(), m_folders.end(),
                                        [&](const Folder& x) { return x.path == folder; });
            if (f != m_folders.end()) {
                signalWakeUp();
                ::inotify_rm_watch(m_inotify, f->descriptor);
                m_folders.erase(f);
            }
        }
        last = m_records.empty();
    }
    if (last)
        StopFileWatchThread();
}

void FileWatch::StopFileWatchThread()
{
    {
        std::lock_guard lock(m_lock);
        if (!m_worker.joinable())
            return;
        m_stop = true;
        signalWakeUp();
    }
    // The worker wakes on the event at once, so joining takes no polling.
    m_worker.join();
}

bool FileWatch::AskReload(int id, Messenger& messenger, bool unsavedChanges)
{
    const bool* autoReload = nullptr;
    {
        std::lock_guard lock(m_lock);
        const auto it = m_records.find(id);
        if (it == m_records.end())
            return false;
        autoReload = it->second.autoReload;
    }
    // Unsaved work is never thrown away without the user's explicit answer.
    if (unsavedChanges)
        return messenger.askYesNoDefaultNo(kReloadLosingChangesQuestion);
    if (autoReload && *autoReload)
        return true;
    return messenger.askYesNo(kReloadQuestion);
}

bool FileWatch::isWorkerRunning() const
{
    std::lock_guard lock(m_lock);
    return m_worker.joinable();
}

std::size_t FileWatch::watchCount() const
{
    std::lock_guard lock(m_lock);
    return m_records.size();
}

void FileWatch::workerLoop()
{
    // The lowest priority of the normal class: it still runs on a busy machine, only last.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 19);
    std::unique_lock lock(m_lock);
    for (;;) {
        pollfd waitList[2] = {{m_wakeUp, POLLIN, 0}, {m_inotify, POLLIN, 0}};
        const int timeout = pollTimeout(Clock::now());
        lock.unlock();
        const int ready = ::poll(waitList, 2, timeout);
        lock.lock();
        if (m_stop)
            break;
        if (ready > 0 && (waitList[0].revents & POLLIN)) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(m_wakeUp, &count, sizeof count);
        }
        const Clock::time_point now = Clock::now();
        if (ready > 0 && (waitList[1].revents & POLLIN))
            readEvents(m_inotify, now);
        checkDueFolders(now);
    }
    for (const Folder& folder : m_folders)
        ::inotify_rm_watch(m_inotify, folder.descriptor);
    ::close(m_inotify);
    m_inotify = -1;
    m_folders.clear();
    m_records.clear();
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = ::read(m_wakeUp, &count, sizeof count);
}

FileWatch::Folder* FileWatch::findFolder(int descriptor)
{
    for (Folder& folder : m_folders)
        if (folder.descriptor == descriptor)
            return &folder;
    return nullptr;
}

bool FileWatch::folderWants(const Folder& folder, const std::string& name) const
{
    for (const auto& [id, record] : m_records)
        if (record.folder == folder.path && (record.name.empty() || record.name == name))
            return true;
    return false;
}

void FileWatch::markPending(Folder& folder, Clock::time_point now)
{
    if (!folder.pending) {
        folder.pending = true;
        folder.firstEvent = now;
    }
    folder.due = std::min(now + kQuietPeriod, folder.firstEvent + kLongestDelay);
}

void FileWatch::readEvents(int inotify, Clock::time_point now)
{
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t length = ::read(inotify, buffer, sizeof buffer);
        if (length <= 0)
            return;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                // Events were lost: every folder is looked at again.
                for (Folder& folder : m_folders)
                    markPending(folder, now);
                continue;
            }
            Folder* folder = findFolder(event->wd);
            const std::string name = event->len ? std::string(event->name) : std::string();
            if (folder && folderWants(*folder, name))
                markPending(*folder, now);
        }
    }
}

void FileWatch::checkDueFolders(Clock::time_point now)
{
    for (Folder& folder : m_folders) {
        if (!folder.pending || folder.due > now)
            continue;
        folder.pending = false;
        for (auto& [id, record] : m_records) {
            if (record.folder != folder.path)
                continue;
            if (!record.name.empty()) {
                // A file that went away is reported once, and once more when it is back.
                Stamp current;
                if (!readStamp(record.path, current))
                    current = Stamp{};
                if (current == record.stamp)
                    continue;
                record.stamp = current;
            }
            if (record.listener)
                record.listener->fileChanged(id);
        }
    }
}

int FileWatch::pollTimeout(Clock::time_point now) const
{
    bool any = false;
    Clock::time_point earliest = Clock::time_point::max();
    for (const Folder& folder : m_folders) {
        if (folder.pending) {
            any = true;
            earliest = std::min(earliest, folder.due);
        }
    }
    if (!any)
        return -1;
    if (earliest <= now)
        return 0;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(earliest - now).count();
    return static_cast<int>(std::min<long long>(wait, INT_MAX));
}

}  // namespace verbanta
