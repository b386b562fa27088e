#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "analysis_thread.h"
#include "media_cache.h"
#include "shot_detector.h"

namespace verbanta::app {

class MediaBackend;

/// The shot changes of the video the player opens: found on a worker thread of the lowest
/// priority as soon as a file starts opening (or read from the cache), dropped when it
/// closes. The window reads them from here for the strip's lines, the position bar's marks,
/// the jumps to the previous and next one and the snapping of captures.
class ShotChangeTrack : public QObject {
    Q_OBJECT
public:
    enum class Status {
        None,     ///< no file
        Running,  ///< being found: `percent` says how far
        Ready,    ///< found (a file cut short keeps those before the damage)
        NoVideo,  ///< sound only: there are none
        Failed,   ///< the video cannot be read
    };

    explicit ShotChangeTrack(MediaBackend& media, QObject* parent = nullptr);
    ~ShotChangeTrack() override;

    Status status() const { return m_status; }
    int percent() const { return m_percent.load(); }
    /// Sorted, in ms on the player's timeline; empty until `Ready`.
    const std::vector<std::int32_t>& shotsMs() const { return m_shotsMs; }
    bool hasShots() const { return !m_shotsMs.empty(); }
    /// The shot change after the position, or -1.
    std::int32_t nextAfter(std::int32_t ms) const;
    /// The shot change before the position, or -1. A position read at a shot change may lie
    /// a millisecond past it (the frame's time is finer than a ms), so that one is not taken.
    std::int32_t previousBefore(std::int32_t ms) const;

    /// Finds the shot changes of a file; what was found before is dropped.
    void start(const std::string& path);
    void drop();

signals:
    /// The progress, the result, or a drop.
    void changed();
    /// Said once per file when it has no shot changes to show: sound only, unreadable video.
    void notice(const QString& text);

private:
    void finished(std::uint64_t generation);

    MediaBackend& m_media;
    media::MediaCache m_cache;
    std::unique_ptr<media::AnalysisThread> m_thread;
    std::uint64_t m_generation = 0;  ///< which start a queued report belongs to
    std::mutex m_mutex;
    media::ShotAnalysis m_result;  ///< the worker's, under the mutex
    std::atomic<int> m_percent{0};
    Status m_status = Status::None;
    std::vector<std::int32_t> m_shotsMs;
};

}  // namespace verbanta::app
