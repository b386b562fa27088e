// The end-syncs, clean-end-syncs and add-language subcommands, run as a user runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/cp949.h"

#ifdef VERBANTA_CLI_PATH

namespace verbanta {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class EndSyncCommandsTest : public ::testing::Test {
protected:
    fs::path dir;
    AppSettings settings;

    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("verbanta_cli_end_syncs_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    static std::string slurp(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    Outcome run(const std::string& args) const
    {
        const std::string command = std::string("'") + VERBANTA_CLI_PATH + "' " + args + " >'" +
                                    path("stdout") + "' 2>'" + path("stderr") + "'";
        const int raw = std::system(command.c_str());
        Outcome o;
        o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        o.out = slurp(dir / "stdout");
        o.err = slurp(dir / "stderr");
        return o;
    }

    /// A SAMI file with one language; a caption text of "" is an end sync.
    std::string writeSami(const std::string& name, const std::string& cls,
                          const std::vector<std::pair<int, std::string>>& captions) const
    {
        std::string text = "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n." + cls +
                           " { Name:" + cls +
                           "; lang:xx-XX; SAMIType:CC; }\r\n-->\r\n</STYLE>"
                           "\r\n</HEAD>\r\n<BODY>\r\n";
        for (const auto& [ms, caption] : captions)
            text += "<SYNC Start=" + std::to_string(ms) + "><P Class=" + cls + ">" +
                    (caption.empty() ? "&nbsp;" : "\r\n" + caption) + "\r\n";
        text += "</BODY>\r\n</SAMI>";
        std::ofstream(dir / name, std::ios::binary) << text;
        return path(name);
    }

    /// The start times of one language of a written file, end syncs marked with "/".
    std::vector<std::string> times(const std::string& file, int language = 0) const
    {
        SamiModel model(settings);
        std::vector<std::string> out;
        if (!model.LoadFile(file, true) || language >= model.GetLanguageCount())
            return out;
        model.slotList(model.slotOrder[static_cast<std::size_t>(language)])
            .forEach([&](const SyncEntry& e) {
                out.push_back(std::to_string(e.startMs) + (e.isEndSync ? "/" : ""));
            });
        return out;
    }
    using Strings = std::vector<std::string>;
};

TEST_F(EndSyncCommandsTest, EndSyncsByDurationWritesTheResetFile)
{
    const std::string in = writeSami("in.smi", "KRCC", {{1000, "a"}, {1500, ""}, {2500, "b"}});
    const Outcome o = run("end-syncs '" + in + "' '" + path("out.smi") + "' --duration 2000");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "KRCC: 2 end sync change(s)\n");
    EXPECT_EQ(times(path("out.smi")), (Strings{"1000", "2500", "4500/"}));

    // With --only-longer the short end sync stays; the writer still ends the last caption.
    const Outcome longer =
        run("end-syncs '" + in + "' '" + path("out2.smi") + "' --duration 2000 --only-longer");
    EXPECT_EQ(longer.status, 0) << longer.err;
    EXPECT_EQ(longer.out, "KRCC: 0 end sync change(s)\n");
    EXPECT_EQ(times(path("out2.smi")), (Strings{"1000", "1500/", "2500", "2700/"}));
}

TEST_F(EndSyncCommandsTest, EndSyncsPerLetterAndWithinRows)
{
    const std::string in =
        writeSami("in.smi", "KRCC", {{1000, test::cp949("안녕")}, {5000, "abc"}, {9000, "x"}});
    Outcome o = run("end-syncs '" + in + "' '" + path("out.smi") + "' --per-letter 200");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(times(path("out.smi")), (Strings{"1000", "1400/", "5000", "5600/", "9000", "9200/"}));

    o = run("end-syncs '" + in + "' '" + path("rows.smi") +
            "' --per-letter 200 --from-row 1 --to-row 1");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "KRCC: 1 end sync change(s)\n");
    // Row 2 keeps no end sync of its own; the one after it is the writer's.
    EXPECT_EQ(times(path("rows.smi")), (Strings{"1000", "5000", "5600/", "9000", "9200/"}));
}

TEST_F(EndSyncCommandsTest, EndSyncsRefusesBadArgumentsWithStatusOne)
{
    const std::string in = writeSami("in.smi", "KRCC", {{1000, "a"}});
    const std::string out = path("out.smi");
    Outcome o = run("end-syncs '" + in + "' '" + out + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("--duration or --per-letter"), std::string::npos) << o.err;
    o = run("end-syncs '" + in + "' '" + out + "' --duration -5");
    EXPECT_EQ(o.status, 1);
    o = run("end-syncs '" + in + "' '" + out + "' --duration 100 --to-row 7");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("rows 0 to 0"), std::string::npos) << o.err;
    o = run("end-syncs '" + path("missing.smi") + "' '" + out + "' --duration 100");
    EXPECT_EQ(o.status, 1);
    EXPECT_FALSE(o.err.empty());
    EXPECT_FALSE(fs::exists(out));
    // Contradicting options are a usage error.
    o = run("end-syncs '" + in + "' '" + out + "' --per-letter 100 --only-shorter");
    EXPECT_NE(o.status, 0);
}

TEST_F(EndSyncCommandsTest, CleanEndSyncsRemovesOutOfOrderOnes)
{
    const std::string in =
        writeSami("in.smi", "KRCC", {{1000, "a"}, {3000, ""}, {2000, "b"}, {2500, ""}});
    const Outcome o = run("clean-end-syncs '" + in + "' '" + path("out.smi") + "'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "KRCC: 1 end sync(s) removed\n");
    EXPECT_EQ(times(path("out.smi")), (Strings{"1000", "2000", "2500/"}));
}

TEST_F(EndSyncCommandsTest, AddLanguageJoinsTwoFiles)
{
    const std::string korean =
        writeSami("ko.smi", "KRCC", {{1000, test::cp949("안녕")}, {2000, ""}});
    const std::string english = writeSami("en.smi", "ENCC", {{1100, "Hi"}, {2100, ""}});
    const Outcome o =
        run("add-language '" + korean + "' '" + english + "' '" + path("both.smi") + "'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "added .ENCC\n");
    EXPECT_EQ(times(path("both.smi"), 0), (Strings{"1000", "2000/"}));
    EXPECT_EQ(times(path("both.smi"), 1), (Strings{"1100", "2100/"}));

    const Outcome missing =
        run("add-language '" + korean + "' '" + path("none.smi") + "' '" + path("x.smi") + "'");
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(fs::exists(path("x.smi")));
}

}  // namespace
}  // namespace verbanta

#endif  // VERBANTA_CLI_PATH
