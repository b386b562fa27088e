#include <gtest/gtest.h>

#include <cstdlib>

#include "editor/editor_fakes.h"
#include "editor/text_search.h"
#include "support/cp949.h"

namespace verbanta::test {
namespace {

using FindAndClipboard = EditorTest;

constexpr const char* kNoMore = "일치하는 문자열이 더 이상 존재하지 않습니다.";

// ---- search in CP949 text ----------------------------------------------------------------

TEST(TextSearch, MatchesBeginOnlyWhereACharacterBegins)
{
    // 0x81 0x41 is one two-byte character whose second byte is the letter A.
    EXPECT_EQ(findForward("\x81\x41", "A", 0, true), -1);
    EXPECT_EQ(findForward("\x81\x41"
                          "A",
                          "A", 0, true),
              2);
    EXPECT_EQ(findBackward("A\x81\x41", "A", 3, true), 0);
    // Without match case the second byte is not folded.
    EXPECT_EQ(findForward("\x81\x61", "\x81\x41", 0, false), -1);
    EXPECT_EQ(findForward("xABC", "abc", 0, false), 1);
    EXPECT_EQ(findForward("xABC", "abc", 0, true), -1);
    EXPECT_EQ(findForward("abc", "", 0, false), -1);
}

TEST(TextSearch, BackwardTakesTheLastMatchBeginningBeforeTheOffset)
{
    EXPECT_EQ(findBackward("abab", "ab", 4, true), 2);
    EXPECT_EQ(findBackward("abab", "ab", 2, true), 0);
    EXPECT_EQ(findBackward("abab", "ab", 0, true), -1);
}

TEST(TextSearch, ReplaceEveryKeepsTheLettersBetweenMatches)
{
    std::string text = "abc ABC aBcabc";
    EXPECT_EQ(replaceEvery(text, "abc", "x", false), 4);
    EXPECT_EQ(text, "x x xx");
    text = "aaa";
    EXPECT_EQ(replaceEvery(text, "aa", "b", true), 1);  // no overlapping matches
    EXPECT_EQ(text, "ba");
}

// ---- find and replace --------------------------------------------------------------------

TEST_F(FindAndClipboard, FindingDownSearchesTheRawTextTagsIncluded)
{
    load({{1000, "A<br>B"}, {2000, "x br"}});
    EXPECT_TRUE(findClipboard.findNext("br", true, false));
    EXPECT_EQ(session.currentRow(), 0);
    EXPECT_EQ(panel.state().selectionStart, 2);
    EXPECT_EQ(panel.state().selectionEnd, 4);
    EXPECT_TRUE(findClipboard.findNext("BR", true, false));
    EXPECT_EQ(session.currentRow(), 1);
    EXPECT_EQ(panel.state().selectionStart, 2);
    EXPECT_FALSE(findClipboard.findNext("br", true, false));
    EXPECT_EQ(messages(), std::vector<std::string>{kNoMore});
    EXPECT_EQ(findClipboard.prepareFind(), "br");
}

TEST_F(FindAndClipboard, FindingUpStartsBeforeTheSelectionAndHonoursMatchCase)
{
    load({{1000, "Ab ab"}, {2000, "AB"}});
    session.selectRow(1);
    panel.setTextSelection(2, 2);
    EXPECT_TRUE(findClipboard.findNext("ab", false, true));
    EXPECT_EQ(session.currentRow(), 0);
    EXPECT_EQ(panel.state().selectionStart, 3);
    EXPECT_TRUE(findClipboard.findNext("ab", false, false));
    EXPECT_EQ(panel.state().selectionStart, 0);
    EXPECT_FALSE(findClipboard.findNext("ab", false, false));
}

TEST_F(FindAndClipboard, OpeningFindLeavesAddModeForEdit)
{
    load({{1000, "A"}});
    findClipboard.findNext("zz", true, false);
    panel.setPanelMode(PanelMode::Add);
    EXPECT_EQ(findClipboard.prepareFind(), "zz");
    EXPECT_EQ(panel.state().mode, PanelMode::Edit);
}

TEST_F(FindAndClipboard, ReplaceChangesTheMatchAtTheSelectionAndFindsTheNext)
{
    load({{1000, "one two"}, {2000, "two"}});
    panel.setTextSelection(4, 4);
    findClipboard.replace("two", "2", false);
    EXPECT_EQ(texts(), (std::vector<std::string>{"one 2", "two"}));
    EXPECT_TRUE(document.modified);
    EXPECT_EQ(session.currentRow(), 1);  // on with the next match
    EXPECT_EQ(panel.state().selectionEnd, 3);
    findClipboard.replace("two", "2", false);
    EXPECT_EQ(texts(), (std::vector<std::string>{"one 2", "2"}));
    EXPECT_EQ(messages(), std::vector<std::string>{kNoMore});
    rows.undo();
    EXPECT_EQ(at(1).text, "two");
}

TEST_F(FindAndClipboard, ReplaceAllCountsRowsAndIsOneUndoStep)
{
    load({{1000, "abc ABC"}, {2000, "none"}, {3000, "xabc"}});
    EXPECT_EQ(findClipboard.replaceAll("abc", "x", false), 2);
    EXPECT_EQ(texts(), (std::vector<std::string>{"x x", "none", "xx"}));
    EXPECT_EQ(messages(), std::vector<std::string>{"2개 자막의 문자열을 바꾸었습니다."});
    rows.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"abc ABC", "none", "xabc"}));
    EXPECT_FALSE(rows.canUndo());
    EXPECT_EQ(findClipboard.replaceAll("zzz", "x", false), 0);
    EXPECT_EQ(messages().back(), "일치하는 문자열이 없습니다.");
}

