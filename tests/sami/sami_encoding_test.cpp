// SAMI files in UTF-8 and UTF-16: detected on load, held as CP949 with references for what
// CP949 lacks, written back in the encoding they came in, and read by ffmpeg as we meant them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "model/codepage.h"
#include "model/sami_model.h"
#include "sami/sami_file.h"
#include "sami/sami_test_util.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"
#include "support/cp949.h"
#include "support/recording_messenger.h"

namespace verbanta {
namespace {

using test::cp949;

// Korean, Japanese (both in CP949), accented Latin and an emoji (neither in CP949).
constexpr const char* kCaptionsUtf8[] = {"안녕하세요<br>반갑습니다", "こんにちは 日本語",
                                         "café crème", "emoji 😀 ok"};

/// The same captions as the model must hold them.
std::vector<std::string> expectedModelTexts()
{
    return {cp949("안녕하세요<br>\r\n반갑습니다"), cp949("こんにちは 日本語"),
            "caf&#233; cr&#232;me", "emoji &#128512; ok"};
}

/// A SAMI file in UTF-8 as another program would write it: LF line ends, no end syncs.
std::string foreignUtf8Sami()
{
    std::string text =
        "<SAMI>\n<HEAD>\n<TITLE>제목 ✓</TITLE>\n<STYLE TYPE=\"text/css\">\n<!--\n"
        "P { font-size:12pt; }\n.KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\n"
        "-->\n</STYLE>\n</HEAD>\n<BODY>\n";
    int time = 1000;
    for (const char* caption : kCaptionsUtf8) {
        std::string withBreak = caption;
        const auto br = withBreak.find("<br>");
        if (br != std::string::npos)
            withBreak.insert(br + 4, "\r\n");
        text += "<SYNC Start=" + std::to_string(time) + "><P Class=KRCC>" + withBreak + "\n";
        time += 2000;
    }
    return text + "</BODY>\n</SAMI>\n";
}

/// A SAMI text with a minimal head and the given body, all in UTF-8.
std::string samiUtf8(const std::string& body)
{
    return "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
           ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n"
           "<BODY>\r\n" +
           body + "\r\n</BODY>\r\n</SAMI>";
}

std::string utf16(const std::string& utf8, bool bigEndian)
{
    return (bigEndian ? std::string("\xFE\xFF") : std::string("\xFF\xFE")) +
           test::iconvConvert(utf8, bigEndian ? "UTF-16BE" : "UTF-16LE", "UTF-8");
}

/// A file's bytes in the given encoding as UTF-8, decoded by iconv rather than the core.
std::string toUtf8(const std::string& bytes, TextEncoding encoding)
{
    switch (encoding) {
        case TextEncoding::Utf8Bom:
            EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF"));
            return test::iconvConvert(bytes.substr(3), "UTF-8", "UTF-8");
        case TextEncoding::Utf16Le:
            EXPECT_TRUE(bytes.starts_with("\xFF\xFE"));
            return test::iconvConvert(bytes.substr(2), "UTF-8", "UTF-16LE");
        case TextEncoding::Utf16Be:
            EXPECT_TRUE(bytes.starts_with("\xFE\xFF"));
            return test::iconvConvert(bytes.substr(2), "UTF-8", "UTF-16BE");
        case TextEncoding::Utf8:
            return test::iconvConvert(bytes, "UTF-8", "UTF-8");
        case TextEncoding::Cp949:
            break;
    }
    return test::utf8(bytes);
}

class SamiEncodingTest : public ::testing::Test {
protected:
    AppSettings settings;
    test::RecordingMessenger messenger;
    SamiModel model{settings};
    test::TempDir dir{"sami_encoding_" +
                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())};

    void SetUp() override { model.setMessenger(messenger); }

