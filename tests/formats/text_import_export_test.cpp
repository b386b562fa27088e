#include <gtest/gtest.h>

#include <filesystem>

#include "formats/foreign_import.h"
#include "formats/text_export.h"
#include "formats/text_import.h"
#include "import_test_support.h"
#include "sami/sami_writer.h"
#include "support/cp949.h"
#include "support/temp_folder.h"

namespace verbanta::test {
namespace {

class TextImport : public ::testing::Test, protected ImportFixture {
protected:
    std::vector<std::string> captions() const
    {
        std::vector<std::string> out;
        for (const ImportedEntry& e : entries()) {
            EXPECT_EQ(e.startMs, 0);
            EXPECT_FALSE(e.isEndSync);
            out.push_back(e.text);
        }
        return out;
    }
};

using Texts = std::vector<std::string>;

TEST_F(TextImport, LineModeMakesOneCaptionPerNonBlankLine)
{
    importTextBytes(model, "A\r\n\r\n  B  \r\n\r\n\r\n", false);
    EXPECT_EQ(captions(), (Texts{"A", "B"}));
    importTextBytes(model, "one\ntwo\nthree", false);
    EXPECT_EQ(captions(), (Texts{"one", "two", "three"}));
    EXPECT_EQ(model.GetFirst().className, "KRCC");
}

TEST_F(TextImport, ParagraphModeJoinsLinesUpToABlankLine)
{
    importTextBytes(model, "A\r\nB\r\n\r\n\r\nD\r\n", true);
    EXPECT_EQ(captions(), (Texts{"A<br>\r\nB", "D"}));
    importTextBytes(model, "A\r\nB\r\nC", true);
    EXPECT_EQ(captions(), (Texts{"A<br>\r\nB<br>\r\nC"}));
    // Carriage returns between the two line feeds do not count; other white space does.
    importTextBytes(model, "A\n\r\r\nB\n \nC", true);
    EXPECT_EQ(captions(), (Texts{"A", "B<br>\r\n <br>\r\nC"}));
}

TEST_F(TextImport, ParagraphModeBreaksUnixLinesToo)
{
    // A bare line feed inside a paragraph is a line break like CR LF.
    importTextBytes(model, "A\nB\n\nC\r\nD", true);
    EXPECT_EQ(captions(), (Texts{"A<br>\r\nB", "C<br>\r\nD"}));
}

TEST_F(TextImport, TrimsOnlySpacesTabsAndLineEnds)
{
    // A form feed or vertical tab is text of the line, not white space to trim.
    importTextBytes(model, "\t A\f \r\n\vB\r\n", false);
    EXPECT_EQ(captions(), (Texts{"A\f", "\vB"}));
    importTextBytes(model, " A\r\n\f\r\n\r\nB\v", true);
    EXPECT_EQ(captions(), (Texts{"A<br>\r\n\f", "B\v"}));
}

TEST_F(TextImport, BareCarriageReturnsMakeOneCaption)
{
    importTextBytes(model, "A\rB\rC\r", false);
    EXPECT_EQ(captions(), (Texts{"A\rB\rC"}));
}

TEST_F(TextImport, DropsZeroBytesThatWouldCutASavedFileShort)
{
    using namespace std::literals;
    importTextBytes(model, "A\0B\n\0\nC\0"sv, false);
    EXPECT_EQ(captions(), (Texts{"AB", "C"}));
    // Saved and read again, every caption is still there.
    SamiModel reloaded(settings);
    reloaded.LoadText(writeSami(model, -1));
    EXPECT_EQ(entriesOf(reloaded).size(), 3u);  // the two captions and the written end sync
}

TEST_F(TextImport, ConvertsUnicodeTextAndKeepsCp949)
{
    importTextBytes(model, "\xEF\xBB\xBF첫째 줄\r\n둘째 줄\r\n", false);
    EXPECT_EQ(captions(), (Texts{cp949("첫째 줄"), cp949("둘째 줄")}));
    const std::string utf16 = "\xFF\xFE" + iconvConvert("가\r\n\r\n나", "UTF-16LE", "UTF-8");
    importTextBytes(model, utf16, true);
    EXPECT_EQ(captions(), (Texts{cp949("가"), cp949("나")}));
    const std::string korean = cp949("한국어 자막");
    importTextBytes(model, korean, false);
    EXPECT_EQ(captions(), (Texts{korean}));
}

TEST_F(TextImport, ReplacesTheDocumentAndReportsAnUnreadableFile)
{
    model.AddTail(SyncEntry{}, true);
    TempFolder folder;
    EXPECT_FALSE(importTextFile(model, folder.path("missing.txt"), false));
    EXPECT_EQ(model.GetCount(), 0);
    EXPECT_FALSE(model.CanUndo());
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text,
              "지정하신 파일을 열 수 없습니다.\n다시 한번 확인해 주십시오.");
    EXPECT_EQ(messenger.shown[0].icon, MessageIcon::Warning);

