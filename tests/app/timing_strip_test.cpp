// The timing strip in the main window: a caption's region dragged with the mouse; the sound
// of the track the player plays, with a cache that cannot be written; the video's shot
// changes drawn, jumped to and snapped to.
#include <QLabel>
#include <QMouseEvent>

#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "player/position_bar.h"
#include "player/shot_change_track.h"
#include "player_fixture.h"
#include "support/temp_folder.h"
#include "waveform/strip_audio.h"
#include "waveform/timing_strip.h"

namespace verbanta::test {
namespace {

/// Presses in the strip's lower part at one time, moves and lets go at another.
void dragInStrip(app::TimingStrip& strip, double fromMs, double toMs)
{
    const double y = strip.height() - 10;
    const double from = strip.xOf(fromMs);
    const double to = strip.xOf(toMs);
    for (auto [type, x, button] : {std::tuple{QEvent::MouseButtonPress, from, Qt::LeftButton},
                                   {QEvent::MouseMove, (from + to) / 2, Qt::NoButton},
                                   {QEvent::MouseMove, to, Qt::NoButton},
                                   {QEvent::MouseButtonRelease, to, Qt::LeftButton}}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(x, y), strip.mapToGlobal(QPointF(x, y)), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(&strip, &event);
    }
}

class TimingStripTest : public QObject {
    Q_OBJECT
private slots:
    void draggingARegionRetimesItsRowInOneUndoStepAndGivesTheKeysBack()
    {
        FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.frame->resize(1000, 700);
        f.showAndFocusList();
        app::TimingStrip& strip = f.frame->timingStrip();
        QVERIFY(strip.isVisible());
        strip.setView(0, 10000);
        auto drag = [&](double fromMs, double toMs) { dragInStrip(strip, fromMs, toMs); };
        const int slack = static_cast<int>(std::ceil(strip.msPerPixel()));
        // The first caption runs 1000..2500; its left edge goes to 1600.
        drag(1000, 1600);
        CaptionEditor& editor = f.editor();
        QVERIFY(std::abs(editor.session().entry(0)->startMs - 1600) <= slack);
        QCOMPARE(editor.session().entry(1)->startMs, 2500);
        QCOMPARE(editor.session().currentRow(), 0);
        QVERIFY(f.list().hasFocus());
        // The second one (3000..4000, after a comment) moves whole by half a second.
        drag(3500, 4000);
        QVERIFY(std::abs(editor.session().entry(3)->startMs - 3500) <= slack);
        QCOMPARE(editor.session().entry(4)->startMs - editor.session().entry(3)->startMs, 1000);
        editor.rows().undo();
        QCOMPARE(editor.session().entry(3)->startMs, 3000);
        QCOMPARE(editor.session().entry(4)->startMs, 4000);
        editor.rows().undo();
        QCOMPARE(editor.session().entry(0)->startMs, 1000);
    }

    void drawsTheTrackThePlayerPlaysAndNotesACacheThatCannotBeWritten()
    {
        // A cache folder under a plain file cannot be made, even by root.
        TempFolder temp;
        const std::string blocker = temp.path("file");
        std::FILE* file = std::fopen(blocker.c_str(), "w");
        QVERIFY(file);
        std::fclose(file);
        const bool hadCacheHome = qEnvironmentVariableIsSet("XDG_CACHE_HOME");
        const QByteArray cacheHome = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(blocker + "/cache"));
        PlayerFixture p;
        if (hadCacheHome)
            qputenv("XDG_CACHE_HOME", cacheHome);
        else
            qunsetenv("XDG_CACHE_HOME");
        if (!p.openClip(QStringLiteral(VERBANTA_TEST_TRACKS)))
            QSKIP("libmpv cannot play the generated two-track file here");
        app::StripAudio& audio = p.f->frame->timingStrip().audio();
        // The loudest sample of 200 ms from `ms` of the analysed track, once it is complete.
        const auto analysed = [&](int stream) {
            return QTest::qWaitFor(
                [&] {
                    const media::WaveformAnalysis* w = audio.waveform();
                    return w && w->state().stream == stream &&
                           w->state().status == media::WaveformStatus::Complete;
                },
                20000);
        };
        const auto loudness = [&](double ms) {
            media::Peak peak;
            audio.waveform()->columns(ms, 200, std::span(&peak, 1));
            return peak.empty() ? 0 : std::max(std::abs(int{peak.min}), int{peak.max});
        };
        QVERIFY(analysed(1));
        QVERIFY(loudness(1000) > 8000);
        QVERIFY(loudness(2500) < 100);
        QCOMPARE(p.f->frame->statusPane().text(),
                 QStringLiteral("파형을 저장할 캐시 폴더에 쓸 수 없어, 파형을 매번 새로 분석합니다."));

