#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace verbanta::media {

/// The worker thread of one media analysis: runs a job once, lets any thread cancel it or wait
/// for it, and cancels and joins it when destroyed.
class AnalysisThread {
public:
    AnalysisThread() = default;
    ~AnalysisThread() { stop(); }
    AnalysisThread(const AnalysisThread&) = delete;
    AnalysisThread& operator=(const AnalysisThread&) = delete;

    /// Runs the job on the worker thread; the job reads the flag to stop early.
    void start(std::function<void(const std::atomic<bool>& cancelled)> job)
    {
        m_thread = std::thread([this, job = std::move(job)] {
            job(m_cancelled);
            std::lock_guard lock(m_mutex);
            m_finished = true;
            m_done.notify_all();
        });
    }

    /// Asks the job to stop; returns at once.
    void cancel() { m_cancelled = true; }

    /// Blocks until the job has returned.
    void wait()
    {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [this] { return m_finished; });
    }

    bool finished() const
    {
        std::lock_guard lock(m_mutex);
        return m_finished;
    }

    /// Cancels and joins; the owner calls this first thing in its destructor, before the
    /// members the job uses go away.
    void stop()
    {
        cancel();
        if (m_thread.joinable())
            m_thread.join();
    }

    const std::atomic<bool>& cancelledFlag() const { return m_cancelled; }

private:
    std::atomic<bool> m_cancelled{false};
    mutable std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

}  // namespace verbanta::media
