// The whole way of a recovery copy: the editor edits a file, writes its copy, is killed with
// SIGKILL, and the next start offers the copy with the edit and restores it.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "support/cp949.h"

namespace {

const char* const kFilm =
    "<SAMI>\r\n<HEAD>\r\n<TITLE>film</TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    "P { margin-left:8pt; }\r\n.KRCC { Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n<SYNC Start=1000><P Class=KRCC>\r\n처음 자막\r\n"
    "<SYNC Start=3000><P Class=KRCC>&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";
const char* const kEdit = "복구할 자막";

}  // namespace

class AutosaveCrashTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        return env;
    }
    QString recoveryFolder() const
    {
        return m_home.filePath(QStringLiteral("data/Quandel Soft/Verbanta/recovery"));
    }
    /// The copy that holds the edit, once one does.
    QString copyWithEdit() const
    {
        const QDir dir(recoveryFolder());
        for (const QString& name : dir.entryList({QStringLiteral("*.smi")}, QDir::Files)) {
            QFile copy(dir.filePath(name));
            if (!copy.open(QIODevice::ReadOnly))
                continue;
            const QByteArray bytes = copy.readAll();
            const std::string edit = verbanta::test::cp949(kEdit);
            const QString manifest = dir.filePath(QFileInfo(name).completeBaseName() +
                                                  QStringLiteral(".manifest"));
            if (bytes.contains(QByteArray(edit.data(), static_cast<qsizetype>(edit.size()))) &&
                QFile::exists(manifest))
                return dir.filePath(name);
        }
        return QString();
    }

private slots:
    void aKilledEditorsWorkIsOfferedAndRestoredAtTheNextStart()
    {
        QVERIFY(m_home.isValid());
        QDir().mkpath(m_home.filePath(QStringLiteral("config/Quandel Soft")));
        {
            QFile config(m_home.filePath(QStringLiteral("config/Quandel Soft/Verbanta.conf")));
            QVERIFY(config.open(QIODevice::WriteOnly));
            config.write("[Options]\nAutoSaveSeconds=1\n");
        }
        const QString film = m_home.filePath(QStringLiteral("film.smi"));
        {
            QFile file(film);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const std::string bytes = verbanta::test::cp949(kFilm);
            file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        }
        // The video beside the file, opened with it when its copy is restored.
        const QString video = m_home.filePath(QStringLiteral("film.mp4"));
        QVERIFY(QFile::copy(QStringLiteral(VERBANTA_TEST_VIDEO), video));
        const QByteArray original = [&] {
            QFile f(film);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();

        QProcess first;
        first.setProcessEnvironment(environment());
        first.start(QStringLiteral(VERBANTA_DRIVER_PATH),
                    {QStringLiteral("edit"), QString::fromUtf8(kEdit), film});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!copyWithEdit().isEmpty(), 60000);
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();  // SIGKILL: nothing of the editor's own clean-up runs
        QVERIFY(first.waitForFinished(10000));
        QCOMPARE(first.exitStatus(), QProcess::CrashExit);
        QVERIFY(!copyWithEdit().isEmpty());
        // The user's file was never touched.
        QFile untouched(film);
        QVERIFY(untouched.open(QIODevice::ReadOnly));
        QCOMPARE(untouched.readAll(), original);
        QVERIFY(!QFile::exists(m_home.filePath(QStringLiteral("film.BAK"))));

        QProcess second;
        second.setProcessEnvironment(environment());
        second.start(QStringLiteral(VERBANTA_DRIVER_PATH), {QStringLiteral("report")});
        QVERIFY(second.waitForFinished(60000));
        const QString out = QString::fromUtf8(second.readAllStandardOutput());
        QCOMPARE(second.exitCode(), 0);
        const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QStringList offers;
        for (const QString& line : lines)
            if (line.startsWith(QStringLiteral("offer\t")))
                offers << line;
        QCOMPARE(offers.size(), 1);
        const QStringList cells = offers.front().split(QLatin1Char('\t'));
        QCOMPARE(cells.size(), 4);
        QCOMPARE(cells[1], QStringLiteral("film.smi"));
        QCOMPARE(cells[2], film);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                    .match(cells[3])
                    .hasMatch());
        QVERIFY2(lines.contains(QStringLiteral("title\tfilm.smi * - Verbanta")), qPrintable(out));
        QVERIFY2(lines.contains(QStringLiteral("caption\t") + QString::fromUtf8(kEdit)),
                 qPrintable(out));
        QVERIFY2(lines.contains(QStringLiteral("video\t") + video), qPrintable(out));
    }

    void damagedAndForeignFilesInTheRecoveryFolderDoNotStopTheStart()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        const QString folder = home.filePath(QStringLiteral("data/Quandel Soft/Verbanta/recovery"));
        QVERIFY(QDir().mkpath(folder));
        auto put = [&](const QString& name, const QByteArray& bytes) {
            QFile file(folder + QLatin1Char('/') + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        put(QStringLiteral("0123456789abcdef.manifest"), QByteArray("\0\xff garbage\n", 11));
        put(QStringLiteral("0123456789abcdef.smi"), "<SAMI>");
        put(QStringLiteral("1111111111111111.manifest"),
            "Verbanta recovery 1\npath=/x.smi\ntitle=x\ntime=1\nencoding=cp949\n");
        put(QStringLiteral("readme.txt"), "not ours");
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/2222222222222222.manifest")));

        QProcess run;
        run.setProcessEnvironment(env);
        run.start(QStringLiteral(VERBANTA_DRIVER_PATH), {QStringLiteral("report")});
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        // Nothing was offered (exit code 2 says so), and nothing was deleted.
        QCOMPARE(run.exitCode(), 2);
        QVERIFY(!run.readAllStandardOutput().contains("offer"));
        QVERIFY(QFile::exists(folder + QStringLiteral("/readme.txt")));
        QVERIFY(QFile::exists(folder + QStringLiteral("/0123456789abcdef.smi")));
    }
};

QTEST_GUILESS_MAIN(AutosaveCrashTest)
#include "autosave_crash_test.moc"
