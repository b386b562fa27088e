// The SAMI writer byte for byte: header, rules, entries, automatic end syncs, language blocks,
// plain-text export, and what happens when the file cannot be created or written.
#include "sami/sami_writer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>

#include "model/sami_model.h"
#include "sami/sami_test_util.h"
#include "settings/app_settings.h"
#include "support/cp949.h"
#include "support/recording_messenger.h"

namespace verbanta {
namespace {

using test::cp949;

class SamiWriterTest : public ::testing::Test {
protected:
    AppSettings settings;
    test::RecordingMessenger messenger;
    SamiModel model{settings};

    void SetUp() override { model.setMessenger(messenger); }

    SyncEntry caption(int ms, const std::string& text, const std::string& cls = "KRCC") const
    {
        SyncEntry e;
        model.InitEntry(e);
        e.className = cls;
        e.startMs = ms;
        e.text = text;
        return e;
    }
    SyncEntry endSync(int ms, const std::string& cls = "KRCC") const
    {
        SyncEntry e = caption(ms, "&nbsp;", cls);
        e.isEndSync = 1;
        return e;
    }
    SyncEntry comment(const std::string& text) const
    {
        SyncEntry e = caption(0, text);
        e.isComment = 1;
        return e;
    }
    void add(int slot, const SyncEntry& e)
    {
        model.insertAfterInSlot(slot, model.slotList(slot).tail(), e, false);
    }
    /// The bytes between "<BODY>\r\n" and "</BODY>".
    static std::string bodyOf(const std::string& sami)
    {
        const std::size_t from = sami.find("<BODY>\r\n") + 8;
        return sami.substr(from, sami.find("</BODY>") - from);
    }

    /// The model of tests/data/sami/two_languages.smi, built entry by entry.
    void buildTwoLanguages()
    {
        model.title = cp949("두 언어");
        model.RemoveIdStyle("#LargePrn");
        model.RemoveIdStyle("#SmallPrn");
        LanguageInfo& en =
            model.languages[static_cast<std::size_t>(model.AddLanguageClass(".ENCC"))];
        en.setName(cp949("영어"));
        en.setLang("en-US");
        model.listCount = 2;
        model.classNames[1] = "ENCC";
        add(0, comment(cp949("머리 주석")));
        add(0, caption(1000, cp949("안녕하세요")));
        add(0, comment(cp949("인사 뒤 주석")));
        add(0, endSync(2500));
        SyncEntry noted = caption(3000, cp949("둘째 줄<br>\r\n셋째 줄"));
        noted.id = "note";
        add(0, noted);
        add(0, endSync(4800));
        add(1, caption(1000, "Hello", "ENCC"));
        add(1, endSync(2500, "ENCC"));
        add(1, caption(3000, "<font color=\"yellow\">Second</font> line", "ENCC"));
        add(1, endSync(6200, "ENCC"));
    }
};

TEST_F(SamiWriterTest, NewDocumentIsTheDefaultHeaderAndFooter)
{
    const std::string out = writeSami(model, -1);
    EXPECT_EQ(out, test::goldenFile("new_document.smi"));
    const std::string header = out.substr(0, out.find("</BODY>"));
    EXPECT_EQ(std::count(header.begin(), header.end(), '\n'), 17);
    EXPECT_TRUE(out.ends_with("<BODY>\r\n</BODY>\r\n</SAMI>"));
}

TEST_F(SamiWriterTest, WritesCrLfLineEndsAndNoByteOrderMark)
{
    buildTwoLanguages();
    const std::string out = writeSami(model, -1);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.front(), '<');
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] == '\n') {
            ASSERT_TRUE(i > 0 && out[i - 1] == '\r') << "bare LF at " << i;
        }
    }
}

TEST_F(SamiWriterTest, WritesTwoLanguagesAsTwoBlocks)
{
    buildTwoLanguages();
    EXPECT_EQ(writeSami(model, -1), test::goldenFile("two_languages.smi"));
}

TEST_F(SamiWriterTest, WritesOnlyOneLanguageWhenAsked)
{
    buildTwoLanguages();
    const std::string out = writeSami(model, 1);
    EXPECT_NE(out.find(".ENCC { Name:" + cp949("영어") + "; lang:en-US; SAMIType:CC; }\r\n"),
              std::string::npos);
    EXPECT_EQ(out.find(".KRCC"), std::string::npos);
    EXPECT_EQ(bodyOf(out),
              "<SYNC Start=1000><P Class=ENCC>\r\nHello\r\n"
              "<SYNC Start=2500><P Class=ENCC>&nbsp;\r\n"
              "<SYNC Start=3000><P Class=ENCC>\r\n<font color=\"yellow\">Second</font> line\r\n"
              "<SYNC Start=6200><P Class=ENCC>&nbsp;\r\n");
}

