// SAMI files as other programs write them (tests/data/sami): each reads with the captions and
// times ffmpeg reads from it, and every SAMI file of the test data, saved in its own encoding,
// reads back to the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "formats/ffmpeg_cues.h"
#include "model/text_format.h"
#include "sami/sami_file.h"
#include "sami/sami_test_util.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"
#include "support/cp949.h"
#include "support/recording_messenger.h"

namespace verbanta {
namespace {

namespace fs = std::filesystem;
using test::cp949;

const fs::path kData = VERBANTA_TEST_DATA_DIR;

// Files in the forms of other programs: a save writes them in this program's form, which must
// then stay. Every other SAMI file of the test data is in that form already.
const std::set<std::string> kForeignForm = {
    "lowercase_attribute_names.smi", "quoted_class_values.smi", "end_tags_closing_a_blank.smi"};

class SamiFilesTest : public ::testing::Test {
protected:
    AppSettings settings;
    test::RecordingMessenger messenger;
    SamiModel model{settings};

    void SetUp() override { model.setMessenger(messenger); }

    /// Reads the bytes as a file is read; the encoding they were found in.
    TextEncoding load(const std::string& bytes)
    {
        const DecodedText decoded = decodeFileText(bytes);
        model.LoadText(decoded.text);
        return decoded.encoding;
    }
    /// Reads the bytes and saves them again in their own encoding.
    std::string resave(const std::string& bytes)
    {
        const TextEncoding encoding = load(bytes);
        return fromCp949(writeSami(model, -1), encoding);
    }
    void loadData(const std::string& name) { load(test::readFile(kData / "sami" / name)); }

    /// The captions of every list, each until its end sync, as ffmpeg would show them.
    std::vector<test::FfmpegCue> cues(bool withEnds) const
    {
        std::vector<test::FfmpegCue> out;
        for (int slot = 0; slot < model.listCount; ++slot) {
            const auto entries = test::entriesOf(model, slot);
            for (std::size_t i = 0; i < entries.size(); ++i) {
                if (entries[i].isComment || entries[i].isEndSync)
                    continue;
                const long long end =
                    withEnds && i + 1 < entries.size() ? entries[i + 1].startMs : 0;
                const std::string words = cp949ToUtf8(StripTags(entries[i].text, false));
                out.push_back({entries[i].startMs, end, test::NormaliseCueText(words)});
            }
        }
        std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
            return std::tie(a.startMs, a.text) < std::tie(b.startMs, b.text);
        });
        return out;
    }
    void expectFfmpegAgrees(const std::string& name, bool withEnds = true)
    {
        if (!test::FfmpegInstalled())
            GTEST_SKIP() << "ffmpeg is not installed";
        const fs::path path = kData / "sami" / name;
        const bool utf8 = load(test::readFile(path)) != TextEncoding::Cp949;
        auto theirs = test::ReadWithFfmpeg(std::string(utf8 ? "" : "-sub_charenc CP949 ") +
                                           "-f sami -i '" + path.string() + "'");
        for (auto& cue : theirs)
            if (!withEnds)
                cue.endMs = 0;
        std::sort(theirs.begin(), theirs.end(), [](const auto& a, const auto& b) {
            return std::tie(a.startMs, a.text) < std::tie(b.startMs, b.text);
        });
        EXPECT_EQ(cues(withEnds), theirs) << name;
    }
};

TEST_F(SamiFilesTest, EveryFileOfTheTestDataResavesIdentically)
{
    int files = 0;
    for (const auto& item : fs::recursive_directory_iterator(kData)) {
        if (item.path().extension() != ".smi")
            continue;
        SCOPED_TRACE(item.path().string());
        ++files;
        const std::string bytes = test::readFile(item.path());
        const std::string first = resave(bytes);
        EXPECT_EQ(resave(first), first);
        if (!kForeignForm.count(item.path().filename().string())) {
            EXPECT_EQ(first, bytes);
        }
    }
    EXPECT_GE(files, 7);
}

TEST_F(SamiFilesTest, ReadsAttributeNamesInAnyCase)
{
    loadData("lowercase_attribute_names.smi");
    const auto entries = test::entriesOf(model, 0);
    std::vector<int> times;
    for (const SyncEntry& e : entries) times.push_back(e.startMs);
    EXPECT_EQ(times, (std::vector<int>{1000, 2500, 3000, 4200}));
    EXPECT_EQ(entries.at(2).text, "Mixed case<br>and a quoted time");
    EXPECT_EQ(model.classNames[0], "KRCC");
    EXPECT_EQ(model.languages.at(0).name(), "Korean");
    EXPECT_TRUE(messenger.shown.empty());  // no language was repaired
    expectFfmpegAgrees("lowercase_attribute_names.smi");
}

TEST_F(SamiFilesTest, ReadsAQuotedClassAsTheClassItself)
{
    loadData("quoted_class_values.smi");
    ASSERT_EQ(model.listCount, 2);
    EXPECT_EQ(model.classNames[0], "KRCC");
    EXPECT_EQ(model.classNames[1], "ENCC");
    EXPECT_EQ(test::textsOf(model, 0), (std::vector<std::string>{cp949("첫 자막"), "&nbsp;"}));
    EXPECT_EQ(test::textsOf(model, 1), (std::vector<std::string>{"First caption", "&nbsp;"}));
    EXPECT_TRUE(messenger.shown.empty());
    // ffmpeg shows both languages, each until the next sync of either.
    expectFfmpegAgrees("quoted_class_values.smi", false);
}

TEST_F(SamiFilesTest, TakesABlankClosedByEndTagsForAnEndSync)
{
    loadData("end_tags_closing_a_blank.smi");
    const auto entries = test::entriesOf(model, 0);
    ASSERT_EQ(entries.size(), 8u);
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(entries[i].isEndSync != 0, i % 2 == 1) << entries[i].text;
    EXPECT_EQ(entries[1].text, "&nbsp;</P>");
    // Written as the usual end sync.
    EXPECT_NE(writeSami(model, -1).find("<SYNC Start=6000><P Class=KRCC>&nbsp;\r\n<SYNC"),
              std::string::npos);
    expectFfmpegAgrees("end_tags_closing_a_blank.smi");
}

TEST_F(SamiFilesTest, KeepsStyleValuesWithCharactersCp949Lacks)
{
    loadData("style_values_beyond_cp949.smi");
    ASSERT_EQ(model.languages.size(), 1u);
    EXPECT_EQ(model.languages[0].name(), "Fran&#231;ais");
    EXPECT_EQ(model.languages[0].lang(), "fr-FR");
    EXPECT_EQ(model.paragraphStyle.find("font-family")->value, "Fut&#233;ra, Arial");
    expectFfmpegAgrees("style_values_beyond_cp949.smi");
}

TEST_F(SamiFilesTest, ReadsUnmarkedUtf8WithOneLatinLetter)
{
    EXPECT_EQ(load(test::readFile(kData / "sami" / "utf8_latin_without_mark.smi")),
              TextEncoding::Utf8);
    EXPECT_EQ(test::textsOf(model, 0).at(0), cp949("Karantæne"));
}

}  // namespace
}  // namespace verbanta
