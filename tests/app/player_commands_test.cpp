#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMimeData>
#include <QStatusBar>

#include <cmath>

#include "caption_list_view.h"
#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "player/bookmark_bar.h"
#include "player_fixture.h"
#include "settings/app_settings.h"

// The player view's rules around the list: the list following the video, the go-to commands,
// the bookmark bar, repeat keys, the document's companion video, the open dialog and the files
// it cannot play.
namespace verbanta::test {
namespace {

using app::CPlayerView;
using app::MediaBackend;

class PlayerCommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PlayerFixture> p;
    FrameFixture* f = nullptr;

    CPlayerView& player() { return p->player(); }
    MediaBackend& media() { return p->media(); }
    CaptionEditor& editor() { return p->editor(); }
    QString captionHtml() { return player().captionHtml(); }

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

    void theListFollowsEachCaptionShownWhilePlayAndGoIsOn()
    {
        QVERIFY(p->loadCaptions());
        player().button(app::cmd::PlayAndGo)->click();  // as the user turns it on
        QVERIFY(p->settings().PlayAndGo);
        player().ResyncCursor();
        editor().session().selectRow(5);
        player().followPosition(900);
        QCOMPARE(editor().session().currentRow(), 5);  // nothing due yet
        player().followPosition(1000);
        QVERIFY(captionHtml().contains(QString::fromUtf8("첫째 자막")));
        QCOMPARE(editor().session().currentRow(), 0);
        player().followPosition(2000);
        QCOMPARE(editor().session().currentRow(), 1);
        player().followPosition(3000);
        QCOMPARE(editor().session().currentRow(), 2);
        // Rows 3 and 4 (8000, 9000) fall due in one tick: only the second is shown, a tick on.
        player().followPosition(9000);
        QVERIFY(captionHtml().contains(QString::fromUtf8("둘째 자막")));
        QCOMPARE(editor().session().currentRow(), 2);
        player().followPosition(9100);
        QVERIFY(captionHtml().contains(QString::fromUtf8("넷째 자막")));
        QCOMPARE(editor().session().currentRow(), 4);
        // An open dialog keeps the list where the user left it; the caption still shows.
        QDialog dialog(f->frame.get());
        dialog.show();
        player().followPosition(10000);
        QVERIFY(captionHtml().contains(QString::fromUtf8("다섯째 자막")));
        QCOMPARE(editor().session().currentRow(), 4);
        dialog.hide();
        // The last caption passes the cursor over the end and is still followed.
        player().followPosition(11000);
        QCOMPARE(editor().session().currentRow(), 6);
        QVERIFY(captionHtml().contains(QString::fromUtf8("여섯째 자막")));
    }

    void withPlayAndGoOffTheListStaysWhereItIs()
    {
        QVERIFY(p->loadCaptions());
        QVERIFY(!player().button(app::cmd::PlayAndGo)->isChecked());
        player().ResyncCursor();
        editor().session().selectRow(5);
        player().followPosition(1000);
        QVERIFY(captionHtml().contains(QString::fromUtf8("첫째 자막")));
        QCOMPARE(editor().session().currentRow(), 5);
    }

    void aListChangeResyncsTheCaptionCursor()
    {
        QVERIFY(p->loadCaptions());
        if (!p->openClip())
            QSKIP("libmpv cannot open the test clip here");
        QVERIFY(p->seekAndWait(3500));  // "둘째 자막" on screen, the cursor on 8000
        editor().session().selectRow(2);
        editor().capture().insertCaptionAfterAt(4000);
        QCOMPARE(editor().session().entry(3)->startMs, 4000);
        // Without the resync the cursor would still wait for 8000.
        player().followPosition(4100);
        QVERIFY(captionHtml().contains(QString::fromUtf8("[새 자막]")));
    }

