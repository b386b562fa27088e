#include "formats/language_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "model/language_operations.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/cp949.h"
#include "support/recording_messenger.h"

namespace verbanta {
namespace {

namespace fs = std::filesystem;

struct Caption {
    int ms;
    std::string text;  ///< UTF-8; "" writes an end sync
};

/// A one-language SAMI file as another editor would write it.
std::string samiText(const std::string& cls, const std::string& name, const std::string& lang,
                     const std::vector<Caption>& captions)
{
    std::string out =
        "<SAMI>\r\n<HEAD>\r\n<TITLE></TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
        "P { margin-left:8pt; font-size:14pt; }\r\n." +
        cls + " { Name:" + test::cp949(name) + "; lang:" + lang +
        "; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
    for (const Caption& c : captions) {
        out += "<SYNC Start=" + std::to_string(c.ms) + "><P Class=" + cls + ">";
        out += c.text.empty() ? "&nbsp;\r\n" : "\r\n" + test::cp949(c.text) + "\r\n";
    }
    return out + "</BODY>\r\n</SAMI>";
}

class LanguageImportTest : public ::testing::Test {
protected:
    AppSettings settings;
    SamiModel model{settings};
    test::RecordingMessenger messenger;
    fs::path dir;

    void SetUp() override
    {
        model.setMessenger(messenger);
        dir = fs::temp_directory_path() /
              ("verbanta_language_import_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string write(const std::string& name, const std::string& bytes)
    {
        const fs::path p = dir / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    /// "time:text" of a language's captions (UTF-8), end syncs as "time:/".
    static std::vector<std::string> captions(const SamiModel& m, int index)
    {
        std::vector<std::string> out;
        m.slotList(m.slotOrder[static_cast<std::size_t>(index)]).forEach([&](const SyncEntry& e) {
            out.push_back(std::to_string(e.startMs) + ":" +
                          (e.isEndSync ? std::string("/") : test::utf8(e.text)));
        });
        return out;
    }
    using Strings = std::vector<std::string>;
};

TEST_F(LanguageImportTest, JoinsAKoreanAndAnEnglishFileIntoOneBilingualFile)
{
    const std::string korean = write(
        "ko.smi", samiText("KRCC", "한국어", "ko-KR",
                           {{1000, "안녕하세요"}, {3000, ""}, {5000, "잘 가요"}, {7000, ""}}));
    const std::string english = write(
        "en.smi", samiText("ENCC", "영어", "en-US", {{1200, "Hello"}, {5100, "Bye"}, {7000, ""}}));
    ASSERT_TRUE(model.LoadFile(korean, true));

    const LanguageImportResult result = addLanguagesFromFile(model, english);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.added, 1);
    EXPECT_TRUE(result.modified());
    EXPECT_TRUE(messenger.shown.empty());
    EXPECT_FALSE(model.CanUndo());  // not recorded for undo

    const std::string joined = (dir / "both.smi").string();
    ASSERT_TRUE(model.SaveFile(joined, -1));
    SamiModel back(settings);
    back.setMessenger(messenger);
    ASSERT_TRUE(back.LoadFile(joined, true));
    ASSERT_EQ(back.GetLanguageCount(), 2);
    EXPECT_EQ(back.languages[0].selector, ".KRCC");
    EXPECT_EQ(back.languages[1].selector, ".ENCC");
    EXPECT_EQ(back.languages[1].name(), test::cp949("영어"));
    EXPECT_EQ(back.languages[1].lang(), "en-US");
    EXPECT_EQ(captions(back, 0), (Strings{"1000:안녕하세요", "3000:/", "5000:잘 가요", "7000:/"}));
    EXPECT_EQ(captions(back, 1), (Strings{"1200:Hello", "5100:Bye", "7000:/"}));
    EXPECT_TRUE(messenger.shown.empty());
}

TEST_F(LanguageImportTest, GivesAClashingClassANewName)
{
    const std::string first =
        write("a.smi", samiText("KRCC", "한국어", "ko-KR", {{1000, "하나"}, {2000, ""}}));
    const std::string second =
        write("b.smi", samiText("KRCC", "한국어", "ko-KR", {{1000, "둘"}, {2000, ""}}));
    ASSERT_TRUE(model.LoadFile(first, true));
    ASSERT_TRUE(addLanguagesFromFile(model, second).ok);

    const std::string joined = (dir / "both.smi").string();
    ASSERT_TRUE(model.SaveFile(joined, -1));
    SamiModel back(settings);
    ASSERT_TRUE(back.LoadFile(joined, true));
    ASSERT_EQ(back.GetLanguageCount(), 2);
    EXPECT_EQ(back.languages[1].selector, ".KRCC2");
    EXPECT_EQ(captions(back, 0), (Strings{"1000:하나", "2000:/"}));
    EXPECT_EQ(captions(back, 1), (Strings{"1000:둘", "2000:/"}));
}

TEST_F(LanguageImportTest, AddsAFileOfAnotherFormatAsALanguage)
{
    const std::string korean =
        write("ko.smi", samiText("KRCC", "한국어", "ko-KR", {{1000, "안녕"}, {2000, ""}}));
    const std::string english = write("en.srt",
                                      "\xEF\xBB\xBF"
                                      "1\r\n00:00:01,200 --> 00:00:02,000\r\n<i>Hello</i>\r\n");
    ASSERT_TRUE(model.LoadFile(korean, true));
    const LanguageImportResult result = addLanguagesFromFile(model, english);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.added, 1);
    // The import's one language is a new document's; its class is taken, so it is renamed.
    ASSERT_EQ(model.GetLanguageCount(), 2);
    EXPECT_EQ(model.languages[1].selector, ".KRCC2");
    EXPECT_EQ(captions(model, 1), (Strings{"1200:<i>Hello</i>", "2000:/"}));
    EXPECT_EQ(captions(model, 0), (Strings{"1000:안녕", "2000:/"}));
    EXPECT_TRUE(messenger.shown.empty());
}

TEST_F(LanguageImportTest, RecognisesASamiFileUnderAnotherName)
{
    const std::string english =
        write("en.txt", samiText("ENCC", "영어", "en-US", {{1000, "Hi"}, {2000, ""}}));
    ASSERT_TRUE(addLanguagesFromFile(model, english).ok);
    ASSERT_EQ(model.GetLanguageCount(), 2);
    EXPECT_EQ(model.languages[1].selector, ".ENCC");
    EXPECT_EQ(model.languages[1].lang(), "en-US");
    EXPECT_EQ(captions(model, 1), (Strings{"1000:Hi", "2000:/"}));
    EXPECT_TRUE(messenger.shown.empty());
}

TEST_F(LanguageImportTest, AddsNothingPastTheLimitOrFromAMissingFile)
{
    const std::string english =
        write("en.smi", samiText("ENCC", "영어", "en-US", {{1000, "Hi"}, {2000, ""}}));
    for (int i = 1; i < 10; ++i)
        ASSERT_TRUE(addLanguage(model, {"L" + std::to_string(i), "n", "xx", "CC"}, 0));
    LanguageImportResult result = addLanguagesFromFile(model, english);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.modified());
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "총 10개의 다국어 정보만을 등록할 수 있습니다.");
    EXPECT_EQ(model.GetLanguageCount(), 10);

    messenger.shown.clear();
    result = addLanguagesFromFile(model, (dir / "missing.smi").string());
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(messenger.shown.empty());  // the reader says why
    EXPECT_EQ(model.GetLanguageCount(), 10);
}

}  // namespace
}  // namespace verbanta
