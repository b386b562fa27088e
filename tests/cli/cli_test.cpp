// The info, dump, resave and export-text subcommands, run as a user runs them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "sami/sami_file.h"
#include "sami/sami_test_util.h"
#include "support/cp949.h"

#ifdef VERBANTA_CLI_PATH

namespace verbanta {
namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
protected:
    test::TempDir dir{"cli_" +
                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())};
    std::string twoLanguages;

    void SetUp() override
    {
        twoLanguages = dir.file("two.smi");
        test::writeFile(twoLanguages, test::goldenFile("two_languages.smi"));
    }

    Outcome run(const std::string& args) const
    {
        const std::string command = std::string("'") + VERBANTA_CLI_PATH + "' " + args + " >'" +
                                    dir.file("stdout") + "' 2>'" + dir.file("stderr") + "'";
        const int raw = std::system(command.c_str());
        Outcome o;
        o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        o.out = test::readFile(dir.file("stdout"));
        o.err = test::readFile(dir.file("stderr"));
        return o;
    }
    static std::vector<std::string> lines(const std::string& text)
    {
        std::vector<std::string> out;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    }
};

TEST_F(CliTest, InfoPrintsOneJsonObject)
{
    const Outcome o = run("info --json '" + twoLanguages + "'");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(lines(o.out).size(), 1u);
    const auto info = nlohmann::json::parse(o.out);
    EXPECT_EQ(info["title"], "두 언어");
    ASSERT_EQ(info["languages"].size(), 2u);
    const auto& kr = info["languages"][0];
    EXPECT_EQ(kr["class"], "KRCC");
    EXPECT_EQ(kr["name"], "한국어");
    EXPECT_EQ(kr["code"], "ko-KR");
    EXPECT_EQ(kr["entries"], 6);
    EXPECT_EQ(kr["end_syncs"], 2);
    EXPECT_EQ(kr["comments"], 2);
    const auto& en = info["languages"][1];
    EXPECT_EQ(en["class"], "ENCC");
    EXPECT_EQ(en["name"], "영어");
    EXPECT_EQ(en["entries"], 4);
    EXPECT_EQ(en["comments"], 0);
    EXPECT_EQ(info["timing_errors"], 0);
}

TEST_F(CliTest, InfoCountsTimingErrorsOfEveryLanguage)
{
    const std::string path = dir.file("errors.smi");
    test::writeFile(path, test::samiWithBody("<SYNC Start=1000><P Class=KRCC>a<P Class=ENCC>x\r\n"
                                             "<SYNC Start=1000><P Class=KRCC>b\r\n"
                                             "<SYNC Start=500><P Class=ENCC>y\r\n",
                                             ".KRCC { Name:k; }\r\n.ENCC { Name:e; }"));
    const Outcome o = run("info --json '" + path + "'");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(nlohmann::json::parse(o.out)["timing_errors"], 2);
    const Outcome text = run("info '" + path + "'");
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("timing errors: 2"), std::string::npos);
    EXPECT_NE(text.out.find("ENCC"), std::string::npos);
}

TEST_F(CliTest, DumpPrintsEveryEntryAsJsonInUtf8)
{
    const Outcome o = run("dump '" + twoLanguages + "'");
    ASSERT_EQ(o.status, 0) << o.err;
    const auto rows = lines(o.out);
    ASSERT_EQ(rows.size(), 10u);
    const auto first = nlohmann::json::parse(rows[0]);
    EXPECT_EQ(first["language"], 0);
    EXPECT_TRUE(first["comment"]);
    EXPECT_EQ(first["text"], "머리 주석");
    const auto caption = nlohmann::json::parse(rows[4]);
    EXPECT_EQ(caption["start"], 3000);
    EXPECT_EQ(caption["class"], "KRCC");
    EXPECT_FALSE(caption["end_sync"]);
    EXPECT_EQ(caption["text"], "둘째 줄<br>\r\n셋째 줄");
    const auto english = nlohmann::json::parse(rows[8]);
    EXPECT_EQ(english["language"], 1);
    EXPECT_EQ(english["text"], "<font color=\"yellow\">Second</font> line");
    EXPECT_TRUE(nlohmann::json::parse(rows[9])["end_sync"]);
    // Keys come in the documented order.
    EXPECT_TRUE(rows[0].starts_with("{\"language\":0,\"class\":\"KRCC\",\"start\":"));
}