        // The Movie menu's command switches the track and names it.
        p.f->frame->commands().run(app::cmd::NextAudioTrack);
        QCOMPARE(p.f->frame->statusPane().text(), QStringLiteral("오디오 트랙 2/2: eng"));
        QVERIFY(analysed(2));
        QVERIFY(loudness(1000) < 100);
        QVERIFY(loudness(2500) > 8000);
        // After the last track comes the first again.
        p.f->frame->commands().run(app::cmd::NextAudioTrack);
        QCOMPARE(p.f->frame->statusPane().text(), QStringLiteral("오디오 트랙 1/2: kor"));
        QVERIFY(analysed(1));
    }

    void shotChangesAreDrawnJumpedToAndSnappedTo()
    {
        PlayerFixture p;
        QVERIFY(p.loadCaptions());
        if (!p.openClip(QStringLiteral(VERBANTA_TEST_SHOTS)))
            QSKIP("libmpv cannot play the generated three-shot clip here");
        app::CPlayerView& player = p.player();
        const app::ShotChangeTrack& shots = player.shotChanges();
        QVERIFY(QTest::qWaitFor([&] { return shots.status() != app::ShotChangeTrack::Status::Running; },
                                30000));
        const std::vector<std::int32_t> expected{2000, 4000};
        QCOMPARE(shots.shotsMs(), expected);
        QCOMPARE(player.positionBar().shotChanges(), expected);

        // Drawn as lines in the strip.
        app::TimingStrip& strip = p.f->frame->timingStrip();
        strip.setView(0, 10000);
        const QImage picture = strip.grab().toImage();
        QCOMPARE(picture.pixelColor(static_cast<int>(std::round(strip.xOf(4000))), strip.height() - 3),
                 QColor(196, 150, 255));

        // The Movie menu's commands jump from one to the next and back.
        app::CommandDispatcher& commands = p.f->frame->commands();
        const auto jump = [&](int id, std::int32_t to) {
            QSignalSpy moved(&p.media(), &app::MediaBackend::positionChanged);
            return commands.run(id) && PlayerFixture::nextSeek(moved) && p.settle() &&
                   std::abs(player.GetPositionMs() - to) <= 1;
        };
        QVERIFY(commands.isEnabled(app::cmd::NextShotChange));
        QVERIFY(jump(app::cmd::NextShotChange, 2000));
        QVERIFY(jump(app::cmd::NextShotChange, 4000));
        QVERIFY(jump(app::cmd::PrevShotChange, 2000));

        // A capture 100 ms before a shot change lands on it, in one undo step.
        p.settings().SyncModify = 0;
        p.settings().MoveToNextSync = false;
        p.settings().SnapCaptureToShot = true;
        QVERIFY(p.seekAndWait(3900));
        CaptionEditor& editor = p.editor();
        editor.session().selectRow(2);
        QVERIFY(commands.run(app::cmd::SingleSync));
        QCOMPARE(editor.session().entry(2)->startMs, 4000);
        editor.rows().undo();
        QCOMPARE(editor.session().entry(2)->startMs, 3000);

        // A dragged edge let go near a shot change snaps onto it (the play position is far).
        QVERIFY(p.seekAndWait(5900));
        strip.setView(0, 10000);
        dragInStrip(strip, 3000, 4000 - 3 * strip.msPerPixel());
        QCOMPARE(editor.session().entry(2)->startMs, 4000);

        // Sound alone has none, and says so once.
        QSignalSpy said(&shots, &app::ShotChangeTrack::notice);
        if (!p.openClip(QStringLiteral(VERBANTA_TEST_TONE)))
            QSKIP("libmpv cannot play the generated tone here");
        QVERIFY(QTest::qWaitFor([&] { return shots.status() == app::ShotChangeTrack::Status::NoVideo; },
                                10000));
        QTest::qWait(200);
        QCOMPARE(said.count(), 1);
        QCOMPARE(p.f->frame->statusPane().text(),
                 QStringLiteral("소리만 있는 파일이라 장면 전환이 없습니다."));
        QVERIFY(player.positionBar().shotChanges().empty());
        QVERIFY(!commands.isEnabled(app::cmd::NextShotChange));
    }
};

}  // namespace
}  // namespace verbanta::test

QTEST_MAIN(verbanta::test::TimingStripTest)
#include "timing_strip_test.moc"
