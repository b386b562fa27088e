#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QtTest>

#include <condition_variable>
#include <mutex>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "dialog_test_support.h"
#include "dialogs/batch_conversion_runner.h"
#include "dialogs/progress_bar.h"
#include "dialogs/subtitle_file_dialog.h"
#include "frame_fixture.h"
#include "support/faulty_file_operations.h"

using namespace verbanta;
using app::BatchConversionRunner;
using app::CProgressBar;
namespace cmd = app::cmd;

namespace {

const char* const kStyled =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    "P { font-size: 12pt; color: yellow; margin-left:8pt; }\r\n"
    ".KRCC { Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>\r\nA\r\n</BODY>\r\n</SAMI>\r\n";

std::string readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

/// Holds the worker at its first file read until the test lets it go on.
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;
    bool reached = false;

    void wait()
    {
        std::unique_lock lock(mutex);
        reached = true;
        changed.notify_all();
        changed.wait(lock, [this] { return open; });
    }
    void release()
    {
        const std::lock_guard lock(mutex);
        open = true;
        changed.notify_all();
    }
    bool wasReached()
    {
        const std::lock_guard lock(mutex);
        return reached;
    }
};

}  // namespace

class BatchProgressTest : public QObject {
    Q_OBJECT
private slots:
    void barSitsRightOfTheMessageAndGivesThePaneBackWhenItGoes()
    {
        QWidget window;
        auto* pane = new QLabel(QStringLiteral("준비"), &window);
        pane->setGeometry(0, 0, 600, 30);
        window.show();
        QProgressBar* bar = nullptr;
        {
            CProgressBar progress(*pane, QStringLiteral("진행중"), 20, 3);
            bar = progress.bar();
            QCOMPARE(pane->text(), QStringLiteral("진행중"));
            QCOMPARE(bar->minimum(), 0);
            QCOMPARE(bar->maximum(), 3);
            QVERIFY(bar->isVisible());
            const QFontMetrics metrics(pane->font());
            const int textEnd = metrics.horizontalAdvance(QStringLiteral("진행중"));
            QVERIFY(bar->x() >= textEnd + 3 * metrics.horizontalAdvance(QLatin1Char(' ')));
            // A fifth of what is left after the text, clear of the pane's top and bottom.
            QVERIFY(qAbs(bar->width() - (600 - bar->x()) / 5) <= 1);
            QCOMPARE(bar->y(), 3);
            QCOMPARE(bar->y() + bar->height(), 27);

            const int before = bar->x();
            progress.setText(QStringLiteral("100% 완료, 아주 긴 메시지"));
            QVERIFY(bar->x() > before);
            pane->resize(900, 30);
            QVERIFY(qAbs(bar->width() - (900 - bar->x()) / 5) <= 1);

            progress.stepIt();
            progress.stepIt();
            QCOMPARE(progress.pos(), 2);
            progress.stepIt();
            progress.stepIt();  // never past the maximum
            QCOMPARE(progress.pos(), 3);

            // Command prompts wait while the bar is shown.
            QStatusTipEvent tip(QStringLiteral("다른 안내"));
            QApplication::sendEvent(&window, &tip);
            QCOMPARE(pane->text(), QStringLiteral("100% 완료, 아주 긴 메시지"));
        }
        QCOMPARE(pane->text(), QStringLiteral("준비"));
        QCOMPARE(pane->findChild<QProgressBar*>(), nullptr);
    }

