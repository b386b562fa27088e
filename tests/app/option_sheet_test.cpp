#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "caption_list_view.h"
#include "caption_table_model.h"
#include "caption_view.h"
#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "dialogs/colour_picker.h"
#include "dialogs/file_option_page.h"
#include "dialogs/group_option_page.h"
#include "dialogs/number_field.h"
#include "dialogs/option_sheet.h"
#include "dialogs/sync_option_page.h"
#include "dialogs/view_option_page.h"
#include "edit_panel.h"
#include "frame_fixture.h"
#include "model/text_format.h"
#include "model/time_field.h"
#include "player/player_view.h"
#include "settings/app_settings.h"
#include "support/recording_messenger.h"
#include "time_field_widget.h"

using verbanta::AppSettings;
using verbanta::app::COptionSheet;
using verbanta::app::NumberField;

namespace {

NumberField& number(COptionSheet& sheet, const char* option)
{
    NumberField* field = sheet.findChild<NumberField*>(QString::fromLatin1(option));
    if (!field)
        qFatal("no number field %s", option);
    return *field;
}

QCheckBox& check(COptionSheet& sheet, const char* option)
{
    QCheckBox* box = sheet.findChild<QCheckBox*>(QString::fromLatin1(option));
    if (!box)
        qFatal("no check box %s", option);
    return *box;
}

/// Runs `work` on the options sheet once the command has opened it.
void onSheet(std::function<void(COptionSheet&)> work)
{
    QTimer::singleShot(50, [work] {
        auto* sheet = qobject_cast<COptionSheet*>(QApplication::activeModalWidget());
        QVERIFY(sheet);
        work(*sheet);
    });
}

/// Runs `work` on the file dialog once it is open; gives up
/// after a few seconds so that a dialog that never opens fails the test instead of hanging it.
void whenModal(std::function<void(QWidget*)> work)
{
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, work] {
        // The file dialog is looked for by its kind: a window an earlier case left open can
        // stand first in the modal order.
        QWidget* modal = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QFileDialog*>(w) && w->isVisible())
                modal = w;
        if (modal) {
            timer->deleteLater();
            timer->stop();
            work(modal);
        } else if (++*tries > 200) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
}

QStringList labelsOf(const QWidget& page)
{
    QStringList texts;
    for (const QLabel* label : page.findChildren<QLabel*>()) texts << label->text();
    for (const QCheckBox* box : page.findChildren<QCheckBox*>()) texts << box->text();
    for (const QGroupBox* group : page.findChildren<QGroupBox*>()) texts << group->title();
    return texts;
}

}  // namespace

class OptionSheetTest : public QObject {
    Q_OBJECT
    verbanta::test::RecordingMessenger messenger;

    void shoot(COptionSheet& sheet, int tab, const char* name)
    {
        if (!qEnvironmentVariableIsSet("VERBANTA_SHOTS"))
            return;
        sheet.tabs().setCurrentIndex(tab);
        sheet.show();
        QApplication::processEvents();
        sheet.grab().save(qEnvironmentVariable("VERBANTA_SHOTS") + "/" + name);
    }

    /// One field of each kind on every page changed as the user would.
    static void editEveryPage(COptionSheet& sheet)
    {
        number(sheet, "SyncIncrease").setValue(250);
        number(sheet, "OneLetterSync").stepBy(1);
        check(sheet, "DeleteEndToo").setChecked(true);
        check(sheet, "InsertBR").setChecked(false);
        sheet.syncPage().newSyncField().setText(QStringLiteral("[빈 자막]"));
        check(sheet, "DisplayAsTime").setChecked(true);
        number(sheet, "MovieRepeatTime").stepBy(-1);
        sheet.filePage().editorField().setText(QStringLiteral("gedit %f"));
        check(sheet, "NoFileWatch").setChecked(true);
        number(sheet, "AutoSaveSeconds").setValue(0);
        number(sheet, "FontSize").stepBy(1);
        number(sheet, "LeftMargin").stepBy(-1);
        number(sheet, "CheckMinDuration").stepBy(1);
        check(sheet, "CheckEnabled").setChecked(false);
    }

private slots:
    void init() { messenger.shown.clear(); }

