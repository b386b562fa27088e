// The line grammars of the seven readers, each run on its own as the import runs it.

#include <gtest/gtest.h>

#include "formats/microdvd_reader.h"
#include "formats/ssa_reader.h"
#include "formats/xombie_reader.h"
#include "import_test_support.h"

namespace verbanta::test {
namespace {

class ForeignReaders : public ::testing::Test, protected ImportFixture {};

// ---- SubRip ---------------------------------------------------------------------------------

TEST_F(ForeignReaders, SubRipKeepsItalicTagsAsHtml)
{
    // SAMI players show override codes as text; the file's own tags are what SAMI understands.
    ASSERT_TRUE(read(kSrt, "1\r\n00:00:01,000 --> 00:00:02,000\r\n<i>Hello</i>\r\n"));
    EXPECT_EQ(entries(), withEnd(1000, 2000, "<i>Hello</i>"));
}

TEST_F(ForeignReaders, SubRipJoinsLinesAndReadsShortFractionsAsFractions)
{
    ASSERT_TRUE(read(kSrt,
                     "1\n00:01:02,5 --> 00:01:03,250\nA\nB\n\n2\n"
                     "00:01:04,05 --> 00:01:05,0001\n  C  \n"));
    EXPECT_EQ(entries(), concat({withEnd(62500, 63250, "A<br>\r\nB"), withEnd(64050, 65001, "C")}));
}

TEST_F(ForeignReaders, SubRipAcceptsAnySeparatorsAndSpacing)
{
    ASSERT_TRUE(
        read(kSrt, "7\n0:0:1.5-->0:0:2.75 X1:10 X2:20\ntext\n8\n0:0:3 --> 0:0:4 X1:1\nt\n"));
    EXPECT_EQ(entries(), concat({withEnd(1500, 2750, "text"), withEnd(3000, 4000, "t")}));
}

TEST_F(ForeignReaders, SubRipContinuesACaptionAfterABlankLine)
{
    // A number alone is the next counter only when a timing line follows it.
    ASSERT_TRUE(read(kSrt,
                     "1\n00:00:01,000 --> 00:00:02,000\nA\n2000\n\nB\n\n12 apples\n\n3\n"
                     "00:00:03,000 --> 00:00:04,000\nC\n\n4\n"));
    EXPECT_EQ(entries(), concat({withEnd(1000, 2000, "A<br>\r\n2000<br>\r\nB<br>\r\n12 apples"),
                                 withEnd(3000, 4000, "C")}));
    ASSERT_TRUE(read(kSrt, "00:00:01,000 --> 00:00:02,000\nA\n4\n"));
    EXPECT_EQ(entries(), withEnd(1000, 2000, "A<br>\r\n4"));
    ASSERT_TRUE(read(kSrt, "\n00:00:01,000 --> 00:00:02,000\n42\n"));
    EXPECT_EQ(entries(), withEnd(1000, 2000, "42"));
}

TEST_F(ForeignReaders, SubRipSkipsWhatItCannotAccountFor)
{
    // Nothing that reads, and nothing read: the import tries the next reader.
    EXPECT_TRUE(read(kSrt, "Hello\n1\n00:00:01,000 -> 00:00:02,000\nA\n"));
    EXPECT_EQ(model.GetCount(), 0);
    // A byte-order mark left in (the import converts the file first) is text before the first
    // entry, and goes with it.
    ASSERT_TRUE(read(kSrt,
                     "\xEF\xBB\xBF"
                     "1\n00:00:01,000 --> 00:00:02,000\nA\n"));
    EXPECT_EQ(entries(), withEnd(1000, 2000, "A"));
    // A timing line that does not read drops its entry up to the next one, noting its line.
    std::vector<int> skipped;
    model.Reset(true);
    LineReader lines(
        "1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n00:00:0x,000 --> 00:00:03,000\nB\n\n3\n"
        "99999999999:00:00,000 --> 00:00:01,000\nC\n\n4\n00:00:04,000 --> 00:00:05,000\nD\n");
    ReaderOptions options;
    options.skippedLines = &skipped;
    ASSERT_TRUE(readerAt(kSrt).read(lines, model, options));
    EXPECT_EQ(entries(), concat({withEnd(1000, 2000, "A"), withEnd(4000, 5000, "D")}));
    EXPECT_EQ(skipped, (std::vector<int>{6, 10}));
}

TEST_F(ForeignReaders, SubRipReadsTimesAtTheEdgesOfTheTimeRange)
{
    ASSERT_TRUE(read(kSrt, "1\n596:31:23,648 --> 596:31:23,649\nA\n"));
    EXPECT_EQ(model.GetCount(), 0);
    ASSERT_TRUE(read(kSrt, "1\n596:31:23,647 --> -1:00:00,000\nA\n"));
    EXPECT_EQ(entries(), withEnd(2147483647, -3600000, "A"));
    // The sign before the hours makes the whole time negative.
    ASSERT_TRUE(read(kSrt, "1\n-00:00:01,500 --> 00:00:01,000\nA\n"));
    EXPECT_EQ(entries(), withEnd(-1500, 1000, "A"));
}

// ---- SubRip with braces ---------------------------------------------------------------------

TEST_F(ForeignReaders, SubRipBracesReadsTimesAndBars)
{
    ASSERT_TRUE(read(kSrtBraces, "{0:0:1}{0:0:3}Hello|World\n\n{0:1:0}{1:0:0}\n"));
    EXPECT_EQ(entries(),
              concat({withEnd(1000, 3000, "Hello<br>\r\nWorld"), withEnd(60000, 3600000, "")}));
    EXPECT_FALSE(read(kSrtBraces, "{100}{200}Hi\n"));
    EXPECT_FALSE(read(kSrtBraces, "1\n"));
}

// ---- MicroDVD -------------------------------------------------------------------------------

TEST_F(ForeignReaders, MicroDvdOpenEndLastsSixtyFrames)
{
    ASSERT_TRUE(read(kMicroDvd, "{100}{}Hi\n", 25.0));
    EXPECT_EQ(entries(), withEnd(4000, 6400, "Hi"));
}

TEST_F(ForeignReaders, MicroDvdTruncatesFrameTimes)
{
    ASSERT_TRUE(read(kMicroDvd, "{100}{101}x\n", 23.976));
    EXPECT_EQ(entries(), withEnd(4170, 4212, "x"));
    ASSERT_TRUE(read(kMicroDvd, "{1}{3}x\n", 29.97));
    EXPECT_EQ(entries(), withEnd(33, 100, "x"));
}

TEST_F(ForeignReaders, MicroDvdRemovesCodesAndBreaksAtBars)
{
    ASSERT_TRUE(read(kMicroDvd,
                     "{1}{2}{y:i}Hello|{c:$0000FF}{Y:b}World\n"
                     "{3}{4}{f:Arial}{s:20}{o:10,20}{h:129}Sized{unknown}\n"));
    EXPECT_EQ(entries(),
              concat({withEnd(40, 80, "Hello<br>\r\nWorld"), withEnd(120, 160, "Sized")}));
}

TEST_F(ForeignReaders, MicroDvdDefaultStyleSetsTheCharacterSet)
{
    // In Shift-JIS the "|" after 0x95 is a trail byte and no line break; in ANSI it is one.
    ASSERT_TRUE(
        read(kMicroDvd, "{DEFAULT}{h:128}\n{1}{2}\x95|x\n{DEFAULT}{h:0}{y:i}\n{3}{4}\x95|x\n"));
    EXPECT_EQ(entries(), concat({withEnd(40, 80, "\x95|x"), withEnd(120, 160, "\x95<br>\r\nx")}));
    EXPECT_EQ(microDvdDefaultCharset("{c:$FF}{H:136}"), 136);
    EXPECT_EQ(microDvdDefaultCharset("{y:b}"), 1);
}

TEST_F(ForeignReaders, MicroDvdRewritesCodesAsOverrideBlocks)
{
    EXPECT_EQ(convertMicroDvdCodes("{y:bi}a|{C:$ff}b", false, 1),
              "{\\b1\\i1}a{\\b}{\\i}<br>\r\n{\\c&Hff&}b");
    EXPECT_EQ(convertMicroDvdCodes("{s:12.5}{h:128}{o:3,4}x", false, 1),
              "{\\fs12.500000}{\\fe128}{\\move(3,4,0,0,0,0)}x{\\fs}{\\fe}");
}

TEST_F(ForeignReaders, MicroDvdFailsOnOtherLinesAndAbsurdFrames)
{
    EXPECT_FALSE(read(kMicroDvd, "Hello\n"));
    EXPECT_FALSE(read(kMicroDvd, "{}{x}\n"));
    EXPECT_FALSE(read(kMicroDvd, "{99999999999}{99999999999}x\n", 23.976));
    EXPECT_FALSE(frameToMs(10, 0.0).has_value());
    EXPECT_EQ(frameToMs(-25, 25.0), -1000);
    // A name without codes is no style line.
    EXPECT_FALSE(read(kMicroDvd, "{DEFAULT}\n"));
    // A line that ends before the first number counts as blank, as in every reader.
    ASSERT_TRUE(read(kMicroDvd, "{\n{25}{50}A\n {\n"));
    EXPECT_EQ(entries(), withEnd(1000, 2000, "A"));
}

// ---- SubViewer ------------------------------------------------------------------------------

TEST_F(ForeignReaders, SubViewerReadsHundredthsAndTheNextLineUntrimmed)
{
    ASSERT_TRUE(read(kSubViewer,
                     "[INFORMATION]\n[TITLE]x\n[COLF]&HFFFFFF,[SIZE]18\n"
                     "00:00:41.00,00:00:44.40\n  One[br]Two \n\n"
                     "01:00:00.5,01:00:01.05\n"));
    EXPECT_EQ(entries(),
              concat({withEnd(41000, 44400, "  One<br>\r\nTwo "), withEnd(3600050, 3601050, "")}));
    EXPECT_FALSE(read(kSubViewer, "1\n00:00:01,000 --> 00:00:02,000\n"));
    EXPECT_FALSE(read(kSubViewer, "00:00:41.00\n"));
}

// ---- Sub Station Alpha ----------------------------------------------------------------------

TEST_F(ForeignReaders, SsaRemovesOverrideBlocksAndEscapes)
{
    ASSERT_TRUE(read(kSsa,
                     "[Script Info]\nScriptType: v4.00+\n[Events]\n"
                     "Dialogue: 0,0:00:01.00,0:00:02.50,Default,,0,0,0,,Hi{\\i1}there\\Nnext\n"));
    EXPECT_EQ(entries(), withEnd(1000, 2500, "Hithere<br>\r\nnext"));
}

TEST_F(ForeignReaders, SsaWithoutDialogueSucceedsEmpty)
{
    EXPECT_TRUE(read(kSsa, "[Script Info]\nTitle: nothing\n"));
    EXPECT_EQ(model.GetCount(), 0);
}

TEST_F(ForeignReaders, SsaReadsMarkedBeforeVersionFour)
{
    const std::string dialogue =
        "Dialogue: Marked=0,0:00:02.00,0:00:05.5,Default,,0000,0000,0000,,A, b\n";
    ASSERT_TRUE(read(kSsa, dialogue));
    EXPECT_EQ(entries(), withEnd(2000, 5050, "A, b"));
    ASSERT_TRUE(read(kSsa, "ScriptType: v4.00\n" + dialogue));
    EXPECT_EQ(entries(), withEnd(2000, 5050, "A, b"));
    EXPECT_FALSE(
        read(kSsa, "ScriptType: v4.00\nDialogue: Marked=x,0:00:02.00,0:00:03.00,D,,0,0,0,,A\n"));
}

TEST_F(ForeignReaders, SsaTakesTheCharacterSetFromTheStyle)
{
    // Encoding 0 (ANSI) finds the block after 0x95; Encoding 129 reads 0x95 "{" as one
    // character and leaves it.
    const std::string header = "ScriptType: v4.00+\n[V4+ Styles]\n";
    const std::string v5Style =
        "Style: %s,Arial,20,&H00FFFFFF,&H0,&H0,&H0,0,0,0,0,100,100,0,0,1,2,2,2,10,10,10,%d\n";
    auto style = [&](const char* name, int encoding) {
        char line[256];
        std::snprintf(line, sizeof line, v5Style.c_str(), name, encoding);
        return std::string(line);
    };
    const std::string events =
        "Dialogue: 0,0:00:01.00,0:00:02.00,Sign,,0,0,0,,\x95{x}y\n"
        "Dialogue: 0,0:00:03.00,0:00:04.00,Other,,0,0,0,,\x95{x}y\n";
    ASSERT_TRUE(read(kSsa, header + style("*Sign", 0) + style("Default", 129) + events));
    EXPECT_EQ(entries(), concat({withEnd(1000, 2000, "\x95y"), withEnd(3000, 4000, "\x95{x}y")}));
    ASSERT_TRUE(read(kSsa, header + style("Sign", 129) + style("Default", 0) + events));
    EXPECT_EQ(entries(), concat({withEnd(1000, 2000, "\x95{x}y"), withEnd(3000, 4000, "\x95y")}));
}

TEST_F(ForeignReaders, SsaSectionLineChangesOnlyTheStyleLayout)
{
    // Without "ScriptType" a version-4 style line under "[V4+ Styles]" is read in the v4+
    // layout, which has more fields than the line.
    const std::string v4Style =
        "Style: Default,Arial,28,16777215,65535,65535,0,-1,0,1,3,0,2,30,30,30,0,0\n";
    EXPECT_TRUE(read(kSsa, "[V4 Styles]\n" + v4Style));
    EXPECT_FALSE(read(kSsa, "[V4+ Styles]\n" + v4Style));
}

TEST_F(ForeignReaders, SsaFailsOnBadFieldsAndIgnoresOtherKeys)
{
    EXPECT_FALSE(read(kSsa, "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,x,0,0,,Hi\n"));
    EXPECT_FALSE(read(kSsa, "Dialogue: 0,0:00:01x,0:00:02.00,Default,,0,0,0,,Hi\n"));
    EXPECT_FALSE(read(kSsa, "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0\n"));
    EXPECT_FALSE(read(kSsa, "Style: Default,Arial\n"));
    EXPECT_FALSE(read(kSsa, "Dialogue: 0,99999:00:00.00,0:00:02.00,Default,,0,0,0,,Hi\n"));
    ASSERT_TRUE(read(kSsa,
                     "; comment\nComment: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,no\n"
                     "Dialogue : 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,no\n"
                     "PlayResX: 640\nFormat: anything\n"
                     "dialogue:0,0:00:01.00,0:00:02.00,Default,,0,0,0,,yes\n"));
    EXPECT_EQ(entries(), withEnd(1000, 2000, "yes"));
    EXPECT_EQ(parseSsaTime("1:02:03.45"), 3723450);
    EXPECT_EQ(parseSsaTime(" 1:02:03 "), 3723000);
}

// ---- VPlayer --------------------------------------------------------------------------------

TEST_F(ForeignReaders, VPlayerSkipsZeroPlaceholdersAndAddsNoEndSyncs)
{
    ASSERT_TRUE(read(kVPlayer, "0:00:00:\n0:00:05:\n0:00:06:Two|lines\n1:00:00:a:b\n"));
    EXPECT_EQ(entries(),
              (std::vector<ImportedEntry>{
                  {5000, false, ""}, {6000, false, "Two<br>\r\nlines"}, {3600000, false, "a:b"}}));
    EXPECT_FALSE(read(kVPlayer, "Hello\n"));
    EXPECT_FALSE(read(kVPlayer, "1\n"));
}

// ---- Xombie ---------------------------------------------------------------------------------

TEST_F(ForeignReaders, XombieReadsDialogueLinesOnly)
{
    ASSERT_TRUE(read(kXombie,
                     "; comment\nVersion=1\n"
                     "Style=Default,Main,Arial,20,1,2,3,4,0,0,0,0,0,0,0,0,10,20,0\n"
                     "Line=D,N,0,0:00:01.250,0:00:03.500,Default,Main,,0,0,0,\x95{x}a, b\n"
                     "Line=C,N,0,0:00:02.000,0:00:02.500,Default,Main,,0,0,0,skipped\n"
                     "Line=D,N,0,0:00:04.000,0:00:05.000,X,Y,,0,0,0,\x95{x}c\\Nd\n"));
    // The first line names the style "Main_Default" (character set 0); the second falls back
    // to the system set, where 0x95 "{" is one character.
    EXPECT_EQ(entries(), concat({withEnd(1250, 3500,
                                         "\x95"
                                         "a, b"),
                                 withEnd(4000, 5000, "\x95{x}c<br>\r\nd")}));
    EXPECT_EQ(parseXombieTime("1:00:00.007"), 3600007);
}

TEST_F(ForeignReaders, XombieFailsOnParseErrors)
{
    EXPECT_FALSE(read(kXombie, "Line=D,N,x,0:00:01.000,0:00:02.000,A,B,,0,0,0,t\n"));
    EXPECT_FALSE(read(kXombie, "Line=D,N,0,0:00:01,0:00:02.000,A,B,,0,0,0,t\n"));
    EXPECT_FALSE(read(kXombie, "Style=A,B,Arial,20\n"));
    EXPECT_TRUE(read(kXombie, "Line=Comment\nrandom text\n"));
    EXPECT_EQ(model.GetCount(), 0);
}

}  // namespace
}  // namespace verbanta::test