    void stoppingWithMatchListToMovieSelectsTheFirstRow()
    {
        QVERIFY(p->loadCaptions());
        if (!p->openClip())
            QSKIP("libmpv cannot open the test clip here");
        player().play();
        QTRY_COMPARE_WITH_TIMEOUT(media().playState(), int(MediaBackend::Playing), 3000);
        editor().session().selectRow(4);
        player().stop();
        QTRY_COMPARE_WITH_TIMEOUT(media().playState(), int(MediaBackend::Stopped), 3000);
        QCOMPARE(editor().session().currentRow(), 0);
        QVERIFY(player().button(app::cmd::Stop)->isChecked());
        QVERIFY(!player().control(app::cmd::Pause)->isEnabled());
        QVERIFY(!player().positionTimerActive());

        p->settings().MatchListToMovie = false;
        player().play();
        QTRY_COMPARE_WITH_TIMEOUT(media().playState(), int(MediaBackend::Playing), 3000);
        editor().session().selectRow(4);
        player().stop();
        QTRY_COMPARE_WITH_TIMEOUT(media().playState(), int(MediaBackend::Stopped), 3000);
        QCOMPARE(editor().session().currentRow(), 4);
    }

    void aSeekSelectsTheCaptionOnlyWhenTheVideoLeads()
    {
        QVERIFY(p->loadCaptions());
        if (!p->openClip())
            QSKIP("libmpv cannot open the test clip here");
        f->showAndFocusList();
        if (!f->list().hasFocus())
            QSKIP("the list cannot take the focus on this platform");
        QVERIFY(p->seekAndWait(9500));
        QCOMPARE(editor().session().currentRow(), 4);  // the caption on screen at 9.5 s
        // A seek asked for by a click in the list leaves the selection alone.
        QSignalSpy seeks(&media(), &MediaBackend::positionChanged);
        editor().session().selectRow(6);
        QVERIFY(player().SeekTo(3500, true));
        QVERIFY(PlayerFixture::nextSeek(seeks));
        QCOMPARE(editor().session().currentRow(), 6);
        // So do the go-to-sync keys, which select their row themselves.
        seeks.clear();
        QTest::keyClick(&f->list(), Qt::Key_Comma, Qt::AltModifier);
        QVERIFY(PlayerFixture::nextSeek(seeks));
        QCOMPARE(editor().session().currentRow(), 5);
        QCOMPARE(player().GetPositionMs(), 10000);
        seeks.clear();
        QTest::keyClick(&f->list(), Qt::Key_Period, Qt::AltModifier);
        QVERIFY(PlayerFixture::nextSeek(seeks));
        QCOMPARE(editor().session().currentRow(), 6);
        QCOMPARE(player().GetPositionMs(), 11000);
        seeks.clear();
        editor().session().selectRow(3);
        QTest::keyClick(&f->list(), Qt::Key_Slash, Qt::AltModifier);
        QVERIFY(PlayerFixture::nextSeek(seeks));
        QCOMPARE(editor().session().currentRow(), 3);
        QCOMPARE(player().GetPositionMs(), 8000);
        // At the top there is no previous row: nothing moves.
        editor().session().selectRow(0);
        seeks.clear();
        QTest::keyClick(&f->list(), Qt::Key_Comma, Qt::AltModifier);
        QVERIFY(!seeks.wait(300));
        QCOMPARE(player().GetPositionMs(), 8000);
    }

    void aRowDroppedOnThePlayerSeeksWithoutMovingTheSelection()
    {
        QVERIFY(p->loadCaptions());
        if (!p->openClip())
            QSKIP("libmpv cannot open the test clip here");
        f->showAndFocusList();
        editor().session().selectRow(1);
        QSignalSpy seeks(&media(), &MediaBackend::positionChanged);
        QMimeData mime;
        mime.setData(QString::fromLatin1(app::CaptionListView::kRowTimeMime), "9000");
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        // Straight to the view: the application delivers drops only within a real drag.
        static_cast<QObject&>(player()).event(&drop);
        QVERIFY(drop.isAccepted());
        QVERIFY(PlayerFixture::nextSeek(seeks));
        QCOMPARE(player().GetPositionMs(), 9000);
        QCOMPARE(editor().session().currentRow(), 1);
    }