    void opensWithFivePagesShowingTheDefaults()
    {
        AppSettings settings;
        COptionSheet sheet(settings, messenger);
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Pelorin~ 옵션 설정"));
        QCOMPARE(sheet.tabs().count(), 5);
        QCOMPARE(sheet.tabs().tabText(0), QStringLiteral("싱크 조절"));
        QCOMPARE(sheet.tabs().tabText(1), QStringLiteral("자막 보기"));
        QCOMPARE(sheet.tabs().tabText(2), QStringLiteral("파일"));
        QCOMPARE(sheet.tabs().tabText(3), QStringLiteral("일괄 포맷 조정"));
        QCOMPARE(sheet.tabs().tabText(4), QStringLiteral("자막 검사"));
        QCOMPARE(number(sheet, "SyncIncrease").text(), QStringLiteral("100"));
        QCOMPARE(number(sheet, "SyncModify").text(), QStringLiteral("0"));
        QCOMPARE(sheet.syncPage().newSyncField().text(), QStringLiteral("[새 자막]"));
        QCOMPARE(number(sheet, "OneLetterSync").text(), QStringLiteral("200"));
        QCOMPARE(number(sheet, "MovieMoveTime").text(), QStringLiteral("5000"));
        QCOMPARE(number(sheet, "MovieRepeatTime").text(), QStringLiteral("5000"));
        QCOMPARE(number(sheet, "AutoSaveSeconds").text(), QStringLiteral("60"));
        QCOMPARE(number(sheet, "FontSize").text(), QStringLiteral("14"));
        QCOMPARE(number(sheet, "TopMargin").text(), QStringLiteral("2"));
        QCOMPARE(number(sheet, "RightMargin").text(), QStringLiteral("8"));
        QCOMPARE(number(sheet, "CheckMaxReadingSpeed").text(), QStringLiteral("12"));
        QCOMPARE(number(sheet, "CheckMaxLineLetters").text(), QStringLiteral("16"));
        QCOMPARE(number(sheet, "CheckMaxLines").text(), QStringLiteral("2"));
        QCOMPARE(number(sheet, "CheckMinDuration").text(), QStringLiteral("1000"));
        QCOMPARE(number(sheet, "CheckMaxDuration").text(), QStringLiteral("7000"));
        QCOMPARE(number(sheet, "CheckMinGapFrames").text(), QStringLiteral("2"));
#ifdef _WIN32
        QCOMPARE(sheet.filePage().editorField().text(), QStringLiteral("notepad.exe %f"));
#else
        // Empty: the user's own editor, which the field names.
        QCOMPARE(sheet.filePage().editorField().text(), QString());
        QVERIFY(sheet.filePage().editorField().placeholderText().startsWith(
            QStringLiteral("(비워 두면 ")));
#endif
        for (const char* on :
             {"InsertBR", "MoveToNextSync", "MakeBackup", "MatchListToMovie", "CheckEnabled"})
            QVERIFY2(check(sheet, on).isChecked(), on);
        for (const char* off : {"InsertEndAuto", "DeleteEndToo", "MoveEndToo", "NoFileWatch",
                                "AutoLoadFile", "TwoReturnAsSync", "DisplayTag", "DisplayAsTime",
                                "DisplayErrorSync", "NotDisplayBanner"})
            QVERIFY2(!check(sheet, off).isChecked(), off);
        QCOMPARE(sheet.groupPage().weightList().currentText(), QStringLiteral("보통"));
        QCOMPARE(sheet.groupPage().alignList().currentText(), QStringLiteral("중앙"));
        QCOMPARE(sheet.groupPage().colourPicker().colour(), QColor(Qt::white));
        QCOMPARE(sheet.groupPage().fontList(1).currentText(), QStringLiteral("Arial"));
        QCOMPARE(sheet.groupPage().fontList(2).currentText(), QStringLiteral("MS Sans Serif"));
        shoot(sheet, 0, "options_sync.png");
        shoot(sheet, 1, "options_view.png");
        shoot(sheet, 2, "options_file.png");
        shoot(sheet, 3, "options_group.png");
        shoot(sheet, 4, "options_check.png");
    }

