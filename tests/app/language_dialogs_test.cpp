#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>
#include <QtTest>

#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "dialog_test_support.h"
#include "dialogs/language_info_dialog.h"
#include "dialogs/language_settings_dialog.h"
#include "dialogs/language_sync_dialog.h"
#include "dialogs/sync_error_dialog.h"
#include "frame_fixture.h"
#include "modal_driver.h"
#include "model/language_operations.h"

using namespace verbanta;
using app::LanguageInfoDialog;
using app::LanguageSettingsDialog;
using app::LanguageSyncDialog;
using app::SyncErrorDialog;
namespace cmd = app::cmd;

using test::button;

namespace {

QStringList rowsOf(const QTreeWidget& list)
{
    QStringList out;
    for (int i = 0; i < list.topLevelItemCount(); ++i) out << list.topLevelItem(i)->text(0);
    return out;
}

QStringList tabsOf(const test::FrameFixture& f)
{
    QStringList out;
    for (int i = 0; i < f.view().tabs().count(); ++i) out << f.view().tabs().tabText(i);
    return out;
}

std::vector<std::string> shownTexts(const test::RecordingMessenger& messenger)
{
    std::vector<std::string> out;
    for (const auto& m : messenger.shown) out.push_back(m.text);
    return out;
}

/// Fills the language dialog's four fields.
void enter(LanguageInfoDialog& d, const QString& cls, const QString& name,
           const QString& code = QStringLiteral("xx-XX"), const QString& type = "CC")
{
    d.classField().setText(cls);
    d.nameField().setText(name);
    d.codeField().setText(code);
    d.typeField().setText(type);
}

LanguageFields fieldsOf(const char* cls, const char* utf8Name)
{
    return {cls, test::cp949(utf8Name), "xx-XX", "CC"};
}

/// A two-language subtitle whose languages have the same number of rows at other times.
const char* const kTwinLanguages =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n"
    ".ENCC { Name:English; lang:en-US; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>\r\n하나\r\n"
    "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n"
    "<SYNC Start=1100><P Class=ENCC>\r\nOne\r\n"
    "<SYNC Start=2100><P Class=ENCC>&nbsp;\r\n"
    "</BODY>\r\n</SAMI>\r\n";

}  // namespace

class LanguageDialogsTest : public QObject {
    Q_OBJECT
private slots:
    // ---- "다국어 자막 설정" -----------------------------------------------------------------

