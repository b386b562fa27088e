#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "document/autosave_scheduler.h"
#include "document/autosave_store.h"

namespace verbanta {
class Document;
class Messenger;
struct AppSettings;
}  // namespace verbanta

namespace verbanta::app {

/// Recovery copies of the open document: a timer on the window's thread serialises the model
/// when a copy is due, and a worker thread writes it into the per-user recovery folder, so a
/// slow disk never freezes the window. Also the place the start-up offer finds left copies.
class AutosaveController : public QObject, public AutosaveWriter, public AutosaveClock {
    Q_OBJECT
public:
    /// How often the timer asks whether a copy is due.
    static constexpr int kTickMs = 1000;

    /// The recovery folder in the user's application data ("recovery" below
    /// QStandardPaths::AppDataLocation).
    static QString defaultFolder();

    AutosaveController(Document& document, const AppSettings& settings, Messenger& messenger,
                       const QString& folder = defaultFolder(), QObject* parent = nullptr);
    /// Carries out every request still queued (a removal after "don't save" must happen)
    /// before the worker ends.
    ~AutosaveController() override;

    RecoveryStore& store() { return m_store; }
    AutosaveScheduler& scheduler() { return m_scheduler; }
    QString folder() const;

    /// One look at the document: writes a copy when one is due.
    void tick();
    /// The document was saved, replaced or closed without saving: its copy goes.
    void documentClean();
    /// A left copy was restored into the document: it stays on disk until this run's own copy
    /// of the document is written or the document is clean, then it goes.
    void documentRestored(const RecoveryEntry& entry);
    /// Waits until the worker has carried out every request so far (tests and exit).
    void waitUntilIdle();

    // AutosaveWriter, on the window's thread.
    void writeCopy(RecoverySnapshot snapshot) override;
    void removeCopy() override;
    // AutosaveClock.
    std::int64_t nowMs() const override { return m_clock.elapsed(); }

signals:
    /// A copy reached the disk (queued to the window's thread).
    void copyWritten();

private:
    struct Job {
        bool write = false;  ///< a copy to write; otherwise this run's copy is removed
        RecoverySnapshot snapshot;
        std::vector<RecoveryEntry> replaced;  ///< restored copies to delete once it is done
    };
    void run();
    void enqueue(Job job);

    Document& m_document;
    QElapsedTimer m_clock;
    RecoveryStore m_store;
    AutosaveScheduler m_scheduler;
    QTimer m_timer;
    std::vector<RecoveryEntry> m_restored;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_jobs;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_worker;
};

}  // namespace verbanta::app
