#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "dialog_test_support.h"
#include "dialogs/end_sync_reset_dialog.h"
#include "dialogs/shift_syncs_dialog.h"
#include "dialogs/stepped_time_field.h"
#include "dialogs/sync_error_dialog.h"
#include "frame_fixture.h"
#include "modal_driver.h"
#include "spin_buttons.h"
#include "time_field_widget.h"

using namespace verbanta;
using app::EndSyncResetDialog;
using app::ShiftSyncsDialog;
using app::SyncErrorDialog;
namespace cmd = app::cmd;

using test::button;

namespace {

/// A one-language subtitle of Korean captions; "" as a text makes an end sync.
std::string samiOf(const std::vector<std::pair<int, std::string>>& rows)
{
    std::string out =
        "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
        ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; "
        "}\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
    for (const auto& [ms, text] : rows)
        out += "<SYNC Start=" + std::to_string(ms) + "><P Class=KRCC>" +
               (text.empty() ? "&nbsp;" : "\r\n" + text) + "\r\n";
    return out + "</BODY>\r\n</SAMI>\r\n";
}

/// Replaces a milliseconds-mode field's text by typing, as the user does.
void typeInto(app::TimeFieldWidget& field, const QString& text)
{
    field.setFocus();
    field.selectAll();
    QTest::keyClicks(&field, text);
}

std::vector<int> times(const CaptionEditor& editor)
{
    std::vector<int> out;
    for (int row = 0; row < editor.session().rowCount(); ++row)
        out.push_back(editor.session().entry(row)->startMs);
    return out;
}

std::vector<std::string> shownTexts(const test::RecordingMessenger& messenger)
{
    std::vector<std::string> out;
    for (const auto& m : messenger.shown) out.push_back(m.text);
    return out;
}

}  // namespace

class TimingDialogsTest : public QObject {
    Q_OBJECT
private slots:
    // ---- "싱크 일괄 조정" ------------------------------------------------------------------

    void shiftDialogStartsFromTheLastOffsetInTheChosenTimeForm()
    {
        AppSettings settings;
        test::RecordingMessenger messenger;
        {
            ShiftSyncsDialog d(settings, messenger, -1500);
            QCOMPARE(d.offset(), -1500);
            QCOMPARE(d.offsetField().field().text(), QStringLiteral("-1500"));
            QVERIFY(!d.endSyncsOnly());
            QCOMPARE(d.offsetField().field().minimum(), -100000000);
            QCOMPARE(d.offsetField().field().maximum(), 100000000);
            test::shoot(d, "shift_syncs_dialog");
        }
        settings.DisplayAsTime = true;
        ShiftSyncsDialog d(settings, messenger, -1500);
        QCOMPARE(d.offsetField().field().text(), QStringLiteral("-0:00:01.500"));
        QCOMPARE(d.offset(), -1500);
    }

    void shiftFieldStepsBySyncIncreaseAndStopsAtItsLimits()
    {
        AppSettings settings;
        settings.SyncIncrease = 250;
        test::RecordingMessenger messenger;
        ShiftSyncsDialog d(settings, messenger, 0);
        const QList<QToolButton*> arrows = d.offsetField().spin().findChildren<QToolButton*>();
        QCOMPARE(arrows.size(), 2);
        arrows[0]->click();
        QCOMPARE(d.offset(), 250);
        arrows[1]->click();
        arrows[1]->click();
        QCOMPARE(d.offset(), -250);
        // Held arrows step five at a time; the limit holds whatever the step.
        d.offsetField().setValue(99999900);
        d.offsetField().step(5);
        QCOMPARE(d.offset(), 100000000);
        d.offsetField().setValue(-99999000);
        d.offsetField().step(-5);
        QCOMPARE(d.offset(), -100000000);
        // The Up key of the field steps as the arrow does.
        d.offsetField().setValue(0);
        QTest::keyClick(&d.offsetField().field(), Qt::Key_Up);
        QCOMPARE(d.offset(), 250);
        QVERIFY(messenger.shown.empty());
    }

    void shiftFieldRefusesValuesOutOfRangeAndAnEmptyOk()
    {
        AppSettings settings;
        test::RecordingMessenger messenger;
        ShiftSyncsDialog d(settings, messenger, 700);
        d.show();
        typeInto(d.offsetField().field(), QStringLiteral("200000000"));
        QCOMPARE(shownTexts(messenger),
                 std::vector<std::string>{"100000000 보다 큰 값은 입력할 수 없습니다 "});
        QCOMPARE(d.offset(), 0);
        typeInto(d.offsetField().field(), QStringLiteral("-200000000"));
        QCOMPARE(messenger.shown.back().text, "-100000000 보다 작은 값은 입력할 수 없습니다 ");
        QCOMPARE(messenger.shown.back().icon, MessageIcon::Error);
        // Letters never enter the field.
        typeInto(d.offsetField().field(), QStringLiteral("12a3"));
        QCOMPARE(d.offsetField().field().text(), QStringLiteral("123"));
        QCOMPARE(d.offset(), 123);
        // OK with the field emptied asks for a value and keeps the dialog open.
        typeInto(d.offsetField().field(), QStringLiteral("-"));
        messenger.shown.clear();
        QTest::keyClick(&d.offsetField().field(), Qt::Key_Return);
        QCOMPARE(shownTexts(messenger), std::vector<std::string>{"값을 입력해 주십시요"});
        QVERIFY(d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(d.offsetField().field().text(), QStringLiteral("0"));
        QTest::keyClick(&d.offsetField().field(), Qt::Key_Return);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.offset(), 0);
    }

