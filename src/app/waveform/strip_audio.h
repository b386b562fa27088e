#pragma once

#include <QObject>

#include <atomic>
#include <memory>

#include "media_cache.h"
#include "spectrogram.h"
#include "waveform_analysis.h"

namespace verbanta::app {

class MediaBackend;

/// The sound behind the timing strip: the waveform analysis and the spectrogram tiles of the
/// audio track the player plays, made on worker threads as soon as a file starts opening and
/// made again when the player switches tracks. Results arrive as `changed` on this thread.
class StripAudio : public QObject {
    Q_OBJECT
public:
    explicit StripAudio(MediaBackend& media, QObject* parent = nullptr);
    ~StripAudio() override;

    /// The analysis of the file being played; null without one.
    const media::WaveformAnalysis* waveform() const { return m_waveform.get(); }
    /// The spectrogram of the same track, started on the first ask; null without a file.
    media::SpectrogramTiles* spectrogram();
    /// The length of the file as far as it is known, in ms; 0 when unknown.
    double lengthMs() const;

signals:
    /// Peaks or tiles arrived, or the analysis was started, replaced or dropped.
    void changed();
    /// The cache folder cannot be written: the one note the user gets about it.
    void cacheUnwritable();

private:
    void openStateChanged(int newState);
    void playerStreamChanged(int stream);
    void start(int stream);
    void drop();
    /// Worker threads: one queued call to `arrived` at a time.
    void post();
    void arrived();
    /// The stream analysed: the one asked for, or the file's default once it is known.
    int analysedStream() const;

    MediaBackend& m_media;
    media::MediaCache m_cache;
    std::string m_path;
    int m_stream = -1;
    std::unique_ptr<media::SpectrogramTiles> m_spectrogram;
    std::unique_ptr<media::WaveformAnalysis> m_waveform;
    std::atomic<bool> m_posted{false};
    bool m_noted = false;
};

}  // namespace verbanta::app
