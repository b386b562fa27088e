#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "dialog_test_support.h"
#include "dialogs/export_format_dialog.h"
#include "dialogs/subtitle_file_dialog.h"
#include "formats/export_sample.h"
#include "main_frame.h"
#include "settings/app_settings.h"
#include "support/recording_messenger.h"
#include "test_context.h"

using verbanta::ExportFormat;
using verbanta::app::ExportFormatDialog;

namespace {

QComboBox* combo(ExportFormatDialog& d, int n)
{
    return d.findChildren<QComboBox*>().at(n);
}

QLineEdit* pathField(ExportFormatDialog& d)
{
    return d.findChild<QLineEdit*>();
}

}  // namespace

class ExportFormatDialogTest : public QObject {
    Q_OBJECT
    verbanta::AppSettings settings;

private slots:
    void suggestsOneNamePerLanguageAndFormat()
    {
        verbanta::SamiModel model(settings);
        verbanta::test::FillExportSample(model);
        verbanta::test::RecordingMessenger messenger;
        ExportFormatDialog d(model, "/films/movie.smi", messenger);
        QCOMPARE(combo(d, 1)->count(), 2);
        QVERIFY(combo(d, 1)->isEnabled());
        QCOMPARE(d.format(), ExportFormat::SubRip);
        // Both languages of the sample say "ko-KR": their classes keep the names apart.
        QCOMPARE(d.path(), QStringLiteral("/films/movie.krcc.srt"));
        combo(d, 0)->setCurrentIndex(2);
        QCOMPARE(d.format(), ExportFormat::Ass);
        QCOMPARE(d.path(), QStringLiteral("/films/movie.krcc.ass"));
        combo(d, 1)->setCurrentIndex(1);
        QCOMPARE(d.languageIndex(), 1);
        QCOMPARE(d.path(), QStringLiteral("/films/movie.encc.ass"));
        verbanta::test::shoot(d, "export_format_dialog");
    }

    void usesTheShortLanguageCodeWhenItIsUnique()
    {
        verbanta::SamiModel model(settings);
        verbanta::test::FillExportSample(model);
        model.SetClassRule(".ENCC", ".ENCC { Name:English; lang:en-US; SAMIType:CC; }");
        verbanta::test::RecordingMessenger messenger;
        ExportFormatDialog d(model, "/films/movie.smi", messenger);
        QCOMPARE(d.path(), QStringLiteral("/films/movie.ko.srt"));
        combo(d, 1)->setCurrentIndex(1);
        QCOMPARE(d.path(), QStringLiteral("/films/movie.en.srt"));
    }

    void keepsANameTheUserTyped()
    {
        verbanta::SamiModel model(settings);
        verbanta::test::FillExportSample(model);
        verbanta::test::RecordingMessenger messenger;
        ExportFormatDialog d(model, "/films/movie.smi", messenger);
        pathField(d)->setText("/elsewhere/mine.srt");
        combo(d, 1)->setCurrentIndex(1);
        QCOMPARE(d.path(), QStringLiteral("/elsewhere/mine.srt"));
    }

    void aSingleLanguageDocumentHasNoLanguageInItsName()
    {
        verbanta::SamiModel model(settings);
        verbanta::test::RecordingMessenger messenger;
        ExportFormatDialog d(model, "/films/한글 영화.smi", messenger);
        QVERIFY(!combo(d, 1)->isEnabled());
        combo(d, 0)->setCurrentIndex(1);
        QCOMPARE(d.path(), QStringLiteral("/films/한글 영화.vtt"));
    }

    void refusesAnEmptyNameAndAsksBeforeReplacingAFile()
    {
        verbanta::SamiModel model(settings);
        verbanta::test::RecordingMessenger messenger;
        QTemporaryDir dir;
        const QString existing = dir.filePath("old.srt");
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        ExportFormatDialog d(model, QString(), messenger);
        pathField(d)->setText("  ");
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(messenger.shown.size(), std::size_t(1));

        pathField(d)->setText(existing);
        d.accept();  // answered No
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(messenger.questions.size(), std::size_t(1));
        QVERIFY(messenger.questions[0].find(existing.toStdString()) != std::string::npos);

        messenger.answers.push_back(verbanta::Answer::Yes);
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }

    void writesTheChosenLanguageInTheChosenFormat()
    {
        verbanta::SamiModel model(settings);
        verbanta::test::FillExportSample(model);
        verbanta::test::RecordingMessenger messenger;
        QTemporaryDir dir;
        const QString document = dir.filePath("movie.smi");
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<ExportFormatDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            combo(*d, 0)->setCurrentIndex(1);
            combo(*d, 1)->setCurrentIndex(1);
            d->accept();
        });
        QVERIFY(verbanta::app::exportOtherFormat(model, document, messenger, nullptr));
        QFile out(dir.filePath("movie.encc.vtt"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll().toStdString(),
                 verbanta::exportSubtitles(model, 1, ExportFormat::WebVtt));
        QVERIFY(messenger.shown.empty());
    }

    void browsingOffersTheFormatsFilterAndAChosenNameSetsTheFormat()
    {
        verbanta::SamiModel model(settings);
        verbanta::test::RecordingMessenger messenger;
        QTemporaryDir dir;
        ExportFormatDialog d(model, dir.filePath("movie.smi"), messenger);
        combo(d, 0)->setCurrentIndex(2);
        const QString other = dir.filePath("other.vtt");
        QTimer::singleShot(0, [&] {
            auto* files =
                qobject_cast<verbanta::app::SubtitleFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(files);
            QCOMPARE(files->filterEntry(), 3);  // the chosen format's files
            QCOMPARE(files->chosenFile(), dir.filePath("movie.ass"));
            files->selectFile(other);
            files->accept();
        });
        QPushButton* browse = verbanta::test::button(d, QStringLiteral("찾아보기(&B)..."));
        QVERIFY(browse);
        browse->click();
        QCOMPARE(d.path(), other);
        QCOMPARE(d.format(), ExportFormat::WebVtt);
        QVERIFY(messenger.questions.empty());
    }

    void theFileMenuOffersItAfterTheTextExport()
    {
        verbanta::test::TestContext t;
        verbanta::app::CMainFrame frame(t.context);
        QAction* action = frame.commands().action(verbanta::app::cmd::ExportOtherFormat);
        QVERIFY(action);
        QCOMPARE(action->text(), QStringLiteral("다른 포맷으로 내보내기(&X)..."));
        frame.commands().updateStates();
        QVERIFY(action->isEnabled());
    }
};

QTEST_MAIN(ExportFormatDialogTest)
#include "export_format_dialog_test.moc"
