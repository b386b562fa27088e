// The import command's core: reader choice, detection with a reset between readers, encodings,
// messages, files of every format, and hostile input.

#include "formats/foreign_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "import_test_support.h"
#include "model/text_format.h"
#include "sami/sami_writer.h"
#include "support/cp949.h"
#include "support/temp_folder.h"

namespace verbanta::test {
namespace {

constexpr int kAllSupported = 1;

class ForeignImport : public ::testing::Test, protected ImportFixture {
protected:
    bool import(std::string_view bytes, int entry = kAllSupported, double fps = 25.0)
    {
        return importForeignBytes(model, bytes, entry, fps);
    }
    bool importData(const std::string& name, int entry = kAllSupported)
    {
        return importForeignFile(model, dataPath(name), entry, 25.0);
    }
    /// True when the model is a new empty document and nothing else happened.
    bool isNewEmptyDocument() const
    {
        return model.GetCount() == 0 && model.GetLanguageCount() == 1 && !model.CanUndo() &&
               model.idStyles.size() == 3;
    }
};

TEST(ReaderTable, ListsTheSevenReadersInDetectionOrder)
{
    std::vector<std::string_view> names;
    for (const SubtitleReader* r : readerTable()) names.push_back(r->name());
    EXPECT_EQ(names, (std::vector<std::string_view>{"srt", "srt-braces", "microdvd", "subviewer",
                                                    "ssa", "vplayer", "xombie"}));
    EXPECT_EQ(findReaderSlot("ssa"), 4);
    EXPECT_EQ(findReaderSlot("text"), -1);
}

TEST(ReaderTable, FilterEntriesChooseTheirReaders)
{
    const std::vector<int> all{0, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(readersForFilterEntry(1), all);
    EXPECT_EQ(readersForFilterEntry(8), all);
    EXPECT_EQ(readersForFilterEntry(2), (std::vector<int>{0, 1}));
    for (int entry = 3; entry <= 7; ++entry)
        EXPECT_EQ(readersForFilterEntry(entry), std::vector<int>{entry - 1});
}

TEST_F(ForeignImport, DetectsEveryFormatFromItsFile)
{
    struct Case {
        const char* file;
        ImportedEntry first;
        int count;
    };
    const Case cases[] = {
        {"italics_korean.srt", {1200, false, cp949("<i>안녕하세요, 여러분.</i>")}, 10},
        {"overrides.ass", {1500, false, cp949("안녕하세요<br>\r\n반갑습니다")}, 8},
        {"classic.ssa", {2000, false, "Hello there<br>\r\nfriend"}, 4},
        {"styled.sub", {1000, false, "Hello<br>\r\nWorld"}, 8},
        {"subviewer.sub",
         {41000, false, "The Age of Gods was closing.<br>\r\nEternity had come to an end."},
         4},
        {"vplayer.txt", {1000, false, "First caption"}, 4},
        {"xombie.xss", {1250, false, "Hello world"}, 4},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(importData(c.file)) << c.file;
        const auto got = entries();
        ASSERT_EQ(static_cast<int>(got.size()), c.count) << c.file;
        EXPECT_EQ(got.front(), c.first) << c.file;
        EXPECT_FALSE(model.CanUndo()) << c.file;
    }
    EXPECT_TRUE(messenger.shown.empty());
}

TEST_F(ForeignImport, ReadsTheKoreanSubRipFileCompletely)
{
    ASSERT_TRUE(importData("italics_korean.srt", 2));
    EXPECT_EQ(
        entries(),
        concat({withEnd(1200, 3450, cp949("<i>안녕하세요, 여러분.</i>")),
                withEnd(4000, 6500, cp949("오늘은 <b>중요한</b> 날입니다.<br>\r\n두 번째 줄.")),
                withEnd(62005, 64900, cp949("<font color=\"#ffff00\">노란 글씨</font>")),
                withEnd(70000, 72000, cp949("- 누구세요?<br>\r\n- <i>저예요.</i>")),
                withEnd(3600000, 3602250, cp949("끝."))}));
}

TEST_F(ForeignImport, ReadsTheAssFileWithItsOverridesRemoved)
{
    ASSERT_TRUE(importData("overrides.ass", 5));
    EXPECT_EQ(entries(),
              concat({withEnd(1500, 4000, cp949("안녕하세요<br>\r\n반갑습니다")),
                      withEnd(5000, 7250, cp949("표지판: 출구, 입구")),
                      withEnd(8100, 9900, cp949("굵게 그리고 작게")),
                      withEnd(60000, 63000, cp949("첫 줄<br>\r\n둘째 줄<br>\r\n셋째 줄"))}));
}

TEST_F(ForeignImport, ReadsMicroDvdAtTheChosenRate)
{
    ASSERT_TRUE(importForeignFile(model, dataPath("styled.sub"), 3, 23.976));
    const auto got = entries();
    ASSERT_EQ(got.size(), 8u);
    EXPECT_EQ(got[0], (ImportedEntry{1042, false, "Hello<br>\r\nWorld"}));
    EXPECT_EQ(got[2], (ImportedEntry{6256, false, "Second line<br>\r\nBold part"}));
    EXPECT_EQ(got[5], (ImportedEntry{15015, true, "&nbsp;"}));
}

TEST_F(ForeignImport, ResetsTheModelBetweenReaders)
{
    // SubRip braces reads the first line and fails on the second; MicroDVD then reads both.
    ASSERT_TRUE(import("{0:0:1}{0:0:2}A\n{10}{20}B\n"));
    EXPECT_EQ(entries(), concat({withEnd(0, 2400, "A"), withEnd(400, 800, "B")}));
}

TEST_F(ForeignImport, FailedDetectionLeavesANewEmptyDocument)
{
    model.AddTail(SyncEntry{}, true);
    EXPECT_FALSE(import("1\n00:00:01,000 -> 00:00:02,000\nA\n\n2\nnot a time\n"));
    EXPECT_TRUE(isNewEmptyDocument());
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "지정한 파일은 지원하는 자막 파일 형식이 아닙니다.");
    EXPECT_EQ(messenger.shown[0].icon, MessageIcon::Error);
}

TEST_F(ForeignImport, SsaEntryWithoutDialogueIsUnsupported)
{
    EXPECT_FALSE(import("[Script Info]\nScriptType: v4.00+\n[Events]\n", 5));
    EXPECT_TRUE(isNewEmptyDocument());
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, kUnsupportedFormatMessage);
}

TEST_F(ForeignImport, ChosenEntryTriesOnlyItsReaders)
{
    const std::string srt = readData("italics_korean.srt");
    EXPECT_FALSE(import(srt, 3));
    EXPECT_FALSE(import(srt, 7));
    EXPECT_TRUE(import(srt, 8));
    EXPECT_TRUE(import("{0:0:1}{0:0:3}Hi\n", 2));
    EXPECT_EQ(entries(), withEnd(1000, 3000, "Hi"));
}

TEST_F(ForeignImport, ReportsAFileThatCannotBeOpened)
{
    TempFolder folder;
    EXPECT_FALSE(importForeignFile(model, folder.path("missing.srt"), kAllSupported, 25.0));
    EXPECT_FALSE(importForeignFile(model, folder.root(), kAllSupported, 25.0));
    EXPECT_TRUE(isNewEmptyDocument());
    ASSERT_EQ(messenger.shown.size(), 2u);
    EXPECT_EQ(messenger.shown[0].text, "지정한 자막 파일을 열 수 없습니다.");
    EXPECT_EQ(messenger.shown[1].text, kCannotOpenSubtitleMessage);
}

TEST_F(ForeignImport, RefusesAFileFarLargerThanAnySubtitleFile)
{
    // A video picked by mistake: its size alone refuses it, before it is read into memory.
    TempFolder folder;
    const std::string big = folder.path("movie.srt");
    TempFolder::write(big, "1\n00:00:01,000 --> 00:00:02,000\nA\n\n");
    std::filesystem::resize_file(big, kMaxImportFileBytes + 1);
    EXPECT_FALSE(importForeignFile(model, big, kAllSupported, 25.0));
    EXPECT_TRUE(isNewEmptyDocument());
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, kUnsupportedFormatMessage);
    // Exactly at the limit it is read, and what is valid is imported.
    std::filesystem::resize_file(big, kMaxImportFileBytes);
    messenger.shown.clear();
    EXPECT_TRUE(importForeignFile(model, big, kAllSupported, 25.0));
    EXPECT_EQ(entries(), withEnd(1000, 2000, "A"));
    EXPECT_EQ(readFileBytes(big, 10)->size(), 11u);
}

