// The convert subcommand, run as a user runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "formats/import_test_support.h"
#include "support/cp949.h"
#include "support/temp_folder.h"

#ifdef VERBANTA_CLI_PATH

namespace verbanta::test {
namespace {

class ConvertCommand : public ::testing::Test, protected ImportFixture {
protected:
    TempFolder folder;
    std::string err;

    int run(const std::string& args)
    {
        const std::string command = std::string("'") + VERBANTA_CLI_PATH + "' convert " + args +
                                    " 2>'" + folder.path("stderr") + "' >/dev/null";
        const int raw = std::system(command.c_str());
        err = TempFolder::read(folder.path("stderr"));
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    std::string quoted(const std::string& path) const { return "'" + path + "'"; }
    std::string out(const std::string& name) const { return folder.path(name); }
};

TEST_F(ConvertCommand, DetectsTheFormatAndWritesSami)
{
    ASSERT_EQ(run(quoted(dataPath("overrides.ass")) + " " + quoted(out("a.smi"))), 0) << err;
    ASSERT_TRUE(model.LoadFile(out("a.smi"), true));
    ASSERT_EQ(model.GetCount(), 8);
    EXPECT_EQ(model.GetFirst().text, cp949("안녕하세요<br>\r\n반갑습니다"));
    EXPECT_EQ(model.GetFirst().startMs, 1500);
}

TEST_F(ConvertCommand, WritesPlainTextForATxtName)
{
    ASSERT_EQ(run(quoted(dataPath("subviewer.sub")) + " " + quoted(out("a.TXT"))), 0) << err;
    EXPECT_EQ(TempFolder::read(out("a.TXT")),
              "The Age of Gods was closing.\r\nEternity had come to an end.\r\n\r\n"
              "The heavens shook as the armies");
}

TEST_F(ConvertCommand, UsesTheGivenFormatAndFrameRate)
{
    ASSERT_EQ(run("--from microdvd --fps 23.976 " + quoted(dataPath("styled.sub")) + " " +
                  quoted(out("a.smi"))),
              0)
        << err;
    ASSERT_TRUE(model.LoadFile(out("a.smi"), true));
    EXPECT_EQ(model.GetFirst().startMs, 1042);

    EXPECT_EQ(run("--from ssa " + quoted(dataPath("styled.sub")) + " " + quoted(out("b.smi"))), 1);
    EXPECT_NE(err.find("지정한 파일은 지원하는 자막 파일 형식이 아닙니다."), std::string::npos);
    EXPECT_FALSE(TempFolder::exists(out("b.smi")));
    EXPECT_NE(run("--fps 26 " + quoted(dataPath("styled.sub")) + " " + quoted(out("c.smi"))), 0);
    EXPECT_NE(run("--from webvtt " + quoted(dataPath("styled.sub")) + " " + quoted(out("c.smi"))), 0);
}

TEST_F(ConvertCommand, ImportsTextByLinesOrParagraphs)
{
    const std::string text = out("in.txt");
    TempFolder::write(text, "A\r\nB\r\n\r\nC\r\n");
    ASSERT_EQ(run("--from text " + quoted(text) + " " + quoted(out("lines.smi"))), 0) << err;
    ASSERT_TRUE(model.LoadFile(out("lines.smi"), true));
    EXPECT_EQ(model.GetCount(), 3 + 1);  // the writer ends the last caption with an end sync
    ASSERT_EQ(run("--from text --paragraphs " + quoted(text) + " " + quoted(out("p.txt"))), 0);
    EXPECT_EQ(TempFolder::read(out("p.txt")), "A\r\nB\r\n\r\nC");
    EXPECT_EQ(run("--paragraphs " + quoted(text) + " " + quoted(out("x.smi"))), 1);
}

TEST_F(ConvertCommand, FailsOnAMissingInput)
{
    EXPECT_EQ(run(quoted(out("missing.srt")) + " " + quoted(out("a.smi"))), 1);
    EXPECT_NE(err.find("지정한 자막 파일을 열 수 없습니다."), std::string::npos);
}

}  // namespace
}  // namespace verbanta::test

#endif
