// The encodings on the command line: info names the file's encoding, and resave, convert and
// save-language keep it or write the one --encoding asks for.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

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

/// Two languages, Korean and French with an accent, as UTF-8.
std::string twoLanguagesUtf8()
{
    return "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
           ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n"
           ".FRCC { Name:French; lang:fr-FR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n"
           "<BODY>\r\n<SYNC Start=1000><P Class=KRCC>안녕\r\n<SYNC Start=1000><P "
           "Class=FRCC>café\r\n"
           "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n<SYNC Start=2000><P Class=FRCC>&nbsp;\r\n"
           "</BODY>\r\n</SAMI>";
}

class CliEncodingTest : public ::testing::Test {
protected:
    test::TempDir dir{"cli_encoding_" +
                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())};

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
    std::string encodingOf(const std::string& path) const
    {
        const Outcome o = run("info --json '" + path + "'");
        EXPECT_EQ(o.status, 0) << o.err;
        return nlohmann::json::parse(o.out).value("encoding", "");
    }
    std::string write(const std::string& name, const std::string& bytes) const
    {
        test::writeFile(dir.file(name), bytes);
        return dir.file(name);
    }
};

TEST_F(CliEncodingTest, InfoNamesEveryEncoding)
{
    // Six multi-byte characters: enough to tell UTF-8 without a mark from CP949.
    const std::string utf8 = twoLanguagesUtf8();
    EXPECT_EQ(encodingOf(write("a.smi", test::goldenFile("two_languages.smi"))), "cp949");
    EXPECT_EQ(encodingOf(write("b.smi", utf8)), "utf-8");
    EXPECT_EQ(encodingOf(write("c.smi", "\xEF\xBB\xBF" + utf8)), "utf-8-bom");
    EXPECT_EQ(
        encodingOf(write("d.smi", "\xFF\xFE" + test::iconvConvert(utf8, "UTF-16LE", "UTF-8"))),
        "utf-16le");
    EXPECT_EQ(
        encodingOf(write("e.smi", "\xFE\xFF" + test::iconvConvert(utf8, "UTF-16BE", "UTF-8"))),
        "utf-16be");

    const Outcome text = run("info '" + dir.file("e.smi") + "'");
    EXPECT_NE(text.out.find("\nencoding: utf-16be\n"), std::string::npos) << text.out;
}

TEST_F(CliEncodingTest, ResaveKeepsTheEncodingOrWritesTheOneAskedFor)
{
    const std::string in = write("in.smi", "\xEF\xBB\xBF" + twoLanguagesUtf8());
    ASSERT_EQ(run("resave '" + in + "' '" + dir.file("same.smi") + "'").status, 0);
    const std::string same = test::readFile(dir.file("same.smi"));
    EXPECT_TRUE(same.starts_with("\xEF\xBB\xBF"));
    EXPECT_NE(same.find("café"), std::string::npos);

    const Outcome o = run("resave --encoding UTF-16LE '" + in + "' '" + dir.file("16.smi") + "'");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(encodingOf(dir.file("16.smi")), "utf-16le");
    ASSERT_EQ(run("resave --encoding utf-8-bom '" + dir.file("16.smi") + "' '" +
                  dir.file("back.smi") + "'")
                  .status,
              0);
    EXPECT_EQ(test::readFile(dir.file("back.smi")), same);

    ASSERT_EQ(run("resave --encoding cp949 '" + in + "' '" + dir.file("949.smi") + "'").status, 0);
    const std::string cp949 = test::readFile(dir.file("949.smi"));
    EXPECT_NE(cp949.find(test::cp949("안녕")), std::string::npos);
    EXPECT_NE(cp949.find("caf&#233;"), std::string::npos);

    const Outcome bad = run("resave --encoding latin1 '" + in + "' '" + dir.file("x.smi") + "'");
    EXPECT_NE(bad.status, 0);
    EXPECT_NE(bad.err.find("--encoding"), std::string::npos) << bad.err;
}

TEST_F(CliEncodingTest, SaveLanguageAndConvertTakeTheEncoding)
{
    const std::string in = write("in.smi", "\xEF\xBB\xBF" + twoLanguagesUtf8());
    ASSERT_EQ(run("save-language --language 1 '" + in + "' '" + dir.file("fr.smi") + "'").status,
              0);
    EXPECT_EQ(encodingOf(dir.file("fr.smi")), "utf-8-bom");
    ASSERT_EQ(run("save-language --language 1 --encoding utf-16le '" + in + "' '" +
                  dir.file("fr16.smi") + "'")
                  .status,
              0);
    EXPECT_EQ(encodingOf(dir.file("fr16.smi")), "utf-16le");

    const std::string srt =
        write("in.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nçà et là, déjà vu\r\n");
    ASSERT_EQ(
        run("convert --encoding utf-8-bom '" + srt + "' '" + dir.file("out.smi") + "'").status, 0);
    const std::string out = test::readFile(dir.file("out.smi"));
    EXPECT_TRUE(out.starts_with("\xEF\xBB\xBF"));
    EXPECT_NE(out.find("çà et là, déjà vu"), std::string::npos);
    ASSERT_EQ(run("convert '" + srt + "' '" + dir.file("plain.smi") + "'").status, 0);
    EXPECT_EQ(encodingOf(dir.file("plain.smi")), "cp949");

    ASSERT_EQ(run("convert --encoding utf-16le '" + in + "' '" + dir.file("out.txt") + "'").status,
              0);
    EXPECT_TRUE(test::readFile(dir.file("out.txt")).starts_with("\xFF\xFE"));

    const Outcome cue = run("convert --encoding utf-8 '" + in + "' '" + dir.file("out.srt") + "'");
    EXPECT_NE(cue.status, 0);
    EXPECT_NE(cue.err.find("--encoding applies only to SAMI and .txt output"), std::string::npos);
}

}  // namespace
}  // namespace verbanta

#endif