// ---- encodings ------------------------------------------------------------------------------

std::string utf16(std::string_view utf8Text, bool bigEndian)
{
    const std::string body = iconvConvert(utf8Text, bigEndian ? "UTF-16BE" : "UTF-16LE", "UTF-8");
    return (bigEndian ? std::string("\xFE\xFF") : std::string("\xFF\xFE")) + body;
}

TEST_F(ForeignImport, ConvertsUnicodeFilesToCp949)
{
    const std::string srt = "1\r\n00:00:01,000 --> 00:00:02,000\r\n안녕 <i>세상</i>\r\n";
    const auto expected = withEnd(1000, 2000, cp949("안녕 <i>세상</i>"));
    for (const std::string& bytes :
         {srt, "\xEF\xBB\xBF" + srt, utf16(srt, false), utf16(srt, true)}) {
        ASSERT_TRUE(import(bytes)) << bytes.size();
        EXPECT_EQ(entries(), expected);
    }
    // The same for a script: UTF-16 ASS files are common.
    ASSERT_TRUE(
        import(utf16("ScriptType: v4.00+\nDialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,"
                     "한국어\\N자막\n",
                     false)));
    EXPECT_EQ(entries(), withEnd(1000, 2000, cp949("한국어<br>\r\n자막")));
}