    void shiftCommandMovesTheMarkedRangeAndRemembersTheOffset()
    {
        test::FrameFixture f;
        QVERIFY(f.open(f.write("shift.smi",
                               samiOf({{1000, "하나"}, {2000, "둘"}, {2500, ""}, {4000, "넷"}}))));
        f.editor().selection().markRangeStart(1);
        f.editor().selection().markRangeEnd(2);
        int startedWith = -1;
        test::ModalDriver<ShiftSyncsDialog> driver([&](ShiftSyncsDialog& d) {
            startedWith = d.offset();
            typeInto(d.offsetField().field(), QStringLiteral("300"));
            d.endSyncsOnlyBox().setChecked(true);
            button(d, QStringLiteral("확인"))->click();
        });
        QVERIFY(f.frame->commands().run(cmd::ShiftSyncs));
        QVERIFY(driver.ran());
        QCOMPARE(startedWith, 0);
        // Only the end sync of the range moved; one undo moves it back.
        QCOMPARE(times(f.editor()), (std::vector<int>{1000, 2000, 2800, 4000}));
        QVERIFY(f.frame->documentHost().document().canSave());
        QVERIFY(f.frame->commands().run(cmd::EditUndo));
        QCOMPARE(times(f.editor()), (std::vector<int>{1000, 2000, 2500, 4000}));

        // The next opening starts from 300; Cancel changes nothing, the offset included.
        test::ModalDriver<ShiftSyncsDialog> cancel([&](ShiftSyncsDialog& d) {
            startedWith = d.offset();
            typeInto(d.offsetField().field(), QStringLiteral("-900"));
            button(d, QStringLiteral("취소"))->click();
        });
        QVERIFY(f.frame->commands().run(cmd::ShiftSyncs));
        QCOMPARE(startedWith, 300);
        QCOMPARE(times(f.editor()), (std::vector<int>{1000, 2000, 2500, 4000}));
        QCOMPARE(f.editor().timing().lastMoveOffset(), 300);
    }

    // ---- "종료 싱크 일괄 재설정" ------------------------------------------------------------

    void endSyncDialogOpensInFixedDurationModeWithItsDefaults()
    {
        AppSettings settings;
        test::RecordingMessenger messenger;
        EndSyncResetDialog d(settings, messenger);
        QVERIFY(d.durationMode().isChecked());
        QVERIFY(!d.lengthMode().isChecked());
        QCOMPARE(d.durationField().value(), 0);
        QCOMPARE(d.perCharacterField().value(), 200);
        QVERIFY(!d.onlyIfShorterBox().isChecked());
        QVERIFY(!d.onlyIfLongerBox().isChecked());
        QVERIFY(!d.rangeOnlyBox().isChecked());
        QVERIFY(d.durationField().isEnabled());
        QVERIFY(d.onlyIfShorterBox().isEnabled());
        QVERIFY(!d.perCharacterField().isEnabled());
        QVERIFY(d.rangeOnlyBox().isEnabled());
        QCOMPARE(d.focusWidget(), &d.durationField().field());
        QCOMPARE(d.durationField().field().maximum(), 100000000);
        QCOMPARE(d.durationField().field().minimum(), 0);
        test::shoot(d, "end_sync_reset_dialog");
    }

