#pragma once

// The system's change notifications for folders (inotify on Linux, ReadDirectoryChangesW on
// Windows) and what tells one version of a file from another, for the file watch.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace verbanta::platform {

/// What tells one version of a file from another: a file renamed over the old one is another
/// file (device and inode, or volume and file index) even when it keeps the old time.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};
/// False when the file cannot be looked at.
bool readFileStamp(const std::string& path, FileStamp& stamp);

/// The folder's canonical path with a trailing separator, or empty when it does not exist.
std::string canonicalFolder(const std::string& directory);
/// The file's path with every link followed, or the path itself when it cannot be resolved.
std::string canonicalPath(const std::string& path);

/// Notifications of changes in folders (not their subfolders): names created, deleted or
/// renamed, and contents, sizes or times changed. One thread waits; any thread adds, removes
/// and wakes.
class FolderNotifier {
public:
    struct Event {
        int folder = -1;    ///< the id addFolder gave
        std::string name;   ///< the name in the folder, empty for the folder itself
        bool overflow = false;  ///< events were lost: every folder may have changed
    };

    FolderNotifier();
    ~FolderNotifier();
    FolderNotifier(const FolderNotifier&) = delete;
    FolderNotifier& operator=(const FolderNotifier&) = delete;

    /// Whether the wake-up could be set up; nothing works without it.
    bool valid() const;
    /// Starts watching a folder: its id, or -1.
    int addFolder(const std::string& folder);
    void removeFolder(int folder);
    /// Stops watching every folder.
    void removeAll();
    /// Makes the waiting thread's wait return at once.
    void wakeUp();
    /// Waits for events, a wake-up or the timeout (milliseconds, -1 for none) and appends the
    /// events that came.
    void wait(int timeoutMs, std::vector<Event>& events);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace verbanta::platform