    void everyPageCarriesItsLabels()
    {
        AppSettings settings;
        COptionSheet sheet(settings, messenger);
        const QStringList sync = labelsOf(sheet.syncPage());
        for (const char* text :
             {"싱크 증가치:", "싱크 보정치:", "새 싱크 내용:", "자막 한 글자 당 지속 시간:",
              "엔터 입력시 <br> 삽입", "단일 싱크 맞출 시 자동 종료 싱크 맞춤",
              "단일 싱크 맞출 시 다음 싱크로 이동", "삭제시 종료싱크 함께 삭제",
              "시작 싱크 에디트 값 변경시 종료 싱크도 변경"})
            QVERIFY2(sync.contains(QString::fromUtf8(text)), text);
        const QStringList view = labelsOf(sheet.viewPage());
        for (const char* text :
             {"자막 보기", "동영상 보기", "자막 내용 태그 표시", "싱크 값을 시간으로 표시",
              "오류 자막 색상 표시", "동영상 이동 시간:", "리플레이 시간:", "배너 광고 표시 안 함",
              "동영상 이동시 해당 자막으로 이동"})
            QVERIFY2(view.contains(QString::fromUtf8(text)), text);
        const QStringList file = labelsOf(sheet.filePage());
        for (const char* text :
             {"에디터", "사용 에디터(%f 파라메터 - 자막 파일명):", "파일 변경 감시 기능 사용 안 함",
              "타 프로그램에서 파일 변경시 자동 리로드",
              "텍스트 파일 처리시 두 줄을 줄바꿈으로 인식", "(한 줄은 <br> 태그로 처리)",
              "백업 파일 작성", AppSettings::kAutoSaveSecondsLabel})
            QVERIFY2(file.contains(QString::fromUtf8(text)), text);
        QCOMPARE(sheet.filePage().browseButton().text(), QStringLiteral("찾기(&B)"));
        const QStringList group = labelsOf(sheet.groupPage());
        QVERIFY(group.contains(QStringLiteral("자막 폰트")));
        QVERIFY(group.contains(QStringLiteral("자막 여백")));
        // "<br>" is shown as text, not taken for a line break.
        for (const QLabel* label : sheet.findChildren<QLabel*>())
            QCOMPARE(label->textFormat(), Qt::PlainText);
    }

    void okCopiesEveryFieldBackAndCancelNothing()
    {
        AppSettings settings;
        {
            COptionSheet sheet(settings, messenger);
            editEveryPage(sheet);
            const AppSettings untouched = settings;
            sheet.reject();
            QVERIFY(settings == untouched);
        }
        COptionSheet sheet(settings, messenger);
        editEveryPage(sheet);
        sheet.accept();
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        AppSettings expected;
        expected.SyncIncrease = 250;
        expected.OneLetterSync = 300;
        expected.DeleteEndToo = true;
        expected.InsertBR = false;
        expected.NewSync = "[빈 자막]";
        expected.DisplayAsTime = true;
        expected.MovieRepeatTime = 4900;
        expected.EditorName = "gedit %f";
        expected.NoFileWatch = true;
        expected.AutoSaveSeconds = 0;
        expected.FontSize = 15;
        expected.LeftMargin = 7;
        expected.CheckMinDuration = 1100;
        expected.CheckEnabled = false;
        QVERIFY(settings == expected);
    }

    void storedValuesAreShownAndKeptAsRead()
    {
        AppSettings settings;
        settings.SyncModify = -350;
        settings.MovieMoveTime = 250000;  // out of range in the store: used as read
        settings.FontColor = "no colour";
        settings.FontWeight = "heavy";
        settings.FontAlign = "RIGHT";
        settings.FontName1 = "arial";
        const AppSettings stored = settings;
        COptionSheet sheet(settings, messenger);
        QCOMPARE(number(sheet, "SyncModify").text(), QStringLiteral("-350"));
        QCOMPARE(number(sheet, "MovieMoveTime").text(), QStringLiteral("250000"));
        QCOMPARE(sheet.groupPage().colourPicker().colour(), QColor(Qt::white));
        QCOMPARE(sheet.groupPage().weightList().currentIndex(), 0);  // none matches: first
        QCOMPARE(sheet.groupPage().alignList().currentText(), QStringLiteral("오른쪽"));
        sheet.accept();
        QVERIFY(messenger.shown.empty());
        // Nothing the user did not choose is rewritten.
        QVERIFY(settings == stored);
    }

    void batchListsStoreTheEnglishValueOfTheChosenLabel()
    {
        AppSettings settings;
        COptionSheet sheet(settings, messenger);
        sheet.show();
        sheet.groupPage().weightList().setCurrentIndex(1);
        sheet.groupPage().alignList().setCurrentIndex(2);
        const QString family = QFontDatabase::families().constFirst();
        sheet.groupPage().fontList(1).setCurrentIndex(
            sheet.groupPage().fontList(1).findText(family));
        sheet.groupPage().colourPicker().showPalette()->colourButtons()[9]->click();
        sheet.accept();
        QCOMPARE(settings.FontWeight, std::string("bold"));
        QCOMPARE(settings.FontAlign, std::string("right"));
        QCOMPARE(settings.FontName1, family.toStdString());
        QCOMPARE(settings.FontName2, std::string("MS Sans Serif"));
        QCOMPARE(settings.FontColor, std::string("#FF6820"));
    }

