#include "autosave_controller.h"

#include <QDateTime>
#include <QDir>
#include <QMetaObject>
#include <QStandardPaths>

#include "document/autosave_snapshot.h"
#include "document/document.h"
#include "document/file_operations.h"

namespace verbanta::app {

QString AutosaveController::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/recovery");
}

AutosaveController::AutosaveController(Document& document, const AppSettings& settings,
                                       Messenger& messenger, const QString& folder,
                                       QObject* parent)
    : QObject(parent),
      m_document(document),
      m_clock([] {
          QElapsedTimer clock;
          clock.start();
          return clock;
      }()),
      m_store(folder.toStdString(), RecoveryStore::newSessionId(), systemFileOperations()),
      m_scheduler(settings, *this, *this, messenger)
{
    m_worker = std::thread([this] { run(); });
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &AutosaveController::tick);
    m_timer.start();
}

AutosaveController::~AutosaveController()
{
    m_timer.stop();
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_worker.join();
}

QString AutosaveController::folder() const
{
    return QString::fromStdString(m_store.folder());
}

void AutosaveController::tick()
{
    m_scheduler.tick(m_document.isModified(), [this] {
        return makeRecoverySnapshot(m_document, QDateTime::currentSecsSinceEpoch());
    });
}

void AutosaveController::documentClean()
{
    m_scheduler.documentClean();
}

void AutosaveController::documentRestored(const RecoveryEntry& entry)
{
    m_restored.push_back(entry);
    m_scheduler.makeDue();
    tick();
}

void AutosaveController::writeCopy(RecoverySnapshot snapshot)
{
    Job job;
    job.write = true;
    job.snapshot = std::move(snapshot);
    job.replaced = std::move(m_restored);
    m_restored.clear();
    enqueue(std::move(job));
}

void AutosaveController::removeCopy()
{
    Job job;
    job.replaced = std::move(m_restored);
    m_restored.clear();
    enqueue(std::move(job));
}

void AutosaveController::enqueue(Job job)
{
    {
        std::lock_guard lock(m_mutex);
        // A copy still waiting is out of date: the newer one replaces it, and keeps the
        // restored copies it was to delete.
        if (job.write && !m_jobs.empty() && m_jobs.back().write) {
            Job& waiting = m_jobs.back();
            for (RecoveryEntry& entry : waiting.replaced)
                job.replaced.push_back(std::move(entry));
            waiting = std::move(job);
        } else {
            m_jobs.push_back(std::move(job));
        }
    }
    m_wake.notify_all();
}

void AutosaveController::waitUntilIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

void AutosaveController::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            // Only stopping is left, and everything asked for is done.
            return;
        }
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();

        bool done = true;
        if (job.write) {
            done = m_store.writeCopy(job.snapshot.bytes, job.snapshot.manifest);
            if (done) {
                QMetaObject::invokeMethod(this, &AutosaveController::copyWritten,
                                          Qt::QueuedConnection);
            } else {
                const std::string folder = m_store.folder();
                QMetaObject::invokeMethod(
                    this, [this, folder] { m_scheduler.writeFailed(folder); },
                    Qt::QueuedConnection);
            }
        } else {
            m_store.removeOwnCopy();
        }
        // A restored copy goes only once this run holds the same work, or none is needed.
        if (done)
            for (const RecoveryEntry& entry : job.replaced)
                m_store.removeEntry(entry);
        else if (!job.replaced.empty())
            QMetaObject::invokeMethod(
                this,
                [this, kept = std::move(job.replaced)] {
                    m_restored.insert(m_restored.end(), kept.begin(), kept.end());
                },
                Qt::QueuedConnection);

        lock.lock();
        m_busy = false;
        if (m_jobs.empty())
            m_idle.notify_all();
    }
}

}  // namespace verbanta::app