TEST_F(SamiWriterTest, AddsAnAutomaticEndSyncWithoutStoringIt)
{
    add(0, caption(10000, cp949("안녕하세요")));
    EXPECT_EQ(bodyOf(writeSami(model, -1)), "<SYNC Start=10000><P Class=KRCC>\r\n" +
                                                cp949("안녕하세요") +
                                                "\r\n<SYNC Start=11000><P Class=KRCC>&nbsp;\r\n");
    ASSERT_EQ(model.GetCount(), 1);
    EXPECT_FALSE(model.GetLast().isEndSync);
    EXPECT_EQ(model.GetLast().text, cp949("안녕하세요"));
}

TEST_F(SamiWriterTest, CountsALineBreakAsOneCharacter)
{
    settings.OneLetterSync = 100;
    SyncEntry e = caption(500, "one<br>two");
    e.id = "x";
    add(0, e);
    EXPECT_NE(writeSami(model, -1).find("<SYNC Start=1200><P Class=KRCC ID=x>&nbsp;\r\n"),
              std::string::npos);
}

TEST_F(SamiWriterTest, AddsNoEndSyncAfterAnEndSyncOrAComment)
{
    add(0, caption(1000, "a"));
    add(0, endSync(2000));
    EXPECT_TRUE(
        bodyOf(writeSami(model, -1)).ends_with("<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n"));
    add(0, comment("note"));
    EXPECT_TRUE(bodyOf(writeSami(model, -1)).ends_with("&nbsp;\r\n<!--\r\nnote\r\n-->\r\n"));
}

TEST_F(SamiWriterTest, KeepsTheAutomaticEndSyncWithinRange)
{
    add(0, caption(2147483000, "long caption"));
    EXPECT_NE(writeSami(model, -1).find("<SYNC Start=2147483647><P Class=KRCC>&nbsp;"),
              std::string::npos);
}

TEST_F(SamiWriterTest, WritesEntriesByTheirFlags)
{
    SyncEntry e = caption(-250, "neg");
    e.id = "note";
    std::string out;
    appendSamiEntry(out, e);
    EXPECT_EQ(out, "<SYNC Start=-250><P Class=KRCC ID=note>\r\nneg\r\n");
    e.flags = SyncEntry::kWriteStart | SyncEntry::kWriteClass;
    out.clear();
    appendSamiEntry(out, e);
    EXPECT_EQ(out, "<SYNC Start=-250><P Class=KRCC>\r\nneg\r\n");
    e.flags = 0;
    out.clear();
    appendSamiEntry(out, e);
    EXPECT_EQ(out, "<>\r\nneg\r\n");
}

TEST_F(SamiWriterTest, WritesAnEndSyncAsNbspWhateverItsText)
{
    SyncEntry e = endSync(3500);
    e.text = "<br>";
    std::string out;
    appendSamiEntry(out, e);
    EXPECT_EQ(out, "<SYNC Start=3500><P Class=KRCC>&nbsp;\r\n");
}

TEST_F(SamiWriterTest, BreaksTheLineAfterEveryThirdProperty)
{
    ParagraphStyle p;
    p.flags = ParagraphStyle::kMarginLeft | ParagraphStyle::kFontSize | ParagraphStyle::kColor;
    EXPECT_EQ(FormatStyle(p, StyleKind::Paragraph),
              "P { margin-left:8pt; font-size:14pt; color:white;\r\n    }\r\n");
    p.flags = ParagraphStyle::kColor;
    EXPECT_EQ(FormatStyle(p, StyleKind::Paragraph), "P { color:white; }\r\n");
}

TEST_F(SamiWriterTest, WritesClassesAndIdStylesWithTheirDescriptors)
{
    LanguageInfo plain;
    plain.selector = ".XX";
    plain.setName("x");
    plain.flags = ParagraphStyle::kColor | ParagraphStyle::kMarginTop;
    EXPECT_EQ(FormatStyle(plain, StyleKind::Class),
              ".XX { Name:x; margin-top:2pt; color:white; }\r\n");
    plain.flags |= ParagraphStyle::kSamiType;
    EXPECT_EQ(FormatStyle(plain, StyleKind::Class),
              ".XX { Name:x; SAMIType:CC; margin-top:2pt; color:white; }\r\n");
    // ID styles never write lang or SAMIType, and always write Name.
    plain.selector = "#Id";
    plain.flags = ParagraphStyle::kLang | ParagraphStyle::kSamiType;
    EXPECT_EQ(FormatStyle(plain, StyleKind::Id), "#Id { Name:x; }\r\n");
}

