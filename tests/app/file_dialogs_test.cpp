#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHeaderView>
#include <QListView>
#include <QTreeView>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <functional>

#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "dialog_test_support.h"
#include "dialogs/file_dialog_look.h"
#include "dialogs/import_file_dialog.h"
#include "dialogs/merge_files_dialog.h"
#include "dialogs/save_language_dialog.h"
#include "dialogs/split_file_dialog.h"
#include "frame_fixture.h"
#include "model/language_operations.h"

using namespace verbanta;
using app::SubtitleFileDialog;
namespace cmd = app::cmd;

namespace {

const char* const kSubRip =
    "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nWorld\r\n";

/// Acts on the dialog of type T that the next modal loop shows; another dialog is closed and
/// the test fails, so that a wrong dialog never hangs it.
template <typename T>
void whenShown(std::function<void(T&)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<T*>(modal);
        if (!dialog) {
            if (modal)
                modal->close();
            QFAIL("the expected dialog did not open");
        }
        act(*dialog);
        // A failed check inside must not leave the test waiting on an open dialog.
        if (QTest::currentTestFailed() && dialog->isVisible())
            dialog->reject();
    });
}

/// Chooses a file in the file dialog that opens next, with the filter entry numbered from 1.
void chooseFile(const QString& path, int filterEntry = 0)
{
    whenShown<SubtitleFileDialog>([path, filterEntry](SubtitleFileDialog& d) {
        if (filterEntry > 0)
            d.selectNameFilter(d.nameFilters().at(filterEntry - 1));
        d.selectFile(path);
        d.accept();
    });
}

void cancelFileDialog()
{
    whenShown<SubtitleFileDialog>([](SubtitleFileDialog& d) { d.reject(); });
}

QStringList comboTexts(const QComboBox& combo)
{
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i) texts << combo.itemText(i);
    return texts;
}

QLabel* labelWithText(QWidget& d, const QString& text)
{
    for (QLabel* l : d.findChildren<QLabel*>())
        if (l->text() == text)
            return l;
    return nullptr;
}

/// The drop-down list the row "### 동영상 프레임:" names.
QComboBox* rateCombo(QWidget& d)
{
    QLabel* label = labelWithText(d, QStringLiteral("### 동영상 프레임:"));
    return label ? qobject_cast<QComboBox*>(label->buddy()) : nullptr;
}

QComboBox* fileTypeCombo(QFileDialog& d)
{
    return d.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
}

/// The captions of the current list as "start:text" in UTF-8.
QStringList rowsOf(const test::FrameFixture& f)
{
    QStringList rows;
    const SamiModel& model = f.frame->documentHost().model();
    for (int i = 0; i < model.GetCount(); ++i) {
        const SyncEntry* e = model.entryAt(model.FindIndex(i));
        rows << QString::number(e->startMs) + QLatin1Char(':') +
                    QString::fromStdString(test::utf8(e->text));
    }
    return rows;
}

std::string readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

}  // namespace

class FileDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void fileDialogColumnsFitTheirContentAndSpeakKorean()
    {
        QTemporaryDir dir;
        QFile big(dir.filePath(QStringLiteral("Subtitles of a rather long film.smi")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(QByteArray(495616, 'x'));  // 484 KB
        big.close();
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("자막 폴더")));
        app::installFileDialogLook();
        SubtitleFileDialog d(nullptr, SubtitleFileDialog::Mode::Open,
                             "SAMI 자막 파일 (*.smi)|*.smi|모든 파일 (*.*)|*.*||");
        d.setDirectory(dir.path());
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        auto* tree = d.findChild<QTreeView*>(QStringLiteral("treeView"));
        QVERIFY(tree);
        // The list view is the dialog's first look; the columns are those of the detail view.
        d.setViewMode(QFileDialog::Detail);
        QTRY_COMPARE(tree->model()->rowCount(tree->rootIndex()), 2);
        QApplication::processEvents();
        QHeaderView* header = tree->header();
        bool sawSize = false;
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 4; ++column) {
                const QModelIndex index = tree->model()->index(row, column, tree->rootIndex());
                const QString text = index.data().toString();
                const int needed = tree->fontMetrics().horizontalAdvance(text) +
                                   (column == 0 ? tree->iconSize().width() + 8 : 8);
                QVERIFY2(header->sectionSize(column) >= needed,
                         qPrintable(QStringLiteral("column %1 cuts \"%2\"").arg(column).arg(text)));
                if (column == 1 && !text.isEmpty()) {
                    QCOMPARE(text, QStringLiteral("484 KB"));
                    sawSize = true;
                }
                if (column == 3)
                    QVERIFY2(text.contains(QStringLiteral("오전")) ||
                                 text.contains(QStringLiteral("오후")),
                             qPrintable(text));
            }
        }
        QVERIFY(sawSize);
        // Every column is on screen: the list needs no sideways scrolling.
        QVERIFY(header->length() <= tree->viewport()->width());
        auto* sidebar = d.findChild<QListView*>(QStringLiteral("sidebar"));
        QVERIFY(sidebar);
        for (int row = 0; row < sidebar->model()->rowCount(); ++row) {
            const QString text = sidebar->model()->index(row, 0).data().toString();
            QTRY_VERIFY2(sidebar->viewport()->width() >=
                             sidebar->fontMetrics().horizontalAdvance(text) +
                                 sidebar->iconSize().width() + 8,
                         qPrintable(text));
        }
        test::shoot(d, "file_dialog_detail");
        d.reject();
    }

    void pairedFiltersBecomeQtFiltersWithTheirLabelsShownAsWritten()
    {
        const QStringList filters = SubtitleFileDialog::qtFilters(app::ImportFileDialog::kFilter);
        QCOMPARE(filters.size(), 8);
        QCOMPARE(filters[0],
                 QStringLiteral("지원 가능한 자막 파일 (*.ass *.srt *.ssa *.sub *.xss *.txt)"));
        QCOMPARE(filters[1], QStringLiteral("SubRipper 파일(*.srt;*.txt) (*.srt *.txt)"));
        // "*.*" must also list files whose names have no dot.
        QCOMPARE(filters[7], QStringLiteral("모든 파일 (*.*) (*)"));

        test::RecordingMessenger messenger;
        app::ImportFileDialog d(nullptr, messenger);
        QComboBox* types = fileTypeCombo(d);
        QVERIFY(types);
        QCOMPARE(comboTexts(*types),
                 QStringList({"지원 가능한 자막 파일", "SubRipper 파일(*.srt;*.txt)",
                              "MicroDVD 파일(*.sub;*.txt)", "SubViewer 파일(*.sub;*.txt)",
                              "Sub Station Alpha 파일(*.ass;*.ssa;*.txt)", "VPlayer 파일(*.txt)",
                              "Xombie 파일(*.xss;*.txt)", "모든 파일 (*.*)"}));
        QCOMPARE(d.filterEntry(), 1);
        d.selectNameFilter(d.nameFilters().at(4));
        QCOMPARE(d.filterEntry(), 5);
    }

    void importDialogOffersTheFrameRatesWith25ChosenBelowTheFileList()
    {
        test::RecordingMessenger messenger;
        app::ImportFileDialog d(nullptr, messenger);
        QCOMPARE(d.options() & QFileDialog::DontUseNativeDialog, QFileDialog::DontUseNativeDialog);
        QComboBox* rate = rateCombo(d);
        QVERIFY(rate);
        QLabel* label = labelWithText(d, QStringLiteral("### 동영상 프레임:"));
        QCOMPARE(comboTexts(*rate), QStringList({"23.976", "24", "25", "29.97", "30"}));
        QCOMPARE(rate->currentText(), QStringLiteral("25"));
        QCOMPARE(d.framesPerSecond(), 25.0);
        bool noteShown = false;
        for (QLabel* l : d.findChildren<QLabel*>())
            noteShown |= l->text() == QStringLiteral("(MicroDVD 형식에만 적용)");
        QVERIFY(noteShown);
        // The row is the last of the dialog's grid, under the file list and the file type.
        auto* grid = qobject_cast<QGridLayout*>(d.layout());
        QVERIFY(grid);
        QCOMPARE(grid->itemAtPosition(grid->rowCount() - 1, 0)->widget(), label);
        rate->setCurrentIndex(0);
        QCOMPARE(d.framesPerSecond(), 23.976);
        if (qEnvironmentVariableIsSet("VERBANTA_SHOTS")) {
            QTemporaryDir folder;
            for (const char* name : {"movie.srt", "movie.smi", "한글 자막.ass", "notes.txt"})
                QFile(folder.filePath(QString::fromUtf8(name))).open(QIODevice::WriteOnly);
            d.setDirectory(folder.path());
            d.show();
            QTest::qWait(300);  // the folder is listed in the background
            d.grab().save(qEnvironmentVariable("VERBANTA_SHOTS") + "/import_file_dialog.png");
        }
    }

    void importReplacesTheDocumentWithTheChosenReadersCaptions()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        const QString srt = f.writeBytes("movie.srt", kSubRip);
        chooseFile(srt, 2);
        QVERIFY(f.frame->commands().run(cmd::ImportOtherFormat));
        QCOMPARE(rowsOf(f),
                 QStringList({"1000:Hello", "2500:&nbsp;", "3000:World", "4000:&nbsp;"}));
        app::DocumentHost& host = f.frame->documentHost();
        QVERIFY(host.document().isModified());
        QVERIFY(host.path().empty());  // saving asks for a name
        QCOMPARE(f.rows().rowCount(), 4);
        QVERIFY(f.t.messenger.shown.empty());
    }

    void reopenInEncodingReadsTheOpenFileAgainInTheChosenOne()
    {
        test::FrameFixture f;
        QVERIFY(!f.frame->commands().isEnabled(cmd::ReopenInEncoding));  // no file yet
        // CP949 "치킨" happens to be well-formed UTF-8, so the guess reads it wrongly.
        QVERIFY(f.open(f.write(QStringLiteral("a.smi"),
                               "<SAMI><BODY><SYNC Start=1000><P Class=KRCC>치킨</BODY></SAMI>")));
        QCOMPARE(f.frame->encodingText(), QStringLiteral("UTF-8"));
        whenShown<QInputDialog>([](QInputDialog& d) {
            QCOMPARE(d.comboBoxItems(), QStringList({"CP949", "UTF-8", "UTF-16 LE", "UTF-16 BE"}));
            QCOMPARE(d.textValue(), QStringLiteral("UTF-8"));
            d.setTextValue(QStringLiteral("CP949"));
            d.accept();
        });
        QVERIFY(f.frame->commands().run(cmd::ReopenInEncoding));
        QCOMPARE(f.frame->encodingText(), QStringLiteral("CP949"));
        QCOMPARE(rowsOf(f).value(0), QStringLiteral("1000:치킨"));
    }

    void importUsesTheChosenFrameRateForMicroDvd()
    {
        test::FrameFixture f;
        const QString sub = f.writeBytes("movie.sub", "{100}{}Hi\r\n");
        whenShown<app::ImportFileDialog>([sub](app::ImportFileDialog& d) {
            rateCombo(d)->setCurrentIndex(0);
            d.selectNameFilter(d.nameFilters().at(2));
            d.selectFile(sub);
            d.accept();
        });
        QVERIFY(f.frame->commands().run(cmd::ImportOtherFormat));
        QCOMPARE(rowsOf(f), QStringList({"4170:Hi", "6673:&nbsp;"}));
    }

    void importOfAFileTheChosenReaderRejectsLeavesAnEmptyCleanDocument()
    {
        test::FrameFixture f;
        const QString srt = f.writeBytes("movie.srt", kSubRip);
        chooseFile(srt, 5);  // Sub Station Alpha only
        QVERIFY(f.frame->commands().run(cmd::ImportOtherFormat));
        QCOMPARE(f.t.messenger.shown.size(), std::size_t(1));
        QCOMPARE(f.t.messenger.shown[0].text,
                 std::string("지정한 파일은 지원하는 자막 파일 형식이 아닙니다."));
        QCOMPARE(f.rows().rowCount(), 0);
        QVERIFY(!f.frame->documentHost().document().isModified());
    }

    void importAsksBeforeDiscardingUnsavedChangesAndCancelKeepsThem()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.frame->documentHost().document().setModifiedFlag(true);
        const QString srt = f.writeBytes("movie.srt", kSubRip);
        f.t.messenger.answers.push_back(Answer::Cancel);
        chooseFile(srt);
        QVERIFY(f.frame->commands().run(cmd::ImportOtherFormat));
        QCOMPARE(f.t.messenger.questions.size(), std::size_t(1));
        QCOMPARE(f.rows().rowCount(), 7);
        QVERIFY(f.frame->documentHost().document().isModified());

        // Cancelling the file dialog asks nothing and changes nothing.
        cancelFileDialog();
        QVERIFY(f.frame->commands().run(cmd::ImportOtherFormat));
        QCOMPARE(f.t.messenger.questions.size(), std::size_t(1));
        QCOMPARE(f.rows().rowCount(), 7);
    }

    void textImportMakesCaptionsOfLinesOrParagraphs()
    {
        test::FrameFixture f;
        const QString text = f.write("script.txt", "가\r\nB\r\n\r\n\r\nD\r\n");
        chooseFile(text);
        QVERIFY(f.frame->commands().run(cmd::ImportText));
        QCOMPARE(rowsOf(f), QStringList({"0:가", "0:B", "0:D"}));
        QVERIFY(f.frame->documentHost().document().isModified());

        f.t.settings.TwoReturnAsSync = true;
        f.t.messenger.answers.push_back(Answer::No);  // do not save the first import
        chooseFile(text);
        QVERIFY(f.frame->commands().run(cmd::ImportText));
        QCOMPARE(rowsOf(f), QStringList({"0:가<br>\r\nB", "0:D"}));
    }

    void textImportOfAMissingFileIsRefusedInTheDialog()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        const QString missing = f.dir.filePath("missing.txt");
        whenShown<SubtitleFileDialog>([missing](SubtitleFileDialog& d) {
            d.selectFile(missing);
            d.accept();  // refused with the message; the dialog stays open
            QVERIFY(d.isVisible());
            d.reject();
        });
        QVERIFY(f.frame->commands().run(cmd::ImportText));
        QCOMPARE(f.t.messenger.shown.size(), std::size_t(1));
        QVERIFY(contains(f.t.messenger.shown[0].text, "이 파일을 찾을 수 없음."));
        QCOMPARE(f.rows().rowCount(), 7);
    }

    void textExportProposesTheDocumentsNameAndAsksBeforeReplacing()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.frame->documentHost().document().setModifiedFlag(true);
        const QString target = f.dir.filePath("two.txt");
        whenShown<SubtitleFileDialog>([target](SubtitleFileDialog& d) {
            QCOMPARE(d.acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(d.chosenFile(), target);  // "two.smi *" proposes two.txt
            d.accept();
        });
        QVERIFY(f.frame->commands().run(cmd::ExportText));
        QCOMPARE(readAll(target), test::cp949("첫 자막\r\n둘째 줄\r\n\r\n노란 똠방\r\n\r\n마지막"));
        QVERIFY(f.t.messenger.questions.empty());

        // The file exists now: No keeps the dialog open and the file as it was.
        QFile::remove(target);
        f.writeBytes("two.txt", "keep");
        whenShown<SubtitleFileDialog>([](SubtitleFileDialog& d) {
            d.accept();
            QVERIFY(d.isVisible());
            d.reject();
        });
        QVERIFY(f.frame->commands().run(cmd::ExportText));
        QCOMPARE(f.t.messenger.questions.size(), std::size_t(1));
        QVERIFY(contains(f.t.messenger.questions[0], "이미 있는 파일입니다. 바꾸시겠습니까?"));
        QCOMPARE(readAll(target), std::string("keep"));
    }

    void splitWithoutBookmarksSaysWhereToSetThem()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        QVERIFY(f.frame->commands().run(cmd::SplitFile));
        QCOMPARE(f.t.messenger.shown.size(), std::size_t(1));
        QCOMPARE(f.t.messenger.shown[0].text,
                 std::string("각각 나눌 자막이 시작되는 위치에 북마크를 설정해 주십시오."));
    }

    void splitDialogListsThePartsAndWritesTheNamedOnes()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.editor().session().selectRow(3);
        f.editor().languages().toggleBookmark();
        f.editor().session().selectRow(2);  // the comment
        f.editor().languages().toggleBookmark();
        const QString first = f.dir.filePath("two_01.smi");
        const QString renamed = f.dir.filePath("tail.smi");
        whenShown<app::SplitFileDialog>([&](app::SplitFileDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("자막 파일 나누기"));
            auto* table = d.findChild<QTableWidget*>();
            QCOMPARE(table->rowCount(), 3);
            QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("싱크시간"));
            QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("자막 내용"));
            QCOMPARE(table->item(0, 0)->text(), QStringLiteral("1000"));
            QCOMPARE(table->item(1, 0)->text(), QStringLiteral("(코멘트)"));
            QCOMPARE(table->item(2, 2)->text(), QStringLiteral("two_03.smi"));
            QCOMPARE(d.selectedRow(), 0);
            auto* name = d.findChild<QLineEdit*>();
            QCOMPARE(name->text(), first);
            bool counted = false;
            for (QLabel* l : d.findChildren<QLabel*>())
                counted |= l->text() == QStringLiteral("나누기 가능 파일 수: 3개");
            QVERIFY(counted);
            if (qEnvironmentVariableIsSet("VERBANTA_SHOTS"))
                d.grab().save(qEnvironmentVariable("VERBANTA_SHOTS") + "/split_file_dialog.png");

            // An empty name is refused; a relative one lands beside the other parts.
            d.selectRow(2);
            name->clear();
            d.storeName();
            QCOMPARE(f.t.messenger.shown.size(), std::size_t(1));
            QCOMPARE(d.parts()[2].path, f.dir.filePath("two_03.smi").toStdString());
            name->setText(QStringLiteral("tail.smi"));
            d.storeName();
            QCOMPARE(table->item(2, 2)->text(), QStringLiteral("tail.smi"));
            QCOMPARE(d.parts()[2].path, renamed.toStdString());
            d.selectRow(1);
            d.clearName();
            QVERIFY(d.parts()[1].path.empty());
            QCOMPARE(name->text(), QString());
            // "찾기" fills the edit box only; the part keeps no name until "수정".
            const QString found = f.dir.filePath("found.smi");
            chooseFile(found);
            d.browse();
            QCOMPARE(name->text(), found);
            QCOMPARE(name->selectedText(), found);
            QVERIFY(d.parts()[1].path.empty());
            d.accept();
        });
        QVERIFY(f.frame->commands().run(cmd::SplitFile));
        QCOMPARE(f.t.messenger.shown.back().text,
                 std::string("총 2개의 자막 파일을 저장하였습니다."));
        const std::string head = readAll(first);
        QVERIFY(contains(head, "<SYNC Start=1000>"));
        QVERIFY(!contains(head, "<SYNC Start=3000>"));  // up to the next part, written or not
        const std::string tail = readAll(renamed);
        QVERIFY(contains(tail, "<SYNC Start=0>"));     // 3000 less the part's start
        QVERIFY(contains(tail, "<SYNC Start=3000>"));  // 6000 less 3000
        QVERIFY(contains(tail, ".ENCC"));              // every language class in the header
        QVERIFY(!QFile::exists(f.dir.filePath("two_02.smi")));
        QVERIFY(!f.frame->documentHost().document().isModified());
    }

    void splitOkWithoutAnyNameKeepsTheDialogOpenAndCancelWritesNothing()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.editor().session().selectRow(3);
        f.editor().languages().toggleBookmark();
        whenShown<app::SplitFileDialog>([&](app::SplitFileDialog& d) {
            d.selectRow(0);
            d.clearName();
            d.selectRow(1);
            d.clearName();
            d.accept();
            QVERIFY(d.isVisible());
            QCOMPARE(f.t.messenger.shown.back().text,
                     std::string("파일명이 입력된 북마크가 없습니다.\n나눈 결과를 저장할 파일명을 "
                                 "입력해 주십시오."));
            d.reject();
        });
        QVERIFY(f.frame->commands().run(cmd::SplitFile));
        QCOMPARE(f.t.messenger.shown.size(), std::size_t(1));  // no result message
        QCOMPARE(QDir(f.dir.path()).entryList({"*_0*.smi"}), QStringList());
    }

    void aFileChangedWhileTheSplitDialogIsOpenIsOfferedForReloadingAfterIt()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.editor().session().selectRow(3);
        f.editor().languages().toggleBookmark();
        const QString path = f.dir.filePath("two.smi");
        whenShown<app::SplitFileDialog>([&](app::SplitFileDialog& d) {
            // Another program rewrites the file: the dialog's rows must stay valid.
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(test::cp949(test::kTwoLanguages).c_str());
            file.setFileTime(QDateTime::currentDateTime().addSecs(60),
                             QFileDevice::FileModificationTime);
            file.close();
            QTest::qWait(300);
            QVERIFY(f.t.messenger.questions.empty());
            QCOMPARE(d.parts().size(), std::size_t(2));
            d.reject();
        });
        QVERIFY(f.frame->commands().run(cmd::SplitFile));
        QCOMPARE(f.t.messenger.questions.size(), std::size_t(1));
        QVERIFY(contains(f.t.messenger.questions[0], "다른 프로그램에서 수정되었습니다."));
        QVERIFY(f.frame->documentHost().document().watchId() != 0);
    }

    void splitWithItsOnlyBookmarkOnTheFirstSyncSaysTheResultWouldBeTheSame()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.editor().session().selectRow(0);
        f.editor().languages().toggleBookmark();
        QVERIFY(f.frame->commands().run(cmd::SplitFile));
        QCOMPARE(f.t.messenger.shown.size(), std::size_t(1));
        QCOMPARE(f.t.messenger.shown[0].text,
                 std::string("나눈 파일의 저장 결과가 현재 파일의 내용과 동일합니다."));
    }

    void mergeCancelledLeavesTheDocumentAsItWas()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        const QString other = f.write("other.smi", test::kTwoLanguages);
        whenShown<app::MergeFilesDialog>([&](app::MergeFilesDialog& d) {
            d.findChild<QLineEdit*>()->setText(other);
            d.addName();
            d.reject();
        });
        QVERIFY(f.frame->commands().run(cmd::MergeFiles));
        QCOMPARE(f.rows().rowCount(), 7);
        QVERIFY(!f.frame->documentHost().document().isModified());
    }

    void mergeOfAModifiedDocumentAsksToSaveFirstAndCancelKeepsTheDialogOpen()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.frame->documentHost().document().setModifiedFlag(true);
        const QString other = f.write("other.smi", test::kTwoLanguages);
        f.t.messenger.answers.push_back(Answer::Cancel);
        whenShown<app::MergeFilesDialog>([&](app::MergeFilesDialog& d) {
            d.findChild<QLineEdit*>()->setText(other);
            d.addName();
            d.accept();
            QVERIFY(d.isVisible());
            d.reject();
        });
        QVERIFY(f.frame->commands().run(cmd::MergeFiles));
        QCOMPARE(f.t.messenger.questions.size(), std::size_t(1));
        QVERIFY(contains(f.t.messenger.questions[0], "변경 내용을"));
        QCOMPARE(f.rows().rowCount(), 7);
        QVERIFY(f.frame->documentHost().document().isModified());
    }

    void mergeDialogEditsItsListAndOkJoinsTheFiles()
    {
        test::FrameFixture f;
        const QString a = f.write("a.smi", test::kTwoLanguages);
        f.write("b.smi", test::kTwoLanguages);
        QVERIFY(f.open(a));
        const int before = f.rows().rowCount();
        whenShown<app::MergeFilesDialog>([&](app::MergeFilesDialog& d) {
            auto* name = d.findChild<QLineEdit*>();
            auto* list = d.findChild<QListWidget*>();
            QCOMPARE(list->count(), 0);
            d.accept();  // an empty list is refused
            QVERIFY(d.isVisible());
            QCOMPARE(f.t.messenger.shown.back().text,
                     std::string("합칠 대상 파일을 설정해 주십시오."));
            d.addName();
            QCOMPARE(f.t.messenger.shown.back().text,
                     std::string("합칠 파일명을 입력해 주십시오."));
            name->setText(QStringLiteral("nothing.smi"));
            d.addName();
            QCOMPARE(f.t.messenger.shown.back().text,
                     std::string("지정하신 파일이 존재하지 않습니다."));
            name->setText(QStringLiteral("b.smi"));  // relative to the document's folder
            d.addName();
            name->setText(a);
            d.addName();
            d.addName();  // the same path twice stays once
            QCOMPARE(list->count(), 2);
            QCOMPARE(list->currentRow(), 1);
            bool counted = false;
            for (QLabel* l : d.findChildren<QLabel*>())
                counted |= l->text() == QStringLiteral("합칠 대상 파일 수: 2개");
            QVERIFY(counted);
            d.moveUp();
            QCOMPARE(list->item(0)->text(), a);
            QCOMPARE(list->currentRow(), 0);
            d.moveUp();  // at the top: nothing
            QCOMPARE(list->item(0)->text(), a);
            if (qEnvironmentVariableIsSet("VERBANTA_SHOTS"))
                d.grab().save(qEnvironmentVariable("VERBANTA_SHOTS") + "/merge_files_dialog.png");
            d.accept();
        });
        QVERIFY(f.frame->commands().run(cmd::MergeFiles));
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(f.rows().rowCount(), 2 * before);
        const SamiModel& model = f.frame->documentHost().model();
        QVERIFY(model.entryAt(model.FindIndex(before))->bookmarked);
        QVERIFY(model.entryAt(model.FindIndex(0))->rangeStart);
        QVERIFY(model.entryAt(model.FindIndex(2 * before - 1))->rangeEnd);
        QCOMPARE(model.entryAt(model.FindIndex(before))->startMs, 1000);  // own times kept
        QVERIFY(f.frame->documentHost().document().isModified());
        QCOMPARE(f.frame->documentHost().path(), a.toStdString());
    }

    void saveByLanguageWritesTheChosenLanguageAlone()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        const QString target = f.dir.filePath("english.smi");
        whenShown<app::SaveLanguageDialog>([&](app::SaveLanguageDialog& d) {
            QLabel* label = nullptr;
            for (QLabel* l : d.findChildren<QLabel*>())
                if (l->text() == QStringLiteral("### 저장할 언어:"))
                    label = l;
            QVERIFY(label);
            auto* language = qobject_cast<QComboBox*>(label->buddy());
            QCOMPARE(comboTexts(*language), QStringList({"한국어", "English"}));
            QCOMPARE(d.languageIndex(), 0);  // the current language
            QCOMPARE(comboTexts(*fileTypeCombo(d)),
                     QStringList({"SAMI 자막 파일 (*.smi)", "모든 파일(*.*)"}));
            if (qEnvironmentVariableIsSet("VERBANTA_SHOTS")) {
                d.grab().save(qEnvironmentVariable("VERBANTA_SHOTS") + "/save_language_dialog.png");
            }
            language->setCurrentIndex(1);
            d.selectFile(QStringLiteral("english"));  // the default extension is added
            d.accept();
        });
        QVERIFY(f.frame->commands().run(cmd::SaveByLanguage));
        const std::string written = readAll(target);
        QVERIFY(contains(written, "First"));
        QVERIFY(!contains(written, test::cp949("마지막")));
        QCOMPARE(f.frame->documentHost().model().GetLanguageCount(), 2);
        QVERIFY(!f.frame->documentHost().document().isModified());
        QCOMPARE(f.frame->documentHost().path(), f.dir.filePath("two.smi").toStdString());
    }

    void addLanguageIsOfferedInTheLanguageMenuAndAddsTheFilesCaptions()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        QAction* action = f.frame->commands().action(cmd::AddLanguageFile);
        QVERIFY(action);
        QMenu* languageMenu = nullptr;
        for (QAction* top : f.frame->menuBar()->actions())
            if (top->text() == QStringLiteral("다국어(&L)"))
                languageMenu = top->menu();
        QVERIFY(languageMenu);
        QVERIFY(languageMenu->actions().contains(action));
        QCOMPARE(action->text(), QStringLiteral("다국어 자막 추가"));

        const QString srt = f.writeBytes("movie.srt", kSubRip);
        whenShown<SubtitleFileDialog>([srt](SubtitleFileDialog& d) {
            QCOMPARE(fileTypeCombo(d)->itemText(0), QStringLiteral("SAMI 자막 파일 (*.smi)"));
            d.selectFile(srt);
            d.accept();
        });
        QVERIFY(f.frame->commands().run(cmd::AddLanguageFile));
        QCOMPARE(f.frame->documentHost().model().GetLanguageCount(), 3);
        QCOMPARE(f.editor().languages().languageTabs().size(), std::size_t(3));
        QCOMPARE(f.editor().languages().currentLanguageIndex(), 2);  // the added language is shown
        QCOMPARE(rowsOf(f).constFirst(), QStringLiteral("1000:Hello"));
        QVERIFY(f.frame->documentHost().document().isModified());
    }

    void addLanguageBeyondTenLanguagesChangesNothing()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        const QString two = f.write("more.smi", test::kTwoLanguages);
        for (int i = 0; i < 4; ++i) {
            chooseFile(two);
            QVERIFY(f.frame->commands().run(cmd::AddLanguageFile));
        }
        QCOMPARE(f.frame->documentHost().model().GetLanguageCount(), 10);
        f.frame->documentHost().document().setModifiedFlag(false);
        const std::size_t shown = f.t.messenger.shown.size();
        chooseFile(two);
        QVERIFY(f.frame->commands().run(cmd::AddLanguageFile));
        QCOMPARE(f.t.messenger.shown.size(), shown + 1);  // the limit's message
        QCOMPARE(f.frame->documentHost().model().GetLanguageCount(), 10);
        QVERIFY(!f.frame->documentHost().document().isModified());
    }
};

QTEST_MAIN(FileDialogsTest)
#include "file_dialogs_test.moc"
