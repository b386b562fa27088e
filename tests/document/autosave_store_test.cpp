// The recovery folder: the manifest format, atomic copies, which left copies are offered
// (damaged and foreign files skipped, live runs left alone) and their removal.
#include "document/autosave_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "document/file_operations.h"
#include "support/faulty_file_operations.h"
#include "support/temp_folder.h"

namespace verbanta {
namespace {

using test::TempFolder;

constexpr const char* kOtherId = "0123456789abcdef";
constexpr const char* kOwnId = "fedcba9876543210";

RecoveryManifest sampleManifest()
{
    RecoveryManifest m;
    m.originalPath = "/films/한 편\\밤\n.smi";
    m.title = "한 편.smi";
    m.savedAt = 1796736000;
    m.encoding = "cp949";
    return m;
}

TEST(RecoveryManifest, RoundTripsPathsWithBackslashesAndLineBreaks)
{
    const RecoveryManifest m = sampleManifest();
    const std::string text = formatManifest(m);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
    EXPECT_EQ(parseManifest(text), m);
}

TEST(RecoveryManifest, DamagedOrForeignTextsAreRefused)
{
    const std::string good = formatManifest(sampleManifest());
    EXPECT_FALSE(parseManifest(""));
    EXPECT_FALSE(parseManifest("<SAMI>\r\n<BODY>"));
    EXPECT_FALSE(parseManifest(good.substr(0, good.find("time="))));  // cut short
    EXPECT_FALSE(parseManifest("Verbanta recovery 2\npath=\ntitle=\ntime=1\nencoding=cp949\n"));
    EXPECT_FALSE(parseManifest("Verbanta recovery 1\npath=\ntitle=\ntime=1x\nencoding=cp949\n"));
    EXPECT_FALSE(parseManifest("Verbanta recovery 1\npath=\ntitle=\ntime=\nencoding=cp949\n"));
    EXPECT_FALSE(parseManifest("Verbanta recovery 1\npath=a\\q\ntitle=\ntime=1\nencoding=x\n"));
    EXPECT_FALSE(parseManifest("Verbanta recovery 1\npath=a\\\ntitle=\ntime=1\nencoding=x\n"));
    EXPECT_FALSE(parseManifest("Verbanta recovery 1\ngarbage\ntitle=\ntime=1\nencoding=x\n"));
    // A key of a later version is ignored.
    EXPECT_TRUE(parseManifest(good + "colour=blue\n"));
}

TEST(RecoveryStore, SessionIdsAreSixteenHexDigitsAndDiffer)
{
    const std::string a = RecoveryStore::newSessionId();
    const std::string b = RecoveryStore::newSessionId();
    EXPECT_TRUE(RecoveryStore::isSessionId(a));
    EXPECT_NE(a, b);
    EXPECT_FALSE(RecoveryStore::isSessionId("0123456789ABCDEF"));
    EXPECT_FALSE(RecoveryStore::isSessionId("../../etc/passwd"));
    EXPECT_FALSE(RecoveryStore::isSessionId("0123456789abcde"));
}

class RecoveryStoreTest : public ::testing::Test {
protected:
    TempFolder temp;
    std::string folder = temp.path("data/recovery");

    /// A copy left by an ended run: written, then the run's store goes.
    void leaveCopy(const std::string& id, const std::string& bytes, std::int64_t savedAt)
    {
        RecoveryStore other(folder, id, systemFileOperations());
        RecoveryManifest m = sampleManifest();
        m.savedAt = savedAt;
        ASSERT_TRUE(other.writeCopy(bytes, m));
    }
};

TEST_F(RecoveryStoreTest, WritesTheCopyAndItsManifestInANewFolderWithNothingLeftOver)
{
    RecoveryStore store(folder, kOwnId, systemFileOperations());
    ASSERT_TRUE(store.writeCopy("first", sampleManifest()));
    ASSERT_TRUE(store.writeCopy("second", sampleManifest()));
    EXPECT_EQ(TempFolder::read(store.copyPathOf(kOwnId)), "second");
    EXPECT_EQ(parseManifest(TempFolder::read(store.manifestPathOf(kOwnId))), sampleManifest());
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"fedcba9876543210.lock",
                                               "fedcba9876543210.manifest",
                                               "fedcba9876543210.smi"}));
    // Unsaved work is the user's alone: owner-only files in an owner-only folder, also when
    // a copy of an older version was readable by others.
    namespace fs = std::filesystem;
    fs::permissions(store.copyPathOf(kOwnId), fs::perms::owner_read | fs::perms::others_read);
    fs::permissions(folder, fs::perms::all);
    ASSERT_TRUE(store.writeCopy("third", sampleManifest()));
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
    for (const std::string& path : {store.copyPathOf(kOwnId), store.manifestPathOf(kOwnId)})
        EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(store.hasOwnCopy());
    EXPECT_TRUE(store.removeOwnCopy());
    EXPECT_FALSE(store.hasOwnCopy());
    EXPECT_TRUE(store.removeOwnCopy());  // nothing there is no failure
}