    void theBarPaintsTheRangeInGreenAndBookmarksInRed()
    {
        app::BookmarkBar& bar = player().bookmarkBar();
        VideoBookmarks& b = bar.bookmarks();
        b.SetLength(40000);
        player().SetRangeMarks(10000, 20000);
        QVERIFY(b.AddBookmark(30000));
        const QImage shot = bar.grab().toImage();
        const int w = shot.width();
        const int mid = shot.height() / 2;
        const QColor green(0, 150, 0);
        const QColor red(255, 0, 0);
        QCOMPARE(shot.pixelColor(w * 10000 / 40000, mid), green);
        QCOMPARE(shot.pixelColor(w * 15000 / 40000, mid), green);  // the band between them
        QCOMPARE(shot.pixelColor(w * 20000 / 40000 + 2, mid), green);
        QCOMPARE(shot.pixelColor(w * 30000 / 40000 - 2, mid), red);
        QCOMPARE(shot.pixelColor(w * 30000 / 40000 + 2, mid), red);
        QCOMPARE(shot.pixelColor(0, 0), QColor(Qt::black));  // the frame
        QVERIFY(shot.pixelColor(w * 25000 / 40000, mid) != red);
        QVERIFY(shot.pixelColor(w * 25000 / 40000, mid) != green);

        // A clip of no length shows no marks at all.
        b.SetLength(0);
        const QImage empty = bar.grab().toImage();
        for (int x = 1; x < w - 1; ++x) {
            QVERIFY(empty.pixelColor(x, mid) != red);
            QVERIFY(empty.pixelColor(x, mid) != green);
        }
    }

    void aClickOnTheBarSelectsTheCaptionAndADoubleClickSeeksFirst()
    {
        QVERIFY(p->loadCaptions());
        if (!p->openClip())
            QSKIP("libmpv cannot open the test clip here");
        app::BookmarkBar& bar = player().bookmarkBar();
        const auto xOf = [&](int ms) {
            return static_cast<int>(std::lround(bar.width() * (ms + 20) / 40000.0));
        };
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(xOf(8500), bar.height() / 2));
        QCOMPARE(editor().session().currentRow(), 3);  // 8000 is on screen at 8.5 s
        QSignalSpy seeks(&media(), &MediaBackend::positionChanged);
        QTest::mouseDClick(&bar, Qt::LeftButton, {}, QPoint(xOf(9500), bar.height() / 2));
        QVERIFY(PlayerFixture::nextSeek(seeks));
        QVERIFY(std::abs(player().GetPositionMs() - 9500) < 200);
        QCOMPARE(editor().session().currentRow(), 4);
    }

    void theHundredAndFirstBookmarkIsRefusedWithAMessage()
    {
        if (!p->openClip())
            QSKIP("libmpv cannot open the test clip here");
        VideoBookmarks& b = player().bookmarkBar().bookmarks();
        for (int i = 0; i < VideoBookmarks::kMaxBookmarks; ++i) QVERIFY(b.AddBookmark(100 + i));
        QVERIFY(p->seekAndWait(20000));
        f->t.messenger.shown.clear();
        QVERIFY(f->frame->commands().run(app::cmd::SetVideoBookmark));
        QCOMPARE(player().BookmarkCount(), 100);
        QVERIFY(!b.HasBookmark(20000));
        QCOMPARE(f->t.messenger.shown.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(f->t.messenger.shown[0].text),
                 QString::fromUtf8("더 이상 동영상 북마크를 설정할 수 없습니다."));
    }

    void repeatKeysFlipTheToggleAndRepeatEndsTheReplay()
    {
        QVERIFY(p->loadCaptions());
        if (!p->openClip())
            QSKIP("libmpv cannot open the test clip here");
        f->showAndFocusList();
        editor().session().selectRow(2);
        editor().languages().toggleReplay();
        QVERIFY(player().replayActive());
        QTest::keyClick(&f->list(), Qt::Key_F5);
        QVERIFY(player().repeatOn());
        QVERIFY(player().button(app::cmd::Repeat)->isChecked());
        QVERIFY(!player().replayActive());
        QVERIFY(!editor().session().entry(2)->replayMark);
        QTest::keyClick(&f->list(), Qt::Key_P, Qt::AltModifier);
        QVERIFY(!player().repeatOn());
        QTest::keyClick(&f->list(), Qt::Key_P, Qt::AltModifier);
        QVERIFY(player().repeatOn());
        // The replay command turns repeat off first.
        editor().languages().toggleReplay();
        QVERIFY(!player().repeatOn());
        QVERIFY(player().replayActive());
    }

