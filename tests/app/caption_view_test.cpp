#include <QClipboard>
#include <QInputMethodEvent>
#include <QRadioButton>
#include <QTreeWidget>
#include <QHeaderView>
#include <QPushButton>
#include <QTabBar>
#include <QToolTip>
#include <QtTest>

#include "caption_text_edit.h"
#include "dialogs/caption_check_dialog.h"
#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "edit_panel.h"
#include "frame_fixture.h"
#include "marker_strip.h"
#include "settings/app_settings.h"
#include "time_field_widget.h"

using namespace verbanta;
using app::CaptionTableModel;
namespace cmd = app::cmd;

namespace {

QColor background(const test::FrameFixture& f, int row)
{
    return f.rows().data(f.rows().index(row, 1), Qt::BackgroundRole).value<QColor>();
}

QColor foreground(const test::FrameFixture& f, int row)
{
    return f.rows().data(f.rows().index(row, 1), Qt::ForegroundRole).value<QColor>();
}

bool checked(const test::FrameFixture& f, int row)
{
    return f.editor().session().entry(row)->checked != 0;
}

// Types text the way a keyboard with an input method delivers it, one character per key.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

QPoint cellCentre(const test::FrameFixture& f, int row, int column)
{
    return f.list().visualRect(f.rows().index(row, column)).center();
}

/// The check mark of a row as the findings column shows it: its tooltip, empty for none.
QString findings(const test::FrameFixture& f, int row)
{
    const QModelIndex index = f.rows().index(row, CaptionTableModel::FindingsColumn);
    const bool marked = f.rows().data(index, Qt::DecorationRole).isValid();
    const QString tip = f.rows().data(index, Qt::ToolTipRole).toString();
    return marked == !tip.isEmpty() ? tip : QStringLiteral("mark and tooltip disagree");
}

/// With VERBANTA_SHOTS naming a folder, a picture of the widget there.
void shoot(QWidget& widget, const char* name)
{
    if (!qEnvironmentVariableIsSet("VERBANTA_SHOTS"))
        return;
    widget.show();
    QApplication::processEvents();
    widget.grab().save(qEnvironmentVariable("VERBANTA_SHOTS") + "/" + name);
}

/// Edits a row's start time through the editor, as the edit panel does.
void retime(test::FrameFixture& f, int row, std::int32_t ms)
{
    f.editor().session().selectRow(row);
    f.editor().panel().setStartField(ms);
    f.editor().panel().registerPanel();
}

}  // namespace

