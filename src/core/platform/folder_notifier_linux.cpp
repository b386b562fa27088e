#include "platform/folder_notifier.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace verbanta::platform {
namespace {

// Changes of names and of contents or times in the folder, not in its subfolders. Renames
// count because many editors save by writing a new file and renaming it over the old one.
constexpr std::uint32_t kFolderEvents = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE |
                                        IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR;

}  // namespace

bool readFileStamp(const std::string& path, FileStamp& stamp)
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

std::string canonicalPath(const std::string& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string result(resolved);
    std::free(resolved);
    return result;
}

struct FolderNotifier::State {
    std::atomic<int> inotify = -1;  ///< made by the first folder; the waiting thread reads it
    int wakeUp = -1;
};

FolderNotifier::FolderNotifier() : m_state(std::make_unique<State>())
{
    m_state->wakeUp = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

FolderNotifier::~FolderNotifier()
{
    removeAll();
    if (m_state->wakeUp >= 0)
        ::close(m_state->wakeUp);
}

bool FolderNotifier::valid() const
{
    return m_state->wakeUp >= 0;
}

int FolderNotifier::addFolder(const std::string& folder)
{
    if (m_state->inotify < 0)
        m_state->inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_state->inotify < 0)
        return -1;
    return ::inotify_add_watch(m_state->inotify, folder.c_str(), kFolderEvents);
}

void FolderNotifier::removeFolder(int folder)
{
    ::inotify_rm_watch(m_state->inotify, folder);
}

void FolderNotifier::removeAll()
{
    // Closing the instance removes its watches.
    if (const int inotify = m_state->inotify.exchange(-1); inotify >= 0)
        ::close(inotify);
}

void FolderNotifier::wakeUp()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_state->wakeUp, &one, sizeof one);
}

void FolderNotifier::wait(int timeoutMs, std::vector<Event>& events)
{
    pollfd waitList[2] = {{m_state->wakeUp, POLLIN, 0}, {m_state->inotify, POLLIN, 0}};
    const int ready = ::poll(waitList, 2, timeoutMs);
    if (ready <= 0)
        return;
    if (waitList[0].revents & POLLIN) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = ::read(m_state->wakeUp, &count, sizeof count);
    }
    if (!(waitList[1].revents & POLLIN))
        return;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t length = ::read(m_state->inotify, buffer, sizeof buffer);
        if (length <= 0)
            return;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            Event e;
            e.folder = event->wd;
            e.overflow = (event->mask & IN_Q_OVERFLOW) != 0;
            if (event->len)
                e.name = event->name;
            events.push_back(std::move(e));
        }
    }
}

}  // namespace verbanta::platform