    void theCompanionVideoOpensWithItsDocumentAndAReloadRewinds()
    {
        if (!p->media().isAvailable())
            QSKIP("libmpv is not available here");
        QVERIFY(QFile::copy(QStringLiteral(VERBANTA_TEST_VIDEO), f->dir.filePath("clip.mp4")));
        QVERIFY(p->loadCaptions());
        if (!QTest::qWaitFor([&] { return player().IsMediaOpen(); }, 10000))
            QSKIP("libmpv cannot open the test clip here");
        QVERIFY(player().replayActive() == false);
        QVERIFY(p->seekAndWait(5000));
        player().play();
        QTRY_COMPARE_WITH_TIMEOUT(media().playState(), int(MediaBackend::Playing), 3000);
        // Another program rewrote the file: the reload stops the player at the start.
        QSignalSpy seeks(&media(), &MediaBackend::positionChanged);
        f->frame->documentHost().document().ReloadFromDisk();
        QTRY_COMPARE_WITH_TIMEOUT(media().playState(), int(MediaBackend::Stopped), 3000);
        QVERIFY(PlayerFixture::nextSeek(seeks));
        QCOMPARE(player().GetPositionMs(), 0);
        QVERIFY(player().IsMediaOpen());
        // A new document stops it too but keeps the video open.
        QVERIFY(p->seekAndWait(7000));
        player().play();
        QTRY_COMPARE_WITH_TIMEOUT(media().playState(), int(MediaBackend::Playing), 3000);
        QVERIFY(f->frame->documentHost().newFile());
        QTRY_COMPARE_WITH_TIMEOUT(media().playState(), int(MediaBackend::Stopped), 3000);
        QVERIFY(player().IsMediaOpen());
        QCOMPARE(player().bookmarkBar().bookmarks().rangeStart(), -1);
    }

    void theToggleStatesReachTheSettings()
    {
        p->settings().ClickAndGo = false;
        player().button(app::cmd::ClickAndGo)->click();
        QVERIFY(p->settings().ClickAndGo);
        QVERIFY(f->frame->commands().run(app::cmd::PlayerControls));
        QVERIFY(f->frame->commands().run(app::cmd::MediaControls));
        p->settings().ShowPlayerCtrl = true;
        p->settings().ShowMediaCtrl = true;
        f->frame.reset();
        QVERIFY(!p->settings().ShowPlayerCtrl);
        QVERIFY(!p->settings().ShowMediaCtrl);
        QVERIFY(p->settings().ClickAndGo);
    }

    void theOpenDialogNamesItsFiltersExactly()
    {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilters(CPlayerView::mediaFilters());
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        QStringList shown;
        for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
        QCOMPARE(
            shown,
            (QStringList{QString::fromUtf8("미디어 파일(모든 형식)"),
                         QString::fromUtf8("동영상 파일(MPEG)"),
                         QString::fromUtf8("Windows Media 파일"), QString::fromUtf8("비디오 파일"),
                         QString::fromUtf8("DVD 파일"), QString::fromUtf8("모든 파일(*.*)")}));
        // The first filter takes today's containers along with the classic ones.
        const QString all = CPlayerView::mediaFilters().front();
        for (const char* ext : {"*.wmv", "*.vob", "*.mp4", "*.mkv", "*.webm", "*.mov"})
            QVERIFY2(all.contains(QLatin1String(ext)), ext);
    }

    void aMissingCodecGivesAMessageAndLeavesThePlayerWithoutMedia()
    {
        if (!media().isAvailable())
            QSKIP("libmpv is not available here");
        // The clip's video with a codec name no decoder knows.
        QFile source(QStringLiteral(VERBANTA_TEST_VIDEO_MKV));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray bytes = source.readAll();
        const QByteArray codec("V_MPEG4/ISO/AVC");
        QVERIFY(bytes.contains(codec));
        bytes.replace(codec, QByteArray("V_VERBANTA/XYZ0"));
        const QString path = f->writeBytes(QStringLiteral("nocodec.mkv"), bytes.toStdString());
        QVERIFY(p->loadCaptions());
        player().OpenMedia(path);
        QVERIFY(QTest::qWaitFor([&] { return !f->t.messenger.shown.empty(); }, 10000));
        QVERIFY(QString::fromStdString(f->t.messenger.shown.back().text)
                    .startsWith(QString::fromUtf8("동영상 파일을 재생할 수 없습니다.")));
        QVERIFY(QString::fromStdString(f->t.messenger.shown.back().text).contains("nocodec.mkv"));
        QVERIFY(!player().IsMediaOpen());
        QVERIFY(!p->enabled(2017));
        QVERIFY(!p->enabled(2011));
        // The list keeps working.
        editor().session().selectRow(0);
        editor().rows().addCaptionAfter();
        QCOMPARE(editor().session().rowCount(), 8);
    }