    /// Writes the bytes to a file and loads it into the model.
    bool load(const std::string& bytes, const std::string& name = "in.smi")
    {
        test::writeFile(dir.file(name), bytes);
        return model.LoadFile(dir.file(name), true);
    }
    /// Saves the model with SaveFile and returns the file's bytes.
    std::string save(const std::string& name = "out.smi")
    {
        EXPECT_TRUE(model.SaveFile(dir.file(name), -1));
        return test::readFile(dir.file(name));
    }
};

TEST_F(SamiEncodingTest, ReadsEveryUnicodeEncodingIntoTheSameCp949Model)
{
    const std::string utf8 = foreignUtf8Sami();
    const std::pair<std::string, TextEncoding> files[] = {
        {utf8, TextEncoding::Utf8},
        {"\xEF\xBB\xBF" + utf8, TextEncoding::Utf8Bom},
        {utf16(utf8, false), TextEncoding::Utf16Le},
        {utf16(utf8, true), TextEncoding::Utf16Be},
    };
    for (const auto& [bytes, encoding] : files) {
        SCOPED_TRACE(encodingName(encoding));
        ASSERT_TRUE(load(bytes));
        EXPECT_EQ(model.fileEncoding, encoding);
        EXPECT_EQ(test::textsOf(model, 0), expectedModelTexts());
        EXPECT_EQ(model.title, cp949("제목 ") + "&#10003;");
        EXPECT_EQ(model.languages.at(0).name(), cp949("한국어"));
        EXPECT_TRUE(messenger.shown.empty());
    }
}

TEST_F(SamiEncodingTest, WritesBackInTheEncodingItWasOpenedIn)
{
    const std::string utf8 = foreignUtf8Sami();
    const std::pair<std::string, TextEncoding> files[] = {
        {utf8, TextEncoding::Utf8},
        {"\xEF\xBB\xBF" + utf8, TextEncoding::Utf8Bom},
        {utf16(utf8, false), TextEncoding::Utf16Le},
        {utf16(utf8, true), TextEncoding::Utf16Be},
    };
    for (const auto& [bytes, encoding] : files) {
        SCOPED_TRACE(encodingName(encoding));
        ASSERT_TRUE(load(bytes));
        const std::string written = save();
        // The file holds the characters themselves, never their references.
        const std::string asUtf8 = toUtf8(written, encoding);
        EXPECT_NE(asUtf8.find("café crème"), std::string::npos);
        EXPECT_NE(asUtf8.find("emoji 😀 ok"), std::string::npos);
        EXPECT_NE(asUtf8.find("<TITLE>제목 ✓</TITLE>"), std::string::npos);
        EXPECT_EQ(asUtf8.find("&#"), std::string::npos);

        // Opened and saved again without edits, the program's own file comes back unchanged.
        ASSERT_TRUE(load(written, "again.smi"));
        EXPECT_EQ(model.fileEncoding, encoding);
        EXPECT_EQ(save("again_out.smi"), written);
    }
}

TEST_F(SamiEncodingTest, KeepsCp949FilesByteForByte)
{
    const std::string golden = test::goldenFile("two_languages.smi");
    ASSERT_TRUE(load(golden));
    EXPECT_EQ(model.fileEncoding, TextEncoding::Cp949);
    EXPECT_EQ(save(), golden);

    // Bytes that are neither CP949 nor UTF-8 stay exactly as they were.
    std::string odd = test::samiWithBody("<SYNC Start=1><P Class=KRCC>x@");
    odd.replace(odd.find('@'), 1, "\x80\xFF\xC7");
    ASSERT_TRUE(load(odd));
    EXPECT_EQ(model.fileEncoding, TextEncoding::Cp949);
    EXPECT_EQ(test::textsOf(model, 0).at(0), "x\x80\xFF\xC7");
}

TEST_F(SamiEncodingTest, AShortAmbiguousFileStaysCp949)
{
    // "챕" in CP949 is the same two bytes as "é" in UTF-8; one such character decides nothing.
    const std::string bytes = test::samiWithBody("<SYNC Start=1000><P Class=KRCC>챕");
    ASSERT_TRUE(load(bytes));
    EXPECT_EQ(model.fileEncoding, TextEncoding::Cp949);
    EXPECT_EQ(test::textsOf(model, 0).at(0), cp949("챕"));
    EXPECT_EQ(test::readFile(dir.file("in.smi")), bytes);
}

TEST_F(SamiEncodingTest, ZeroBytesOfUtf16NeverEndTheText)
{
    std::string body;
    for (int i = 0; i < 50; ++i)
        body += "<SYNC Start=" + std::to_string(i * 1000) + "><P Class=KRCC>line " +
                std::to_string(i) + "\r\n";
    const std::string utf8 = test::utf8(test::samiWithBody(body));
    for (const bool bigEndian : {false, true}) {
        ASSERT_TRUE(load(utf16(utf8, bigEndian)));
        const auto texts = test::textsOf(model, 0);
        ASSERT_EQ(texts.size(), 50u);
        EXPECT_EQ(texts.back(), "line 49");
    }
}

TEST_F(SamiEncodingTest, MalformedUnicodeIsKeptNotDropped)
{
    // A lone high surrogate and a lone low one in UTF-16 become references and are written
    // back as the same units.
    std::string file =
        utf16(test::utf8(test::samiWithBody("<SYNC Start=1><P Class=KRCC>a@b@")), false);
    file.replace(file.find(std::string("@\0", 2)), 2, std::string("\x00\xD8", 2));
    file.replace(file.find(std::string("@\0", 2)), 2, std::string("\x00\xDC", 2));
    ASSERT_TRUE(load(file));
    EXPECT_EQ(model.fileEncoding, TextEncoding::Utf16Le);
    EXPECT_EQ(test::textsOf(model, 0).at(0), "a&#55296;b&#56320;");
    ASSERT_TRUE(load(save()));
    EXPECT_EQ(test::textsOf(model, 0).at(0), "a&#55296;b&#56320;");

    // A truncated UTF-8 sequence makes the file not UTF-8: it is read as CP949, byte for byte.
    std::string utf8 =
        test::utf8(test::samiWithBody("<SYNC Start=1><P Class=KRCC>한국어 자막 파일"));
    utf8.insert(utf8.find("</BODY>"), "\xED\x95");
    ASSERT_TRUE(load(utf8));
    EXPECT_EQ(model.fileEncoding, TextEncoding::Cp949);
    EXPECT_EQ(save(), writeSami(model, -1));
    EXPECT_EQ(test::textsOf(model, 0).at(0), "한국어 자막 파일\r\n\xED\x95");
}

TEST_F(SamiEncodingTest, TheSizeLimitCountsTheConvertedText)
{
    // ASCII in UTF-16 is twice its CP949 size: past the limit on disk, half of it in the model.
    const std::string caption(kMaxSamiFileBytes / 2 + 1000, 'a');
    const std::string utf8 =
        test::utf8(test::samiWithBody("<SYNC Start=1><P Class=KRCC>" + caption));
    const std::string file = utf16(utf8, false);
    ASSERT_GT(file.size(), kMaxSamiFileBytes);
    ASSERT_TRUE(load(file));
    EXPECT_EQ(test::textsOf(model, 0).at(0), caption);

    // Korean in UTF-8 shrinks by a third, emoji grow to references: the CP949 size decides.
    const std::string emoji = test::utf8(test::samiWithBody("<SYNC Start=1><P Class=KRCC>")) + [] {
        std::string s;
        for (std::size_t i = 0; i < kMaxSamiFileBytes / 8; ++i) s += "😀";
        return s;
    }();
    ASSERT_LT(emoji.size(), kMaxSamiFileBytes);
    model.LoadText(test::samiWithBody("<SYNC Start=1><P Class=KRCC>kept"));
    EXPECT_FALSE(load(emoji));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown.back().text,
              dir.file("in.smi") + "\n파일의 크기가 너무 커서 편집이 불가능합니다.");
    EXPECT_EQ(test::textsOf(model, 0).at(0), "kept");
}

