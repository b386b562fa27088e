#include <QAbstractButton>
#include <QLabel>
#include <QSignalSpy>
#include <QTextBrowser>

#include <cmath>

#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "player/bookmark_bar.h"
#include "player_fixture.h"
#include "settings/app_settings.h"

// The player view playing the generated clip: opening, playback with the caption under the
// video, the capture commands, bookmarks, repeat and replay, and files it cannot play.
namespace verbanta::test {
namespace {

using app::CPlayerView;
using app::MediaBackend;

class PlayerViewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PlayerFixture> p;
    FrameFixture* f = nullptr;

    CPlayerView& player() { return p->player(); }
    MediaBackend& media() { return p->media(); }
    bool enabled(int id) { return p->enabled(id); }
    bool openClip() { return p->openClip(); }
    bool seekAndWait(std::int32_t ms) { return p->seekAndWait(ms); }
    bool settle() { return p->settle(); }
    void loadCaptions() { QVERIFY(p->loadCaptions()); }

private slots:
    void init()
    {
        p = std::make_unique<PlayerFixture>();
        f = p->f.get();
    }
    void cleanup()
    {
        f = nullptr;
        p.reset();
    }

    void startsWithoutMediaAndTheButtonsDisabled()
    {
        QVERIFY(!player().IsMediaOpen());
        QCOMPARE(player().GetPositionMs(), -1);
        QCOMPARE(player().GetLengthMs(), -1);
        QVERIFY(!player().SeekTo(0, false));
        for (int id : {2005, 2006, 2009, 2010, 2011, 2012, 2013, 2014, 2015, 2016, 2017})
            QVERIFY2(!enabled(id), qPrintable(QString::number(id)));
        // Without a window system there is no OpenGL: the software picture is used.
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            QCOMPARE(player().rendering(), app::VideoRendering::Software);
        QCOMPARE(player().renderingLabel()->text(), player().renderingText());
        QCOMPARE(player().button(app::cmd::Play)->toolTip(), QString::fromUtf8("재생"));
        QCOMPARE(player().button(app::cmd::SingleSync)->text(), QString::fromUtf8("단일"));
        QCOMPARE(player().button(app::cmd::SingleSync)->toolTip(),
                 QString::fromUtf8("단일 싱크 맞추기"));
    }

    void openingTheClipEnablesTheButtons()
    {
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        for (int id : {2005, 2006, 2009, 2011, 2012, 2013, 2014, 2015, 2016, 2017})
            QVERIFY2(enabled(id), qPrintable(QString::number(id)));
        QVERIFY(!enabled(2010));
        QVERIFY(player().button(app::cmd::Stop)->isChecked());
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
        QVERIFY(player().button(app::cmd::Play)->isChecked());
        QVERIFY(QTest::qWaitFor([&] { return player().GetPositionMs() > 1300; }, 5000));
        QTRY_VERIFY_WITH_TIMEOUT(player().captionHtml().contains(QString::fromUtf8("첫째 자막")),
                                 2000);
        QVERIFY(player().captionHtml().contains(QStringLiteral("yellow")));
        QTRY_VERIFY_WITH_TIMEOUT(player().positionText() != QStringLiteral("0"), 2000);
        player().pause();
        QTRY_COMPARE_WITH_TIMEOUT(media().playState(), int(MediaBackend::Paused), 2000);
        QVERIFY(!player().positionTimerActive());
        // The label shows where playback stopped, not the last tick before it.
        QTRY_COMPARE_WITH_TIMEOUT(player().positionText(),
                                  QString::number(player().GetPositionMs()), 1000);
    }

