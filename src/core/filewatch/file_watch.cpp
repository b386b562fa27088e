#include "filewatch/file_watch.h"

#include <algorithm>
#include <climits>
#include <system_error>

#include "document/path_parts.h"
#include "platform/folder_notifier.h"
#include "platform/messenger.h"
#include "platform/system.h"

namespace verbanta {
namespace {

constexpr const char* kReloadQuestion =
    "현재 열린 파일이 다른 프로그램에서 수정되었습니다.\n\n자막 파일을 다시 읽어들이겠습니까?";
constexpr const char* kReloadLosingChangesQuestion =
    "현재 열린 파일이 다른 프로그램에서 수정되었습니다.\n\n"
    "다시 읽어들이면 저장하지 않은 변경 내용이 모두 사라집니다.\n"
    "자막 파일을 다시 읽어들이겠습니까?";

// A writer usually changes a file in several steps; the folder is looked at once it has been
// quiet this long, or this long after its first event at the latest, so that one change is
// reported once and still well within a second.
constexpr auto kQuietPeriod = std::chrono::milliseconds(50);
constexpr auto kLongestDelay = std::chrono::milliseconds(400);

}  // namespace

FileWatch::FileWatch() : m_notifier(std::make_unique<platform::FolderNotifier>()) {}

FileWatch::~FileWatch()
{
    StopFileWatchThread();
    std::lock_guard lock(m_lock);
    m_notifier.reset();
}

bool FileWatch::readStamp(const std::string& path, Stamp& stamp)
{
    return platform::readFileStamp(path, stamp);
}

void FileWatch::signalWakeUp()
{
    m_notifier->wakeUp();
}

int FileWatch::AddWatch(const std::string& path, FileWatchListener* listener)
{
    if (path.empty() || !m_notifier->valid())
        return 0;
    std::lock_guard lock(m_lock);
    Record record;
    record.path = path;
    record.listener = listener;
    const bool folderWatch = lastSeparator(path) == path.size() - 1;
    if (!folderWatch && !readStamp(path, record.stamp))
        return 0;
    // A symbolic link is watched where the file it points to lives, which is what changes.
    const std::string watched = folderWatch ? path : platform::canonicalPath(path);
    record.folder = platform::canonicalFolder(directoryOf(watched));
    if (record.folder.empty())
        return 0;
    if (!folderWatch)
        record.name = nameOf(watched);

    const bool known = std::any_of(m_folders.begin(), m_folders.end(),
                                   [&](const Folder& f) { return f.path == record.folder; });
    if (!known) {
        const int descriptor = m_notifier->addFolder(record.folder);
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
                m_notifier->removeFolder(f->descriptor);
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
    platform::lowerThreadPriority();
    std::unique_lock lock(m_lock);
    std::vector<platform::FolderNotifier::Event> events;
    for (;;) {
        const int timeout = pollTimeout(Clock::now());
        lock.unlock();
        events.clear();
        m_notifier->wait(timeout, events);
        lock.lock();
        if (m_stop)
            break;
        const Clock::time_point now = Clock::now();
        readEvents(events, now);
        checkDueFolders(now);
    }
    m_notifier->removeAll();
    m_folders.clear();
    m_records.clear();
    // A wake-up still pending would end the next worker's first wait at once.
    events.clear();
    m_notifier->wait(0, events);
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

void FileWatch::readEvents(const std::vector<platform::FolderNotifier::Event>& events,
                           Clock::time_point now)
{
    for (const platform::FolderNotifier::Event& event : events) {
        if (event.overflow) {
            // Events were lost: every folder is looked at again.
            for (Folder& folder : m_folders)
                markPending(folder, now);
            continue;
        }
        Folder* folder = findFolder(event.folder);
        if (folder && folderWants(*folder, event.name))
            markPending(*folder, now);
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
