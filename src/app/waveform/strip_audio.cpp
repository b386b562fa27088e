#include "waveform/strip_audio.h"

#include <QFile>

#include <algorithm>

#include "player/media_backend.h"

namespace verbanta::app {

StripAudio::StripAudio(MediaBackend& media, QObject* parent)
    : QObject(parent), m_media(media), m_cache(media::MediaCache::defaultFolder())
{
    connect(&media, &MediaBackend::openStateChanged, this,
            [this](int, int state) { openStateChanged(state); });
    connect(&media, &MediaBackend::audioStreamChanged, this, &StripAudio::playerStreamChanged);
}

StripAudio::~StripAudio()
{
    // The workers stop before what their callbacks reach goes.
    m_spectrogram.reset();
    m_waveform.reset();
}

void StripAudio::openStateChanged(int state)
{
    if (state == MediaBackend::Opening) {
        // Started while the player is still opening the file: the default track is the one
        // the player starts with, and a different choice restarts it.
        m_path = QFile::encodeName(m_media.fileName()).toStdString();
        start(m_media.audioStream());
    } else if (state == MediaBackend::Closed) {
        drop();
    } else if (state == MediaBackend::Open) {
        playerStreamChanged(m_media.audioStream());
    }
}

void StripAudio::playerStreamChanged(int stream)
{
    if (m_waveform && stream >= 0 && stream != analysedStream())
        start(stream);
}

int StripAudio::analysedStream() const
{
    if (!m_waveform)
        return -1;
    const int resolved = m_waveform->state().stream;
    return resolved >= 0 ? resolved : m_stream;
}

void StripAudio::start(int stream)
{
    m_spectrogram.reset();
    m_waveform.reset();
    m_stream = stream;
    if (!m_path.empty())
        m_waveform =
            std::make_unique<media::WaveformAnalysis>(m_path, stream, &m_cache, [this] { post(); });
    emit changed();
}

void StripAudio::drop()
{
    m_spectrogram.reset();
    m_waveform.reset();
    m_path.clear();
    m_stream = -1;
    emit changed();
}

media::SpectrogramTiles* StripAudio::spectrogram()
{
    if (!m_spectrogram && m_waveform)
        m_spectrogram =
            std::make_unique<media::SpectrogramTiles>(m_path, analysedStream(), [this] { post(); });
    return m_spectrogram.get();
}

double StripAudio::lengthMs() const
{
    if (m_media.isDurationValid())
        return m_media.duration() * 1000.0;
    if (!m_waveform)
        return 0.0;
    const media::WaveformState s = m_waveform->state();
    return std::max(s.expectedEndMs, s.endMs);
}

void StripAudio::post()
{
    if (m_posted.exchange(true))
        return;
    QMetaObject::invokeMethod(this, &StripAudio::arrived, Qt::QueuedConnection);
}

void StripAudio::arrived()
{
    m_posted = false;
    if (!m_noted && m_cache.takeUnwritableNote()) {
        m_noted = true;
        emit cacheUnwritable();
    }
    emit changed();
}

}  // namespace verbanta::app