TEST_F(CliTest, ResavesAllLanguagesOrOne)
{
    const std::string out = dir.file("out.smi");
    Outcome o = run("resave '" + twoLanguages + "' '" + out + "'");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(test::readFile(out), test::goldenFile("two_languages.smi"));

    o = run("resave --language 1 '" + twoLanguages + "' '" + out + "'");
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string english = test::readFile(out);
    EXPECT_NE(english.find(".ENCC"), std::string::npos);
    EXPECT_EQ(english.find(".KRCC"), std::string::npos);

    o = run("resave --language 2 '" + twoLanguages + "' '" + out + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("--language 2"), std::string::npos);
}

TEST_F(CliTest, ExportsTheFirstLanguageAsText)
{
    const std::string out = dir.file("out.txt");
    const Outcome o = run("export-text '" + twoLanguages + "' '" + out + "'");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(test::readFile(out), test::cp949("안녕하세요\r\n\r\n둘째 줄\r\n셋째 줄"));
}

TEST_F(CliTest, FailsWithTheSystemsMessage)
{
    const std::string missing = dir.file("missing.smi");
    Outcome o = run("info '" + missing + "'");
    EXPECT_EQ(o.status, 1);
    // Exactly the system's text, its carriage return included, when not shown on a terminal.
    EXPECT_EQ(o.err, missing + "\r이 존재하지 않습니다.\n");

    o = run("resave '" + twoLanguages + "' '" + dir.path().string() + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "파일 \"" + dir.path().string() + "\"\r는 디렉토리입니다.\n");

    o = run("export-text '" + twoLanguages + "' '" + dir.file("no/dir.txt") + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("는 유효하지 않은 파일명입니다."), std::string::npos);

    // Past the limit (a sparse file, quick to make) is refused before anything is read.
    test::writeFile(dir.file("big.smi"), "<SAMI>");
    std::filesystem::resize_file(dir.file("big.smi"), 2 * kMaxSamiFileBytes + 3);
    o = run("dump '" + dir.file("big.smi") + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_NE(o.err.find("파일의 크기가 너무 커서 편집이 불가능합니다."), std::string::npos);

    o = run("dump '" + dir.path().string() + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, dir.path().string() + "\r은 디렉토리입니다.\n");
}

TEST_F(CliTest, SaysWhatItCouldNotReadAndNeverChangesTheFilesItReads)
{
    // Bytes but no SAMI at all: a failure that says so.
    const std::string prose = dir.file("prose.smi");
    test::writeFile(prose, "not a subtitle\r\n");
    for (const std::string command : {"info", "dump", "resave"}) {
        const std::string out = command == "resave" ? " '" + dir.file("out.smi") + "'" : "";
        const Outcome o = run(command + " '" + prose + "'" + out);
        EXPECT_EQ(o.status, 1) << command;
        EXPECT_EQ(o.err, prose +
                             "\n파일에 SAMI 자막이 없습니다.\n"
                             "SAMI 자막 파일이 아니거나 손상된 파일입니다.\n");
    }
    // A NUL byte ends the reading: said on stderr, and the command still succeeds.
    std::string cut = test::goldenFile("two_languages.smi");
    cut[cut.find("<SYNC")] = '\0';
    test::writeFile(dir.file("cut.smi"), cut);
    Outcome o = run("info '" + dir.file("cut.smi") + "'");
    EXPECT_EQ(o.status, 0);
    EXPECT_NE(o.err.find("번째 바이트가 널 문자(0)여서"), std::string::npos) << o.err;

    // Reading commands leave a read-only file read-only.
    std::filesystem::permissions(twoLanguages, std::filesystem::perms::owner_read);
    const std::string in = " '" + twoLanguages + "'";
    for (const std::string& args :
         {"info" + in, "dump" + in, "convert" + in + " '" + dir.file("c.srt") + "'",
          "export-text" + in + " '" + dir.file("t.txt") + "'"}) {
        o = run(args);
        EXPECT_EQ(o.status, 0) << args << ": " << o.err;
        EXPECT_EQ(std::filesystem::status(twoLanguages).permissions(),
                  std::filesystem::perms::owner_read)
            << args;
    }

    // A FIFO nobody writes to is refused at once, by the SAMI and by the other readers.
    const std::string fifo = dir.file("pipe.srt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(run("info '" + fifo + "'").status, 1);
    EXPECT_EQ(run("convert '" + fifo + "' '" + dir.file("p.smi") + "'").status, 1);
}

TEST_F(CliTest, FailsWithStatusOneOnAUsageError)
{
    for (const char* args : {"info", "bogus", "resave only-one-file", "resave --language x a b",
                             "export-text a b c"}) {
        const Outcome o = run(args);
        EXPECT_EQ(o.status, 1) << args;
        EXPECT_FALSE(o.err.empty()) << args;
    }
    EXPECT_EQ(run("--help").status, 0);
    EXPECT_EQ(run("info --help").status, 0);
}

TEST_F(CliTest, ReadsGarbageAndTruncatedMarkupWithoutFailing)
{
    const std::string path = dir.file("garbage.smi");
    std::string bytes = "<SAMI><BODY><SYNC Start=1000><P Class=KRCC>a<b<SYNC Start=";
    for (int i = 0; i < 512; ++i) bytes += static_cast<char>((i * 151 + 7) % 256);
    test::writeFile(path, bytes);
    for (const char* command : {"info --json", "dump"}) {
        const Outcome o = run(std::string(command) + " '" + path + "'");
        EXPECT_EQ(o.status, 0) << command << ": " << o.err;
        // Every line is valid JSON, however odd the bytes it came from.
        for (const std::string& line : lines(o.out))
            EXPECT_TRUE(nlohmann::json::accept(line)) << line;
    }
}

TEST_F(CliTest, CheckPrintsEachFindingAndExitsThreeWhenThereAreAny)
{
    Outcome o = run("check --json '" + twoLanguages + "'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "");

    // 25 half letters shown for one second in the second language.
    const std::string fast = dir.file("fast.smi");
    test::writeFile(fast, test::samiWithBody(
                              "<SYNC Start=1000><P Class=KRCC>\r\n안녕\r\n"
                              "<SYNC Start=3000><P Class=KRCC>&nbsp;\r\n"
                              "<SYNC Start=1000><P Class=ENCC>\r\nabcdefghijklmnopqrstuvwxy\r\n"
                              "<SYNC Start=2000><P Class=ENCC>&nbsp;",
                              ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n"
                              ".ENCC { Name:영어; lang:en-US; SAMIType:CC; }"));
    o = run("check --json '" + fast + "'");
    EXPECT_EQ(o.status, 3) << o.err;
    EXPECT_EQ(o.out, "{\"language\":1,\"row\":0,\"start\":1000,\"rule\":\"reading_speed\","
                     "\"value\":12.5}\n");
    o = run("check '" + fast + "'");
    EXPECT_EQ(o.status, 3) << o.err;
    EXPECT_EQ(o.out, "ENCC row 0 at 1000: reading_speed 12.5\n1 finding(s)\n");

    EXPECT_EQ(run("check '" + dir.file("missing.smi") + "'").status, 1);
    EXPECT_EQ(run("check --fps 0 '" + fast + "'").status, 1);
}

}  // namespace
}  // namespace verbanta

#endif  // VERBANTA_CLI_PATH