    void conversionRunsBesideAWorkingWindowAndReportsAtTheEnd()
    {
        QTemporaryDir dir;
        QStringList paths;
        for (const char* name : {"a.smi", "b.smi", "c.smi"}) {
            const QString path = dir.filePath(name);
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(kStyled);
            paths << path;
        }
        Gate gate;
        test::FaultyFileOperations files;
        bool first = true;
        files.fault = [&](const std::string& op, const std::string& a, const std::string&) {
            if (op == "readFile" && first) {
                first = false;
                gate.wait();
            }
            return op == "readFile" && a.ends_with("b.smi") ? EBUSY : 0;
        };
        test::FrameFixture f;
        test::RecordingMessenger& messenger = f.t.messenger;
        f.frame->show();
        QLabel* pane = &f.frame->statusPane();
        BatchConversionRunner runner(*pane, messenger, files);
        QStringList statuses;
        connect(&runner, &BatchConversionRunner::progressed, this,
                [&](int, int, const QString& status) { statuses << status; });

        ConversionOptions options;
        options.size = "20pt";
        QVERIFY(runner.start(paths, options));
        QVERIFY(!runner.start(paths, options));  // one run at a time
        // The worker holds at the first file while the window's events go on.
        QTRY_VERIFY(gate.wasReached());
        bool timerRan = false;
        QTimer::singleShot(0, [&] { timerRan = true; });
        QTRY_VERIFY(timerRan);
        QVERIFY(runner.isRunning());
        QCOMPARE(pane->text(), QStringLiteral("진행중"));
        QCOMPARE(runner.progressBar()->bar()->maximum(), 3);
        QVERIFY(messenger.shown.empty());
        test::shoot(*f.frame->statusBar(), "batch_progress");

        gate.release();
        QTRY_VERIFY(!runner.isRunning());
        QCOMPARE(statuses, QStringList({"33% 완료", "66% 완료", "100% 완료"}));
        QCOMPARE(pane->text(), QStringLiteral("준비"));
        QCOMPARE(messenger.shown.size(), std::size_t(1));
        QCOMPARE(messenger.shown[0].text,
                 std::string("2개 자막 파일의 포맷을 변경하였습니다.\n\n1개 파일은 문제가 있어 "
                             "실패하였습니다.\nb.smi"));
        QVERIFY(readAll(paths[0]).find("font-size:20pt;") != std::string::npos);
        QVERIFY(readAll(paths[1]).find("font-size: 12pt;") != std::string::npos);
        QVERIFY(readAll(paths[2]).find("font-size:20pt;") != std::string::npos);
    }

    void theCommandConvertsTheFilesChosenAndNamesTheLockedOne()
    {
        test::FrameFixture f;
        f.t.settings.FontSize = 20;
        QStringList names = {"one.smi", "locked.smi", "three.smi"};
        for (const QString& name : names) f.writeBytes(name, kStyled);
        QFile::setPermissions(f.dir.filePath("three.smi"), QFileDevice::ReadOwner);
        const int fd = ::open(f.dir.filePath("locked.smi").toLocal8Bit().constData(), O_RDONLY);
        QVERIFY(fd >= 0);
        QCOMPARE(::flock(fd, LOCK_EX), 0);

        const QString dir = f.dir.path();
        QTimer::singleShot(0, [dir] {
            auto* d = qobject_cast<app::SubtitleFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            QCOMPARE(d->fileMode(), QFileDialog::ExistingFiles);
            d->setDirectory(dir);
            d->selectFile(QStringLiteral("\"one.smi\" \"locked.smi\" \"three.smi\""));
            d->accept();
        });
        QVERIFY(f.frame->commands().run(cmd::BatchFormat));
        // While it runs, a second run cannot start.
        auto* runner = f.frame->findChild<BatchConversionRunner*>();
        QVERIFY(runner);
        if (runner->isRunning())
            QVERIFY(!f.frame->commands().isEnabled(cmd::BatchFormat));
        QTRY_VERIFY(!runner->isRunning());
        ::close(fd);
        QVERIFY(f.frame->commands().isEnabled(cmd::BatchFormat));
        QCOMPARE(f.t.messenger.shown.size(), std::size_t(1));
        QCOMPARE(f.t.messenger.shown[0].text,
                 std::string("2개 자막 파일의 포맷을 변경하였습니다.\n\n1개 파일은 문제가 있어 "
                             "실패하였습니다.\nlocked.smi"));
        QCOMPARE(f.t.messenger.shown[0].icon, MessageIcon::Warning);
        QVERIFY(readAll(f.dir.filePath("three.smi")).find("font-size:20pt;") != std::string::npos);
        QVERIFY(QFileInfo(f.dir.filePath("three.smi")).permissions() & QFileDevice::WriteOwner);
        QCOMPARE(f.frame->statusText(), QStringLiteral("준비"));
    }
};

QTEST_MAIN(BatchProgressTest)
#include "batch_progress_test.moc"
