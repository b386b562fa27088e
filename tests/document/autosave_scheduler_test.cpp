// When recovery copies are made: the interval, the modified state, unchanged content, a
// clean document and a failed write, with a clock and a writer the test controls.
#include "document/autosave_scheduler.h"

#include <gtest/gtest.h>

#include <vector>

#include "settings/app_settings.h"
#include "support/recording_messenger.h"

namespace verbanta {
namespace {

class FakeClock : public AutosaveClock {
public:
    std::int64_t now = 1'000'000;
    std::int64_t nowMs() const override { return now; }
};

class FakeWriter : public AutosaveWriter {
public:
    std::vector<std::string> calls;  ///< "write <bytes>" or "remove", in order
    void writeCopy(RecoverySnapshot snapshot) override
    {
        calls.push_back("write " + snapshot.bytes);
    }
    void removeCopy() override { calls.emplace_back("remove"); }
};

class AutosaveSchedulerTest : public ::testing::Test {
protected:
    AppSettings settings;
    FakeClock clock;
    FakeWriter writer;
    test::RecordingMessenger messenger;
    AutosaveScheduler scheduler{settings, clock, writer, messenger};
    std::string content = "v1";
    std::string path = "/films/a.smi";
    int serialised = 0;

    bool tick(bool modified = true)
    {
        return scheduler.tick(modified, [this] {
            ++serialised;
            RecoverySnapshot s;
            s.bytes = content;
            s.manifest.originalPath = path;
            s.manifest.savedAt = clock.now / 1000;
            return s;
        });
    }
    void advanceSeconds(int s) { clock.now += s * 1000; }
};

TEST_F(AutosaveSchedulerTest, WritesOncePerIntervalWhileModified)
{
    EXPECT_EQ(settings.AutoSaveSeconds, 60);
    advanceSeconds(59);
    EXPECT_FALSE(tick());
    advanceSeconds(1);
    EXPECT_TRUE(tick());
    advanceSeconds(30);
    content = "v2";
    EXPECT_FALSE(tick());
    advanceSeconds(30);
    EXPECT_TRUE(tick());
    EXPECT_EQ(writer.calls, (std::vector<std::string>{"write v1", "write v2"}));
    EXPECT_TRUE(scheduler.hasCopy());
}

TEST_F(AutosaveSchedulerTest, NothingIsSerialisedWhileTheDocumentIsClean)
{
    advanceSeconds(600);
    EXPECT_FALSE(tick(false));
    EXPECT_EQ(serialised, 0);
    EXPECT_TRUE(writer.calls.empty());
    // A document modified after a long clean spell is copied at the next tick.
    EXPECT_TRUE(tick(true));
}

TEST_F(AutosaveSchedulerTest, UnchangedContentIsNotWrittenAgainButAMovedDocumentIs)
{
    advanceSeconds(60);
    EXPECT_TRUE(tick());
    advanceSeconds(60);
    EXPECT_FALSE(tick());
    EXPECT_EQ(serialised, 2);
    path = "/films/b.smi";  // saved under another name, then edited back to the same bytes
    advanceSeconds(60);
    EXPECT_TRUE(tick());
    EXPECT_EQ(writer.calls.size(), 2u);
}

TEST_F(AutosaveSchedulerTest, ZeroSecondsTurnsItOffAndTheOptionIsReadAtEveryTick)
{
    settings.AutoSaveSeconds = 0;
    advanceSeconds(3600);
    EXPECT_FALSE(tick());
    settings.AutoSaveSeconds = -5;
    EXPECT_FALSE(tick());
    EXPECT_EQ(serialised, 0);
    settings.AutoSaveSeconds = 5;
    EXPECT_TRUE(tick());
    content = "v2";
    advanceSeconds(4);
    EXPECT_FALSE(tick());
    advanceSeconds(1);
    EXPECT_TRUE(tick());
}

TEST_F(AutosaveSchedulerTest, ACleanDocumentRemovesTheCopyAndStartsTheIntervalAgain)
{
    advanceSeconds(60);
    EXPECT_TRUE(tick());
    advanceSeconds(50);
    scheduler.documentClean();
    EXPECT_FALSE(scheduler.hasCopy());
    EXPECT_EQ(writer.calls.back(), "remove");
    // Modified again right away: the full interval runs from the clean moment, and the
    // same content as before the save is written again, since the old copy is gone.
    advanceSeconds(59);
    EXPECT_FALSE(tick());
    advanceSeconds(1);
    EXPECT_TRUE(tick());
    EXPECT_EQ(writer.calls, (std::vector<std::string>{"write v1", "remove", "write v1"}));
}

TEST_F(AutosaveSchedulerTest, ADocumentFoundCleanLosesItsCopyOnce)
{
    advanceSeconds(60);
    EXPECT_TRUE(tick());
    // Reloaded from disk, or saved from a prompt: nobody said so, but the tick sees it.
    EXPECT_FALSE(tick(false));
    EXPECT_FALSE(tick(false));
    EXPECT_EQ(writer.calls, (std::vector<std::string>{"write v1", "remove"}));
}

TEST_F(AutosaveSchedulerTest, MakeDueWritesAtTheNextTickOnly)
{
    advanceSeconds(1);
    scheduler.makeDue();
    EXPECT_TRUE(tick());
    content = "v2";
    EXPECT_FALSE(tick());
}

TEST_F(AutosaveSchedulerTest, AFailedWriteShowsOneMessageAndTurnsAutosaveOffForTheRun)
{
    advanceSeconds(60);
    EXPECT_TRUE(tick());
    scheduler.writeFailed("/home/u/.local/share/Verbanta/recovery");
    scheduler.writeFailed("/home/u/.local/share/Verbanta/recovery");
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].icon, MessageIcon::Error);
    EXPECT_NE(messenger.shown[0].text.find("\"/home/u/.local/share/Verbanta/recovery\""),
              std::string::npos);
    EXPECT_TRUE(scheduler.disabled());
    content = "v2";
    for (int i = 0; i < 5; ++i) {
        advanceSeconds(60);
        EXPECT_FALSE(tick());
    }
    EXPECT_EQ(writer.calls.size(), 1u);
}

}  // namespace
}  // namespace verbanta