    void aNamedAndAWrittenColourSelectTheSameColour()
    {
        AppSettings named;
        named.FontColor = "Orange";
        AppSettings written;
        written.FontColor = "#FF6820";
        COptionSheet a(named, messenger);
        COptionSheet b(written, messenger);
        QCOMPARE(a.groupPage().colourPicker().colour(), QColor(0xFF, 0x68, 0x20));
        QCOMPARE(a.groupPage().colourPicker().colour(), b.groupPage().colourPicker().colour());
    }

    void oneAboveTheMaximumReturnsTheVideoStepToItsDefault()
    {
        AppSettings settings;
        settings.MovieMoveTime = 1000;
        COptionSheet sheet(settings, messenger);
        sheet.show();
        sheet.tabs().setCurrentIndex(1);
        (void)QTest::qWaitForWindowActive(&sheet);
        NumberField& field = number(sheet, "MovieMoveTime");
        field.setFocus();
        field.selectAll();
        QTest::keyClicks(&field, QStringLiteral("100001"));
        QCOMPARE(QString::fromStdString(messenger.shown.back().text),
                 QStringLiteral("100000 보다 큰 값은 입력할 수 없습니다 "));
        QCOMPARE(field.text(), QStringLiteral("5000"));
        sheet.accept();
        QCOMPARE(settings.MovieMoveTime, 5000);
    }

    void aFieldLeftIncompleteKeepsTheSheetOpenOnItsPage()
    {
        AppSettings settings;
        COptionSheet sheet(settings, messenger);
        sheet.show();
        (void)QTest::qWaitForWindowActive(&sheet);
        sheet.tabs().setCurrentIndex(3);
        NumberField& field = number(sheet, "SyncModify");
        field.setText(QStringLiteral("-"));  // as typed, unjudged
        emit field.textEdited(field.text());
        sheet.tabs().setCurrentIndex(3);
        const std::size_t before = messenger.shown.size();
        sheet.accept();
        QCOMPARE(messenger.shown.size(), before + 1);
        QCOMPARE(QString::fromStdString(messenger.shown.back().text),
                 QStringLiteral("정상적인 숫자를 입력해 주십시요 "));
        QVERIFY(sheet.isVisible());
        QCOMPARE(sheet.tabs().currentIndex(), 0);
        QCOMPARE(field.text(), QStringLiteral("0"));
        QVERIFY(settings == AppSettings());
    }

    void theBatchSizeFallsBackToItsDefaultAndMarginsToZero()
    {
        AppSettings settings;
        settings.FontSize = 30;
        settings.TopMargin = 12;
        COptionSheet sheet(settings, messenger);
        sheet.show();
        sheet.tabs().setCurrentIndex(3);
        (void)QTest::qWaitForWindowActive(&sheet);
        NumberField& size = number(sheet, "FontSize");
        size.setFocus();
        size.selectAll();
        QTest::keyClicks(&size, QStringLiteral("7"));
        QCOMPARE(QString::fromStdString(messenger.shown.back().text),
                 QStringLiteral("10 보다 작은 값은 입력할 수 없습니다 "));
        QCOMPARE(size.text(), QStringLiteral("14"));
        // "2" on the way to "25" is no error.
        size.selectAll();
        const std::size_t before = messenger.shown.size();
        QTest::keyClicks(&size, QStringLiteral("25"));
        QCOMPARE(messenger.shown.size(), before);
        QCOMPARE(size.value(), 25);
        NumberField& top = number(sheet, "TopMargin");
        top.setFocus();
        top.selectAll();
        QTest::keyClicks(&top, QStringLiteral("41"));
        QCOMPARE(top.text(), QStringLiteral("0"));
    }

    void autoReloadIsOfferedOnlyWhileFilesAreWatched()
    {
        AppSettings settings;
        settings.AutoLoadFile = true;
        COptionSheet sheet(settings, messenger);
        QVERIFY(check(sheet, "AutoLoadFile").isEnabled());
        check(sheet, "NoFileWatch").setChecked(true);
        QVERIFY(!check(sheet, "AutoLoadFile").isEnabled());
        sheet.accept();
        QVERIFY(settings.AutoLoadFile);  // kept for when watching is on again
    }

