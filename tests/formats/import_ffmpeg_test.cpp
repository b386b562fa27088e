// ffmpeg reads SubRip, ASS and MicroDVD on its own; our imports of the same files must agree with
// it on every caption's start, end and words.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "formats/foreign_import.h"
#include "import_test_support.h"
#include "support/cp949.h"
#include "support/temp_folder.h"

namespace verbanta::test {
namespace {

constexpr const char* kFfmpeg = "/usr/bin/ffmpeg";

struct Cue {
    long long startMs;
    long long endMs;
    std::string text;  ///< UTF-8, normalised
    bool operator==(const Cue&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Cue& c)
{
    return os << "{" << c.startMs << " -> " << c.endMs << " \"" << c.text << "\"}";
}

// Tags, braced codes, entities for a space and white space are each format's own; the words
// are not.
std::string normalise(std::string_view text)
{
    std::string stripped;
    char closer = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (closer) {
            if (c == closer)
                closer = 0;
        } else if (c == '<' || c == '{') {
            closer = c == '<' ? '>' : '}';
        } else if (text.substr(i, 6) == "&nbsp;") {
            stripped += ' ';
            i += 5;
        } else if (text.substr(i, 2) == "\xC2\xA0") {
            stripped += ' ';
            ++i;
        } else {
            stripped += c;
        }
    }
    std::string out;
    bool space = false;
    for (char c : stripped) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        out += c;
    }
    return out;
}

long long srtTime(const std::string& t)
{
    int h = 0, m = 0, s = 0, ms = 0;
    std::sscanf(t.c_str(), "%d:%d:%d,%d", &h, &m, &s, &ms);
    return ((h * 60LL + m) * 60 + s) * 1000 + ms;
}

// Reads ffmpeg's SubRip output: counter, time line, text up to a blank line.
std::vector<Cue> parseSrt(const std::string& srt)
{
    std::vector<Cue> cues;
    LineReader lines(srt);
    std::string_view line;
    while (lines.next(line)) {
        const std::size_t arrow = line.find(" --> ");
        if (arrow == std::string_view::npos)
            continue;
        Cue cue{srtTime(std::string(line.substr(0, arrow))),
                srtTime(std::string(line.substr(arrow + 5))), ""};
        while (lines.next(line) && !line.empty())
            cue.text += std::string(line) + "\n";
        cue.text = normalise(cue.text);
        cues.push_back(cue);
    }
    return cues;
}

// Our import as cues: each caption with the end sync after it.
std::vector<Cue> cuesOf(const SamiModel& model)
{
    std::vector<Cue> cues;
    const auto entries = entriesOf(model);
    for (std::size_t i = 0; i + 1 < entries.size(); i += 2) {
        EXPECT_TRUE(entries[i + 1].isEndSync);
        cues.push_back({entries[i].startMs, entries[i + 1].startMs, normalise(utf8(entries[i].text))});
    }
    return cues;
}

class ImportAgreesWithFfmpeg : public ::testing::Test, protected ImportFixture {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(kFfmpeg))
            GTEST_SKIP() << "ffmpeg is not installed";
    }

    std::vector<Cue> ffmpegCues(const std::string& inputArgs)
    {
        const std::string out = folder.path("ffmpeg.srt");
        const std::string command = std::string(kFfmpeg) + " -v error -y " + inputArgs + " -f srt '" +
                                    out + "' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return parseSrt(TempFolder::read(out));
    }

    void compare(const std::string& name, int filterEntry, const std::string& ffmpegInput,
                 const std::set<std::size_t>& skipEnds = {})
    {
        ASSERT_TRUE(ImportForeignFile(model, dataPath(name), filterEntry, 25.0));
        const std::vector<Cue> ours = cuesOf(model);
        std::vector<Cue> theirs = ffmpegCues(ffmpegInput + " -i '" + dataPath(name) + "'");
        ASSERT_EQ(ours.size(), theirs.size()) << name;
        for (std::size_t i = 0; i < ours.size(); ++i) {
            if (skipEnds.count(i))
                theirs[i].endMs = ours[i].endMs;
            EXPECT_EQ(ours[i], theirs[i]) << name << " caption " << i;
        }
    }

    TempFolder folder;
};

TEST_F(ImportAgreesWithFfmpeg, OnTheKoreanSubRipFile)
{
    compare("italics_korean.srt", 2, "");
}

TEST_F(ImportAgreesWithFfmpeg, OnTheAssFile)
{
    compare("overrides.ass", 5, "");
}

TEST_F(ImportAgreesWithFfmpeg, OnTheMicroDvdFile)
{
    // An empty end frame lasts 60 frames here; ffmpeg runs it to the next caption instead.
    compare("styled.sub", 3, "-f microdvd -subfps 25", {2});
}

TEST_F(ImportAgreesWithFfmpeg, OnAUtf16SubRipFile)
{
    const std::string utf8Text = readData("italics_korean.srt");
    const std::string path = folder.path("utf16.srt");
    TempFolder::write(path, "\xFF\xFE" + iconvConvert(utf8Text, "UTF-16LE", "UTF-8"));
    ASSERT_TRUE(ImportForeignFile(model, path, 1, 25.0));
    const std::vector<Cue> ours = cuesOf(model);
    EXPECT_EQ(ours, ffmpegCues("-i '" + path + "'"));
    EXPECT_EQ(ours.size(), 5u);
}

}  // namespace
}  // namespace verbanta::test