    void endSyncModesSwitchTheirControlsAndTheLimitsExcludeEachOther()
    {
        AppSettings settings;
        settings.DisplayAsTime = true;
        test::RecordingMessenger messenger;
        EndSyncResetDialog d(settings, messenger);
        QCOMPARE(d.perCharacterField().field().text(), QStringLiteral(" 0:00:00.200"));
        d.lengthMode().click();
        QVERIFY(!d.durationField().isEnabled());
        QVERIFY(!d.onlyIfShorterBox().isEnabled());
        QVERIFY(!d.onlyIfLongerBox().isEnabled());
        QVERIFY(d.perCharacterField().isEnabled());
        QCOMPARE(d.focusWidget(), &d.perCharacterField().field());
        QVERIFY(d.options().byLength);
        d.durationMode().click();
        QVERIFY(d.durationField().isEnabled());
        QVERIFY(!d.perCharacterField().isEnabled());

        d.onlyIfShorterBox().click();
        QVERIFY(d.onlyIfShorterBox().isChecked());
        d.onlyIfLongerBox().click();
        QVERIFY(d.onlyIfLongerBox().isChecked());
        QVERIFY(!d.onlyIfShorterBox().isChecked());
        d.onlyIfShorterBox().click();
        QVERIFY(!d.onlyIfLongerBox().isChecked());
        // Both may be clear.
        d.onlyIfShorterBox().click();
        QVERIFY(!d.onlyIfShorterBox().isChecked() && !d.onlyIfLongerBox().isChecked());

        d.durationField().setValue(2500);
        d.rangeOnlyBox().click();
        const EndSyncReset o = d.options();
        QVERIFY(!o.byLength);
        QCOMPARE(o.durationMs, 2500);
        QCOMPARE(o.msPerCharacter, 200);
        QVERIFY(o.rangeOnly && !o.onlyIfLonger && !o.onlyIfShorter);
    }

    void endSyncCommandInsertsEndSyncsAsOneUndoStep()
    {
        test::FrameFixture f;
        QVERIFY(f.open(f.write("ends.smi", samiOf({{1000, "하나"}, {5000, "둘"}}))));
        test::ModalDriver<EndSyncResetDialog> driver([&](EndSyncResetDialog& d) {
            typeInto(d.durationField().field(), QStringLiteral("2000"));
            button(d, QStringLiteral("확인"))->click();
        });
        QVERIFY(f.frame->commands().run(cmd::ResetEndSyncs));
        QVERIFY(driver.ran());
        QCOMPARE(times(f.editor()), (std::vector<int>{1000, 3000, 5000, 7000}));
        QVERIFY(f.editor().session().entry(1)->isEndSync &&
                f.editor().session().entry(3)->isEndSync);
        QCOMPARE(shownTexts(f.t.messenger),
                 std::vector<std::string>{"2개의 종료 싱크를 조정하였습니다."});
        QCOMPARE(f.rows().rowCount(), 4);
        QVERIFY(f.frame->commands().run(cmd::EditUndo));
        QCOMPARE(times(f.editor()), (std::vector<int>{1000, 5000}));
    }

    void endSyncCommandByLengthAndItsRefusals()
    {
        test::FrameFixture f;
        QVERIFY(f.open(f.write("length.smi", samiOf({{1000, "안녕"}, {3000, "끝"}}))));
        // Limited to a range whose end is not marked: the range message, nothing changes.
        SyncList& rows = f.frame->documentHost().model().list();
        for (int row = 0; row < rows.count(); ++row) rows[row].rangeEnd = 0;
        const auto rangeOnlyByLength = [](EndSyncResetDialog& d) {
            d.rangeOnlyBox().setChecked(true);
            d.lengthMode().click();
            button(d, QStringLiteral("확인"))->click();
        };
        test::ModalDriver<EndSyncResetDialog> unmarked(rangeOnlyByLength);
        QVERIFY(f.frame->commands().run(cmd::ResetEndSyncs));
        QVERIFY(unmarked.ran());
        QCOMPARE(shownTexts(f.t.messenger),
                 std::vector<std::string>{"종료 싱크를 재설정할 범위를 지정해 주십시오."});
        QCOMPARE(times(f.editor()), (std::vector<int>{1000, 3000}));
        QVERIFY(!f.frame->documentHost().document().canSave());
        f.t.messenger.shown.clear();

        // Cancel changes nothing.
        test::ModalDriver<EndSyncResetDialog> cancelled([&](EndSyncResetDialog& d) {
            typeInto(d.durationField().field(), QStringLiteral("500"));
            button(d, QStringLiteral("취소"))->click();
        });
        QVERIFY(f.frame->commands().run(cmd::ResetEndSyncs));
        QVERIFY(cancelled.ran());
        QCOMPARE(times(f.editor()), (std::vector<int>{1000, 3000}));
        QVERIFY(f.t.messenger.shown.empty());

        // Two letters at 200 ms each, in a range of the first caption alone: its end sync lands
        // at 1400 and the caption outside the range keeps none.
        f.editor().selection().markRangeStart(0);
        f.editor().selection().markRangeEnd(0);
        test::ModalDriver<EndSyncResetDialog> ranged(rangeOnlyByLength);
        QVERIFY(f.frame->commands().run(cmd::ResetEndSyncs));
        QCOMPARE(times(f.editor()), (std::vector<int>{1000, 1400, 3000}));
        QCOMPARE(shownTexts(f.t.messenger),
                 std::vector<std::string>{"1개의 종료 싱크를 조정하였습니다."});
        QCOMPARE(f.editor().session().currentRow(), 0);
    }