    void browsingForAnEditorFillsTheCommand()
    {
        QCOMPARE(verbanta::app::CFileOptionDlg::editorCommandFor(QStringLiteral("/usr/bin/gedit")),
                 QStringLiteral("/usr/bin/gedit %f"));
        QCOMPARE(
            verbanta::app::CFileOptionDlg::editorCommandFor(QStringLiteral("/opt/My Editor/edit")),
            QStringLiteral("\"/opt/My Editor/edit\" %f"));
        AppSettings settings;
        COptionSheet sheet(settings, messenger);
        sheet.show();
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("editor"));
        QFile(program).open(QIODevice::WriteOnly);
        QString title;
        QStringList filters;
        whenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            // Typed as a user would: selectFile() leaves the name field alone while it has the
            // focus, and the dialog's own check depends on how far the folder view has loaded.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(program);
            static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
        });
        sheet.filePage().browseButton().click();
        QCOMPARE(title, QStringLiteral("에디터 선택"));
        QCOMPARE(filters.size(), 2);
        QCOMPARE(sheet.filePage().editorField().text(), program + QStringLiteral(" %f"));
        // Cancelling the file dialog keeps the field.
        whenModal([](QWidget* modal) { modal->close(); });
        sheet.filePage().browseButton().click();
        QCOMPARE(sheet.filePage().editorField().text(), program + QStringLiteral(" %f"));
    }

    void okAppliesTheDisplayAndWatchChangesAtOnce()
    {
        verbanta::test::FrameFixture f;
        const QString path =
            f.write(QStringLiteral("order.smi"),
                    "<SAMI><BODY>\r\n<SYNC Start=3000><P Class=KRCC>\r\n둘\r\n"
                    "<SYNC Start=1000><P Class=KRCC>\r\n하나\r\n</BODY></SAMI>\r\n");
        QVERIFY(f.open(path));
        verbanta::Document& document = f.frame->documentHost().document();
        QVERIFY(document.watchId() != 0);
        verbanta::app::TimeFieldWidget& start = f.view().panel().startField();
        QCOMPARE(start.mode(), verbanta::TimeFieldLogic::kMillisecondsMode);
        QVERIFY(!f.editor().session().entry(0)->syncError &&
                !f.editor().session().entry(1)->syncError);

        onSheet([](COptionSheet& sheet) {
            check(sheet, "DisplayAsTime").setChecked(true);
            check(sheet, "DisplayErrorSync").setChecked(true);
            check(sheet, "NoFileWatch").setChecked(true);
            check(sheet, "CheckEnabled").setChecked(false);
            number(sheet, "SyncIncrease").setValue(40);
            sheet.accept();
        });
        QVERIFY(f.frame->commands().run(verbanta::app::cmd::Options));
        QVERIFY(f.t.settings.DisplayAsTime);
        QCOMPARE(start.mode(), verbanta::TimeFieldLogic::kTimeMode);
        QCOMPARE(f.frame->playerView().positionText(),
                 QString::fromStdString(verbanta::FormatTime(0, true)));
        QVERIFY(f.editor().session().entry(0)->syncError ||
                f.editor().session().entry(1)->syncError);
        QCOMPARE(document.watchId(), 0);
        QCOMPARE(f.t.settings.SyncIncrease, 40);
        QVERIFY(!document.isModified());
        // Checks off: the findings column goes, and comes back with them.
        const int findings = verbanta::app::CaptionTableModel::FindingsColumn;
        QVERIFY(f.view().list().isColumnHidden(findings));

        onSheet([](COptionSheet& sheet) {
            check(sheet, "DisplayAsTime").setChecked(false);
            check(sheet, "NoFileWatch").setChecked(false);
            check(sheet, "CheckEnabled").setChecked(true);
            sheet.accept();
        });
        QVERIFY(f.frame->commands().run(verbanta::app::cmd::Options));
        QCOMPARE(start.mode(), verbanta::TimeFieldLogic::kMillisecondsMode);
        QCOMPARE(f.frame->playerView().positionText(),
                 QString::fromStdString(verbanta::FormatTime(0, false)));
        QVERIFY(document.watchId() != 0);
        QVERIFY(!f.view().list().isColumnHidden(findings));

        // Cancel applies nothing.
        const AppSettings before = f.t.settings;
        onSheet([](COptionSheet& sheet) {
            check(sheet, "NoFileWatch").setChecked(true);
            sheet.reject();
        });
        QVERIFY(f.frame->commands().run(verbanta::app::cmd::Options));
        QVERIFY(f.t.settings == before);
        QVERIFY(document.watchId() != 0);
    }
};

QTEST_MAIN(OptionSheetTest)
#include "option_sheet_test.moc"
