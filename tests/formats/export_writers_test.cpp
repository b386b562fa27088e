#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "formats/ass_writer.h"
#include "formats/cue_builder.h"
#include "formats/export_format.h"
#include "formats/export_sample.h"
#include "formats/subrip_writer.h"
#include "formats/webvtt_writer.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/cp949.h"

namespace verbanta {
namespace {

const std::string kBom = "\xef\xbb\xbf";

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(SubRipWriter, WritesNumberedCuesWithTheirMarkup)
{
    const std::vector<Cue> cues = {
        {1000, 2500, "<i>a</i> &amp; b\n<font color=\"#ff8000\">c</font>"},
        {3723004, 3724000, "d&lt;e&gt;"},
    };
    EXPECT_EQ(SubRipWriter().write(cues),
              kBom +
                  "1\r\n00:00:01,000 --> 00:00:02,500\r\n"
                  "<i>a</i> & b\r\n<font color=\"#ff8000\">c</font>\r\n\r\n"
                  "2\r\n01:02:03,004 --> 01:02:04,000\r\nd<e>\r\n\r\n");
    EXPECT_EQ(SubRipWriter().write({}), kBom);
}

TEST(SubRipWriter, FormatsTimesBeyondTwoHourDigits)
{
    EXPECT_EQ(SubRipWriter::formatTime(0), "00:00:00,000");
    EXPECT_EQ(SubRipWriter::formatTime(360000000), "100:00:00,000");
    EXPECT_EQ(SubRipWriter::formatTime(-5), "00:00:00,000");
}

TEST(WebVttWriter, WritesHeaderAndCuesWithoutByteOrderMark)
{
    const std::vector<Cue> cues = {{1000, 2500, "<b>a</b> &amp; <u>b</u>\nc --&gt; d"}};
    EXPECT_EQ(WebVttWriter().write(cues),
              "WEBVTT\r\n\r\n"
              "00:00:01.000 --> 00:00:02.500\r\n<b>a</b> &amp; <u>b</u>\r\nc --&gt; d\r\n\r\n");
    EXPECT_EQ(WebVttWriter::formatTime(3723004), "01:02:03.004");
}

TEST(WebVttWriter, WritesDefaultColourClassesAndDropsOtherColours)
{
    const std::vector<Cue> cues = {
        {0, 1000, "<font color=\"#ffff00\">y<font color=\"#ff8001\">o</font>y</font>"},
        {1000, 2000, "<font color=\"#00ff00\">l</font> <font color=\"#008000\">g</font>"},
    };
    EXPECT_EQ(WebVttWriter().write(cues),
              "WEBVTT\r\n\r\n"
              "00:00:00.000 --> 00:00:01.000\r\n<c.yellow>yoy</c>\r\n\r\n"
              "00:00:01.000 --> 00:00:02.000\r\n<c.lime>l</c> g\r\n\r\n");
}

class AssWriterTest : public ::testing::Test {
protected:
    ParagraphStyle rule;
    std::string dialogue(const std::string& neutral)
    {
        const std::string out = AssWriter(rule, "").write({{0, 1000, neutral}});
        const std::string prefix = "Dialogue: 0,0:00:00.00,0:00:01.00,Default,,0,0,0,,";
        const std::size_t at = out.find(prefix);
        if (at == std::string::npos)
            return "(no dialogue)";
        const std::size_t begin = at + prefix.size();
        return out.substr(begin, out.find("\r\n", begin) - begin);
    }
};

TEST_F(AssWriterTest, RoundsTimesToHundredths)
{
    EXPECT_EQ(AssWriter::formatTime(1234), "0:00:01.23");
    EXPECT_EQ(AssWriter::formatTime(1235), "0:00:01.24");
    EXPECT_EQ(AssWriter::formatTime(3599995), "1:00:00.00");
    EXPECT_EQ(AssWriter::formatTime(360000000), "100:00:00.00");
}

TEST_F(AssWriterTest, MapsMarkupToOverrideBlocks)
{
    EXPECT_EQ(dialogue("<i>a</i>\nb"), "{\\i1}a{\\i0}\\Nb");
    // Nested elements of one kind switch once; a colour ends back in the enclosing one.
    EXPECT_EQ(dialogue("<b>a<b>b</b>c</b>"), "{\\b1}abc{\\b0}");
    EXPECT_EQ(dialogue("<font color=\"#ff8000\">a<font color=\"#0000ff\">b</font>c</font>d"),
              "{\\c&H0080FF&}a{\\c&HFF0000&}b{\\c&H0080FF&}c{\\c}d");
    EXPECT_EQ(dialogue("<u>x</u>"), "{\\u1}x{\\u0}");
}

TEST_F(AssWriterTest, KeepsBracesAndBackslashesFromActingAsCodes)
{
    EXPECT_EQ(dialogue("{a} &lt;b&gt; c\\Nd"),
              "\xef\xbd\x9b"
              "a\xef\xbd\x9d <b> c\\\xe2\x81\xa0Nd");
}

TEST_F(AssWriterTest, TakesTheDefaultStyleFromTheParagraphRule)
{
    rule.flags = ParagraphStyle::kParagraphDefaultFlags;  // 굴림, 14pt, white on black, centre
    EXPECT_EQ(AssWriter(rule, "").styleLine(),
              "Style: Default,굴림,19,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,"
              "100,0,0,1,2,0,2,20,20,20,1");
    rule.find("font-family")->value = "'Malgun Gothic', Arial";
    rule.find("font-size")->points = 24;
    rule.find("color")->value = "#FFFF00";
    rule.find("background-color")->value = "navy";
    rule.find("font-weight")->value = "Bold";
    rule.find("text-align")->value = "left";
    EXPECT_EQ(AssWriter(rule, "").styleLine(),
              "Style: Default,Malgun Gothic,32,&H0000FFFF,&H000000FF,&H00800000,&H00800000,-1,0,"
              "0,0,100,100,0,0,1,2,0,1,20,20,20,1");
}

TEST_F(AssWriterTest, FallsBackForPropertiesTheRuleLacks)
{
    rule.flags = 0;
    EXPECT_EQ(AssWriter(rule, "").styleLine(),
              "Style: Default,Arial,19,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,"
              "100,0,0,1,2,0,2,20,20,20,1");
}

TEST_F(AssWriterTest, WritesScriptInfoStylesAndEvents)
{
    const std::string out =
        AssWriter(rule, test::cp949("제목\r\n")).write({{1000, 2000, "a"}, {2000, 3000, "b"}});
    EXPECT_EQ(out.rfind(kBom, 0), 0u);
    EXPECT_NE(out.find("[Script Info]\r\nTitle: 제목\r\nScriptType: v4.00+\r\n"),
              std::string::npos);
    EXPECT_NE(out.find("PlayResX: 640\r\nPlayResY: 480\r\n"), std::string::npos);
    EXPECT_LT(out.find("[V4+ Styles]\r\nFormat: Name, Fontname"), out.find("[Events]"));
    EXPECT_NE(out.find("[Events]\r\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, "
                       "MarginV, Effect, Text\r\n"
                       "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,a\r\n"
                       "Dialogue: 0,0:00:02.00,0:00:03.00,Default,,0,0,0,,b\r\n"),
              std::string::npos);
}

// Each language of a two-language document gives its own file, compared with golden files.
TEST(ExportSubtitles, WritesEachLanguageOfATwoLanguageDocument)
{
    AppSettings settings;
    SamiModel model{settings};
    test::FillExportSample(model);
    const std::string dir = std::string(VERBANTA_TEST_DATA_DIR) + "/export/";
    const std::pair<ExportFormat, const char*> formats[] = {
        {ExportFormat::SubRip, "srt"}, {ExportFormat::WebVtt, "vtt"}, {ExportFormat::Ass, "ass"}};
    for (int language = 0; language < 2; ++language) {
        for (const auto& [format, extension] : formats) {
            const std::string golden =
                dir + "two_languages_" + std::to_string(language) + "." + extension;
            SCOPED_TRACE(golden);
            EXPECT_EQ(exportSubtitles(model, language, format), readFile(golden));
        }
    }
}

TEST(ExportSubtitles, LeavesTheModelUnchanged)
{
    AppSettings settings;
    SamiModel model{settings};
    test::FillExportSample(model);
    model.SetCurrentSlot(1);
    const int count = model.GetCount();
    exportSubtitles(model, 0, ExportFormat::Ass);
    EXPECT_EQ(model.GetCurrentSlot(), 1);
    EXPECT_EQ(model.GetCount(), count);
}

TEST(ExportSubtitles, ChoosesTheFormatByExtension)
{
    EXPECT_EQ(exportFormatFromPath("a/b.SRT"), ExportFormat::SubRip);
    EXPECT_EQ(exportFormatFromPath("b.vtt"), ExportFormat::WebVtt);
    EXPECT_EQ(exportFormatFromPath("b.Ass"), ExportFormat::Ass);
    EXPECT_FALSE(exportFormatFromPath("b.smi").has_value());
    EXPECT_FALSE(exportFormatFromPath("srt").has_value());
}

}  // namespace
}  // namespace verbanta
