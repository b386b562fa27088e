#include "screenshot.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPixmap>
#include <QWidget>

#include "document/companion_video.h"
#include "document/file_operations.h"
#include "main_frame.h"
#include "player/player_view.h"
#include "player/shot_change_track.h"
#include "waveform/timing_strip.h"

namespace verbanta::app {

bool saveScreenshot(QWidget& widget, const QString& path)
{
    // Let pending layouts and paints happen first so the picture shows the finished window.
    QApplication::processEvents();
    const QPixmap picture = widget.grab();
    return !picture.isNull() && picture.save(path, "PNG");
}

void waitForCompanionVideo(CMainFrame& frame, const QString& subtitlePath)
{
    if (subtitlePath.isEmpty() ||
        !findCompanionVideo(subtitlePath.toStdString(), systemFileOperations()))
        return;
    // The player opens its media in the background; a video that cannot be played gives up
    // the wait at the deadline.
    const QDeadlineTimer opened(5000);
    while (!frame.playerView().IsMediaOpen() && !opened.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    // The first picture follows the open, and the timing strip draws the sound and the shot
    // changes.
    const QDeadlineTimer picture(500);
    while (!picture.hasExpired()) QApplication::processEvents(QEventLoop::AllEvents, 50);
    TimingStrip& strip = frame.timingStrip();
    const ShotChangeTrack& shots = frame.playerView().shotChanges();
    const QDeadlineTimer sound(10000);
    while (strip.isVisible() &&
           (!strip.drewEverything() || shots.status() == ShotChangeTrack::Status::Running) &&
           !sound.hasExpired()) {
        strip.repaint();
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

}  // namespace verbanta::app