class CaptionViewTest : public QObject {
    Q_OBJECT
private slots:
    void openingAFileShowsItsRowsWithTimesAndTexts()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        QCOMPARE(f.rows().rowCount(), 7);
        QCOMPARE(f.cell(0, 1), QStringLiteral("1000"));
        QCOMPARE(f.cell(0, 2), QStringLiteral("첫 자막↘ 둘째 줄"));
        QCOMPARE(f.cell(1, 2), QStringLiteral("&nbsp;"));
        QCOMPARE(f.cell(2, 1), QStringLiteral("(코멘트)"));
        // Tags go, and Hangul outside the old KS X 1001 set survives the conversion.
        QCOMPARE(f.cell(3, 2), QStringLiteral("노란 똠방"));
        QCOMPARE(f.rows().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("싱크시간"));
        QCOMPARE(f.rows().headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("자막 내용"));
        QCOMPARE(f.frame->windowTitle(), QStringLiteral("two.smi - Verbanta"));
    }

    void timesFollowTheDisplayOptionAndTagsCanBeShown()
    {
        test::FrameFixture f;
        f.t.settings.DisplayAsTime = true;
        f.t.settings.DisplayTag = true;
        QVERIFY(f.open(f.write("neg.smi",
                               "<SAMI><BODY>\r\n<SYNC Start=-1500><P Class=KRCC>\r\n"
                               "<b>굵게</b>\r\n<SYNC Start=3723004><P Class=KRCC>"
                               "&nbsp;\r\n</BODY></SAMI>")));
        QCOMPARE(f.cell(0, 1), QStringLiteral("-0:00:01.500"));
        QCOMPARE(f.cell(1, 1), QStringLiteral("1:02:03.004"));
        QCOMPARE(f.cell(0, 2), QStringLiteral("<b>굵게</b>"));
    }

    void rowColoursFollowTheMarksInTheirOrder()
    {
        test::FrameFixture f;
        f.t.settings.DisplayErrorSync = true;
        QVERIFY(f.openTwoLanguages());
        // The reader marks the whole list as the range: first and last rows are teal.
        QCOMPARE(background(f, 0), CaptionTableModel::kRangeBack);
        QCOMPARE(foreground(f, 0), CaptionTableModel::kMarkText);
        QCOMPARE(background(f, 6), CaptionTableModel::kRangeBack);
        QVERIFY(!f.rows().data(f.rows().index(4, 1), Qt::BackgroundRole).isValid());
        // A comment is grey on the list's own background.
        QCOMPARE(foreground(f, 2), CaptionTableModel::kCommentText);
        QVERIFY(!f.rows().data(f.rows().index(2, 1), Qt::BackgroundRole).isValid());
        // A list bookmark is yellow on navy.
        f.editor().session().selectRow(4);
        QVERIFY(f.frame->commands().run(cmd::ListBookmark));
        QCOMPARE(background(f, 4), CaptionTableModel::kBookmarkBack);
        QCOMPARE(foreground(f, 4), CaptionTableModel::kMarkText);
    }

    void aTimingErrorShowsDarkRedOnlyWithTheOption()
    {
        test::FrameFixture f;
        f.t.settings.DisplayErrorSync = true;
        QVERIFY(f.open(f.write("err.smi",
                               "<SAMI><BODY>\r\n"
                               "<SYNC Start=1000><P Class=KRCC>\r\n가\r\n"
                               "<SYNC Start=3000><P Class=KRCC>\r\n나\r\n"
                               "<SYNC Start=2000><P Class=KRCC>\r\n다\r\n"
                               "<SYNC Start=5000><P Class=KRCC>\r\n라\r\n"
                               "<SYNC Start=6000><P Class=KRCC>\r\n마\r\n"
                               "</BODY></SAMI>")));
        int errorRow = -1;
        for (int r = 0; r < f.rows().rowCount(); ++r)
            if (f.editor().session().entry(r)->syncError)
                errorRow = r;
        QVERIFY(errorRow > 0 && errorRow < 4);
        QCOMPARE(background(f, errorRow), CaptionTableModel::kSyncErrorBack);
        f.t.settings.DisplayErrorSync = false;
        QVERIFY(!f.rows().data(f.rows().index(errorRow, 1), Qt::BackgroundRole).isValid());
    }

    void columnsHaveTheirWidths()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.frame.get()));
        QCOMPARE(f.list().columnWidth(0), 21);
        QCOMPARE(f.list().columnWidth(1), 85);
        const int arrow = f.list().style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        // The findings column, shown while the checks are on, takes its width from the text.
        QCOMPARE(f.list().columnWidth(2), f.list().width() - 111 - 18 - arrow);
        QCOMPARE(f.list().columnWidth(CaptionTableModel::FindingsColumn), 18);
        // The list is 150 pixels shorter than the view, under the tabs.
        QCOMPARE(f.list().geometry().bottom() + 1, f.view().height() - 150);
    }

    void languageTabsSwitchTheList()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        QTabBar& tabs = f.view().tabs();
        QCOMPARE(tabs.count(), 2);
        QCOMPARE(tabs.tabText(0), QStringLiteral("한국어"));
        QCOMPARE(tabs.tabText(1), QStringLiteral("English"));
        tabs.setCurrentIndex(1);
        QCOMPARE(f.rows().rowCount(), 2);
        QCOMPARE(f.cell(0, 2), QStringLiteral("First"));
        tabs.setCurrentIndex(0);
        QCOMPARE(f.rows().rowCount(), 7);
    }

    void aFileWithoutLanguagesHidesTheTabs()
    {
        test::FrameFixture f;
        QVERIFY(f.open(f.write("plain.smi", "<SAMI><BODY><SYNC Start=10><P>a\r\n</BODY></SAMI>")));
        f.frame->show();
        QVERIFY(!f.view().tabs().isVisible() || f.view().tabs().count() <= 1);
    }

    void anEmptyListShowsTheAddModeWithEditAndMoveDisabled()
    {
        test::FrameFixture f;
        app::EditPanel& panel = f.view().panel();
        QVERIFY(panel.modeButton(app::EditPanel::AddMode).isChecked());
        QVERIFY(!panel.modeButton(app::EditPanel::EditMode).isEnabled());
        QVERIFY(!panel.modeButton(app::EditPanel::MoveMode).isEnabled());
        QVERIFY(!panel.commentButton().isHidden());
        QVERIFY(!panel.endField().isEnabled());
    }

    void thePanelModesShowTheirControls()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        app::EditPanel& panel = f.view().panel();
        // Edit: row 0 loaded, its end sync in the end field.
        QVERIFY(panel.modeButton(app::EditPanel::EditMode).isChecked());
        QCOMPARE(panel.startField().value(), 1000);
        QCOMPARE(panel.endField().value(), 2500);
        QVERIFY(panel.endField().isEnabled());
        QVERIFY(panel.commentButton().isHidden());
        QCOMPARE(panel.textField().toPlainText(), QStringLiteral("첫 자막<br>\n둘째 줄"));

        QVERIFY(f.frame->commands().run(cmd::PanelAddMode));  // Ctrl+W
        QVERIFY(panel.modeButton(app::EditPanel::AddMode).isChecked());
        QVERIFY(panel.textField().toPlainText().isEmpty());
        QCOMPARE(panel.startField().value(), 1000);
        QVERIFY(!panel.endField().isEnabled());
        QVERIFY(!panel.commentButton().isHidden());

        QVERIFY(f.frame->commands().run(cmd::PanelMove));
        QVERIFY(panel.modeButton(app::EditPanel::MoveMode).isChecked());
        QCOMPARE(panel.registerButton().text(), QStringLiteral("실행"));
        QVERIFY(panel.endField().isHidden());
        QVERIFY(panel.commentButton().isHidden());
        QVERIFY(panel.cancelButton().isHidden());
        QVERIFY(!panel.textField().isEnabled());
        QCOMPARE(panel.startField().minimum(), -100000000);

        QVERIFY(f.frame->commands().run(cmd::PanelEditMode));  // Ctrl+E
        QCOMPARE(panel.registerButton().text(), QStringLiteral("등록"));
        QVERIFY(!panel.endField().isHidden());
    }

    void aCommentLoadsWithTheStartFieldDisabled()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.editor().session().selectRow(2);
        QVERIFY(!f.view().panel().startField().isEnabled());
        QCOMPARE(f.view().panel().textField().toPlainText().trimmed(), QStringLiteral("번역 확인"));
    }

    void registeringTheEditedTextChangesTheRowAndMarksTheDocument()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        app::CaptionTextEdit& text = f.view().panel().textField();
        text.setFocus();
        text.selectAll();
        typeText(&text, QStringLiteral("고친 자막"));
        QTest::keyClick(&text, Qt::Key_Return, Qt::AltModifier);
        QCOMPARE(f.cell(0, 2), QStringLiteral("고친 자막"));
        QCOMPARE(f.frame->windowTitle(), QStringLiteral("two.smi * - Verbanta"));
        QVERIFY(f.frame->commands().isEnabled(cmd::FileSave));
    }

    void theTextFieldsKeysInsertTheirMarkup()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        app::CaptionTextEdit& text = f.view().panel().textField();
        text.setFocus();
        QTest::keyClick(&text, Qt::Key_R, Qt::AltModifier);
        QVERIFY(text.toPlainText().isEmpty());
        QTest::keyClicks(&text, QStringLiteral("a"));
        QTest::keyClick(&text, Qt::Key_Return);
        QTest::keyClicks(&text, QStringLiteral("b"));
        QCOMPARE(text.modelText(), std::string("a<br>\r\nb"));
        f.t.settings.InsertBR = false;
        QTest::keyClick(&text, Qt::Key_Return);
        QTest::keyClick(&text, Qt::Key_B, Qt::AltModifier);
        QTest::keyClick(&text, Qt::Key_F, Qt::AltModifier);
        QTest::keyClick(&text, Qt::Key_T, Qt::AltModifier);
        QTest::keyClick(&text, Qt::Key_Tab);
        QCOMPARE(text.modelText(), std::string("a<br>\r\nb\r\n<br><font </font>\t"));
        // The focus stays: Alt+F is the field's key, not the file menu's mnemonic.
        QVERIFY(text.hasFocus());
        QTest::keyClick(&text, Qt::Key_E, Qt::AltModifier);
        QCOMPARE(text.modelText(), std::string("&nbsp;"));
        // The editor holds what the field shows.
        QCOMPARE(f.editor().panel().state().text, std::string("&nbsp;"));
    }

    void aLongLineShowsInBlocksButEditsAsOneLine()
    {
        // The blocks keep layout quick; the soft breaks between them are no part of the text.
        AppSettings settings;
        settings.InsertBR = false;
        app::CaptionTextEdit text(settings);
        const int soft = app::CaptionTextEdit::kMaxBlockChars;  // model offset of the first
        const std::string line = std::string(2500, 'a') + "bbbbbbbbbb";
        text.setModelText(line + "\r\nshort");
        QCOMPARE(text.document()->blockCount(), 4);
        QCOMPARE(text.modelText(), line + "\r\nshort");

        text.setModelSelection(soft - 1, soft + 1);
        QCOMPARE(text.modelSelection(), std::pair(soft - 1, soft + 1));
        text.copy();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("aa"));

        // One arrow key steps one character, also over a soft break.
        text.setModelSelection(soft + 1, soft + 1);
        QTest::keyClick(&text, Qt::Key_Left);
        QTest::keyClick(&text, Qt::Key_Left);
        QCOMPARE(text.modelSelection(), std::pair(soft - 1, soft - 1));
        QTest::keyClick(&text, Qt::Key_Right);
        QTest::keyClick(&text, Qt::Key_Right);
        QCOMPARE(text.modelSelection(), std::pair(soft + 1, soft + 1));

        // A break typed or pasted into a piece is a real one; the soft breaks stay soft.
        text.setModelText(line);
        text.setModelSelection(1500, 1500);
        QTest::keyClick(&text, Qt::Key_Return);
        QApplication::clipboard()->setText(QStringLiteral("x\ny"));
        text.paste();
        QCOMPARE(text.modelText(),
                 std::string(1500, 'a') + "\r\nx\r\ny" + std::string(1000, 'a') + "bbbbbbbbbb");

        // Backspace and Delete beside a soft break delete the character beyond it.
        text.setModelText(line);
        text.setModelSelection(soft, soft);
        QTest::keyClick(&text, Qt::Key_Backspace);
        QTextCursor cursor = text.textCursor();
        cursor.setPosition(text.document()->firstBlock().length() - 1);
        text.setTextCursor(cursor);
        QTest::keyClick(&text, Qt::Key_Delete);
        QCOMPARE(text.modelText(), std::string(2498, 'a') + "bbbbbbbbbb");
    }

    void altKeysOfTheTextFieldStepTheTimes()
    {
        test::FrameFixture f;
        f.t.settings.SyncIncrease = 100;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        app::CaptionTextEdit& text = f.view().panel().textField();
        text.setFocus();
        QTest::keyClick(&text, Qt::Key_A, Qt::AltModifier);
        QCOMPARE(f.view().panel().startField().value(), 1100);
        QTest::keyClick(&text, Qt::Key_Z, Qt::AltModifier);
        QTest::keyClick(&text, Qt::Key_Z, Qt::AltModifier);
        QCOMPARE(f.view().panel().startField().value(), 900);
        QTest::keyClick(&text, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(f.view().panel().endField().value(), 2600);
        QTest::keyClick(&text, Qt::Key_X, Qt::AltModifier);
        QCOMPARE(f.view().panel().endField().value(), 2500);
    }

    void escapeCancelsTheEdit()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        app::CaptionTextEdit& text = f.view().panel().textField();
        text.setFocus();
        QTest::keyClick(&text, Qt::Key_R, Qt::AltModifier);
        QTest::keyClick(&text, Qt::Key_Escape);
        QCOMPARE(text.toPlainText(), QStringLiteral("첫 자막<br>\n둘째 줄"));
        QVERIFY(text.textCursor().hasSelection());
    }

    void clickingTheCheckColumnTogglesTheRow()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {}, cellCentre(f, 3, 0));
        QVERIFY(checked(f, 3));
        QCOMPARE(f.editor().session().currentRow(), 3);  // the selection moves too
        QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {}, cellCentre(f, 3, 0));
        QVERIFY(!checked(f, 3));
        // A click on the text does not check.
        QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {}, cellCentre(f, 4, 2));
        QVERIFY(!checked(f, 4));
        QCOMPARE(f.editor().session().currentRow(), 4);
    }

    void ctrlClickAnywhereTogglesAndShiftClickChecksTheSpan()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        QTest::mouseClick(f.list().viewport(), Qt::LeftButton, Qt::ControlModifier,
                          cellCentre(f, 1, 2));
        QVERIFY(checked(f, 1));
        QCOMPARE(f.editor().session().currentRow(), 1);
        QTest::mouseClick(f.list().viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          cellCentre(f, 4, 2));
        for (int r = 1; r <= 4; ++r) QVERIFY(checked(f, r));
        QVERIFY(!checked(f, 5));
        QCOMPARE(f.editor().session().currentRow(), 4);
        // Shift + click on the selected row itself toggles it.
        QTest::mouseClick(f.list().viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          cellCentre(f, 4, 2));
        QVERIFY(!checked(f, 4));
        // Checks record no undo step.
        QVERIFY(!f.editor().rows().canUndo());
    }

    void draggingOverTheCheckColumnTogglesEachRowOnce()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        f.editor().selection().toggleChecked(2);
        QWidget* viewport = f.list().viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, cellCentre(f, 1, 0));
        QMouseEvent move(QEvent::MouseMove, cellCentre(f, 3, 0),
                         viewport->mapToGlobal(cellCentre(f, 3, 0)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, cellCentre(f, 3, 0));
        QVERIFY(checked(f, 1));
        QVERIFY(!checked(f, 2));  // it was checked before: swept over, it toggles off
        QVERIFY(checked(f, 3));
        QVERIFY(!checked(f, 4));
    }

    void spaceTogglesAndShiftArrowsCheckTheRowsPassed()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        QTest::keyClick(&f.list(), Qt::Key_Space);
        QVERIFY(checked(f, 0));
        QTest::keyClick(&f.list(), Qt::Key_Space);
        QVERIFY(!checked(f, 0));
        QTest::keyClick(&f.list(), Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&f.list(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(f.editor().session().currentRow(), 2);
        QVERIFY(checked(f, 0));
        QVERIFY(checked(f, 1));
        QVERIFY(checked(f, 2));
        QVERIFY(!checked(f, 3));
    }

    void aCutOffCellShowsItsWholeTextInATipUntilAKeyIsPressed()
    {
        test::FrameFixture f;
        std::string longText;
        for (int i = 0; i < 20; ++i) longText += "아주 긴 자막 ";
        QVERIFY(f.open(f.write("long.smi",
                               "<SAMI><BODY>\r\n<SYNC Start=1000><P Class=KRCC>\r\n"
                               "짧은 자막\r\n<SYNC Start=2000><P Class=KRCC>\r\n" +
                                   longText + "\r\n</BODY></SAMI>")));
        f.showAndFocusList();
        QWidget* viewport = f.list().viewport();
        const auto hover = [&](int row) {
            const QPoint at = cellCentre(f, row, CaptionTableModel::TextColumn);
            QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
            QApplication::sendEvent(viewport, &help);
        };
        hover(0);
        QVERIFY(!QToolTip::isVisible());
        hover(1);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), f.cell(1, CaptionTableModel::TextColumn));
        QTest::keyClick(&f.list(), Qt::Key_Right);
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void aDoubleClickFocusesTheTextField()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        QTest::mouseDClick(f.list().viewport(), Qt::LeftButton, {}, cellCentre(f, 3, 2));
        QVERIFY(f.view().panel().textField().hasFocus());
    }

    void theSyncMenuOffersTheRowCommandsInOrder()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        test::ModalCloser closer;
        f.view().showSyncMenu(f.frame->mapToGlobal(QPoint(200, 200)));
        QCOMPARE(closer.menuTexts.size(), 17);
        QCOMPARE(closer.menuTexts[0], QStringLiteral("앞에 자막 추가(&H)\tCtrl+H"));
        QCOMPARE(closer.menuTexts[2], QStringLiteral("-"));
        QCOMPARE(closer.menuTexts[16], QStringLiteral("선택 범위 끝으로 이동(&2)\tCtrl+2"));
    }

    void pastingWithTheLastRowCurrentOffersThePasteMenu()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        QApplication::clipboard()->setText(QStringLiteral("붙인 자막"));
        f.editor().session().selectRow(6);
        test::ModalCloser closer(1);  // "현 싱크 위에 내용 삽입(&I)"
        QVERIFY(f.frame->commands().run(cmd::EditPaste));
        QCOMPARE(closer.menuTexts, QStringList({"끝에 내용 추가(&A)", "현 싱크 위에 내용 삽입(&I)",
                                                "-", "취소(&C)"}));
        QCOMPARE(f.rows().rowCount(), 8);
        QCOMPARE(f.cell(6, 2), QStringLiteral("붙인 자막"));
        QCOMPARE(f.editor().session().currentRow(), 7);
    }

    void clickingTheStripBelowTheRangeMovesTheEndAndInsideOffersAChoice()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        const app::MarkerStrip& strip = f.view().strip();
        const auto stripPoint = [&](int row) {
            const QRect cell = f.list().visualRect(f.rows().index(row, 0));
            return strip.mapFromGlobal(f.list().viewport()->mapToGlobal(cell.center()));
        };
        QCOMPARE(strip.rowAtY(stripPoint(3).y()), 3);
        // Inside the range (0..6): the menu, and "종료로 선택" moves the end mark.
        {
            test::ModalCloser closer(1);
            QTest::mouseClick(const_cast<app::MarkerStrip*>(&strip), Qt::LeftButton, {},
                              stripPoint(3));
            QCOMPARE(closer.menuTexts,
                     QStringList({"시작으로 선택(&S)", "종료로 선택(&E)", "-", "취소(&C)"}));
        }
        QVERIFY(f.editor().session().entry(3)->rangeEnd);
        QVERIFY(!f.editor().session().entry(6)->rangeEnd);
        QCOMPARE(f.editor().session().rangeEndRow(), 3);
        // Below the range end: the end mark moves there at once.
        test::ModalCloser none;
        QTest::mouseClick(const_cast<app::MarkerStrip*>(&strip), Qt::LeftButton, {}, stripPoint(5));
        QCOMPARE(none.closed, 0);
        QCOMPARE(f.editor().session().rangeEndRow(), 5);
        QCOMPARE(background(f, 5), CaptionTableModel::kRangeBack);
        QVERIFY(!background(f, 3).isValid());
    }

    void theListHoldsNoEntryPointerOnceItsPaintIsOver()
    {
        // A command may change rows and show a message before it tells the list what
        // changed; the message's event loop must find no freed entry in the list's cache.
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        f.list().viewport()->repaint();
        QCOMPARE(background(f, 0), CaptionTableModel::kRangeBack);
        f.frame->documentHost().model().RemoveAt(0, false);  // not told yet
        QVERIFY(!f.rows().data(f.rows().index(0, 1), Qt::BackgroundRole).isValid());
        QCOMPARE(f.rows().data(f.rows().index(0, 0), Qt::DecorationRole).isValid(), true);
    }

    void checkMarksFollowEachEditAtOnceIncludingTheCaptionBeforeIt()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        QVERIFY(!f.list().isColumnHidden(CaptionTableModel::FindingsColumn));
        for (int row = 0; row < f.rows().rowCount(); ++row)
            QCOMPARE(findings(f, row), QString());
        // Moving the end sync of row 0 (row 1) makes row 0 too short: its mark is repainted
        // though the change named row 1 only.
        QSignalSpy repaints(&f.rows(), &QAbstractItemModel::dataChanged);
        retime(f, 1, 1700);
        const bool row0Told = std::any_of(repaints.begin(), repaints.end(), [](const auto& args) {
            return args[0].template value<QModelIndex>().row() == 0 &&
                   args[1].template value<QModelIndex>().column() ==
                       CaptionTableModel::FindingsColumn;
        });
        QVERIFY(row0Told);
        QCOMPARE(findings(f, 0), QStringLiteral("최소 지속 시간 (700ms)"));
        // A line too long for one second breaks two rules; undo takes the marks away.
        f.editor().session().selectRow(3);
        f.editor().panel().setPanelText(test::cp949("가나다라마바사아자차카타파하가나다"));
        f.editor().panel().registerPanel();
        QCOMPARE(findings(f, 3), QStringLiteral("초당 글자 수 (17자/초)\n줄당 글자 수 (17자)"));
        QVERIFY(f.frame->commands().run(cmd::EditUndo));
        QCOMPARE(findings(f, 3), QString());
        QCOMPARE(findings(f, 0), QStringLiteral("최소 지속 시간 (700ms)"));
    }

    void theCheckDialogListsGoesToAndFixesInOneUndoStep()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        retime(f, 1, 1700);  // row 0 shown 0.7 s
        f.editor().languages().selectLanguage(1);
        retime(f, 1, 1400);  // "First" shown 0.4 s in English
        f.editor().languages().selectLanguage(0);
        app::CaptionCheckDialog dialog(f.editor(), f.view().checkMarks().rules(), false);
        QTreeWidget& list = dialog.list();
        QCOMPARE(list.topLevelItemCount(), 1);
        QCOMPARE(list.topLevelItem(0)->text(1), QStringLiteral("1"));
        QCOMPARE(list.topLevelItem(0)->text(2), QStringLiteral("1000"));
        QCOMPARE(list.topLevelItem(0)->text(3), QStringLiteral("최소 지속 시간"));
        QCOMPARE(list.topLevelItem(0)->text(4), QStringLiteral("700ms"));
        dialog.allLanguagesButton().setChecked(true);
        QCOMPARE(list.topLevelItemCount(), 2);
        QCOMPARE(list.topLevelItem(1)->text(0), QStringLiteral("English"));
        // A double click on the English finding shows English and its row.
        f.editor().session().selectRow(3);
        list.setCurrentItem(list.topLevelItem(1));
        emit list.itemDoubleClicked(list.topLevelItem(1), 0);
        QCOMPARE(f.editor().languages().currentLanguageIndex(), 1);
        QCOMPARE(f.editor().session().currentRow(), 0);
        QCOMPARE(f.view().tabs().currentIndex(), 1);
        f.view().tabs().setCurrentIndex(0);
        shoot(*f.frame, "caption_checks_list.png");
        shoot(dialog, "caption_checks_dialog.png");

        QVERIFY(dialog.fixButton().isEnabled());
        dialog.fixButton().click();
        QCOMPARE(list.topLevelItemCount(), 0);
        QVERIFY(!dialog.fixButton().isEnabled());
        // Each end moves to the minimum duration after its caption.
        const SamiModel& model = f.frame->documentHost().model();
        const auto endOf = [&](int language) {
            return model.slotList(model.slotOrder[static_cast<std::size_t>(language)])[1].startMs;
        };
        QCOMPARE(endOf(0), 2000);
        QCOMPARE(endOf(1), 2000);
        QCOMPARE(findings(f, 0), QString());
        // One undo takes both languages' fixes back.
        QVERIFY(f.frame->commands().run(cmd::EditUndo));
        QCOMPARE(endOf(0), 1700);
        QCOMPARE(endOf(1), 1400);
        QCOMPARE(findings(f, 0), QStringLiteral("최소 지속 시간 (700ms)"));
    }

    void aSyllableBeingComposedIsCommittedOnceBeforeEachCommand_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("registers");  // the row takes the panel's text
        QTest::addColumn<bool>("leaves");     // the panel shows another row afterwards
        QTest::newRow("등록 button") << "button" << true << false;
        QTest::newRow("Alt+Enter") << "alt-enter" << true << false;
        QTest::newRow("F6") << "F6" << false << false;
        QTest::newRow("F7") << "F7" << false << false;
        QTest::newRow("F8") << "F8" << false << false;
        QTest::newRow("save") << "save" << false << false;
        QTest::newRow("another row") << "row" << false << true;
        QTest::newRow("another tab") << "tab" << false << true;
    }

    void aSyllableBeingComposedIsCommittedOnceBeforeEachCommand()
    {
        QFETCH(QString, command);
        QFETCH(bool, registers);
        QFETCH(bool, leaves);
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        f.editor().session().selectRow(3);
        app::CaptionTextEdit& text = f.view().panel().textField();
        text.setFocus();
        text.moveCursor(QTextCursor::End);
        const QString before = text.toPlainText();
        typeText(&text, QStringLiteral(" 가"));
        QInputMethodEvent composing(QStringLiteral("한"), {});
        QApplication::sendEvent(&text, &composing);
        QCOMPARE(text.composition(), QStringLiteral("한"));
        QCOMPARE(text.toPlainText(), before + QStringLiteral(" 가"));

        if (command == "button")
            QTest::mouseClick(&f.view().panel().registerButton(), Qt::LeftButton);
        else if (command == "alt-enter")
            QTest::keyClick(&text, Qt::Key_Return, Qt::AltModifier);
        else if (command == "save")
            QTest::keyClick(&text, Qt::Key_S, Qt::ControlModifier);
        else if (command == "row")
            QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {}, cellCentre(f, 5, 2));
        else if (command == "tab")
            QTest::mouseClick(&f.view().tabs(), Qt::LeftButton, {},
                              f.view().tabs().tabRect(1).center());
        else
            QTest::keyClick(&text, command == "F6"   ? Qt::Key_F6
                                   : command == "F7" ? Qt::Key_F7
                                                     : Qt::Key_F8);
        QCOMPARE(text.composition(), QString());
        // An input method that still held the syllable would send it now; it was told to forget
        // it, so nothing more arrives, and an empty event changes nothing.
        QInputMethodEvent nothing;
        QApplication::sendEvent(&text, &nothing);
        const SamiModel& model = f.frame->documentHost().model();
        const QString row3 = QString::fromStdString(
            test::utf8(model.slotList(model.slotOrder[0])[3].text));
        QCOMPARE(row3, registers ? before + QStringLiteral(" 가한") : before);
        QCOMPARE(text.toPlainText().count(QStringLiteral("한")), leaves ? 0 : 1);
    }

    void precisesChangesDoNotResetTheList()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        QSignalSpy resets(&f.rows(), &QAbstractItemModel::modelReset);
        QSignalSpy inserts(&f.rows(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removes(&f.rows(), &QAbstractItemModel::rowsRemoved);
        f.editor().session().selectRow(3);
        QVERIFY(f.frame->commands().run(cmd::AddCaptionAfter));
        QCOMPARE(f.rows().rowCount(), 8);
        QCOMPARE(inserts.count(), 1);
        QVERIFY(f.frame->commands().run(cmd::DeleteCaption));
        QCOMPARE(removes.count(), 1);
        QVERIFY(f.frame->commands().run(cmd::EditUndo));
        QVERIFY(f.frame->commands().run(cmd::EditUndo));
        QCOMPARE(f.rows().rowCount(), 7);
        QCOMPARE(resets.count(), 0);
    }
};

QTEST_MAIN(CaptionViewTest)
#include "caption_view_test.moc"
