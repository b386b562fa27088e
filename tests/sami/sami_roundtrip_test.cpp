// A file the writer wrote reads back into the same model: written again it is byte-identical,
// and a real player's parser (ffmpeg) sees the same captions at the same times.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "model/sami_model.h"
#include "model/text_format.h"
#include "sami/sami_test_util.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"
#include "support/cp949.h"
#include "support/recording_messenger.h"

namespace verbanta {
namespace {

using test::cp949;

class SamiRoundTripTest : public ::testing::Test {
protected:
    AppSettings settings;
    test::RecordingMessenger messenger;
    SamiModel model{settings};

    void SetUp() override { model.setMessenger(messenger); }

    /// Reads the bytes into a fresh model and writes that model again.
    std::string rewrite(const std::string& bytes, int languageIndex = -1)
    {
        SamiModel again(settings);
        again.setMessenger(messenger);
        again.LoadText(bytes);
        return writeSami(again, languageIndex);
    }
    /// Loads the text, writes it, and checks that reading and writing that output changes
    /// nothing; returns the first output.
    std::string expectStable(const std::string& input)
    {
        model.LoadText(input);
        const std::string first = writeSami(model, -1);
        EXPECT_EQ(rewrite(first), first);
        return first;
    }
};

TEST_F(SamiRoundTripTest, GoldenFilesReadBackByteIdentical)
{
    for (const char* name : {"new_document.smi", "two_languages.smi"}) {
        SCOPED_TRACE(name);
        const std::string golden = test::goldenFile(name);
        EXPECT_EQ(rewrite(golden), golden);
    }
    EXPECT_TRUE(messenger.shown.empty());
}

TEST_F(SamiRoundTripTest, OneLanguageOfAFileReadsBackByteIdentical)
{
    const std::string second = rewrite(test::goldenFile("two_languages.smi"), 1);
    EXPECT_EQ(rewrite(second), second);
}

TEST_F(SamiRoundTripTest, ForeignMarkupBecomesStableAfterOneSave)
{
    const std::string first = expectStable(
        cp949("<sami><head><title>외부 편집기</title><style type=text/css><!--\n"
              "p {font-size:12pt; color:yellow}\n.krcc {Name:Korean; lang:ko-KR}\n"
              ".jpcc {Name:Japanese; lang:ja-JP}\n--></style></head><body>\n"
              "<!-- made elsewhere -->\n"
              "<sync start=1><SYNC Start=500><p class=krcc>안녕<br>하세요<p class=jpcc>こんにちは\n"
              "<SYNC Start=900><P Class=krcc ID='a b'>&nbsp;<!-- x --><P Class=jpcc>\n"
              "<SYNC Start=1200><P Class=KRCC>대소문자<font color=red>빨강</font></P>\n"
              "<SYNC Start=-30><P Class='EN CC'>quoted class\n"
              "<SYNC Start=1700><P Class=krcc>a<b<br>c</body></sami>"));
    EXPECT_NE(first.find("P Class='EN CC'"), std::string::npos);
    EXPECT_NE(first.find(".jpcc { Name:Japanese; lang:ja-JP; }"), std::string::npos);
}

TEST_F(SamiRoundTripTest, CommentsKeepTheirPlaceOverManySaves)
{
    std::string text = test::goldenFile("two_languages.smi");
    model.LoadText(text);
    const std::vector<std::string> before = test::textsOf(model, 0);
    for (int i = 0; i < 3; ++i) text = rewrite(text);
    model.LoadText(text);
    EXPECT_EQ(test::textsOf(model, 0), before);
    EXPECT_EQ(before[0], cp949("머리 주석"));
    EXPECT_EQ(before[2], cp949("인사 뒤 주석"));
}

TEST_F(SamiRoundTripTest, AutomaticEndSyncIsStoredOnlyAfterReadingBack)
{
    const std::string first =
        expectStable(test::samiWithBody("<SYNC Start=10000><P Class=KRCC>안녕하세요"));
    model.LoadText(first);
    ASSERT_EQ(model.GetCount(), 2);
    EXPECT_TRUE(model.GetLast().isEndSync);
    EXPECT_EQ(model.GetLast().startMs, 11000);
}

TEST_F(SamiRoundTripTest, TextFromOutsideTheReaderCannotSwallowTheNextSync)
{
    // As an import or the edit panel may leave them: an end tag left open at the end, and a
    // structural tag written into the text.
    const std::string texts[] = {"- \xbf\xb9.</i", "a <SYNC Start=5> b", "x</",     "<P Class=X>y",
                                 "a </BODY> b",    "t </title> u",       "s</SAMI>"};
    for (const std::string& text : texts) {
        SamiModel model(settings);
        SyncEntry e;
        model.InitEntry(e);
        e.startMs = 1000;
        e.text = text;
        model.AddTail(e, false);
        model.InsertEndSync(model.GetHeadPosition(), 2000, false);
        const std::string written = writeSami(model, -1);
        SamiModel again(settings);
        again.LoadText(written);
        ASSERT_EQ(again.GetCount(), 2) << text;
        EXPECT_EQ(again.GetAt(again.FindIndex(1)).startMs, 2000) << text;
        EXPECT_TRUE(again.GetAt(again.FindIndex(1)).isEndSync) << text;
        EXPECT_EQ(writeSami(again, -1), written) << text;
    }
}

TEST_F(SamiRoundTripTest, TypedCommentWithAnAngleBracketDoesNotJoinTheCaptionBeforeIt)
{
    SyncEntry caption;
    model.InitEntry(caption);
    caption.startMs = 1000;
    caption.text = "caption";
    const Position first = model.AddTail(caption, false);
    SyncEntry comment;
    model.InitEntry(comment);
    comment.isComment = 1;
    comment.text = "a -> b > c";
    model.InsertAfter(first, comment, false);
    const std::string written = writeSami(model, -1);
    EXPECT_NE(written.find("<!--\r\na -&gt; b &gt; c\r\n-->\r\n"), std::string::npos);
    SamiModel again(settings);
    again.LoadText(written);
    EXPECT_EQ(test::textsOf(again, 0), (std::vector<std::string>{"caption", "a -&gt; b &gt; c"}));
    EXPECT_EQ(writeSami(again, -1), written);
}

TEST_F(SamiRoundTripTest, ManyLanguagesAndStylesAreStable)
{
    std::string style =
        "P { margin-left:1pt; margin-right:2pt; margin-bottom:3pt; margin-top:"
        "4pt; font-size:5pt; text-align:left; }\r\n";
    std::string body;
    for (int i = 0; i < 12; ++i) {
        style += ".C" + std::to_string(i) + " { Name:n" + std::to_string(i) +
                 "; lang:xx; color:red; background-color:blue; }\r\n";
        body += "<SYNC Start=" + std::to_string(100 * i) + "><P Class=C" + std::to_string(i) +
                ">t" + std::to_string(i) + "<!-- c" + std::to_string(i) + " -->\r\n";
    }
    style += "#Id { Name:identity; font-weight:bold; }";
    expectStable(test::samiWithBody(body, style));
}

// ---- a real player's parser ---------------------------------------------------------------

struct SrtCaption {
    int startMs;
    int endMs;
    std::string text;
    bool operator==(const SrtCaption&) const = default;
};

/// Tags removed and every run of white space made one space: what a viewer reads.
std::string normalised(std::string_view text)
{
    std::string out;
    bool inTag = false;
    bool space = false;
    for (char c : text) {
        if (c == '<') {
            inTag = true;
            space = true;
        } else if (c == '>' && inTag) {
            inTag = false;
        } else if (!inTag) {
            if (c == ' ' || c == '\r' || c == '\n' || c == '\t') {
                space = true;
            } else {
                if (space && !out.empty())
                    out += ' ';
                space = false;
                out += c;
            }
        }
    }
    return out;
}

int srtTime(const std::string& t)
{
    int h = 0, m = 0, s = 0, ms = 0;
    std::sscanf(t.c_str(), "%d:%d:%d,%d", &h, &m, &s, &ms);
    return ((h * 60 + m) * 60 + s) * 1000 + ms;
}

std::vector<SrtCaption> parseSrt(const std::string& srt)
{
    std::vector<SrtCaption> out;
    std::istringstream in(srt);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t arrow = line.find(" --> ");
        if (arrow == std::string::npos)
            continue;
        SrtCaption c{srtTime(line.substr(0, arrow)), srtTime(line.substr(arrow + 5)), ""};
        while (std::getline(in, line) && !(line.empty() || line == "\r")) c.text += line + "\n";
        c.text = normalised(c.text);
        out.push_back(c);
    }
    return out;
}

/// What a player should show for the current list: each caption until the next entry.
std::vector<SrtCaption> expectedCaptions(const SamiModel& model)
{
    std::vector<SrtCaption> out;
    const SyncList& list = model.list();
    for (int i = 0; i < list.count(); ++i) {
        const SyncEntry& e = list[i];
        if (e.isComment || e.isEndSync)
            continue;
        int end =
            e.startMs + CountCharacters(StripTags(e.text, true)) * model.settings().OneLetterSync;
        for (int j = i + 1; j < list.count(); ++j)
            if (!list[j].isComment) {
                end = list[j].startMs;
                break;
            }
        out.push_back({e.startMs, end, normalised(StripTags(e.text, false))});
    }
    return out;
}

class FfmpegInteropTest : public SamiRoundTripTest {
protected:
    static constexpr const char* kFfmpeg = "/usr/bin/ffmpeg";