    void aFileOpenedWhileAnotherLoadsReplacesItQuietly()
    {
        if (!media().isAvailable())
            QSKIP("libmpv is not available here");
        const QString fake = f->writeBytes(QStringLiteral("fake.avi"), "not a video at all\n");
        player().OpenMedia(fake);
        if (!p->openClip())
            QSKIP("libmpv cannot open the test clip here");
        QTest::qWait(300);  // whatever the first file reports would have arrived by now
        QVERIFY(player().IsMediaOpen());
        QVERIFY(f->t.messenger.shown.empty());
        QCOMPARE(player().GetLengthMs(), 40000);
    }

    void theSpeedCommandsReachThePlayerTheLabelsAndTheSetting()
    {
        if (!p->openClip())
            QSKIP("libmpv cannot open the test clip here");
        const auto speedIs = [&](std::int32_t percent, const char* text) {
            QCOMPARE(f->t.settings.PlaybackSpeed, percent);
            QCOMPARE(media().speed(), percent / 100.0);
            QCOMPARE(player().speedLabel()->text(), QString::fromLatin1(text));
            QCOMPARE(player().speedStatusLabel()->text(),
                     QString::fromUtf8("재생 속도: ") + QString::fromLatin1(text));
        };
        QVERIFY(f->frame->statusBar()->isAncestorOf(player().speedStatusLabel()));
        speedIs(100, "1x");
        QVERIFY(f->frame->commands().run(app::cmd::SlowerPlayback));
        speedIs(75, "0.75x");
        for (int i = 0; i < 3; ++i) QVERIFY(f->frame->commands().run(app::cmd::SlowerPlayback));
        speedIs(25, "0.25x");
        QVERIFY(f->frame->commands().run(app::cmd::NormalPlayback));
        speedIs(100, "1x");
        for (int i = 0; i < 4; ++i) QVERIFY(f->frame->commands().run(app::cmd::FasterPlayback));
        speedIs(200, "2x");
        // The repeat covers the same stretch of video at any speed.
        f->t.settings.MovieRepeatTime = 4000;
        player().flipRepeat();
        QCOMPARE(player().repeatPeriodMs(), 2000);
        QVERIFY(f->frame->commands().run(app::cmd::SlowerPlayback));
        QCOMPARE(player().repeatPeriodMs(), 2666);
        player().flipRepeat();
        // The next file opens at the setting's speed, whatever the player was left at.
        QVERIFY(f->frame->commands().run(app::cmd::SlowerPlayback));
        media().setSpeed(1.0);
        player().CloseMedia();
        QVERIFY(p->openClip());
        speedIs(125, "1.25x");
    }

    void aWindowStartsAtTheStoredSpeed()
    {
        p.reset();
        FrameFixture g;
        g.frame.reset();
        g.t.settings.PlaybackSpeed = 50;
        g.frame = std::make_unique<app::CMainFrame>(g.t.context);
        QCOMPARE(g.frame->playerView().speedLabel()->text(), QStringLiteral("0.5x"));
        if (!g.frame->playerView().media().isAvailable())
            QSKIP("libmpv cannot be set up here");
        QCOMPARE(g.frame->playerView().media().speed(), 0.5);
    }

    void aVideoClosedAndOpenedAgainAtOnceOpens()
    {
        // libmpv ran the close's stop after the next open now and then, which ended the new
        // file and left the player opening forever.
        if (!p->openClip())
            QSKIP("libmpv cannot open the test clip here");
        for (int i = 0; i < 8; ++i) {
            player().CloseMedia();
            QVERIFY2(p->openClip(), qPrintable(QString::number(i)));
        }
    }

    void theStatusBarNamesTheWayTheVideoIsDrawn()
    {
        QLabel* label = player().renderingLabel();
        QVERIFY(f->frame->statusBar()->isAncestorOf(label));
        QVERIFY(label->isVisible());
        QCOMPARE(label->text(), player().rendering() == app::VideoRendering::OpenGl
                                    ? QString::fromUtf8("영상: OpenGL")
                                    : QString::fromUtf8("영상: 소프트웨어 렌더링"));
    }
};

}  // namespace
}  // namespace verbanta::test

QTEST_MAIN(verbanta::test::PlayerCommandsTest)
#include "player_commands_test.moc"
