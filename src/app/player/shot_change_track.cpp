#include "player/shot_change_track.h"

#include <QFile>

#include <algorithm>
#include <limits>

#include "platform/system.h"
#include "player/media_backend.h"

namespace verbanta::app {

ShotChangeTrack::ShotChangeTrack(MediaBackend& media, QObject* parent)
    : QObject(parent), m_media(media), m_cache(media::MediaCache::defaultFolder())
{
    connect(&media, &MediaBackend::openStateChanged, this, [this](int, int state) {
        if (state == MediaBackend::Opening)
            start(QFile::encodeName(m_media.fileName()).toStdString());
        else if (state == MediaBackend::Closed)
            drop();
    });
}

ShotChangeTrack::~ShotChangeTrack()
{
    m_thread.reset();
}

std::int32_t ShotChangeTrack::nextAfter(std::int32_t ms) const
{
    const auto it = std::upper_bound(m_shotsMs.begin(), m_shotsMs.end(), ms);
    return it == m_shotsMs.end() ? -1 : *it;
}

std::int32_t ShotChangeTrack::previousBefore(std::int32_t ms) const
{
    const auto it = std::lower_bound(m_shotsMs.begin(), m_shotsMs.end(), ms - 1);
    return it == m_shotsMs.begin() ? -1 : *(it - 1);
}

void ShotChangeTrack::drop()
{
    m_thread.reset();  // cancels and waits: no report of the old file comes after this
    ++m_generation;
    m_percent = 0;
    m_shotsMs.clear();
    m_status = Status::None;
    emit changed();
}

void ShotChangeTrack::start(const std::string& path)
{
    drop();
    if (path.empty())
        return;
    m_status = Status::Running;
    const std::uint64_t generation = m_generation;
    m_thread = std::make_unique<media::AnalysisThread>();
    m_thread->start([this, path, generation](const std::atomic<bool>& cancelled) {
        // The window, the player and the waveform come first; the decoder's threads, started
        // from here, inherit the priority.
        platform::lowerThreadPriority();
        auto progress = [this, generation](double share) {
            const int percent = std::clamp(static_cast<int>(share * 100), 0, 99);
            if (m_percent.exchange(percent) != percent)
                QMetaObject::invokeMethod(
                    this, [this, generation] {
                        if (generation == m_generation)
                            emit changed();
                    },
                    Qt::QueuedConnection);
        };
        media::ShotAnalysis result = media::findShotChanges(path, &cancelled, progress, &m_cache);
        {
            std::lock_guard lock(m_mutex);
            m_result = std::move(result);
        }
        QMetaObject::invokeMethod(this, [this, generation] { finished(generation); },
                                  Qt::QueuedConnection);
    });
    emit changed();
}

void ShotChangeTrack::finished(std::uint64_t generation)
{
    if (generation != m_generation)
        return;
    media::ShotAnalysis result;
    {
        std::lock_guard lock(m_mutex);
        result = std::move(m_result);
    }
    m_percent = 100;
    QString note;
    switch (result.failure) {
        case media::ShotFailure::None: {
            m_status = Status::Ready;
            m_shotsMs.reserve(result.changes.shotsMs.size());
            for (const std::int64_t ms : result.changes.shotsMs)
                if (ms >= 0 && ms <= std::numeric_limits<std::int32_t>::max())
                    m_shotsMs.push_back(static_cast<std::int32_t>(ms));
            if (result.changes.cutShort)
                note = QString::fromUtf8("영상이 중간에 끊겨 있어 그 앞의 장면 전환만 찾았습니다.");
            break;
        }
        case media::ShotFailure::Cancelled:
            m_status = Status::None;
            break;
        case media::ShotFailure::NoVideo:
            m_status = Status::NoVideo;
            note = QString::fromUtf8("소리만 있는 파일이라 장면 전환이 없습니다.");
            break;
        case media::ShotFailure::Unreadable:
        case media::ShotFailure::NoDecoder:
            m_status = Status::Failed;
            // A file the player cannot open either has been named as such already.
            if (m_media.openState() != MediaBackend::Open)
                break;
            note = QString::fromUtf8("영상을 읽을 수 없어 장면 전환을 찾지 못했습니다.");
            if (!result.detail.empty())
                note += QStringLiteral(" (%1)").arg(QString::fromStdString(result.detail));
            break;
    }
    emit changed();
    if (!note.isEmpty())
        emit notice(note);
}

}  // namespace verbanta::app