TEST_F(RecoveryStoreTest, AFailedRenameKeepsThePreviousCopyWholeAndRemovesTheTemporary)
{
    test::FaultyFileOperations files;
    RecoveryStore store(folder, kOwnId, files);
    ASSERT_TRUE(store.writeCopy("whole", sampleManifest()));
    files.fault = [](const std::string& op, const std::string&, const std::string&) {
        return op == "rename" ? EIO : 0;
    };
    EXPECT_FALSE(store.writeCopy("new", sampleManifest()));
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(TempFolder::read(store.copyPathOf(kOwnId)), "whole");
    EXPECT_FALSE(TempFolder::exists(store.copyPathOf(kOwnId) + ".tmp"));
    // The copy reached the disk before it took the copy's name.
    files.fault = nullptr;
    files.log.clear();
    ASSERT_TRUE(store.writeCopy("new", sampleManifest()));
    const std::string tmp = store.copyPathOf(kOwnId) + ".tmp";
    EXPECT_LT(files.indexOf("flushFile " + tmp),
              files.indexOf("rename " + tmp + " -> " + store.copyPathOf(kOwnId)));
    EXPECT_TRUE(files.called("syncDirectory " + folder));
}

TEST_F(RecoveryStoreTest, AStaleTemporaryFromAKilledWriteDoesNotBlockTheNextCopy)
{
    std::filesystem::create_directories(folder);
    RecoveryStore store(folder, kOwnId, systemFileOperations());
    TempFolder::write(store.copyPathOf(kOwnId) + ".tmp", "half");
    ASSERT_TRUE(store.writeCopy("whole", sampleManifest()));
    EXPECT_EQ(TempFolder::read(store.copyPathOf(kOwnId)), "whole");
}

TEST_F(RecoveryStoreTest, AFolderThatCannotBeCreatedFailsTheWrite)
{
    TempFolder::write(temp.path("file"), "x");
    RecoveryStore store(temp.path("file/recovery"), kOwnId, systemFileOperations());
    EXPECT_FALSE(store.writeCopy("x", sampleManifest()));
    EXPECT_TRUE(store.listLeftCopies().empty());
}

TEST_F(RecoveryStoreTest, OffersCopiesOfEndedRunsNewestFirstButNotItsOwnOrALiveRunsCopy)
{
    leaveCopy(kOtherId, "older", 100);
    leaveCopy("00000000000000aa", "newer", 200);
    RecoveryStore store(folder, kOwnId, systemFileOperations());
    ASSERT_TRUE(store.writeCopy("mine", sampleManifest()));

    // A live run holds its lock: its copy is left alone.
    RecoveryStore live(folder, "00000000000000bb", systemFileOperations());
    ASSERT_TRUE(live.writeCopy("running", sampleManifest()));

    const auto entries = store.listLeftCopies();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].id, "00000000000000aa");
    EXPECT_EQ(entries[0].manifest.savedAt, 200);
    EXPECT_EQ(entries[1].id, kOtherId);
    EXPECT_EQ(entries[1].manifest, [] {
        RecoveryManifest m = sampleManifest();
        m.savedAt = 100;
        return m;
    }());
    std::string bytes;
    ASSERT_TRUE(store.readCopy(entries[1], bytes));
    EXPECT_EQ(bytes, "older");
}

TEST_F(RecoveryStoreTest, DamagedAndForeignFilesAreSkipped)
{
    leaveCopy(kOtherId, "good", 100);
    auto put = [&](const std::string& name, const std::string& bytes) {
        TempFolder::write(folder + "/" + name, bytes);
    };
    put("1111111111111111.manifest", "not a manifest at all");
    put("1111111111111111.smi", "<SAMI>");
    put("2222222222222222.manifest", formatManifest(sampleManifest()));  // its copy is gone
    put("NOTANID.manifest", formatManifest(sampleManifest()));
    put("NOTANID.smi", "<SAMI>");
    put("notes.txt", "hello");
    put("3333333333333333.manifest", std::string(RecoveryStore::kMaxManifestBytes + 1, 'x'));
    put("3333333333333333.smi", "<SAMI>");
    RecoveryManifest klingon = sampleManifest();
    klingon.encoding = "klingon-8";
    put("6666666666666666.manifest", formatManifest(klingon));
    put("6666666666666666.smi", "<SAMI>");
    std::filesystem::create_directories(folder + "/4444444444444444.manifest");
    put("5555555555555555.manifest", formatManifest(sampleManifest()));
    std::filesystem::create_directories(folder + "/5555555555555555.smi");

    RecoveryStore store(folder, kOwnId, systemFileOperations());
    const auto entries = store.listLeftCopies();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, kOtherId);
}

TEST_F(RecoveryStoreTest, RemovingAnEntryDeletesItsThreeFilesOnly)
{
    leaveCopy(kOtherId, "gone", 100);
    leaveCopy("00000000000000aa", "kept", 200);
    RecoveryStore store(folder, kOwnId, systemFileOperations());
    auto entries = store.listLeftCopies();
    ASSERT_EQ(entries.size(), 2u);
    ASSERT_EQ(entries[1].id, kOtherId);
    EXPECT_TRUE(TempFolder::exists(store.lockPathOf(kOtherId)));
    EXPECT_TRUE(store.removeEntry(entries[1]));
    for (const std::string& path : {store.copyPathOf(kOtherId), store.manifestPathOf(kOtherId),
                                    store.lockPathOf(kOtherId)})
        EXPECT_FALSE(TempFolder::exists(path)) << path;
    entries = store.listLeftCopies();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, "00000000000000aa");
    // An entry whose id was tampered with names nothing to delete.
    RecoveryEntry forged = entries[0];
    forged.id = "../../victim";
    EXPECT_FALSE(store.removeEntry(forged));
}

TEST_F(RecoveryStoreTest, ARunThatEndsWithoutACopyLeavesNoFiles)
{
    {
        RecoveryStore store(folder, kOwnId, systemFileOperations());
        ASSERT_TRUE(store.writeCopy("x", sampleManifest()));
        ASSERT_TRUE(store.removeOwnCopy());
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

}  // namespace
}  // namespace verbanta
