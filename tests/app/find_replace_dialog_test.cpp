#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "caption_text_edit.h"
#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "dialog_test_support.h"
#include "dialogs/find_replace_dialog.h"
#include "edit_panel.h"
#include "frame_fixture.h"

using namespace verbanta;
using app::FindReplaceDialog;
namespace cmd = app::cmd;

using test::button;

namespace {

/// The find or replace dialogs of the window that are shown.
QList<FindReplaceDialog*> shownDialogs(const test::FrameFixture& f)
{
    QList<FindReplaceDialog*> out;
    for (FindReplaceDialog* d : f.frame->findChildren<FindReplaceDialog*>())
        if (d->isVisible())
            out << d;
    return out;
}

FindReplaceDialog* open(test::FrameFixture& f, int command)
{
    if (!f.frame->commands().run(command))
        return nullptr;
    const QList<FindReplaceDialog*> shown = shownDialogs(f);
    return shown.size() == 1 ? shown.front() : nullptr;
}

QString selectedInPanel(const test::FrameFixture& f)
{
    return f.view().panel().textField().textCursor().selectedText();
}

std::vector<std::string> shownTexts(const test::RecordingMessenger& messenger)
{
    std::vector<std::string> out;
    for (const auto& m : messenger.shown) out.push_back(m.text);
    return out;
}

/// A one-language subtitle with the given caption texts at 1000, 2000, ...
std::string samiOf(const std::vector<std::string>& texts)
{
    std::string out =
        "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
        ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; "
        "}\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
    int ms = 1000;
    for (const std::string& text : texts) {
        out += "<SYNC Start=" + std::to_string(ms) + "><P Class=KRCC>\r\n" + text + "\r\n";
        ms += 1000;
    }
    return out + "</BODY>\r\n</SAMI>\r\n";
}

}  // namespace

class FindReplaceDialogTest : public QObject {
    Q_OBJECT
private slots:
    void findIsOneModelessDialogRaisedAgainAndHandedOverToReplace()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        FindReplaceDialog* find = open(f, cmd::EditFind);
        QVERIFY(find);
        test::shoot(*find, "find_dialog");
        QCOMPARE(find->windowTitle(), QStringLiteral("찾기"));
        QVERIFY(!find->isModal());
        QVERIFY(find->downOption()->isChecked());
        QVERIFY(!find->matchCaseBox().isChecked());
        QVERIFY(!find->replaceField());
        QCOMPARE(find->findText(), QString());
        // Nothing to search for yet.
        QVERIFY(!button(*find, QStringLiteral("다음 찾기(&F)"))->isEnabled());

        // The search runs over the raw text: "br" is found inside the line break tag.
        find->findField().setText(QStringLiteral("br"));
        QTest::keyClick(&find->findField(), Qt::Key_Return);
        QCOMPARE(f.editor().session().currentRow(), 0);
        QCOMPARE(selectedInPanel(f), QStringLiteral("br"));
        QVERIFY(find->isVisible());

        QCOMPARE(open(f, cmd::EditFind), find);
        FindReplaceDialog* replace = open(f, cmd::EditReplace);
        QVERIFY(replace);
        QVERIFY(replace != find);
        test::shoot(*replace, "replace_dialog");
        QCOMPARE(replace->windowTitle(), QStringLiteral("바꾸기"));
        QCOMPARE(replace->findText(), QStringLiteral("br"));
        QVERIFY(replace->replaceField());
        QVERIFY(!replace->upOption());
        for (const char* text : {"다음 찾기(&F)", "바꾸기(&R)", "모두 바꾸기(&A)", "취소"})
            QVERIFY2(button(*replace, QString::fromUtf8(text)), text);
        // One Tab from the find field reaches the replacement: what is typed next lands there.
        QApplication::setActiveWindow(replace);
        QVERIFY(QTest::qWaitForWindowActive(replace));
        replace->findField().setFocus();
        QTest::keyClick(&replace->findField(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), replace->replaceField());
        button(*replace, QStringLiteral("취소"))->click();
        QVERIFY(shownDialogs(f).isEmpty());

