// The split, merge, restyle and save-language subcommands, run as a user runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/temp_folder.h"
#include "../document/document_test_support.h"

#ifdef VERBANTA_CLI_PATH

namespace verbanta {
namespace {

using test::TempFolder;

struct Outcome {
    int status = -1;
    std::string err;
};

class DocumentCommandsTest : public ::testing::Test {
protected:
    TempFolder folder;
    AppSettings settings;

    std::string file(const std::string& name, std::initializer_list<int> times)
    {
        const std::string path = folder.path(name);
        TempFolder::write(path, test::samiFile(times));
        return path;
    }

    Outcome run(const std::string& args) const
    {
        const std::string command = std::string("'") + VERBANTA_CLI_PATH + "' " + args +
                                    " >/dev/null 2>'" + folder.path("stderr") + "'";
        const int raw = std::system(command.c_str());
        Outcome o;
        o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        o.err = TempFolder::read(folder.path("stderr"));
        std::filesystem::remove(folder.path("stderr"));
        return o;
    }

    std::vector<int> timesIn(const std::string& path)
    {
        SamiModel model(settings);
        EXPECT_TRUE(model.LoadFile(path, true)) << path;
        std::vector<int> out;
        model.list().forEach([&](const SyncEntry& e) { out.push_back(e.startMs); });
        return out;
    }
};

TEST_F(DocumentCommandsTest, SplitCutsAtTheFirstSyncAtOrAfterEachTime)
{
    const std::string in = file("movie.smi", {1000, 2000, 5000, 6000, 9000});
    const Outcome o = run("split '" + in + "' --at 4000,9000");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.err.find("총 3개의 자막 파일을 저장하였습니다."), std::string::npos);
    EXPECT_EQ(timesIn(folder.path("movie_01.smi")), (std::vector<int>{1000, 2000}));
    EXPECT_EQ(timesIn(folder.path("movie_02.smi")), (std::vector<int>{0, 1000}));
    EXPECT_EQ(timesIn(folder.path("movie_03.smi")), std::vector<int>{0});
}

TEST_F(DocumentCommandsTest, SplitRefusesTimesItCannotUse)
{
    const std::string in = file("movie.smi", {1000, 2000});
    Outcome o = run("split '" + in + "' --at 3000");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("no sync at or after 3000"), std::string::npos);
    o = run("split '" + in + "' --at 0");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("나눈 파일의 저장 결과가 현재 파일의 내용과 동일합니다."),
              std::string::npos);
    o = run("split '" + folder.path("missing.smi") + "' --at 10");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"movie.smi"});
}

TEST_F(DocumentCommandsTest, MergeJoinsTheFilesAndKeepsAnExistingOutputAsBackup)
{
    const std::string a = file("a.smi", {1000});
    const std::string b = file("b.smi", {500});
    const std::string out = file("out.smi", {7});
    const Outcome o = run("merge '" + out + "' '" + a + "' '" + b + "'");
    EXPECT_EQ(o.status, 0) << o.err;
    // The save adds the end sync after the last caption: 500 + 4 letters × 200 ms.
    EXPECT_EQ(timesIn(out), (std::vector<int>{1000, 500, 1300}));
    EXPECT_EQ(timesIn(folder.path("out.BAK")), std::vector<int>{7});
}

TEST_F(DocumentCommandsTest, MergeOfAMissingFileWritesNothing)
{
    const std::string a = file("a.smi", {1000});
    const Outcome o = run("merge '" + folder.path("out.smi") + "' '" + a + "' '" +
                          folder.path("missing.smi") + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("지정하신 파일이 존재하지 않습니다."), std::string::npos);
    EXPECT_FALSE(TempFolder::exists(folder.path("out.smi")));
}

TEST_F(DocumentCommandsTest, RestyleRewritesTheGivenValuesAndDefaultsTheRest)
{
    const std::string a = file("a.smi", {1000});
    const std::string b = file("b.smi", {1000});
    const Outcome o = run("restyle --font-size 20 --margins 1,2,3,4 '" + a + "' '" + b + "'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.err.find("2개 자막 파일의 포맷을 변경하였습니다."), std::string::npos);
    const std::string text = TempFolder::read(a);
    EXPECT_NE(text.find("P { margin-left:3pt; font-size:20pt; }"), std::string::npos);
}

TEST_F(DocumentCommandsTest, RestyleReportsTheFilesThatFailed)
{
    const std::string a = file("a.smi", {1000});
    const Outcome o = run("restyle '" + a + "' '" + folder.path("gone.smi") + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("1개 파일은 문제가 있어 실패하였습니다."), std::string::npos);
    EXPECT_NE(o.err.find("gone.smi"), std::string::npos);
    const std::string before = TempFolder::read(a);
    EXPECT_NE(run("restyle --font-size 99 '" + a + "'").status, 0);
    EXPECT_NE(run("restyle --margins 1,2,3 '" + a + "'").status, 0);
    EXPECT_NE(run("restyle --margins 1,2,3,41 '" + a + "'").status, 0);
    EXPECT_EQ(TempFolder::read(a), before);
}

TEST_F(DocumentCommandsTest, SaveLanguageWritesOneLanguage)
{
    const std::string in = folder.path("two.smi");
    TempFolder::write(in,
                      "<SAMI><HEAD><STYLE><!-- .KRCC { Name:K; } .ENCC { Name:E; } --></STYLE>"
                      "</HEAD><BODY><SYNC Start=1000><P Class=KRCC>korean<P Class=ENCC>english"
                      "</BODY></SAMI>");
    const std::string out = folder.path("en.smi");
    Outcome o = run("save-language '" + in + "' '" + out + "' --language 1");
    EXPECT_EQ(o.status, 0) << o.err;
    const std::string text = TempFolder::read(out);
    EXPECT_NE(text.find("english"), std::string::npos);
    EXPECT_EQ(text.find("korean"), std::string::npos);
    o = run("save-language '" + in + "' '" + folder.path("x.smi") + "' --language 2");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("numbered from 0"), std::string::npos);
    EXPECT_FALSE(TempFolder::exists(folder.path("x.smi")));
}

}  // namespace
}  // namespace verbanta

#endif