    void settingsListTheLanguagesAndDescribeTheSelectedOne()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        LanguageSettingsDialog d(f.frame->documentHost().model(), f.t.messenger);
        test::shoot(d, "language_settings_dialog");
        QCOMPARE(d.windowTitle(), QStringLiteral("다국어 자막 설정"));
        QCOMPARE(d.list().headerItem()->text(0), QStringLiteral("언어명"));
        QCOMPARE(rowsOf(d.list()), (QStringList{"한국어", "English"}));
        QCOMPARE(d.selectedIndex(), 0);
        QCOMPARE(
            d.details().toPlainText(),
            QStringLiteral("클래스 명: KRCC\n언  어  명: 한국어\n언어 코드: ko-KR\n사미 타입: CC"));
        QVERIFY(d.details().isReadOnly());
        d.list().setCurrentItem(d.list().topLevelItem(1));
        QCOMPARE(d.details().toPlainText(),
                 QStringLiteral(
                     "클래스 명: ENCC\n언  어  명: English\n언어 코드: en-US\n사미 타입: CC"));
        for (const char* text : {"추가(&A)", "수정(&E)", "삭제(&D)", "↑", "↓", "닫기(&C)"})
            QVERIFY2(button(d, QString::fromUtf8(text)), text);
        QVERIFY(!d.changed());
    }

    void addingThroughTheCommandCopiesTheBaseTimingAndRebuildsTheTabs()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        // English current: the language at index 0 comes back.
        f.editor().languages().selectLanguage(1);
        QString caption;
        QString startClass;
        QStringList bases;
        bool baseEnabled = false;
        QStringList listed;
        test::ModalDriver<LanguageSettingsDialog> outer([&](LanguageSettingsDialog& d) {
            test::ModalDriver<LanguageInfoDialog> inner([&](LanguageInfoDialog& info) {
                test::shoot(info, "language_info_dialog");
                caption = info.modeCaption().text();
                startClass = info.classField().text();
                for (int i = 0; i < info.baseChoice().count(); ++i)
                    bases << info.baseChoice().itemText(i);
                baseEnabled = info.baseChoice().isEnabled();
                info.presets().setCurrentRow(2);  // 일본어
                button(info, QStringLiteral("확인"))->click();
            });
            button(d, QStringLiteral("추가(&A)"))->click();
            listed = rowsOf(d.list());
            button(d, QStringLiteral("닫기(&C)"))->click();
        });
        QVERIFY(f.frame->commands().run(cmd::LanguageInfo));
        QVERIFY(outer.ran());
        QCOMPARE(caption, QStringLiteral("[추  가]"));
        QCOMPARE(startClass, QStringLiteral("KRCC"));
        QCOMPARE(bases, (QStringList{"한국어", "English"}));
        QVERIFY(baseEnabled);
        QCOMPARE(listed, (QStringList{"한국어", "English", "일본어"}));

        const SamiModel& model = f.editor().session().model();
        QCOMPARE(model.GetLanguageCount(), 3);
        const LanguageInfo& added = model.languages[2];
        QCOMPARE(added.selector, std::string(".JPCC"));
        QCOMPARE(added.name(), test::cp949("일본어"));
        QCOMPARE(added.lang(), std::string("ja-JP"));
        QCOMPARE(added.samiType(), std::string("CC"));
        // Korean's timing with empty captions: "&nbsp;" for end syncs, the comment empty.
        const SyncList& korean = model.slotList(model.slotOrder[0]);
        const SyncList& japanese = model.slotList(model.slotOrder[2]);
        QCOMPARE(japanese.count(), korean.count());
        for (int row = 0; row < korean.count(); ++row) {
            QCOMPARE(japanese[row].startMs, korean[row].startMs);
            QCOMPARE(japanese[row].isComment, korean[row].isComment);
            QCOMPARE(japanese[row].className, std::string("JPCC"));
            QCOMPARE(japanese[row].text, std::string(korean[row].isEndSync ? "&nbsp;" : ""));
        }
        QCOMPARE(tabsOf(f), (QStringList{"한국어", "English", "일본어"}));
        QCOMPARE(f.editor().languages().currentLanguageIndex(), 0);
        QCOMPARE(f.rows().rowCount(), korean.count());
        QVERIFY(f.frame->documentHost().document().canSave());
    }

    void classesGetTheirDotAndDuplicatesAreRefused()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        SamiModel& model = f.frame->documentHost().model();
        LanguageSettingsDialog d(model, f.t.messenger);
        const auto add = [&](const QString& cls) {
            test::ModalDriver<LanguageInfoDialog> info([&](LanguageInfoDialog& i) {
                enter(i, cls, QStringLiteral("스페인어"), "es-ES");
                button(i, QStringLiteral("확인"))->click();
            });
            d.addLanguage();
            return info.ran();
        };
        QVERIFY(add(QStringLiteral("ESCC")));
        QCOMPARE(model.languages.back().selector, std::string(".ESCC"));
        QCOMPARE(d.selectedIndex(), 2);
        QVERIFY(d.changed());
        QVERIFY(add(QStringLiteral(".ESCC")));
        QCOMPARE(shownTexts(f.t.messenger),
                 std::vector<std::string>{
                     "입력하신 클래스명과 동일한 언어 정보가 존재합니다.\n다시 입력해 주십시오."});
        QCOMPARE(model.GetLanguageCount(), 3);
        QCOMPARE(rowsOf(d.list()).size(), 3);
    }

    void modifyingKeepsOrRefusesTheClass()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        SamiModel& model = f.frame->documentHost().model();
        LanguageSettingsDialog d(model, f.t.messenger);
        d.list().setCurrentItem(d.list().topLevelItem(1));
        QStringList shown;
        QString caption;
        bool baseEnabled = true;
        test::ModalDriver<LanguageInfoDialog> same([&](LanguageInfoDialog& i) {
            caption = i.modeCaption().text();
            baseEnabled = i.baseChoice().isEnabled();
            shown = {i.classField().text(), i.nameField().text(), i.codeField().text(),
                     i.typeField().text()};
            i.nameField().setText(QStringLiteral("영어"));
            button(i, QStringLiteral("확인"))->click();
        });
        d.modifyLanguage();
        QVERIFY(same.ran());
        QCOMPARE(caption, QStringLiteral("[수  정]"));
        QVERIFY(!baseEnabled);
        // The fields show the language, not the preset the list starts on.
        QCOMPARE(shown, (QStringList{"ENCC", "English", "en-US", "CC"}));
        QCOMPARE(model.languages[1].name(), test::cp949("영어"));
        QCOMPARE(rowsOf(d.list()), (QStringList{"한국어", "영어"}));
        QCOMPARE(d.selectedIndex(), 1);
        QVERIFY(f.t.messenger.shown.empty());

        test::ModalDriver<LanguageInfoDialog> clash([&](LanguageInfoDialog& i) {
            i.classField().setText(QStringLiteral("KRCC"));
            button(i, QStringLiteral("확인"))->click();
        });
        d.modifyLanguage();
        QCOMPARE(shownTexts(f.t.messenger),
                 std::vector<std::string>{
                     "입력하신 클래스명과 동일한 언어 정보가 존재합니다.\n다시 입력해 주십시오."});
        QCOMPARE(model.languages[1].selector, std::string(".ENCC"));
        QCOMPARE(f.editor().session().model().slotList(model.slotOrder[1])[0].className,
                 std::string("ENCC"));

        // A new class relabels every caption of the language.
        test::ModalDriver<LanguageInfoDialog> renamed([&](LanguageInfoDialog& i) {
            i.classField().setText(QStringLiteral("USCC"));
            button(i, QStringLiteral("확인"))->click();
        });
        d.modifyLanguage();
        QCOMPARE(model.languages[1].selector, std::string(".USCC"));
        model.slotList(model.slotOrder[1]).forEach([](const SyncEntry& e) {
            QCOMPARE(e.className, std::string("USCC"));
        });
    }

    void addingIsRefusedAtTenLanguagesWithoutOpeningTheDialog()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        SamiModel& model = f.frame->documentHost().model();
        for (std::size_t i = 2; model.GetLanguageCount() < 10; ++i)
            QVERIFY(addLanguage(model, fieldsOf(kLanguagePresets[i]), 0));
        LanguageSettingsDialog d(model, f.t.messenger);
        test::ModalDriver<LanguageInfoDialog> info([](LanguageInfoDialog& i) { i.reject(); }, 300);
        button(d, QStringLiteral("추가(&A)"))->click();
        QTest::qWait(400);
        QVERIFY(!info.ran());
        QCOMPARE(shownTexts(f.t.messenger),
                 std::vector<std::string>{"총 10개의 다국어 정보만을 등록할 수 있습니다."});
        QVERIFY(!d.changed());
    }

    void deletingTheFirstOfThreeKeepsTheOthersAndTheListBehind()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        SamiModel& model = f.frame->documentHost().model();
        QVERIFY(addLanguage(model, fieldsOf("JPCC", "일본어"), 1));
        QStringList asked;
        QStringList afterNo;
        QStringList afterYes;
        int selectedAfter = -1;
        test::ModalDriver<LanguageSettingsDialog> outer([&](LanguageSettingsDialog& d) {
            f.t.messenger.answers = {Answer::No};
            button(d, QStringLiteral("삭제(&D)"))->click();
            afterNo = rowsOf(d.list());
            f.t.messenger.answers = {Answer::Yes};
            button(d, QStringLiteral("삭제(&D)"))->click();
            afterYes = rowsOf(d.list());
            selectedAfter = d.selectedIndex();
            button(d, QStringLiteral("닫기(&C)"))->click();
        });
        QVERIFY(f.frame->commands().run(cmd::LanguageSetup));
        QVERIFY(outer.ran());
        QCOMPARE(f.t.messenger.questions.size(), std::size_t{2});
        QCOMPARE(f.t.messenger.questions[0],
                 std::string("다국어 정보 삭제시 해당 언어의 자막이 모두 삭제됩니다.\n"
                             "정말로 삭제하시겠습니까?"));
        QCOMPARE(afterNo, (QStringList{"한국어", "English", "일본어"}));
        QCOMPARE(afterYes, (QStringList{"English", "일본어"}));
        QCOMPARE(selectedAfter, 0);
        // English keeps its captions, the Japanese list its copied timing.
        QCOMPARE(model.GetLanguageCount(), 2);
        const SyncList& english = model.slotList(model.slotOrder[0]);
        QCOMPARE(english.count(), 2);
        QCOMPARE(english[0].text, std::string("First"));
        QCOMPARE(model.slotList(model.slotOrder[1]).count(), 2);
        QCOMPARE(model.slotList(model.slotOrder[1])[0].className, std::string("JPCC"));
        // The list behind shows the first remaining language.
        QCOMPARE(tabsOf(f), (QStringList{"English", "일본어"}));
        QCOMPARE(f.rows().rowCount(), 2);
        QCOMPARE(f.cell(0, 2), QStringLiteral("First"));
    }

    void theLastLanguageCannotBeDeleted()
    {
        test::FrameFixture f;
        QVERIFY(f.open(f.write(QStringLiteral("one.smi"),
                               "<SAMI><BODY><SYNC Start=1000><P Class=KRCC>하나</BODY></SAMI>")));
        f.t.messenger.shown.clear();
        QCOMPARE(f.editor().session().model().GetLanguageCount(), 1);
        LanguageSettingsDialog d(f.frame->documentHost().model(), f.t.messenger);
        button(d, QStringLiteral("삭제(&D)"))->click();
        QCOMPARE(shownTexts(f.t.messenger),
                 std::vector<std::string>{"현재 열린 자막에는 하나의 언어 정보만이 존재합니다.\n"
                                          "선택한 다국어 정보를 삭제할 수 없습니다."});
        QVERIFY(f.t.messenger.questions.empty());
        QCOMPARE(rowsOf(d.list()).size(), 1);
        QVERIFY(!d.changed());
    }

    void arrowsReorderTheLanguagesButNotPastTheEnds()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        SamiModel& model = f.frame->documentHost().model();
        LanguageSettingsDialog d(model, f.t.messenger);
        int told = 0;
        connect(&d, &LanguageSettingsDialog::languagesChanged, [&] { ++told; });
        button(d, QStringLiteral("↑"))->click();
        QCOMPARE(rowsOf(d.list()), (QStringList{"한국어", "English"}));
        QVERIFY(!d.changed());
        const int koreanSlot = model.slotOrder[0];
        button(d, QStringLiteral("↓"))->click();
        QCOMPARE(rowsOf(d.list()), (QStringList{"English", "한국어"}));
        QCOMPARE(d.selectedIndex(), 1);
        QCOMPARE(model.slotOrder[1], koreanSlot);
        QCOMPARE(model.classNames[1], std::string("KRCC"));
        button(d, QStringLiteral("↓"))->click();
        QCOMPARE(d.selectedIndex(), 1);
        QCOMPARE(told, 1);
        button(d, QStringLiteral("↑"))->click();
        QCOMPARE(rowsOf(d.list()), (QStringList{"한국어", "English"}));
        QCOMPARE(d.selectedIndex(), 0);
        QVERIFY(d.changed());
    }

    // ---- "다국어 정보 등록" -----------------------------------------------------------------

    void presetsFillTheFieldsAndOkAddsTheDot()
    {
        test::RecordingMessenger messenger;
        LanguageInfoDialog d(LanguageInfoDialog::Mode::Add, {QStringLiteral("한국어")},
                             fieldsOf(kLanguagePresets[0]), messenger);
        QCOMPARE(d.windowTitle(), QStringLiteral("다국어 정보 등록"));
        QCOMPARE(d.presets().count(), 11);
        QCOMPARE(d.presets().item(8)->text(), QStringLiteral("네델란드어"));
        QCOMPARE(d.presets().currentRow(), 0);
        QCOMPARE(d.baseIndex(), 0);
        d.presets().setCurrentRow(10);
        QCOMPARE(d.classField().text(), QStringLiteral("PTCC"));
        QCOMPARE(d.nameField().text(), QStringLiteral("포르투갈어"));
        QCOMPARE(d.codeField().text(), QStringLiteral("pt-PT"));
        QCOMPARE(d.typeField().text(), QStringLiteral("CC"));
        d.classField().setText(QStringLiteral(" XYCC "));
        const LanguageFields out = d.fields();
        QCOMPARE(out.className, std::string(".XYCC"));
        QCOMPARE(out.name, test::cp949("포르투갈어"));
        button(d, QStringLiteral("확인"))->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(messenger.shown.empty());
    }

    void fieldsThatWouldBreakTheFileAreRefused()
    {
        test::RecordingMessenger messenger;
        LanguageInfoDialog d(LanguageInfoDialog::Mode::Add, {QStringLiteral("한국어")},
                             fieldsOf(kLanguagePresets[0]), messenger);
        d.show();
        const char* badClass = "클래스 명은 영문자, 숫자, '_', '-'로 입력해 주십시오.";
        const char* badCharacter =
            "언어 정보에는 ';', '{', '}', '<', '>' 문자를 사용할 수 없습니다.";
        const char* notInCodePage =
            "언어 정보에는 한국어 코드 페이지(CP949)에 없는 문자를 사용할 수 없습니다.";
        const struct {
            QString cls, name, code;
            const char* message;
        } cases[] = {
            {"", "이름", "ko-KR", badClass},
            {".", "이름", "ko-KR", badClass},
            {"K RCC", "이름", "ko-KR", badClass},
            {"KR}CC", "이름", "ko-KR", badClass},
            {"한국", "이름", "ko-KR", badClass},
            {"KRCC", "이;름", "ko-KR", badCharacter},
            {"KRCC", "이름", "ko-KR}", badCharacter},
            {"KRCC", "<!-- -->", "ko-KR", badCharacter},
            {"KRCC", QStringLiteral("웃음 😀"), "ko-KR", notInCodePage},
        };
        for (const auto& c : cases) {
            messenger.shown.clear();
            enter(d, c.cls, c.name, c.code);
            button(d, QStringLiteral("확인"))->click();
            QVERIFY2(d.isVisible(), qPrintable(c.cls + "/" + c.name));
            QCOMPARE(shownTexts(messenger), std::vector<std::string>{c.message});
        }
        QCOMPARE(d.focusWidget(), &d.nameField());
        enter(d, QStringLiteral("ko_KR-2"), QStringLiteral("한국어 (자막)"));
        button(d, QStringLiteral("확인"))->click();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.fields().className, std::string(".ko_KR-2"));
    }

    void cancellingTheLanguageDialogChangesNothing()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        SamiModel& model = f.frame->documentHost().model();
        LanguageSettingsDialog d(model, f.t.messenger);
        test::ModalDriver<LanguageInfoDialog> info([](LanguageInfoDialog& i) {
            enter(i, QStringLiteral("XXCC"), QStringLiteral("새 언어"));
            button(i, QStringLiteral("취소"))->click();
        });
        d.addLanguage();
        QVERIFY(info.ran());
        test::ModalDriver<LanguageInfoDialog> modify([](LanguageInfoDialog& i) {
            enter(i, QStringLiteral("XXCC"), QStringLiteral("새 언어"));
            i.reject();
        });
        d.modifyLanguage();
        QVERIFY(modify.ran());
        QCOMPARE(model.GetLanguageCount(), 2);
        QCOMPARE(model.languages[0].selector, std::string(".KRCC"));
        QVERIFY(!d.changed());
        QVERIFY(!f.frame->documentHost().document().canSave());
    }

    // ---- "다국어 자막 동기화" and the language check ------------------------------------------

    void synchronisingRefusesDifferentRowCounts()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        QStringList offered;
        test::ModalDriver<LanguageSyncDialog> driver([&](LanguageSyncDialog& d) {
            test::shoot(d, "language_sync_dialog");
            for (int i = 0; i < d.choices().count(); ++i) offered << d.choices().itemText(i);
            button(d, QStringLiteral("확인"))->click();
        });
        QVERIFY(f.frame->commands().run(cmd::SyncLanguages));
        QVERIFY(driver.ran());
        QCOMPARE(offered, QStringList{"English"});
        QCOMPARE(shownTexts(f.t.messenger),
                 std::vector<std::string>{
                     "현재 선택한 언어와 기준 언어의 자막 갯수가 다릅니다.\n\n선택 언어: 7개,    "
                     "기준 언어:2개\n\n자막 갯수를 동일하게 한 후 다시 시도해 주십시오."});
        QVERIFY(!f.frame->documentHost().document().canSave());
    }

    void synchronisingEqualListsTakesTheReferenceTimes()
    {
        test::FrameFixture f;
        QVERIFY(f.open(f.write(QStringLiteral("twins.smi"), kTwinLanguages)));
        test::ModalDriver<LanguageSyncDialog> cancel([](LanguageSyncDialog& d) { d.reject(); });
        QVERIFY(f.frame->commands().run(cmd::SyncLanguages));
        QCOMPARE(f.editor().session().entry(0)->startMs, 1000);
        int reference = -1;
        test::ModalDriver<LanguageSyncDialog> driver([&](LanguageSyncDialog& d) {
            reference = d.referenceIndex();
            button(d, QStringLiteral("확인"))->click();
        });
        QVERIFY(f.frame->commands().run(cmd::SyncLanguages));
        QCOMPARE(reference, 1);
        QVERIFY(f.t.messenger.shown.empty());
        QCOMPARE(f.editor().session().entry(0)->startMs, 1100);
        QCOMPARE(f.editor().session().entry(1)->startMs, 2100);
        QCOMPARE(f.cell(0, 1), QStringLiteral("1100"));
    }

    void aSingleLanguageOffersNothingToSynchroniseWith()
    {
        LanguageSyncDialog d({}, {});
        QCOMPARE(d.referenceIndex(), -1);
        QVERIFY(!button(d, QStringLiteral("확인"))->isEnabled());
    }

    void theLanguageCheckListsRowsOtherLanguagesLack()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        QString title;
        QString count;
        test::ModalDriver<SyncErrorDialog> driver([&](SyncErrorDialog& d) {
            title = d.windowTitle();
            count = d.findChild<QLabel*>()->text();
            d.list().setCurrentItem(d.list().topLevelItem(1));
            button(d, QStringLiteral("이동"))->click();
        });
        QVERIFY(f.frame->commands().run(cmd::CheckLanguages));
        QVERIFY(driver.ran());
        QCOMPARE(title, QStringLiteral("다국어 자막 오류 검색"));
        QCOMPARE(count, QStringLiteral("오류 싱크 갯수: 4개"));
        QCOMPARE(f.editor().session().currentRow(), 4);
    }
};

QTEST_MAIN(LanguageDialogsTest)
#include "language_dialogs_test.moc"