TEST_F(ForeignImport, ScansConvertedTextAsCp949WhateverTheStylesSay)
{
    // Japanese scripts name Encoding 128 (Shift-JIS). Once converted from UTF-8 the text is
    // CP949, where the trail byte of "결" (B0 E1) would be a Shift-JIS lead byte swallowing the
    // brace after it; the block and the break must go all the same.
    const std::string script =
        "ScriptType: v4.00+\n[V4+ Styles]\n"
        "Style: Default,MS Gothic,20,&H00FFFFFF,&H0,&H0,&H0,0,0,0,0,100,100,0,0,1,2,2,2,10,10,10,"
        "128\nDialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,결{\\i1}과\\N끝\n";
    ASSERT_TRUE(import("\xEF\xBB\xBF" + script));
    EXPECT_EQ(entries(), withEnd(1000, 2000, cp949("결과<br>\r\n끝")));
    // The same bytes in CP949 are read as the Shift-JIS the style names, as they always were:
    // the brace and the "\N" after "결" and "과" (B0 FA) are taken for trail bytes.
    ASSERT_TRUE(import(cp949(script)));
    EXPECT_EQ(model.GetFirst().text, cp949("결{\\i1}과\\N끝"));
}

TEST_F(ForeignImport, KeepsCharactersCp949LacksAsReferences)
{
    ASSERT_TRUE(
        import("\xEF\xBB\xBF"
               "1\n00:00:01,000 --> 00:00:02,000\ncaf\xC3\xA9 \xF0\x9F\x98\x80\n"));
    ASSERT_EQ(model.GetCount(), 2);
    EXPECT_EQ(model.GetFirst().text, "caf&#233; &#128512;");
}

TEST_F(ForeignImport, ReadsCp949BytesUnchanged)
{
    const std::string text = cp949("가나다 똠방각하");
    ASSERT_TRUE(import("1\n00:00:01,000 --> 00:00:02,000\n" + text + "\n"));
    EXPECT_EQ(model.GetFirst().text, text);
}

