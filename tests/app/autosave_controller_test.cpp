// Recovery copies in the window: the worker writes what the window serialised, the file
// commands remove the copy, a folder that cannot be written turns autosave off with one
// message, and the start-up offer restores and discards left copies.
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtTest>

#include "autosave_controller.h"
#include "document/autosave_snapshot.h"
#include "document/document.h"
#include "document/file_operations.h"
#include "frame_fixture.h"
#include "recovery_dialog.h"

using namespace verbanta;

namespace {

void writeFile(const QString& path, const std::string& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// Changes the first caption as an edit would.
void editFirst(Document& doc, const std::string& text)
{
    SyncEntry entry = doc.model().GetFirst();
    entry.text = text;
    doc.model().SetAt(doc.model().GetHeadPosition(), entry, true);
    doc.setModifiedFlag(true);
}

/// Writes a copy as a run that then ended abnormally would have left it.
void leaveCopy(const QString& folder, const std::string& id, const std::string& path,
               std::int64_t savedAt)
{
    RecoveryStore crashed(folder.toStdString(), id, systemFileOperations());
    RecoveryManifest manifest;
    manifest.originalPath = path;
    manifest.title = "x";
    manifest.savedAt = savedAt;
    const std::string sami = test::cp949(
        "<SAMI><BODY><SYNC Start=1000><P Class=KRCC>남은 작업\r\n</BODY></SAMI>");
    QVERIFY(crashed.writeCopy(sami, manifest));
}

}  // namespace

class AutosaveControllerTest : public QObject {
    Q_OBJECT

private slots:
    void theWorkerWritesTheCopyAndACleanDocumentRemovesIt()
    {
        test::TestContext t;
        t.settings.AutoSaveSeconds = 1;
        QTemporaryDir dir;
        const QString film = dir.filePath(QStringLiteral("film.smi"));
        writeFile(film, test::cp949(test::kTwoLanguages));
        Document doc(t.settings, t.messenger, systemFileOperations());
        QVERIFY(doc.openDocument(film.toStdString()));
        const QString folder = dir.filePath(QStringLiteral("data/recovery"));
        app::AutosaveController autosave(doc, t.settings, t.messenger, folder);

        autosave.scheduler().makeDue();
        autosave.tick();  // clean: nothing to keep
        autosave.waitUntilIdle();
        QVERIFY(!autosave.store().hasOwnCopy());

        editFirst(doc, test::cp949("고친 자막"));
        const std::string expected = makeRecoverySnapshot(doc, 0).bytes;
        QSignalSpy written(&autosave, &app::AutosaveController::copyWritten);
        autosave.scheduler().makeDue();
        autosave.tick();
        autosave.waitUntilIdle();
        const QString copy = QString::fromStdString(autosave.store().copyPathOf(
            autosave.store().sessionId()));
        QCOMPARE(readAll(copy), QByteArray::fromStdString(expected));
        QTRY_COMPARE(written.count(), 1);
        // The user's own file and its backup are never touched.
        QCOMPARE(readAll(film), QByteArray::fromStdString(test::cp949(test::kTwoLanguages)));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("film.BAK"))));

        autosave.documentClean();
        autosave.waitUntilIdle();
        QVERIFY(!autosave.store().hasOwnCopy());
        QVERIFY(t.messenger.shown.empty());
    }

    void anUnwritableFolderShowsOneMessageAndTurnsAutosaveOff()
    {
        test::TestContext t;
        t.settings.AutoSaveSeconds = 1;
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("plain")), "x");
        Document doc(t.settings, t.messenger, systemFileOperations());
        doc.newDocument();
        SyncEntry entry;
        doc.model().InitEntry(entry);
        entry.text = "a";
        doc.model().AddTail(entry, true);
        doc.setModifiedFlag(true);
        // A file where the folder should be: no folder can be made there, even by root.
        const QString folder = dir.filePath(QStringLiteral("plain/recovery"));
        app::AutosaveController autosave(doc, t.settings, t.messenger, folder);
        for (int i = 0; i < 3; ++i) {
            entry.text += "b";
            doc.model().SetAt(doc.model().GetHeadPosition(), entry, true);
            autosave.scheduler().makeDue();
            autosave.tick();
            autosave.waitUntilIdle();
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY(autosave.scheduler().disabled());
        QCOMPARE(t.messenger.shown.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(t.messenger.shown[0].text),
                 QString::fromUtf8("복구용 자동 저장 파일을 \"%1\" 폴더에 쓸 수 없습니다.\n"
                                   "이번 실행 동안 자동 저장을 하지 않습니다.")
                     .arg(folder));
    }

    void saveAndCloseWithoutSavingRemoveTheWindowsCopy()
    {
        test::FrameFixture f;
        f.t.settings.AutoSaveSeconds = 1;
        QVERIFY(f.openTwoLanguages());
        app::AutosaveController& autosave = f.frame->documentHost().autosave();
        editFirst(f.frame->documentHost().document(), "edited");
        autosave.scheduler().makeDue();
        autosave.tick();
        autosave.waitUntilIdle();
        QVERIFY(autosave.store().hasOwnCopy());
        QVERIFY(f.frame->documentHost().save());
        autosave.waitUntilIdle();
        QVERIFY(!autosave.store().hasOwnCopy());

        editFirst(f.frame->documentHost().document(), "edited again");
        autosave.scheduler().makeDue();
        autosave.tick();
        autosave.waitUntilIdle();
        QVERIFY(autosave.store().hasOwnCopy());
        f.t.messenger.answers.push_back(Answer::No);  // "save the changes?" - no
        QVERIFY(f.frame->documentHost().closeGuard());
        autosave.waitUntilIdle();
        QVERIFY(!autosave.store().hasOwnCopy());
    }

    void theOfferListsEveryLeftCopyAndRestoresOneBoundToItsFile()
    {
        test::FrameFixture f;
        const QString folder = f.frame->documentHost().autosave().folder();
        const QString film = f.dir.filePath(QStringLiteral("film.smi"));
        writeFile(film, test::cp949(test::kTwoLanguages));
        leaveCopy(folder, "00000000000000a1", film.toStdString(), 1000);
        leaveCopy(folder, "00000000000000a2", "", 2000);

        std::unique_ptr<app::RecoveryDialog> dialog =
            f.frame->documentHost().makeRecoveryDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->rowCount(), 2);
        // Newest first; an untitled copy shows its title.
        QCOMPARE(dialog->cellText(0, 0), QStringLiteral("x"));
        QCOMPARE(dialog->cellText(0, 1), QString());
        QCOMPARE(dialog->cellText(1, 0), QStringLiteral("film.smi"));
        QCOMPARE(dialog->cellText(1, 1), film);
        QCOMPARE(dialog->cellText(1, 2),
                 QDateTime::fromSecsSinceEpoch(1000).toString(
                     QStringLiteral("yyyy-MM-dd HH:mm:ss")));

        dialog->selectRow(1);
        QVERIFY(dialog->restoreSelected());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        Document& doc = f.frame->documentHost().document();
        QCOMPARE(QString::fromStdString(doc.pathName()), film);
        QVERIFY(doc.isModified());
        QCOMPARE(f.frame->windowTitle(), QString::fromUtf8("film.smi * - Verbanta"));
        QCOMPARE(QString::fromStdString(cp949ToUtf8(doc.model().GetFirst().text)),
                 QString::fromUtf8("남은 작업"));

        // Once this run's copy holds the restored work, the left copy goes; the other stays.
        f.frame->documentHost().autosave().waitUntilIdle();
        QVERIFY(f.frame->documentHost().autosave().store().hasOwnCopy());
        const auto left = f.frame->documentHost().autosave().store().listLeftCopies();
        QCOMPARE(left.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(left[0].id), QStringLiteral("00000000000000a2"));
        f.frame->documentHost().autosave().store().removeEntry(left[0]);
        f.frame->documentHost().autosave().documentClean();
        f.frame->documentHost().autosave().waitUntilIdle();
    }

    void discardDeletesTheChosenCopyAndTheLastOneClosesTheOffer()
    {
        test::FrameFixture f;
        const QString folder = f.frame->documentHost().autosave().folder();
        leaveCopy(folder, "00000000000000b1", "/films/a.smi", 1000);
        leaveCopy(folder, "00000000000000b2", "/films/b.smi", 2000);
        std::unique_ptr<app::RecoveryDialog> dialog =
            f.frame->documentHost().makeRecoveryDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->rowCount(), 2);
        dialog->selectRow(0);
        QVERIFY(dialog->discardSelected());
        QCOMPARE(dialog->rowCount(), 1);
        QCOMPARE(dialog->cellText(0, 0), QStringLiteral("a.smi"));
        QVERIFY(!QFile::exists(folder + QStringLiteral("/00000000000000b2.smi")));
        QVERIFY(!QFile::exists(folder + QStringLiteral("/00000000000000b2.manifest")));
        QVERIFY(QFile::exists(folder + QStringLiteral("/00000000000000b1.smi")));
        QVERIFY(dialog->discardSelected());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QVERIFY(!f.frame->documentHost().makeRecoveryDialog());
        // The document was left alone.
        QVERIFY(!f.frame->documentHost().document().isModified());
    }
};

int main(int argc, char** argv)
{
    // The recovery folder of the windows under test lives in a folder of its own.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quandel Soft"));
    QApplication::setApplicationName(QStringLiteral("Verbanta"));
    AutosaveControllerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "autosave_controller_test.moc"
