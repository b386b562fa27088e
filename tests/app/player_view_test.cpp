#include <QAbstractButton>
#include <QLabel>
#include <QSignalSpy>
#include <QTextBrowser>

#include <cmath>

#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "editor/player_playback.h"
#include "frame_fixture.h"
#include "player/bookmark_bar.h"
#include "player/media_backend.h"
#include "player/player_view.h"
#include "settings/app_settings.h"

// The player view on a generated clip of 40 s at 25 frames per second whose frames carry
// their own number as 16 bars in the upper half (white = 1, lowest bit on the left).
namespace verbanta::test {
namespace {

using app::CPlayerView;
using app::MediaBackend;

const char* const kCaptions =
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

/// The frame number shown in a software-rendered picture of the clip, or -1.
int frameNumber(const QImage& image)
{
    if (image.isNull())
        return -1;
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    // The clip is 320 x 64 with bars 20 wide in its upper half; scale to the picture drawn.
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

class PlayerViewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FrameFixture> f;

    CPlayerView& player() { return f->frame->playerPane(); }
    MediaBackend& media() { return player().media(); }
    bool enabled(int id) { return player().control(id)->isEnabled(); }

    /// Opens the clip; skips the test when this machine cannot play it.
    bool openClip()
    {
        if (!media().isAvailable())
            return false;
        player().OpenMedia(QStringLiteral(VERBANTA_TEST_VIDEO));
        return QTest::qWaitFor([&] { return player().IsMediaOpen(); }, 10000);
    }
    /// Seeks and waits until the seek has finished.
    bool seekAndWait(std::int32_t ms)
    {
        QSignalSpy done(&media(), &MediaBackend::positionChanged);
        if (!player().SeekTo(ms, false))
            return false;
        return done.wait(5000) || done.count() > 0;
    }
    void loadCaptions() { QVERIFY(f->open(f->write(QStringLiteral("clip.smi"), kCaptions))); }

private slots:
    void init()
    {
        PlaybackFollower::resetTickCount();
        f = std::make_unique<FrameFixture>();
        f->frame->resize(1000, 700);
        f->frame->show();
        QApplication::processEvents();
    }
    void cleanup() { f.reset(); }

    void startsWithoutMediaAndTheButtonsDisabled()
    {
        QVERIFY(!player().IsMediaOpen());
        QCOMPARE(player().GetPositionMs(), -1);
        QCOMPARE(player().GetLengthMs(), -1);
        QVERIFY(!player().SeekTo(0, false));
        for (int id : {2005, 2006, 2009, 2010, 2011, 2012, 2013, 2014, 2015, 2016, 2017})
            QVERIFY2(!enabled(id), qPrintable(QString::number(id)));
        QCOMPARE(player().rendering(), app::VideoRendering::Software);
        QCOMPARE(player().renderingLabel()->text(), player().renderingText());
        QCOMPARE(player().button(2009)->toolTip(), QString::fromUtf8("재생"));
        QCOMPARE(player().button(2017)->text(), QString::fromUtf8("단일"));
        QCOMPARE(player().button(2017)->toolTip(), QString::fromUtf8("단일 싱크 맞추기"));
    }

    void openingTheClipEnablesTheButtons()
    {
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        for (int id : {2005, 2006, 2009, 2011, 2012, 2013, 2014, 2015, 2016, 2017})
            QVERIFY2(enabled(id), qPrintable(QString::number(id)));
        QVERIFY(!enabled(2010));
        QVERIFY(player().button(2011)->isChecked());
        QCOMPARE(player().GetLengthMs(), 40000);
        QCOMPARE(player().bookmarkBar().bookmarks().GetLength(), 40000);
        QVERIFY(f->frame->commands().isEnabled(app::cmd::CloseMedia));
        QVERIFY(!player().SeekTo(40001, false));
        QVERIFY(!player().SeekTo(-1, false));
    }

    void playingMovesThePositionAndShowsTheDueCaption()
    {
        loadCaptions();
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        QVERIFY(seekAndWait(800));
        player().play();
        QVERIFY(player().positionTimerActive());
        QVERIFY(player().button(2009)->isChecked());
        QVERIFY(QTest::qWaitFor([&] { return player().GetPositionMs() > 1300; }, 5000));
        QTRY_VERIFY_WITH_TIMEOUT(player().captionHtml().contains(QString::fromUtf8("첫째 자막")),
                                 2000);
        QVERIFY(player().captionHtml().contains(QStringLiteral("yellow")));
        QTRY_VERIFY_WITH_TIMEOUT(player().positionText() != QStringLiteral("0"), 2000);
        player().pause();
        QTRY_COMPARE_WITH_TIMEOUT(media().playState(), int(MediaBackend::Paused), 2000);
        QVERIFY(!player().positionTimerActive());
    }

    void aSeekShowsTheCaptionAtOnceAndBeforeTheFirstTheBlankPage()
    {
        loadCaptions();
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        QVERIFY(seekAndWait(3500));
        QVERIFY(player().captionHtml().contains(QString::fromUtf8("둘째 자막")));
        QCOMPARE(player().positionText(), QStringLiteral("3520"));  // the frame at 3.52 s
        QVERIFY(seekAndWait(200));
        QCOMPARE(player().captionHtml(), QString::fromLatin1(kBlankCaptionPage));
        // The caption window shows the style's colour on black.
        QVERIFY(seekAndWait(1200));
        const QImage shot = player().captionWindow().grab().toImage();
        bool yellow = false;
        for (int y = 0; y < shot.height() && !yellow; ++y)
            for (int x = 0; x < shot.width() && !yellow; ++x) {
                const QColor c = shot.pixelColor(x, y);
                yellow = c.red() > 200 && c.green() > 200 && c.blue() < 80;
            }
        QVERIFY2(yellow, qPrintable(player().captionHtml()));
        QCOMPARE(shot.pixelColor(2, 2), QColor(Qt::black));
    }

    void singleSyncStampsTheReportedPositionPlusTheCorrection()
    {
        loadCaptions();
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        f->t.settings.SyncModify = -200;
        f->t.settings.MoveToNextSync = false;
        f->t.settings.InsertEndAuto = false;
        QVERIFY(seekAndWait(12340));
        f->editor().selectRow(2);
        const std::int32_t reported = player().GetPositionMs();
        QVERIFY(f->frame->commands().run(app::cmd::SingleSync));
        QCOMPARE(f->editor().entry(2)->startMs, reported - 200);

        // How far the stamp lies from the frame on screen after the exact seek.
        QImage picture(320, 64, QImage::Format_RGBX8888);
        QTRY_VERIFY_WITH_TIMEOUT(media().renderSoftware(picture) && frameNumber(picture) > 0,
                                 3000);
        const int frameMs = frameNumber(picture) * 40;
        qInfo("stamp accuracy: seek 12340 ms, reported %d ms, frame on screen %d ms, "
              "difference %d ms",
              reported, frameMs, reported - frameMs);
        QVERIFY(std::abs(reported - frameMs) < 40);  // within the one frame shown
    }

    void startAndEndCapturesInsertAtThePosition()
    {
        loadCaptions();
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        QVERIFY(seekAndWait(5000));
        const std::int32_t at = player().GetPositionMs();
        f->editor().selectRow(2);
        const int rows = f->editor().rowCount();
        QVERIFY(f->frame->commands().run(app::cmd::InsertStartSync));
        QCOMPARE(f->editor().rowCount(), rows + 1);
        QCOMPARE(f->editor().entry(3)->startMs, at);
        QVERIFY(!f->editor().entry(3)->isEndSync);
        QCOMPARE(f->editor().currentRow(), 3);
        QVERIFY(f->frame->commands().run(app::cmd::InsertEndSync));
        QCOMPARE(f->editor().entry(4)->startMs, at);
        QVERIFY(f->editor().entry(4)->isEndSync);
    }

    void simpleSyncShiftsTheRangeInOneUndoStep()
    {
        loadCaptions();
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        f->editor().markRangeStart(3);  // 8000
        f->editor().markRangeEnd(5);    // 10000
        QVERIFY(seekAndWait(9000));
        const std::int32_t at = player().GetPositionMs();
        QVERIFY(f->frame->commands().run(app::cmd::SimpleSync));
        const std::int32_t d = at - 8000;
        QCOMPARE(f->editor().entry(3)->startMs, 8000 + d);
        QCOMPARE(f->editor().entry(5)->startMs, 10000 + d);
        QCOMPARE(f->editor().entry(6)->startMs, 11000);
        f->editor().undo();
        QCOMPARE(f->editor().entry(3)->startMs, 8000);
        QCOMPARE(f->editor().entry(5)->startMs, 10000);
    }

    void bookmarksFollowTheOrderTheyWereSetIn()
    {
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        for (int ms : {30000, 10000, 20000}) {
            QVERIFY(seekAndWait(ms));
            QVERIFY(f->frame->commands().run(app::cmd::SetVideoBookmark));
        }
        QCOMPARE(player().BookmarkCount(), 3);
        // The bookmarks are the positions reported, frame times of the clip.
        QCOMPARE(player().BookmarkAt(0), 30000);
        QVERIFY(seekAndWait(25000));
        QSignalSpy moved(&media(), &MediaBackend::positionChanged);
        QVERIFY(f->frame->commands().run(app::cmd::PrevVideoBookmark));
        QVERIFY(moved.wait(5000));
        QCOMPARE(player().GetPositionMs(), 20000);
        QVERIFY(seekAndWait(25000));
        QVERIFY(f->frame->commands().run(app::cmd::NextVideoBookmark));
        QVERIFY(moved.wait(5000));
        QCOMPARE(player().GetPositionMs(), 30000);
        // Set twice at one place: the second removes it.
        QVERIFY(f->frame->commands().run(app::cmd::SetVideoBookmark));
        QCOMPARE(player().BookmarkCount(), 2);
        QVERIFY(f->frame->commands().run(app::cmd::ClearVideoBookmarks));
        QCOMPARE(player().BookmarkCount(), 0);
    }

    void repeatKeepsReturningToItsPosition()
    {
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        f->t.settings.MovieRepeatTime = 700;
        QVERIFY(seekAndWait(12500));
        const double start = media().position();
        player().play();
        player().flipRepeat();
        QVERIFY(player().repeatOn());
        QVERIFY(QTest::qWaitFor([&] { return media().position() > start + 0.3; }, 3000));
        QSignalSpy back(&media(), &MediaBackend::positionChanged);
        QVERIFY(back.wait(3000));
        QVERIFY(std::abs(back.last().at(1).toDouble() - start) < 0.05);
        player().flipRepeat();
        QVERIFY(!player().repeatOn());
    }

    void aReplayRangeBringsThePositionBackWithinOneTick()
    {
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        player().SetReplayRange(10000, 12000);
        QVERIFY(seekAndWait(20000));
        player().play();
        QTRY_COMPARE_WITH_TIMEOUT(media().playState(), int(MediaBackend::Playing), 2000);
        player().positionTick();  // the first tick after the seek
        QCOMPARE(player().GetPositionMs(), 10000);
        QSignalSpy back(&media(), &MediaBackend::positionChanged);
        QVERIFY(back.wait(3000));
        QVERIFY(std::abs(back.last().at(1).toDouble() - 10.0) < 0.05);
    }

    void closingTheMediaResetsTheBarAndTheButtons()
    {
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        QVERIFY(seekAndWait(5000));
        player().setVideoBookmark();
        player().SetRangeMarks(1000, 2000);
        QVERIFY(f->frame->commands().run(app::cmd::CloseMedia));
        QVERIFY(!player().IsMediaOpen());
        const VideoBookmarks& b = player().bookmarkBar().bookmarks();
        QCOMPARE(b.BookmarkCount(), 0);
        QCOMPARE(b.GetLength(), 0);
        QCOMPARE(b.rangeStart(), -1);
        QCOMPARE(player().positionText(), QStringLiteral("0"));
        QVERIFY(!enabled(2017));
        QVERIFY(!enabled(2011));
        QVERIFY(!f->frame->commands().isEnabled(app::cmd::CloseMedia));
    }

    void aFileThatIsNotAVideoGivesAMessageAndTheListKeepsWorking()
    {
        if (!media().isAvailable())
            QSKIP("libmpv is not available here");
        loadCaptions();
        const QString fake = f->writeBytes(QStringLiteral("fake.mp4"), "not a video at all\n");
        player().OpenMedia(fake);
        QVERIFY(QTest::qWaitFor([&] { return !f->t.messenger.shown.empty(); }, 10000));
        QVERIFY(!player().IsMediaOpen());
        QVERIFY(!enabled(2017));
        const int rows = f->editor().rowCount();
        f->editor().selectRow(0);
        f->editor().addCaptionAfter();
        QCOMPARE(f->editor().rowCount(), rows + 1);
        // The player still opens a real clip afterwards.
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
    }

    void aClipDeletedWhileOpenDoesNotStopThePlayer()
    {
        const QString copy = f->dir.filePath(QStringLiteral("copy.mp4"));
        QVERIFY(QFile::copy(QStringLiteral(VERBANTA_TEST_VIDEO), copy));
        if (!media().isAvailable())
            QSKIP("libmpv is not available here");
        player().OpenMedia(copy);
        if (!QTest::qWaitFor([&] { return player().IsMediaOpen(); }, 10000))
            QSKIP("libmpv cannot open the test clip here");
        QVERIFY(QFile::remove(copy));
        player().play();
        QVERIFY(QTest::qWaitFor([&] { return player().GetPositionMs() > 300; }, 5000));
        QVERIFY(seekAndWait(30000));
        player().stop();
        QTRY_COMPARE_WITH_TIMEOUT(media().playState(), int(MediaBackend::Stopped), 2000);
    }

    void droppedVideosAreRecognisedByTheirExtensionInAnyCase()
    {
        QVERIFY(app::CMainFrame::isMediaFile(QStringLiteral("/x/Clip.MKV")));
        QVERIFY(app::CMainFrame::isMediaFile(QStringLiteral("/x/clip.webm")));
        QVERIFY(app::CMainFrame::isMediaFile(QStringLiteral("/x/clip.Mov")));
        QVERIFY(!app::CMainFrame::isMediaFile(QStringLiteral("/x/clip.smi")));
        QSignalSpy media(f->frame.get(), &app::CMainFrame::openMediaRequested);
        f->frame->handleDroppedFiles({QStringLiteral(VERBANTA_TEST_VIDEO)});
        QCOMPARE(media.count(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(player().IsMediaOpen() || !this->media().isAvailable(), 10000);
    }

    void theLayoutFollowsTheTwoToggles()
    {
        CPlayerView& p = player();
        const int h = p.height();
        QVERIFY(p.showPlayerCtrl());
        QCOMPARE(p.captionWindow().geometry().top(), h - 200);
        QCOMPARE(p.videoArea().height(), h - 200 - 5);
        QVERIFY(f->frame->commands().run(app::cmd::PlayerControls));
        QVERIFY(!p.showPlayerCtrl());
        QCOMPARE(p.captionWindow().geometry(), QRect(0, h - 90, p.width(), 90));
        QVERIFY(!p.control(2017)->isVisible());
        QVERIFY(f->frame->commands().run(app::cmd::MediaControls));
        QCOMPARE(p.videoArea().height(), h - 90);
        // The button block is centred and the bar runs from 10 to W - 10.
        QVERIFY(f->frame->commands().run(app::cmd::PlayerControls));
        const QRect first = p.control(2001)->geometry();
        const QRect last = p.control(2017)->geometry();
        QVERIFY(std::abs(first.left() - (p.width() - last.right() - 1)) <= 1);
        QCOMPARE(p.bookmarkBar().geometry().left(), 10);
        QCOMPARE(p.bookmarkBar().geometry().width(), p.width() - 20);
    }

    void fullScreenHidesTheButtonsAndEscBringsThemBack()
    {
        f->frame->toggleFullScreen();
        QVERIFY(!player().showPlayerCtrl());
        QTest::keyClick(f->frame.get(), Qt::Key_Escape);
        QVERIFY(!f->frame->isFullScreenMode());
        QVERIFY(player().showPlayerCtrl());
    }
};

}  // namespace
}  // namespace verbanta::test

QTEST_MAIN(verbanta::test::PlayerViewTest)
#include "player_view_test.moc"
