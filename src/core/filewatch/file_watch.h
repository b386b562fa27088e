#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/folder_notifier.h"

namespace verbanta {

class Messenger;

/// Receives the id of a changed file on the file watch's worker thread. The app forwards the id
/// to its user-interface thread with a queued call. The worker holds the watch's lock during
/// the call, so an implementation returns at once and never calls back into the `FileWatch`.
class FileWatchListener {
public:
    virtual ~FileWatchListener() = default;
    virtual void fileChanged(int watchId) = 0;
};

/// Notices when another program changes a watched file: a table of watched files, one change
/// notification per folder and one low-priority worker thread that compares the files' last
/// write times and tells the listener of each changed file. The worker never touches a model.
class FileWatch {
public:
    FileWatch();
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    /// Watches a file (a path ending in a separator watches a folder as such) and starts the worker if
    /// none runs. The id, from 1 upward, or 0 when the path is empty or the file's time cannot
    /// be read. The listener must outlive the watch.
    int AddWatch(const std::string& path, FileWatchListener* listener);
    /// Attaches the shared auto-reload option to a watch; it is read, on the user-interface
    /// thread, at the moment `AskReload` runs. No effect for an unknown id.
    void SetWatchAutoReload(int id, const bool* flag);
    /// Forgets a watch (no effect for 0 or an unknown id); stops the worker with the last one.
    void RemoveWatch(int id);
    /// Stops the worker and waits for it; the worker forgets every watch as it leaves.
    void StopFileWatchThread();
    /// Whether the changed file should be read again: at once when its auto-reload flag is
    /// set and nothing is unsaved, else the user's answer; with unsaved changes the question
    /// says they will be lost and No is the default. No for an unknown id. User-interface
    /// thread only.
    bool AskReload(int id, Messenger& messenger, bool unsavedChanges = false);

    bool isWorkerRunning() const;
    std::size_t watchCount() const;

private:
    /// What tells one version of a file from another; all zero while the file is missing.
    using Stamp = platform::FileStamp;
    struct Record {
        std::string path;
        std::string folder;  ///< the canonical folder, with its trailing separator
        std::string name;    ///< the file name, empty for a folder watch
        Stamp stamp;
        FileWatchListener* listener = nullptr;
        const bool* autoReload = nullptr;
    };
    using Clock = std::chrono::steady_clock;
    struct Folder {
        std::string path;
        int descriptor = -1;  ///< the folder's id in the notifier
        bool pending = false;
        Clock::time_point firstEvent;
        Clock::time_point due;
    };

    static bool readStamp(const std::string& path, Stamp& stamp);
    void signalWakeUp();
    void workerLoop();
    void readEvents(const std::vector<platform::FolderNotifier::Event>& events,
                    Clock::time_point now);
    void markPending(Folder& folder, Clock::time_point now);
    void checkDueFolders(Clock::time_point now);
    int pollTimeout(Clock::time_point now) const;
    Folder* findFolder(int descriptor);
    bool folderWants(const Folder& folder, const std::string& name) const;

    mutable std::mutex m_lock;
    int m_nextId = 1;
    std::map<int, Record> m_records;
    std::vector<Folder> m_folders;
    std::unique_ptr<platform::FolderNotifier> m_notifier;
    bool m_stop = false;
    std::thread m_worker;
};

}  // namespace verbanta
