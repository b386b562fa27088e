// The timing strip in the main window: a caption's region dragged with the mouse; the sound
// of the track the player plays, with a cache that cannot be written.
#include <QLabel>
#include <QMouseEvent>

#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "player_fixture.h"
#include "support/temp_folder.h"
#include "waveform/strip_audio.h"
#include "waveform/timing_strip.h"

namespace verbanta::test {
namespace {

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
        const double y = strip.height() - 10;
        auto drag = [&](double fromMs, double toMs) {
            const double from = strip.xOf(fromMs);
            const double to = strip.xOf(toMs);
            for (auto [type, x, button] :
                 {std::tuple{QEvent::MouseButtonPress, from, Qt::LeftButton},
                  {QEvent::MouseMove, (from + to) / 2, Qt::NoButton},
                  {QEvent::MouseMove, to, Qt::NoButton},
                  {QEvent::MouseButtonRelease, to, Qt::LeftButton}}) {
                const Qt::MouseButtons held =
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
                QMouseEvent event(type, QPointF(x, y), strip.mapToGlobal(QPointF(x, y)), button,
                                  held, Qt::NoModifier);
                QApplication::sendEvent(&strip, &event);
            }
        };
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
};

}  // namespace
}  // namespace verbanta::test

QTEST_MAIN(verbanta::test::TimingStripTest)
#include "timing_strip_test.moc"