    TempFolder::write(folder.path("a.txt"), "x\ny\n");
    EXPECT_TRUE(importTextFile(model, folder.path("a.txt"), false));
    EXPECT_EQ(captions(), (Texts{"x", "y"}));

    // A file past the import limit is refused the same way, and the document is left empty.
    std::filesystem::resize_file(folder.path("a.txt"), kMaxImportFileBytes + 1);
    messenger.shown.clear();
    EXPECT_FALSE(importTextFile(model, folder.path("a.txt"), false));
    EXPECT_EQ(model.GetCount(), 0);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, kCannotOpenTextMessage);
}

// ---- export ---------------------------------------------------------------------------------

TEST(TextExportName, CutsTheExtensionAndTheModifiedMark)
{
    EXPECT_EQ(defaultTextExportName("a.smi *"), "a.txt");
    EXPECT_EQ(defaultTextExportName("a.smi"), "a.txt");
    EXPECT_EQ(defaultTextExportName("제목없음 *"), "제목없음.txt");
    EXPECT_EQ(defaultTextExportName("movie.part1.smi"), "movie.part1.txt");
    EXPECT_EQ(defaultTextExportName(".smi"), ".smi.txt");
    EXPECT_EQ(defaultTextExportName("x"), "x.txt");
    EXPECT_EQ(defaultTextExportName(""), ".txt");
}

class TextExport : public ::testing::Test, protected ImportFixture {
protected:
    TempFolder folder;
    void add(std::string text, bool end = false)
    {
        const Position p = appendCaption(model, 0, std::move(text));
        if (end)
            model.InsertEndSync(p, 1, false);
    }
    std::string exported()
    {
        EXPECT_TRUE(exportText(model, folder.path("out.txt")));
        return TempFolder::read(folder.path("out.txt"));
    }
};

TEST_F(TextExport, WritesOneParagraphPerCaptionWithoutAFinalLineEnd)
{
    add("A", true);
    add("B1<BR>\r\nB2");
    EXPECT_EQ(exported(), "A\r\n\r\nB1\r\nB2");
}

TEST_F(TextExport, DecodesKnownEntitiesOnly)
{
    add("caf&eacute; &amp; <b>tea</b>");
    add("&unknown; stays");
    EXPECT_EQ(exported(), "cafe & tea\r\n\r\n&unknown; stays");
}

TEST_F(TextExport, WritesACaptionLongerThanTheBufferWhole)
{
    const std::string longText(40000, 'x');
    add("short");
    add(longText);
    EXPECT_EQ(exported(), "short\r\n\r\n" + longText);
}

TEST_F(TextExport, RoundTripsThroughParagraphImport)
{
    importTextBytes(model, "A\r\nB\r\n\r\nC", true);
    const std::string text = exported();
    EXPECT_EQ(text, "A\r\nB\r\n\r\nC");
    importTextBytes(model, text, true);
    EXPECT_EQ(entriesOf(model).size(), 2u);
}

TEST_F(TextExport, ReportsAFileThatCannotBeCreated)
{
    add("A");
    EXPECT_FALSE(exportText(model, folder.path("no/such/dir/out.txt")));
    EXPECT_EQ(messenger.shown.size(), 1u);
}

}  // namespace
}  // namespace verbanta::test
