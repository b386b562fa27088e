#pragma once

#include <functional>
#include <memory>
#include <shared_mutex>
#include <span>
#include <string>
#include <vector>

#include "analysis_thread.h"
#include "media_file.h"
#include "peak_pyramid.h"

namespace verbanta::media {

class MediaCache;
struct CacheKey;

/// Where the analysis of a waveform stands.
enum class WaveformStatus {
    Running,
    Complete,
    CutShort,    ///< decoding stopped before the stream's end: what was decoded is kept
    NoAudio,     ///< the file has no audio stream
    Unreadable,  ///< the file, the stream or its codec cannot be read (see `failure`)
    Cancelled,
};

/// How the analysis used the cache.
enum class CacheUse {
    None,        ///< no cache given, or nothing was stored (cancelled, failed, file changed)
    Read,        ///< the peaks came from the cache
    Written,     ///< the peaks were decoded and stored
    Unwritable,  ///< the peaks were decoded but could not be stored
};

/// A snapshot of an analysis; times are milliseconds on the player's timeline.
struct WaveformState {
    WaveformStatus status = WaveformStatus::Running;
    OpenFailure failure = OpenFailure::None;
    std::string detail;  ///< FFmpeg's reason for a failure or an early stop
    int stream = -1;     ///< the container's stream index analysed
    int sampleRate = 0;
    int channels = 0;
    double startMs = 0.0;         ///< where the first decoded sample lies (may be below 0)
    double endMs = 0.0;           ///< how far the sound is decoded; where it stopped when cut short
    double expectedEndMs = -1.0;  ///< where the file says the track ends; negative if unknown
    bool hasSound = false;        ///< some sample was decoded
    CacheUse cache = CacheUse::None;

    bool finished() const { return status != WaveformStatus::Running; }
};

/// The waveform of one audio stream of a media file: decoded on a worker thread, streaming,
/// mixed to mono, into a peak pyramid that any thread may read while it grows. Reads the
/// cache first when one is given, and stores finished results there.
///
/// For the editor's timing strip:
/// - One MediaCache serves the whole run (folder `MediaCache::defaultFolder()`); when an
///   analysis ends, its `takeUnwritableNote()` says, once, that the status bar should note
///   that the cache cannot be written.
/// - The stream is the track mpv plays: "track-list/N/ff-index" of its selected audio track
///   (`probeMedia()` lists the audio streams with both numbers). On a track switch make a new
///   analysis; destroying the old one cancels it.
/// - `onProgress` comes on the worker thread: queue a repaint on the UI thread, which then
///   asks `state()` and `columns()`; the queued call must not assume the analysis still exists.
/// - paintEvent: `columns(viewStartMs, msPerPixel, peaks)` for the strip's width; an empty
///   peak is where there is no sound, a full one spans min..max of 32768.
/// - `state()`: NoAudio and Unreadable say why there is no waveform (`detail` is FFmpeg's
///   reason); CutShort keeps the peaks up to `endMs`, where the file stopped; while Running,
///   `endMs` against `expectedEndMs` is the progress.
class WaveformAnalysis {
public:
    /// Starts at once. `stream` -1 takes the default audio stream. `cache` may be null and
    /// must outlive this object. `onProgress` runs on the worker thread a few times a second
    /// while peaks arrive and once at the end; it must not block or destroy this object.
    WaveformAnalysis(std::string path, int stream, MediaCache* cache,
                     std::function<void()> onProgress = {});
    ~WaveformAnalysis();
    WaveformAnalysis(const WaveformAnalysis&) = delete;
    WaveformAnalysis& operator=(const WaveformAnalysis&) = delete;

    /// Stops the worker within one packet's decoding; returns at once.
    void cancel() { m_thread.cancel(); }
    /// Blocks until the analysis has ended.
    void wait() { m_thread.wait(); }

    WaveformState state() const;

    /// One peak per column of `msPerColumn` from `fromMs`, for drawing; columns without
    /// decoded sound are empty. Takes microseconds for a screen's width at any zoom.
    void columns(double fromMs, double msPerColumn, std::span<Peak> out) const;

    /// One peak per `resolutionMs` from time 0 up to the end of the decoded sound.
    std::vector<Peak> peaks(int resolutionMs) const;

    /// The bytes the peaks take.
    std::size_t memoryBytes() const;

private:
    void run(const std::atomic<bool>& cancelled);
    bool readCache(int stream);
    void decode(class AudioDecoder& decoder, const std::atomic<bool>& cancelled);
    void storeInCache(const CacheKey& key);
    void update(const std::function<void(WaveformState&)>& change);

    const std::string m_path;
    const int m_requestedStream;
    MediaCache* const m_cache;
    const std::function<void()> m_onProgress;

    mutable std::shared_mutex m_mutex;  ///< guards the two below
    PeakPyramid m_pyramid;
    WaveformState m_state;

    AnalysisThread m_thread;  ///< last: stopped before the members above go
};

}  // namespace verbanta::media
