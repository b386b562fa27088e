#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "editor/find_clipboard.h"
#include "process_launcher.h"

using namespace verbanta;

/// The external editor as the user starts it: the command line built from the editor
/// setting reaches the program with the subtitle's path as one argument.
class ProcessLauncherTest : public QObject {
    Q_OBJECT

    /// Runs `pattern` (with "%p" standing for a script that writes its arguments, one a
    /// line) for `path`, and returns what the script received.
    static QStringList argumentsSeen(const QTemporaryDir& dir, const char* pattern,
                                     const QString& path)
    {
        const QString script = dir.filePath(QStringLiteral("editor.sh"));
        const QString out = dir.filePath(QStringLiteral("args.txt"));
        QFile::remove(out);
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" " +
                   out.toUtf8() + "\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        std::string line = pattern;
        line.replace(line.find("%p"), 2, script.toStdString());
        app::QtProcessLauncher launcher;
        if (!launcher.launch(editorCommandLine(line, path.toStdString())))
            return {QStringLiteral("(not started)")};
        QFile seen(out);
        if (!QTest::qWaitFor([&] { return seen.exists(); }, 10000))
            return {QStringLiteral("(no answer)")};
        if (!seen.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(seen.readAll()).split(QLatin1Char('\n'));
        lines.removeLast();  // after the last line end
        return lines;
    }

private slots:
    void aPathWithBlanksAndQuotesArrivesWhole()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = QStringLiteral("/home/u/내 자막/film \"cut\".smi");
        QCOMPARE(argumentsSeen(dir, "%p %f", path), QStringList{path});
        QCOMPARE(argumentsSeen(dir, "%p -x \"%F\" %f.txt", path),
                 (QStringList{QStringLiteral("-x"), path, path + QStringLiteral(".txt")}));
        const QString plain = QStringLiteral("/home/u/a.smi");
        QCOMPARE(argumentsSeen(dir, "%p %f", plain), QStringList{plain});
    }

    void aMissingProgramIsReported()
    {
        app::QtProcessLauncher launcher;
        QVERIFY(!launcher.launch("/nonexistent/editor /tmp/a.smi"));
        QVERIFY(!launcher.launch("   "));
    }
};

QTEST_GUILESS_MAIN(ProcessLauncherTest)
#include "process_launcher_test.moc"