// ---- copy and cut ------------------------------------------------------------------------

TEST_F(FindAndClipboard, CopyWithNoRowCheckedShowsTheMessageEvenWithASelection)
{
    load({{1000, "A"}});
    findClipboard.copy();
    findClipboard.cut();
    EXPECT_EQ(messages(), (std::vector<std::string>{"내용을 복사할 자막을 선택해 주십시오.",
                                                    "내용을 잘라낼 자막을 선택해 주십시오."}));
    EXPECT_FALSE(clipboard.content.has_value());
}

TEST_F(FindAndClipboard, CopyPutsTheCheckedRowsInTheWritersSyncForm)
{
    load({{1000, "A"}, {1500, "&nbsp;"}, {0, "#note"}, {3000, "C"}});
    selection.checkAll();
    selection.toggleChecked(3);
    findClipboard.copy();
    EXPECT_EQ(*clipboard.content,
              "<SYNC Start=1000><P Class=KRCC>\r\nA\r\n"
              "<SYNC Start=1500><P Class=KRCC>&nbsp;\r\n"
              "<SYNC Start=0><P Class=KRCC>\r\nnote\r\n");
    session.selectRow(3);
    findClipboard.copySingle();
    EXPECT_EQ(*clipboard.content, "<SYNC Start=3000><P Class=KRCC>\r\nC\r\n");
}

TEST_F(FindAndClipboard, CutDeletesOnlyWhatTheClipboardTook)
{
    load({{1000, "A"}, {2000, "B"}});
    selection.toggleChecked(0);
    clipboard.locked = true;
    findClipboard.cut();
    findClipboard.cutSingle();
    EXPECT_EQ(model.GetCount(), 2);
    clipboard.locked = false;
    findClipboard.cut();
    EXPECT_EQ(texts(), std::vector<std::string>{"B"});
    EXPECT_TRUE(document.modified);
    findClipboard.cutSingle();
    EXPECT_EQ(model.GetCount(), 0);
    EXPECT_EQ(*clipboard.content, "<SYNC Start=2000><P Class=KRCC>\r\nB\r\n");
}

// ---- paste -------------------------------------------------------------------------------

TEST_F(FindAndClipboard, PastingPlainTextInsertsACaptionAtZeroAboveTheCurrentRow)
{
    load({{0, "a"}, {1000, "b"}, {2000, "c"}, {3000, "d"}, {4000, "e"}});
    clipboard.content = "plain words";
    session.selectRow(3);
    EXPECT_EQ(findClipboard.paste(), PasteAction::Pasted);
    EXPECT_EQ(texts(), (std::vector<std::string>{"a", "b", "c", "plain words", "d", "e"}));
    EXPECT_EQ(at(3).startMs, 0);
    EXPECT_EQ(session.currentRow(), 4);
    EXPECT_EQ(panel.state().text, "d");
}

TEST_F(FindAndClipboard, PastingSamiTextParsesItAboveTheCurrentRowAsOneStep)
{
    load({{1000, "a"}, {9000, "z"}});
    clipboard.content = "<sync Start=2000><P Class=KRCC>x\r\n<SYNC Start=3000><P Class=KRCC>y";
    session.selectRow(1);
    findClipboard.pasteInsert();
    EXPECT_EQ(texts(), (std::vector<std::string>{"a", "x", "y", "z"}));
    EXPECT_EQ(session.currentRow(), 3);
    rows.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"a", "z"}));
}