TEST_F(SamiWriterTest, ExportsPlainTextOfTheCurrentList)
{
    add(0, caption(1000, "a<br>\r\nb"));
    add(0, endSync(2000));
    add(0, comment("skipped"));
    add(0, caption(3000, "  c &amp; d "));
    EXPECT_EQ(writePlainText(model), "a\r\nb\r\n\r\nc & d");
    test::TempDir dir("writer_export");
    ASSERT_TRUE(model.ExportPlainText(dir.file("out.txt")));
    EXPECT_EQ(test::readFile(dir.file("out.txt")), "a\r\nb\r\n\r\nc & d");
}

TEST_F(SamiWriterTest, WritesAUnitLongerThanTheBufferWhole)
{
    const std::string longText(40000, 'x');
    add(0, caption(1000, longText));
    test::TempDir dir("writer_long");
    ASSERT_TRUE(model.SaveFile(dir.file("long.smi"), -1));
    const std::string written = test::readFile(dir.file("long.smi"));
    EXPECT_NE(written.find("\r\n" + longText + "\r\n<SYNC Start=8001000>"), std::string::npos);
    EXPECT_EQ(written, writeSami(model, -1));
}

TEST_F(SamiWriterTest, SavesWithoutChangingTheModel)
{
    buildTwoLanguages();
    model.SetCurrentSlot(1);
    const auto before0 = test::entriesOf(model, 0);
    const auto before1 = test::entriesOf(model, 1);
    test::TempDir dir("writer_unchanged");
    ASSERT_TRUE(model.SaveFile(dir.file("a.smi"), -1));
    ASSERT_TRUE(model.SaveFile(dir.file("b.smi"), 0));
    EXPECT_EQ(model.GetCurrentSlot(), 1);
    EXPECT_EQ(test::entriesOf(model, 0), before0);
    EXPECT_EQ(test::entriesOf(model, 1), before1);
    EXPECT_EQ(test::readFile(dir.file("a.smi")), test::goldenFile("two_languages.smi"));
    EXPECT_TRUE(messenger.shown.empty());
}

TEST_F(SamiWriterTest, BuildsThePreviewPage)
{
    model.paragraphStyle.flags = ParagraphStyle::kColor;
    EXPECT_EQ(model.BuildPreviewHtml(caption(0, "<b>hi</b>")),
              "<HTML><HEAD><STYLE TYPE=\"text/css\"><!--P { color:white; }\r\n-->"
              "</STYLE></HEAD><P><b>hi</b></P></HTML>");
}

// ---- failures ---------------------------------------------------------------------------

TEST_F(SamiWriterTest, ReportsATargetThatIsADirectory)
{
    test::TempDir dir("writer_dir");
    EXPECT_FALSE(model.SaveFile(dir.path().string(), -1));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "파일 \"" + dir.path().string() + "\"\r는 디렉토리입니다.");
    EXPECT_EQ(messenger.shown[0].icon, MessageIcon::Error);
}

TEST_F(SamiWriterTest, ReportsAMissingFolderAsABadName)
{
    test::TempDir dir("writer_missing");
    const std::string path = dir.file("no/such/folder.smi");
    EXPECT_FALSE(model.ExportPlainText(path));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "파일 \"" + path + "\"\r는 유효하지 않은 파일명입니다.");
}

TEST_F(SamiWriterTest, ReportsAReadOnlyTargetEvenWhereTheSystemWouldReplaceIt)
{
    // Also as the superuser, whom the system lets write anything.
    test::TempDir dir("writer_readonly");
    const std::string path = dir.file("ro.smi");
    test::writeFile(path, "old");
    std::filesystem::permissions(
        path, std::filesystem::perms::owner_read | std::filesystem::perms::group_write);
    EXPECT_FALSE(model.SaveFile(path, -1));
    EXPECT_FALSE(model.ExportPlainText(path));
    ASSERT_EQ(messenger.shown.size(), 2u);
    EXPECT_EQ(messenger.shown[0].text, "파일 \"" + path + "\"\r은 읽기 전용 파일입니다.");
    EXPECT_EQ(messenger.shown[1].text, messenger.shown[0].text);
    EXPECT_EQ(test::readFile(path), "old");
}

TEST_F(SamiWriterTest, ReportsAFullDiskWithoutDeletingADevice)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "/dev/full is not available";
    EXPECT_FALSE(model.SaveFile("/dev/full", -1));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text,
              "파일 기록 중에 다음 에러가 발생하였습니다.\r- 디스크 용량 부족.");
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));
}

TEST_F(SamiWriterTest, DeletesThePartlyWrittenFileOnAWriteError)
{
    add(0, caption(1000, std::string(100000, 'y')));
    test::TempDir dir("writer_partial");
    const std::string path = dir.file("partial.smi");
    // A file size limit makes the write fail part-way (EFBIG) instead of filling a disk.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = model.SaveFile(path, -1);
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "파일 기록 중에 다음 에러가 발생하였습니다.");
}

}  // namespace
}  // namespace verbanta