    void aSeekShowsTheCaptionAtOnceAndBeforeTheFirstTheBlankPage()
    {
        loadCaptions();
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        QVERIFY(seekAndWait(3500));
        QVERIFY(player().captionHtml().contains(QString::fromUtf8("둘째 자막")));
        QTRY_COMPARE_WITH_TIMEOUT(player().positionText(), QStringLiteral("3520"),
                                  3000);  // the frame at 3.52 s
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

    void f8StampsTheReportedPositionPlusTheCorrection()
    {
        loadCaptions();
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        f->t.settings.SyncModify = -200;
        f->t.settings.MoveToNextSync = false;
        f->t.settings.InsertEndAuto = false;
        f->showAndFocusList();
        QVERIFY(seekAndWait(12340));
        f->editor().session().selectRow(2);
        const std::int32_t reported = player().GetPositionMs();
        QTest::keyClick(&f->list(), Qt::Key_F8);
        QCOMPARE(f->editor().session().entry(2)->startMs, reported - 200);
        QVERIFY(f->frame->documentHost().isModified());
    }

    void aStampAfterAnExactSeekIsTheTimeOfTheFrameOnScreen()
    {
        if (player().rendering() != app::VideoRendering::Software)
            QSKIP("the frame on screen is read from the software picture");
        loadCaptions();
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        f->t.settings.SyncModify = 0;
        f->t.settings.MoveToNextSync = false;
        f->t.settings.InsertEndAuto = false;
        int worst = 0;
        for (const std::int32_t target : {1234, 5000, 12340, 27777, 39000}) {
            QVERIFY(seekAndWait(target));
            f->editor().session().selectRow(2);
            QVERIFY(f->frame->commands().run(app::cmd::SingleSync));
            const std::int32_t stamped = f->editor().session().entry(2)->startMs;
            // The frame libmpv holds for display now, drawn at the clip's own size.
            QImage picture(320, 64, QImage::Format_RGBX8888);
            QVERIFY(QTest::qWaitFor(
                [&] { return media().renderSoftware(picture) && clipFrameNumber(picture) > 0; },
                3000));
            const int frameMs = clipFrameNumber(picture) * 40;
            qInfo("stamp accuracy: seek %d ms, stamped %d ms, frame on screen %d ms (%+d ms)",
                  target, stamped, frameMs, stamped - frameMs);
            worst = std::max(worst, std::abs(stamped - frameMs));
            QVERIFY(stamped >= target);  // the exact seek never lands before its target
        }
        QVERIFY2(worst < 40, "a stamp lies more than one frame from the picture");
    }

    void framesStepToTheirNeighboursBothWaysAndTheLabelAndCaptionFollow()
    {
        if (player().rendering() != app::VideoRendering::Software)
            QSKIP("the frame on screen is read from the software picture");
        loadCaptions();
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        const auto frameOnScreen = [&] {
            QImage picture(320, 64, QImage::Format_RGBX8888);
            return media().renderSoftware(picture) ? clipFrameNumber(picture) : -1;
        };
        const auto step = [&](int id, double lateReport = -1.0) {
            QSignalSpy done(&media(), &MediaBackend::positionChanged);
            if (!f->frame->commands().run(id))
                return false;
            // libmpv may report the seek before the step once more while the step is under way.
            if (lateReport >= 0.0)
                emit media().positionChanged(lateReport, lateReport);
            return PlayerFixture::nextSeek(done) && settle();
        };
        QVERIFY(seekAndWait(2960));  // frame 74, the last before the caption due at 3 s
        QTRY_COMPARE_WITH_TIMEOUT(frameOnScreen(), 74, 3000);
        QVERIFY(step(app::cmd::NextFrame, 2.96));
        QTRY_COMPARE_WITH_TIMEOUT(frameOnScreen(), 75, 3000);
        QCOMPARE(player().GetPositionMs(), 3000);  // the new frame's own time
        QTRY_COMPARE_WITH_TIMEOUT(player().positionText(), QStringLiteral("3000"), 3000);
        QTRY_VERIFY_WITH_TIMEOUT(player().captionHtml().contains(QString::fromUtf8("둘째 자막")),
                                 3000);
        for (const int expected : {74, 73}) {
            QVERIFY(step(app::cmd::PrevFrame));
            QTRY_COMPARE_WITH_TIMEOUT(frameOnScreen(), expected, 3000);
            QCOMPARE(player().GetPositionMs(), expected * 40);
        }
        QCOMPARE(player().positionText(), QStringLiteral("2920"));
        QVERIFY(!player().captionHtml().contains(QString::fromUtf8("둘째 자막")));
        // A step while playing pauses first.
        player().play();
        QTRY_COMPARE_WITH_TIMEOUT(media().playState(), int(MediaBackend::Playing), 2000);
        QVERIFY(step(app::cmd::NextFrame));
        QCOMPARE(media().playState(), int(MediaBackend::Paused));
        const int shown = frameOnScreen();
        QCOMPARE(player().GetPositionMs(), shown * 40);
    }

    void timeStepsMoveThePositionAndStopAtTheStart()
    {
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        QVERIFY(seekAndWait(10000));
        QVERIFY(settle());
        // Each lands on the first frame at or after its target, 40 ms apart.
        const std::pair<int, std::int32_t> steps[] = {
            {app::cmd::StepForward1s, 11000},
            {app::cmd::StepBack100Ms, 10920},
            {app::cmd::StepForward100Ms, 11040},
            {app::cmd::StepBack1s, 10040},
        };
        for (const auto& [id, expected] : steps) {
            QSignalSpy done(&media(), &MediaBackend::positionChanged);
            QVERIFY(f->frame->commands().run(id));
            QVERIFY(PlayerFixture::nextSeek(done) && settle());
            QCOMPARE(player().GetPositionMs(), expected);
        }
        // Two steps in a row before the first has landed add up.
        QSignalSpy done(&media(), &MediaBackend::positionChanged);
        QVERIFY(f->frame->commands().run(app::cmd::StepForward100Ms));
        QVERIFY(f->frame->commands().run(app::cmd::StepForward100Ms));
        QVERIFY(PlayerFixture::nextSeek(done) && settle());
        QCOMPARE(player().GetPositionMs(), 10240);
        QVERIFY(seekAndWait(400));
        QVERIFY(f->frame->commands().run(app::cmd::StepBack1s));
        QVERIFY(settle());
        QCOMPARE(player().GetPositionMs(), 0);
    }

    void startAndEndCapturesInsertAtThePosition()
    {
        loadCaptions();
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        f->t.settings.SyncModify = 0;
        f->showAndFocusList();
        QVERIFY(seekAndWait(5000));
        const std::int32_t at = player().GetPositionMs();
        f->editor().session().selectRow(2);
        const int rows = f->editor().session().rowCount();
        QTest::keyClick(&f->list(), Qt::Key_F6);
        QCOMPARE(f->editor().session().rowCount(), rows + 1);
        QCOMPARE(f->editor().session().entry(3)->startMs, at);
        QVERIFY(!f->editor().session().entry(3)->isEndSync);
        QCOMPARE(f->editor().session().currentRow(), 3);
        QTest::keyClick(&f->list(), Qt::Key_F7);
        QCOMPARE(f->editor().session().entry(4)->startMs, at);
        QVERIFY(f->editor().session().entry(4)->isEndSync);
    }

    void simpleSyncShiftsTheRangeInOneUndoStep()
    {
        loadCaptions();
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        f->editor().selection().markRangeStart(3);  // 8000
        f->editor().selection().markRangeEnd(5);    // 10000
        QVERIFY(seekAndWait(9000));
        const std::int32_t at = player().GetPositionMs();
        QVERIFY(f->frame->commands().run(app::cmd::SimpleSync));
        const std::int32_t d = at - 8000;
        QCOMPARE(f->editor().session().entry(3)->startMs, 8000 + d);
        QCOMPARE(f->editor().session().entry(5)->startMs, 10000 + d);
        QCOMPARE(f->editor().session().entry(6)->startMs, 11000);
        f->editor().rows().undo();
        QCOMPARE(f->editor().session().entry(3)->startMs, 8000);
        QCOMPARE(f->editor().session().entry(5)->startMs, 10000);
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
        QVERIFY(settle());
        const double start = media().position();
        // Turned on at rest, so that the place it keeps is exactly the one seeked to.
        player().flipRepeat();
        QVERIFY(player().repeatOn());
        QSignalSpy back(&media(), &MediaBackend::positionChanged);
        QTest::qWait(900);
        QCOMPARE(back.count(), 0);  // while the video rests the timer does nothing
        player().play();
        for (int round = 0; round < 2; ++round) {
            QVERIFY(QTest::qWaitFor([&] { return media().position() > start + 0.3; }, 3000));
            back.clear();
            QVERIFY(back.wait(3000));
            // Reported as the Qt thread gets to it, while the clip plays on: a frame or two.
            QVERIFY2(std::abs(back.last().at(1).toDouble() - start) < 0.1,
                     qPrintable(QString::number(back.last().at(1).toDouble())));
        }
        player().flipRepeat();
        QVERIFY(!player().repeatOn());
    }

    void aReplayRangeBringsThePositionBackWithinOneTick()
    {
        if (!openClip())
            QSKIP("libmpv cannot open the test clip here");
        player().SetReplayRange(10000, 12000);
        QVERIFY(seekAndWait(11000));
        player().play();
        QTRY_COMPARE_WITH_TIMEOUT(media().playState(), int(MediaBackend::Playing), 2000);
        // Seeking out of the range while playing: the next tick of the timer sends it back.
        QSignalSpy moves(&media(), &MediaBackend::positionChanged);
        QVERIFY(player().SeekTo(20000, false));
        // A late report of the seek before may come first, on a loaded machine: the seek to
        // 20 s must be reported, and the next report be the way back to 10 s.
        const auto reportedAt = [&](double seconds, qsizetype from) {
            for (qsizetype i = from; i < moves.count(); ++i)
                if (std::abs(moves.at(i).at(1).toDouble() - seconds) < 0.1)
                    return i;
            return qsizetype(-1);
        };
        QVERIFY(QTest::qWaitFor([&] { return reportedAt(20.0, 0) >= 0; }, 3000));
        const qsizetype there = reportedAt(20.0, 0);
        QVERIFY(QTest::qWaitFor([&] { return moves.count() > there + 1; }, 3000));
        QVERIFY(std::abs(moves.at(there + 1).at(1).toDouble() - 10.0) < 0.1);
        // Playing on past the end of the range sends it back again, and again.
        QTest::qWait(2500);
        QVERIFY(moves.count() >= there + 3);
        for (qsizetype i = there + 1; i < moves.count(); ++i)
            QVERIFY(std::abs(moves.at(i).at(1).toDouble() - 10.0) < 0.1);
        const std::int32_t now = player().GetPositionMs();
        QVERIFY2(now >= 10000 && now <= 12200, qPrintable(QString::number(now)));
    }

    void thePositionLabelHoldsAnHourLongTimeWhole()
    {
        const QWidget* label = player().control(app::CPlayerView::kPositionLabel);
        const QWidget* next = player().control(app::cmd::GoCaptionAtVideo);
        QVERIFY(label && next);
        QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(QStringLiteral("9:59:59.999")));
        QVERIFY(label->geometry().right() < next->geometry().left());
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
        const int rows = f->editor().session().rowCount();
        f->editor().session().selectRow(0);
        f->editor().rows().addCaptionAfter();
        QCOMPARE(f->editor().session().rowCount(), rows + 1);
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
        QVERIFY(!p.control(app::cmd::SingleSync)->isVisible());
        QVERIFY(f->frame->commands().run(app::cmd::MediaControls));
        QCOMPARE(p.videoArea().height(), h - 90);
        // The button block is centred and the bar runs from 10 to W - 10.
        QVERIFY(f->frame->commands().run(app::cmd::PlayerControls));
        const QRect first = p.control(app::cmd::ClickAndGo)->geometry();
        const QRect last = p.control(app::cmd::SingleSync)->geometry();
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