TEST_F(FindAndClipboard, PastingIntoAnEmptyListSelectsTheLastRowPasted)
{
    load({});
    clipboard.content = "<SYNC Start=1><P Class=KRCC>x<SYNC Start=2><P Class=KRCC>y";
    EXPECT_EQ(findClipboard.paste(), PasteAction::Pasted);
    EXPECT_EQ(texts(), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(session.currentRow(), 1);
    load({});
    clipboard.content = "plain";
    findClipboard.pasteInsert();
    EXPECT_EQ(texts(), std::vector<std::string>{"plain"});
    EXPECT_EQ(session.currentRow(), 0);
}

TEST_F(FindAndClipboard, PasteOnTheLastRowAsksAndAppendKeepsThatRowFirst)
{
    load({{1000, "a"}, {2000, "b"}});
    clipboard.content = "<SYNC Start=3000><P Class=KRCC>x<SYNC Start=4000><P Class=KRCC>y";
    session.selectRow(1);
    EXPECT_EQ(findClipboard.paste(), PasteAction::ShowPasteMenu);
    EXPECT_EQ(model.GetCount(), 2);
    findClipboard.appendAtEnd();
    EXPECT_EQ(texts(), (std::vector<std::string>{"a", "b", "x", "y"}));
    EXPECT_TRUE(at(1).rangeEnd);
    EXPECT_EQ(session.currentRow(), 3);
    rows.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(rows.canUndo());
}

TEST_F(FindAndClipboard, BinaryAndHugeClipboardTextsAreTakenWithoutHarm)
{
    load({{1000, "a"}});
    clipboard.content = std::string("ab\0<SYNC Start=5>cd", 19);
    findClipboard.pasteInsert();
    EXPECT_EQ(at(0).text, "ab");  // a zero byte ends the text
    clipboard.content = std::string(10 * 1024 * 1024, '\xb0');
    findClipboard.pasteInsert();
    EXPECT_EQ(at(1).text.size(), 10u * 1024 * 1024);
    EXPECT_LE(session.captionText(1).size(), 256u);
    clipboard.content = std::string("\0\0", 2);
    session.selectRow(0);
    const int before = model.GetCount();
    EXPECT_EQ(findClipboard.paste(), PasteAction::Nothing);
    EXPECT_EQ(model.GetCount(), before);
    clipboard.content.reset();
    EXPECT_FALSE(findClipboard.canPaste());
    findClipboard.pasteInsert();
    EXPECT_EQ(model.GetCount(), before);
}

TEST_F(FindAndClipboard, AppendWithNothingToPasteLeavesTheListAndHistoryAlone)
{
    load({{1000, "a"}, {2000, "b"}});
    session.selectRow(1);
    clipboard.content = std::string("\0tail", 5);  // text that ends before its first byte
    findClipboard.appendAtEnd();
    clipboard.content.reset();
    findClipboard.appendAtEnd();
    EXPECT_EQ(texts(), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(rows.canUndo());
    EXPECT_FALSE(document.modified);
    // Only the last row offers the append.
    clipboard.content = "plain";
    session.selectRow(0);
    findClipboard.appendAtEnd();
    EXPECT_EQ(model.GetCount(), 2);
}

TEST_F(FindAndClipboard, TenMegabytesOfSyncsWithBinaryBytesPasteAsOneUndoStep)
{
    load({{1000, "a"}});
    std::string text;
    text.reserve(10 * 1024 * 1024 + 100);
    unsigned seed = 7;
    for (int i = 0; text.size() < 10u * 1024 * 1024; ++i) {
        text += "<SYNC Start=" + std::to_string(i) + "><P Class=KRCC>";
        // Bytes 1..255: stray angle brackets, lead bytes without a second byte, controls.
        for (int k = 0; k < 24; ++k) {
            seed = seed * 1103515245u + 12345u;
            text += static_cast<char>(1 + (seed >> 16) % 255);
        }
    }
    clipboard.content = text;
    findClipboard.pasteInsert();
    const int pasted = model.GetCount() - 1;
    EXPECT_GT(pasted, 100000);
    EXPECT_EQ(at(pasted).text, "a");
    EXPECT_EQ(session.currentRow(), pasted);
    for (int row = 0; row < model.GetCount(); row += 9973)
        EXPECT_LE(session.captionText(row).size(), 256u);
    rows.undo();
    EXPECT_EQ(texts(), std::vector<std::string>{"a"});
    EXPECT_FALSE(rows.canUndo());
}

// ---- external editor ---------------------------------------------------------------------

TEST_F(FindAndClipboard, TheExternalEditorGetsThePathForEveryPlaceholder)
{
    load({{1000, "a"}});
    settings.EditorName = "myedit.exe \"%F\" -log %f.txt";
    document.filePath = "/home/u/영화.smi";
    findClipboard.openExternalEditor();
    EXPECT_EQ(document.prompts, 1);
    EXPECT_EQ(launcher.launched, std::vector<std::string>{
                                     "myedit.exe \"/home/u/영화.smi\" -log /home/u/영화.smi.txt"});
    launcher.succeeds = false;
    document.promptResult = false;  // the answer does not stop the command
    findClipboard.openExternalEditor();
    EXPECT_EQ(messenger.shown.back().text, "지정한 에디터를 실행할 수 없습니다.");
    EXPECT_EQ(messenger.shown.back().icon, MessageIcon::Error);
    document.filePath.clear();
    findClipboard.openExternalEditor();
    EXPECT_EQ(messenger.shown.back().text, "현재 열린 자막 파일이 없습니다.");
    EXPECT_EQ(launcher.launched.size(), 2u);
}

TEST_F(FindAndClipboard, AnEmptyEditorOptionTakesVisualThenEditorThenTheDesktopsProgram)
{
#ifdef _WIN32
    GTEST_SKIP() << "the environment is changed with setenv, which Windows lacks";
#else
    load({{1000, "a"}});
    settings.EditorName.clear();
    document.filePath = "/home/u/a b.smi";
    const auto restore = [](const char* name, const char* value) {
        value ? setenv(name, value, 1) : unsetenv(name);
    };
    const std::string visual = std::getenv("VISUAL") ? std::getenv("VISUAL") : "";
    const std::string editor = std::getenv("EDITOR") ? std::getenv("EDITOR") : "";
    const bool hadVisual = std::getenv("VISUAL") != nullptr;
    const bool hadEditor = std::getenv("EDITOR") != nullptr;
    setenv("VISUAL", "kate", 1);
    setenv("EDITOR", "vim", 1);
    findClipboard.openExternalEditor();
    unsetenv("VISUAL");
    findClipboard.openExternalEditor();
    setenv("EDITOR", "", 1);  // set but empty counts as unset
    findClipboard.openExternalEditor();
    restore("VISUAL", hadVisual ? visual.c_str() : nullptr);
    restore("EDITOR", hadEditor ? editor.c_str() : nullptr);
    EXPECT_EQ(launcher.launched,
              (std::vector<std::string>{"kate \"/home/u/a b.smi\"", "vim \"/home/u/a b.smi\"",
                                        "desktop /home/u/a b.smi"}));
    // A stored command is used as the user wrote it.
    settings.EditorName = "notepad.exe %f";
    findClipboard.openExternalEditor();
    EXPECT_EQ(launcher.launched.back(), "notepad.exe \"/home/u/a b.smi\"");
#endif
}

TEST(EditorCommandLine, QuotesAPathWithBlanksUnlessThePatternQuotesIt)
{
    // A path without blanks is put in as it stands.
    EXPECT_EQ(editorCommandLine("notepad.exe %f", "C:\\subs\\a.smi"), "notepad.exe C:\\subs\\a.smi");
    // Blanks would split the path into several arguments.
    EXPECT_EQ(editorCommandLine("gedit %f", "/home/u/My Subs/a b.smi"),
              "gedit \"/home/u/My Subs/a b.smi\"");
    EXPECT_EQ(editorCommandLine("ed \"%F\" %f.txt", "/x y/a.smi"),
              "ed \"/x y/a.smi\" \"/x y/a.smi\".txt");
    // A quote in the path is tripled, the splitting's literal quote, in or out of quotes.
    EXPECT_EQ(editorCommandLine("ed %f \"%f\"", "/q\"a.smi"),
              "ed \"/q\"\"\"a.smi\" \"/q\"\"\"a.smi\"");
    // A lone "%" or "%" before another letter stays.
    EXPECT_EQ(editorCommandLine("ed %d %", "/a"), "ed %d %");
}

}  // namespace
}  // namespace verbanta::test
