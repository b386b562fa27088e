#pragma once

#include <QSignalSpy>
#include <QtTest>

#include <QDeadlineTimer>
#include <cmath>
#include <memory>

#include "editor/player_playback.h"
#include "frame_fixture.h"
#include "player/media_backend.h"
#include "player/player_view.h"

// The player's tests run on a clip the build generates: 40 s at 25 frames per second, 320 x 64,
// whose frames carry their own number as 16 bars in the upper half (white = 1, lowest bit on
// the left), with a sine tone as sound.
namespace verbanta::test {

/// Seven captions in the clip's first twelve seconds, yellow by the paragraph style, with an
/// end sync at 2 s.
inline const char* const kClipCaptions =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    "P { font-size:20pt; text-align:center; color:yellow; }\r\n"
    ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>\r\n첫째 자막\r\n"
    "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n"
    "<SYNC Start=3000><P Class=KRCC>\r\n둘째 자막\r\n"
    "<SYNC Start=8000><P Class=KRCC>\r\n셋째 자막\r\n"
    "<SYNC Start=9000><P Class=KRCC>\r\n넷째 자막\r\n"
    "<SYNC Start=10000><P Class=KRCC>\r\n다섯째 자막\r\n"
    "<SYNC Start=11000><P Class=KRCC>\r\n여섯째 자막\r\n"
    "</BODY>\r\n</SAMI>\r\n";

/// The frame number shown in a picture of the clip, or -1.
inline int clipFrameNumber(const QImage& image)
{
    if (image.isNull())
        return -1;
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    // The bars are 20 wide in the clip's upper half; scale to the picture drawn.
    const double sx = img.width() / 320.0;
    const double sy = img.height() / 64.0;
    int n = 0;
    for (int bit = 0; bit < 16; ++bit) {
        const QRgb p = img.pixel(static_cast<int>((bit * 20 + 10) * sx), static_cast<int>(16 * sy));
        if (qGray(p) > 128)
            n |= 1 << bit;
    }
    return n;
}

/// A shown main window with helpers to open the clip and seek in it.
struct PlayerFixture {
    std::unique_ptr<FrameFixture> f = std::make_unique<FrameFixture>();

    PlayerFixture()
    {
        // The clock clip's bars flip half its picture at each power of two, which reads as a
        // shot change; captures here are about the position, not the snapping.
        settings().SnapCaptureToShot = false;
        f->frame->resize(1000, 700);
        f->frame->show();
        QApplication::processEvents();
    }

    app::CPlayerView& player() const { return f->frame->playerView(); }
    app::MediaBackend& media() const { return player().media(); }
    CaptionEditor& editor() const { return f->editor(); }
    AppSettings& settings() const { return f->t.settings; }
    bool enabled(int id) const { return player().control(id)->isEnabled(); }

    /// Opens a clip and waits until it is open; false when this machine cannot play it.
    bool openClip(const QString& path = QStringLiteral(VERBANTA_TEST_VIDEO)) const
    {
        if (!media().isAvailable())
            return false;
        player().OpenMedia(path);
        return QTest::qWaitFor([&] { return player().IsMediaOpen(); }, 10000);
    }
    /// Seeks through the player's own operation and waits until the seek has finished.
    /// Seeks and waits for the seek that lands there: a late report of an earlier seek (the
    /// one that opening the clip makes, on a loaded machine) is not taken for it.
    bool seekAndWait(std::int32_t ms) const
    {
        QSignalSpy done(&media(), &app::MediaBackend::positionChanged);
        if (!player().SeekTo(ms, false))
            return false;
        const double target = ms / 1000.0;
        QDeadlineTimer deadline(5000);
        for (qsizetype seen = 0; !deadline.hasExpired();) {
            for (; seen < done.count(); ++seen)
                if (std::abs(done.at(seen).at(1).toDouble() - target) < 0.1)
                    return true;
            done.wait(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        }
        return false;
    }
    /// Waits until the position has stopped changing for a while: a seek may report the time
    /// asked for first and the frame it landed on later, which a loaded machine delays.
    bool settle() const
    {
        QSignalSpy moves(&media(), &app::MediaBackend::positionChanged);
        for (int i = 0; i < 20; ++i) {
            if (!moves.wait(300))
                return true;
            moves.clear();
        }
        return false;
    }
    /// Waits for the next finished seek, whoever asked for it.
    static bool nextSeek(QSignalSpy& spy) { return !spy.isEmpty() || spy.wait(5000); }
    bool loadCaptions() const
    {
        return f->open(f->write(QStringLiteral("clip.smi"), kClipCaptions));
    }
};

}  // namespace verbanta::test