    void endSyncCommandWithNothingToChangeSaysSo()
    {
        test::FrameFixture f;
        QVERIFY(f.open(f.write("none.smi", samiOf({{1000, "하나"}, {1500, ""}, {2500, "둘"}}))));
        test::ModalDriver<EndSyncResetDialog> driver([&](EndSyncResetDialog& d) {
            typeInto(d.durationField().field(), QStringLiteral("2000"));
            d.onlyIfLongerBox().setChecked(true);
            button(d, QStringLiteral("확인"))->click();
        });
        QVERIFY(f.frame->commands().run(cmd::ResetEndSyncs));
        QCOMPARE(shownTexts(f.t.messenger),
                 std::vector<std::string>{"조정된 종료 싱크가 없습니다."});
        QCOMPARE(times(f.editor()), (std::vector<int>{1000, 1500, 2500}));
        QVERIFY(!f.frame->documentHost().document().canSave());
    }

    // ---- "싱크 시간 오류 검색" --------------------------------------------------------------

    void errorSearchListsTheErrorsAndGoesToTheChosenOne()
    {
        test::FrameFixture f;
        f.t.settings.DisplayAsTime = true;
        QVERIFY(f.open(f.write("errors.smi", samiOf({{5000, "<b>처음</b>"},
                                                     {1000, "하나"},
                                                     {2000, "둘"},
                                                     {3000, "셋"},
                                                     {2500, "오류"},
                                                     {4000, "넷"}}))));
        QString countText;
        QStringList firstRow;
        int selectedAtStart = -1;
        test::ModalDriver<SyncErrorDialog> driver([&](SyncErrorDialog& d) {
            test::shoot(d, "sync_error_dialog");
            countText = d.findChild<QLabel*>()->text();
            firstRow =
                QStringList{d.list().topLevelItem(0)->text(0), d.list().topLevelItem(0)->text(1)};
            selectedAtStart = d.chosenIndex();
            d.list().setCurrentItem(d.list().topLevelItem(1));
            button(d, QStringLiteral("이동"))->click();
        });
        QVERIFY(f.frame->commands().run(cmd::FindSyncErrors));
        QVERIFY(driver.ran());
        QCOMPARE(countText, QStringLiteral("오류 싱크 갯수: 2개"));
        // The first error's text without its tags, its time as the list shows times.
        QCOMPARE(firstRow, (QStringList{"0:00:05.000", "처음"}));
        QCOMPARE(selectedAtStart, 0);
        QCOMPARE(f.editor().session().currentRow(), 4);
        QVERIFY(f.t.messenger.shown.empty());
    }

    void errorSearchWithoutAChoiceAsksForOneAndStaysOpen()
    {
        test::RecordingMessenger messenger;
        std::vector<int> wentTo;
        SyncErrorDialog d({{3, 1000, "a"}, {7, 900, "b"}}, false, [&](int row) {
            wentTo.push_back(row);
            if (row < 0)
                messenger.showMessage("이동하고자 하는 자막을 선택해 주십시오",
                                      MessageIcon::Warning);
            return row >= 0;
        });
        d.show();
        QCOMPARE(d.windowTitle(), QStringLiteral("싱크 시간 오류 검색"));
        QCOMPARE(d.list().headerItem()->text(0), QStringLiteral("싱크시간"));
        QCOMPARE(d.list().headerItem()->text(1), QStringLiteral("자막 내용"));
        QCOMPARE(d.list().columnWidth(0), 90);
        QCOMPARE(d.list().topLevelItem(1)->text(0), QStringLiteral("900"));
        d.list().clearSelection();
        button(d, QStringLiteral("이동"))->click();
        QCOMPARE(wentTo, std::vector<int>{-1});
        QVERIFY(d.isVisible());
        // A double click goes to the row under the mouse.
        QTreeWidgetItem* second = d.list().topLevelItem(1);
        const QPoint at = d.list().visualItemRect(second).center();
        QTest::mouseClick(d.list().viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(d.list().viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(wentTo.back(), 7);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }

    void errorSearchOnACleanFileShowsOnlyTheMessage()
    {
        test::FrameFixture f;
        QVERIFY(f.open(f.write("clean.smi", samiOf({{1000, "하나"}, {2000, "둘"}}))));
        test::ModalDriver<SyncErrorDialog> driver([](SyncErrorDialog& d) { d.reject(); }, 300);
        QVERIFY(f.frame->commands().run(cmd::FindSyncErrors));
        QTest::qWait(400);
        QVERIFY(!driver.ran());
        QCOMPARE(shownTexts(f.t.messenger),
                 std::vector<std::string>{"본 자막에는 싱크 시간 오류가 없습니다."});
    }
};

QTEST_MAIN(TimingDialogsTest)
#include "timing_dialogs_test.moc"
