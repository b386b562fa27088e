// The timing strip in the main window: a caption's region dragged with the mouse.
#include <QMouseEvent>

#include "frame_fixture.h"
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
        QVERIFY(std::abs(editor.entry(0)->startMs - 1600) <= slack);
        QCOMPARE(editor.entry(1)->startMs, 2500);
        QCOMPARE(editor.currentRow(), 0);
        QVERIFY(f.list().hasFocus());
        // The second one (3000..4000, after a comment) moves whole by half a second.
        drag(3500, 4000);
        QVERIFY(std::abs(editor.entry(3)->startMs - 3500) <= slack);
        QCOMPARE(editor.entry(4)->startMs - editor.entry(3)->startMs, 1000);
        editor.undo();
        QCOMPARE(editor.entry(3)->startMs, 3000);
        QCOMPARE(editor.entry(4)->startMs, 4000);
        editor.undo();
        QCOMPARE(editor.entry(0)->startMs, 1000);
    }
};

}  // namespace
}  // namespace verbanta::test

QTEST_MAIN(verbanta::test::TimingStripTest)
#include "timing_strip_test.moc"
