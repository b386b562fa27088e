#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/cue_builder.h"
#include "formats/export_format.h"
#include "formats/export_sample.h"
#include "formats/foreign_import.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/recording_messenger.h"

// A SubRip file imported and exported again keeps its cues: times, lines and markup.

namespace verbanta {
namespace {

constexpr int kSubRipFilterEntry = 2;
constexpr double kFramesPerSecond = 25.0;
const std::string kBom = "\xef\xbb\xbf";

class ExportRoundTripTest : public ::testing::Test {
protected:
    AppSettings settings;
    SamiModel model{settings};
    test::RecordingMessenger messenger;

    void SetUp() override { model.setMessenger(messenger); }

    std::string importAndExport(const std::string& subRip)
    {
        EXPECT_TRUE(importForeignBytes(model, subRip, kSubRipFilterEntry, kFramesPerSecond));
        EXPECT_TRUE(messenger.shown.empty());
        return exportSubtitles(model, 0, ExportFormat::SubRip);
    }
};

TEST_F(ExportRoundTripTest, SubRipFileComesBackAsItWas)
{
    // Written as the writer writes, so that the same cues must give the same bytes.
    const std::string original =
        "1\r\n00:00:01,005 --> 00:00:03,250\r\n<i>Hello</i> there\r\n<b>bold</b> <u>line</u>\r\n"
        "\r\n"
        "2\r\n00:00:02,000 --> 00:00:04,000\r\nOverlapping & <font color=\"#ffff00\">yellow</font>"
        "\r\n\r\n"
        "3\r\n00:00:04,000 --> 00:00:05,999\r\n안녕하세요\r\n반갑습니다\r\n\r\n"
        "4\r\n01:02:03,004 --> 01:02:04,000\r\nlast\r\n\r\n";
    EXPECT_EQ(importAndExport(original), kBom + original);
}

TEST_F(ExportRoundTripTest, SubRipFileInOtherLayoutKeepsItsCues)
{
    // LF line ends, numbers that do not count from 1, no blank line at the end.
    const std::string original =
        "7\n00:00:01,500 --> 00:00:02,000\n{\\i1}a{\\i}\n\n"
        "9\n00:00:02,000 --> 00:00:02,500\nb\nc";
    const std::string exported = importAndExport(original);
    EXPECT_EQ(exported, kBom +
                            "1\r\n00:00:01,500 --> 00:00:02,000\r\n<i>a</i>\r\n\r\n"
                            "2\r\n00:00:02,000 --> 00:00:02,500\r\nb\r\nc\r\n\r\n");
}

TEST_F(ExportRoundTripTest, ExportedFileImportsToTheSameCues)
{
    // The Korean language of the sample: markup, a colour, "&" and merged captions. (Its
    // English language has a literal "<tag>", which SubRip cannot escape: any reader, ffmpeg's
    // as well, takes it for markup.)
    test::FillExportSample(model);
    const std::string exported = exportSubtitles(model, 0, ExportFormat::SubRip);

    AppSettings otherSettings;
    SamiModel reimported{otherSettings};
    reimported.setMessenger(messenger);
    ASSERT_TRUE(importForeignBytes(reimported, exported, kSubRipFilterEntry, kFramesPerSecond));
    EXPECT_EQ(buildCues(reimported, 0), buildCues(model, 0));
    EXPECT_EQ(exportSubtitles(reimported, 0, ExportFormat::SubRip), exported);
}

}  // namespace
}  // namespace verbanta