        // Opened again, it starts with the last string searched for.
        find = open(f, cmd::EditFind);
        QVERIFY(find);
        QCOMPARE(find->findText(), QStringLiteral("br"));
        QVERIFY(f.t.messenger.shown.empty());
    }

    void findWalksDownAndUpAndSaysWhenNothingMoreMatches()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        FindReplaceDialog* find = open(f, cmd::EditFind);
        QVERIFY(find);
        find->findField().setText(QStringLiteral("막"));
        QPushButton* next = button(*find, QStringLiteral("다음 찾기(&F)"));
        next->click();
        QCOMPARE(f.editor().session().currentRow(), 0);
        QCOMPARE(selectedInPanel(f), QStringLiteral("막"));
        next->click();
        QCOMPARE(f.editor().session().currentRow(), 5);  // 마지막
        next->click();
        QCOMPARE(shownTexts(f.t.messenger),
                 std::vector<std::string>{"일치하는 문자열이 더 이상 존재하지 않습니다."});
        QCOMPARE(f.editor().session().currentRow(), 5);
        find->upOption()->click();
        next->click();
        QCOMPARE(f.editor().session().currentRow(), 0);
        QCOMPARE(f.view().panel().textField().textCursor().selectionStart(), 3);
    }

    void matchCaseDecidesWhichOccurrenceIsFound()
    {
        test::FrameFixture f;
        QVERIFY(f.open(f.write(QStringLiteral("case.smi"), samiOf({"ABC abc", "xyz"}))));
        f.showAndFocusList();
        FindReplaceDialog* find = open(f, cmd::EditFind);
        QVERIFY(find);
        find->findField().setText(QStringLiteral("abc"));
        find->matchCaseBox().setChecked(true);
        button(*find, QStringLiteral("다음 찾기(&F)"))->click();
        QCOMPARE(f.view().panel().textField().textCursor().selectionStart(), 4);
        find->matchCaseBox().setChecked(false);
        find->upOption()->click();
        button(*find, QStringLiteral("다음 찾기(&F)"))->click();
        QCOMPARE(f.view().panel().textField().textCursor().selectionStart(), 0);
        QCOMPARE(selectedInPanel(f), QStringLiteral("ABC"));
    }

    void replaceAllChangesEveryRowAsOneUndoStep()
    {
        test::FrameFixture f;
        QVERIFY(f.open(f.write(QStringLiteral("all.smi"), samiOf({"abc ABC", "none", "xabc"}))));
        f.showAndFocusList();
        FindReplaceDialog* replace = open(f, cmd::EditReplace);
        QVERIFY(replace);
        replace->findField().setText(QStringLiteral("abc"));
        replace->replaceField()->setText(QStringLiteral("x"));
        button(*replace, QStringLiteral("모두 바꾸기(&A)"))->click();
        QCOMPARE(f.editor().session().entry(0)->text, std::string("x x"));
        QCOMPARE(f.editor().session().entry(1)->text, std::string("none"));
        QCOMPARE(f.editor().session().entry(2)->text, std::string("xx"));
        QCOMPARE(shownTexts(f.t.messenger),
                 std::vector<std::string>{"2개 자막의 문자열을 바꾸었습니다."});
        QVERIFY(f.frame->documentHost().document().canSave());
        QCOMPARE(f.cell(2, 2), QStringLiteral("xx"));

        QVERIFY(f.frame->commands().run(cmd::EditUndo));
        QCOMPARE(f.editor().session().entry(0)->text, std::string("abc ABC"));
        QCOMPARE(f.editor().session().entry(2)->text, std::string("xabc"));

        f.t.messenger.shown.clear();
        replace->findField().setText(QStringLiteral("없는 말"));
        button(*replace, QStringLiteral("모두 바꾸기(&A)"))->click();
        QCOMPARE(shownTexts(f.t.messenger),
                 std::vector<std::string>{"일치하는 문자열이 없습니다."});
        QCOMPARE(f.editor().session().entry(0)->text, std::string("abc ABC"));
    }

    void replaceChangesTheCurrentMatchAndMovesToTheNext()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        f.editor().session().selectRow(3);
        FindReplaceDialog* replace = open(f, cmd::EditReplace);
        QVERIFY(replace);
        // Hangul in both strings travels as CP949 bytes into the caption.
        replace->findField().setText(QStringLiteral("노란"));
        replace->replaceField()->setText(QStringLiteral("파란"));
        button(*replace, QStringLiteral("바꾸기(&R)"))->click();
        QCOMPARE(f.editor().session().entry(3)->text,
                 test::cp949("<font color=\"yellow\">파란</font> 똠방"));
        QCOMPARE(shownTexts(f.t.messenger),
                 std::vector<std::string>{"일치하는 문자열이 더 이상 존재하지 않습니다."});
        QVERIFY(f.frame->commands().run(cmd::EditUndo));
        QCOMPARE(f.editor().session().entry(3)->text,
                 test::cp949("<font color=\"yellow\">노란</font> 똠방"));
    }

    void anEmptyFindStringCannotBeSearched()
    {
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        FindReplaceDialog* replace = open(f, cmd::EditReplace);
        QVERIFY(replace);
        for (const char* text : {"다음 찾기(&F)", "바꾸기(&R)", "모두 바꾸기(&A)"})
            QVERIFY2(!button(*replace, QString::fromUtf8(text))->isEnabled(), text);
        replace->findField().setText(QStringLiteral("a"));
        QVERIFY(button(*replace, QStringLiteral("모두 바꾸기(&A)"))->isEnabled());
        replace->findField().clear();
        replace->replaceAll();
        replace->findNext();
        QVERIFY(f.t.messenger.shown.empty());
        QVERIFY(!f.frame->documentHost().document().canSave());
    }
};

QTEST_MAIN(FindReplaceDialogTest)
#include "find_replace_dialog_test.moc"