// ---- hostile input --------------------------------------------------------------------------

TEST_F(ForeignImport, RejectsBinaryInputCleanly)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(rng() % 4096, '\0');
        for (char& c : bytes) c = static_cast<char>(rng());
        const bool ok = import(bytes);
        EXPECT_EQ(ok, model.GetCount() > 0);
        if (!ok) {
            EXPECT_TRUE(isNewEmptyDocument());
        }
    }
    EXPECT_FALSE(import(std::string("\0\0\0\x01\x02", 5)));
}

TEST_F(ForeignImport, TruncatedFilesImportWhatIsValid)
{
    for (const char* name : {"italics_korean.srt", "overrides.ass", "classic.ssa", "styled.sub",
                             "subviewer.sub", "vplayer.txt", "xombie.xss"}) {
        const std::string whole = readData(name);
        for (std::size_t n = 0; n < whole.size(); n += 3) {
            messenger.shown.clear();
            const bool ok = import(whole.substr(0, n));
            // Either captions or the failure, never both and never neither; a SubRip time line
            // cut short skips its entry with a note.
            EXPECT_EQ(ok, model.GetCount() > 0) << name << " cut at " << n;
            const MessageIcon icon = ok ? MessageIcon::Warning : MessageIcon::Error;
            if (ok) {
                EXPECT_LE(messenger.shown.size(), 1u) << name << " cut at " << n;
            } else {
                EXPECT_EQ(messenger.shown.size(), 1u) << name << " cut at " << n;
            }
            for (const auto& shown : messenger.shown)
                EXPECT_EQ(shown.icon, icon) << name << " cut at " << n;
        }
    }
}

TEST_F(ForeignImport, AbsurdNumbersFailOrStayInRange)
{
    const std::string nines(400, '9');
    const std::string inputs[] = {
        "1\n" + nines + ":00:00,000 --> 00:00:01,000\nA\n",
        "1\n00:00:00," + nines + " --> -" + nines + ":00:00,000\nA\n",
        "{" + nines + "}{1}A\n",
        "{1}{}A\n{2147483647}{}B\n",
        "{0:0:" + nines + "}{0:0:1}A\n",
        "00:00:" + nines + ".00,00:00:01.00\nA\n",
        "ScriptType: v4.00+\nDialogue: 0,0:00:00." + nines + ",0:00:01.00,D,,0,0,0,,A\n",
        "Style: D,A," + nines + ",&H" + nines + ",0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0," + nines +
            "\nDialogue: 0,0:00:00.00,0:00:01.00,D,,0,0,0,,A\n",
        "0:" + nines + ":00:A\n",
        "Line=D,N,0,0:00:00." + nines + ",0:00:01.000,A,B,,0,0,0,A\n",
    };
    // Saturated fields that still give a time in range are read; every other one fails.
    const bool readable[] = {false, false, false, false, true, false, false, true, false, true};
    for (std::size_t i = 0; i < std::size(inputs); ++i) {
        EXPECT_EQ(import(inputs[i]), readable[i]) << i;
        if (!readable[i]) {
            EXPECT_TRUE(isNewEmptyDocument()) << i;
        }
    }
    ASSERT_TRUE(import(inputs[9]));
    EXPECT_EQ(entries(), withEnd(2147483647, 1000, "A"));
}

TEST_F(ForeignImport, DoesNotLoseCaptionsAfterTwoUnclosedEndTags)
{
    // Found by fuzzing: a caption with two "</" and no ">" after them was saved with the second
    // one raw, which then ran on over the next sync when read again.
    ASSERT_TRUE(
        import("1\n00:00:01,000 --> 00:00:02,000\na </x b </y c\n\n"
               "2\n00:00:03,000 --> 00:00:04,000\nnext\n"));
    SamiModel reloaded(settings);
    reloaded.LoadText(writeSami(model, -1));
    const auto back = entriesOf(reloaded);
    ASSERT_EQ(back.size(), 4u);
    EXPECT_EQ(back[0].startMs, 1000);
    EXPECT_EQ(back[2], (ImportedEntry{3000, false, "next"}));
    std::string shown = back[0].text;
    DecodeEntities(shown);
    EXPECT_EQ(shown, "a </x b </y c");
    EXPECT_EQ(writeSami(reloaded, -1), writeSami(model, -1));
}

