#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "main_frame.h"
#include "screenshot.h"

using verbanta::app::CMainFrame;

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void newWindowIsUntitled()
    {
        CMainFrame frame;
        QCOMPARE(frame.windowTitle(), QStringLiteral("제목없음 - Verbanta"));
    }

    void startsAndClosesCleanly()
    {
        CMainFrame frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QVERIFY(frame.close());
    }

    void screenshotIsWrittenAndNotBlank()
    {
        QTemporaryDir dir;
        CMainFrame frame;
        frame.show();
        const QString path = dir.filePath(QStringLiteral("shot.png"));
        QVERIFY(verbanta::app::saveScreenshot(frame, path));
        QImage image(path);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() >= frame.minimumWidth());
        // Not one colour: the status bar text and the frame differ from the background.
        const QRgb first = image.pixel(0, 0);
        bool varied = false;
        for (int y = 0; y < image.height() && !varied; y += 3)
            for (int x = 0; x < image.width() && !varied; x += 3)
                varied = image.pixel(x, y) != first;
        QVERIFY(varied);
    }
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