TEST_F(SamiEncodingTest, AnAppendedFileKeepsTheDocumentsEncoding)
{
    ASSERT_TRUE(load(test::samiWithBody("<SYNC Start=1><P Class=KRCC>first")));
    test::writeFile(dir.file("more.smi"),
                    utf16(samiUtf8("<SYNC Start=5000><P Class=KRCC>둘째 ✓"), false));
    ASSERT_TRUE(model.LoadFile(dir.file("more.smi"), false));
    EXPECT_EQ(model.fileEncoding, TextEncoding::Cp949);
    EXPECT_EQ(test::textsOf(model, 0).back(), cp949("둘째 ") + "&#10003;");
}

TEST_F(SamiEncodingTest, ExportsPlainTextInTheDocumentsEncoding)
{
    ASSERT_TRUE(load("\xEF\xBB\xBF" + foreignUtf8Sami()));
    ASSERT_TRUE(model.ExportPlainText(dir.file("out.txt")));
    EXPECT_EQ(
        test::readFile(dir.file("out.txt")),
        "\xEF\xBB\xBF안녕하세요\r\n반갑습니다\r\n\r\nこんにちは 日本語\r\n\r\ncafé crème\r\n\r\n"
        "emoji 😀 ok");
}

// ffmpeg reads our UTF-8 output with no code page given and sees the captions as written.
TEST_F(SamiEncodingTest, FfmpegReadsTheUtf8OutputWithTheSameCaptions)
{
    constexpr const char* kFfmpeg = "/usr/bin/ffmpeg";
    if (!std::filesystem::exists(kFfmpeg))
        GTEST_SKIP() << "ffmpeg is not installed at " << kFfmpeg;
    ASSERT_TRUE(load(foreignUtf8Sami()));
    save();
    const std::string command = std::string(kFfmpeg) + " -nostdin -loglevel quiet -y -i '" +
                                dir.file("out.smi") + "' '" + dir.file("out.srt") + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    const std::string srt = test::readFile(dir.file("out.srt"));
    EXPECT_NE(srt.find("00:00:01,000 --> 00:00:03,000"), std::string::npos) << srt;
    EXPECT_NE(srt.find("반갑습니다"), std::string::npos) << srt;
    EXPECT_LT(srt.find("안녕하세요"), srt.find("반갑습니다")) << srt;
    EXPECT_NE(srt.find("こんにちは 日本語"), std::string::npos) << srt;
    EXPECT_NE(srt.find("café crème"), std::string::npos) << srt;
    EXPECT_NE(srt.find("emoji 😀 ok"), std::string::npos) << srt;
    EXPECT_EQ(srt.find("&#"), std::string::npos) << srt;
}

}  // namespace
}  // namespace verbanta