TEST_F(ForeignImport, ReadsLinesOfAHundredThousandBytes)
{
    const std::string longText(100000, 'x');
    const std::string braces = [] {
        std::string s;
        for (int i = 0; i < 25000; ++i) s += "{\\i1}";
        return s;
    }();
    ASSERT_TRUE(import("1\n00:00:01,000 --> 00:00:02,000\n" + longText + "\n"));
    EXPECT_EQ(model.GetFirst().text, longText);
    ASSERT_TRUE(import("{1}{2}" + braces + "|" + longText + "\n"));
    EXPECT_EQ(model.GetFirst().text, "<br>\r\n" + longText);
    ASSERT_TRUE(import("ScriptType: v4.00+\nDialogue: 0,0:00:01.00,0:00:02.00,D,,0,0,0,," + braces +
                       "a\n"));
    EXPECT_EQ(model.GetFirst().text, "a");
    EXPECT_FALSE(import(longText + "\n"));
    EXPECT_FALSE(import(std::string(100000, '{') + "\n"));
    EXPECT_FALSE(import(std::string(100000, '1') + ":\n"));
}

// ---- files as other tools write them, in forms ffmpeg reads otherwise or not at all ---------

TEST_F(ForeignImport, ReadsSubRipTimesAsOtherToolsWriteThemAndSkipsOneThatDoesNotRead)
{
    ASSERT_TRUE(importData("subrip_short_times.srt", 2));
    EXPECT_EQ(entries(), concat({withEnd(1000, 2000, "No milliseconds"),
                                 withEnd(3500, 4250, "One and two fraction digits"),
                                 withEnd(-1000, 500, "A negative start"),
                                 withEnd(10000, 11000, "After the skipped entry")}));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "14번째 줄의 자막은 시간을 읽을 수 없어 건너뛰었습니다.");
    EXPECT_EQ(messenger.shown[0].icon, MessageIcon::Warning);
}

TEST_F(ForeignImport, ReadsAssFieldsInTheOrderOfTheFormatLineAndEmptyOnes)
{
    // ffmpeg takes the text of these from the standard layout, and reads no time without
    // hundredths.
    ASSERT_TRUE(importData("ass_format_lines.ass", 5));
    EXPECT_EQ(entries(), concat({withEnd(1000, 2500, "Fewer fields, and commas"),
                                 withEnd(3000, 4000, "Second<br>\r\nline")}));
    ASSERT_TRUE(importData("ass_empty_fields.ass", 5));
    EXPECT_EQ(entries(), concat({withEnd(1000, 2000, "Empty margins, no layer"),
                                 withEnd(3000, 4000, "No hundredths")}));
}

TEST_F(ForeignImport, ReadsMicroDvdFramesWithBlanksInTheBraces)
{
    ASSERT_TRUE(importData("microdvd_blanks_in_braces.sub", 3));
    EXPECT_EQ(entries(), concat({withEnd(1000, 2000, "Blanks inside the braces"),
                                 withEnd(3000, 5400, "Open end")}));
}

TEST_F(ForeignImport, RecognisesUtf16WithoutAMarkByItsZeroBytes)
{
    ASSERT_TRUE(importData("utf16le_without_mark.srt"));
    EXPECT_EQ(entries(), concat({withEnd(1000, 2500, "UTF-16 without a mark"),
                                 withEnd(3000, 4000, cp949("둘째 자막"))}));
}

}  // namespace
}  // namespace verbanta::test