    void SetUp() override
    {
        SamiRoundTripTest::SetUp();
        if (!std::filesystem::exists(kFfmpeg))
            GTEST_SKIP() << "ffmpeg is not installed at " << kFfmpeg;
    }
    std::vector<SrtCaption> throughFfmpeg(const test::TempDir& dir, const std::string& options)
    {
        const std::string in = dir.file("out.smi");
        const std::string out = dir.file("out.srt");
        EXPECT_TRUE(model.SaveFile(in, 0));
        const std::string command = std::string(kFfmpeg) + " -nostdin -loglevel quiet -y " +
                                    options + " -i '" + in + "' '" + out + "'";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
        return parseSrt(test::readFile(out));
    }
};

TEST_F(FfmpegInteropTest, SeesTheSameCaptionsAtTheSameTimes)
{
    model.LoadText(
        test::samiWithBody("<SYNC Start=1000><P Class=KRCC>Hello world<!-- a note -->\r\n"
                           "<SYNC Start=2500><P Class=KRCC>&nbsp;\r\n"
                           "<SYNC Start=3000><P Class=KRCC ID=x>two<br>lines\r\n"
                           "<SYNC Start=4200><P Class=KRCC><b>bold</b> and <i>italic</i>\r\n"
                           "<SYNC Start=6000><P Class=KRCC>&nbsp;\r\n"
                           "<SYNC Start=7000><P Class=KRCC>last one"));
    test::TempDir dir("ffmpeg_ascii");
    const auto seen = throughFfmpeg(dir, "");
    const auto expected = expectedCaptions(model);
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(expected.back().endMs, 7000 + 8 * 200);  // the automatic end sync
    // ffmpeg shows a comment as part of its caption's text; tags are not compared.
    EXPECT_EQ(seen, expected);
}

TEST_F(FfmpegInteropTest, SeesKoreanCaptionsWithTheCodePageGiven)
{
    model.LoadText(
        test::samiWithBody("<SYNC Start=500><P Class=KRCC>안녕하세요<br>반갑습니다\r\n"
                           "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n"
                           "<SYNC Start=2100><P Class=KRCC>두 번째"));
    test::TempDir dir("ffmpeg_korean");
    const auto seen = throughFfmpeg(dir, "-sub_charenc CP949");
    auto expected = expectedCaptions(model);
    for (SrtCaption& c : expected) c.text = test::utf8(c.text);
    EXPECT_EQ(seen, expected);
}

}  // namespace
}  // namespace verbanta
