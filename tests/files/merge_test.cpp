// The merge list's rules and the merge itself: marks, title and times.
#include "files/merge.h"

#include <gtest/gtest.h>

#include "document/file_operations.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/recording_messenger.h"
#include "support/temp_folder.h"
#include "../document/document_test_support.h"

namespace verbanta {
namespace {

using test::TempFolder;

class MergeTest : public ::testing::Test {
protected:
    TempFolder folder;
    AppSettings settings;
    test::RecordingMessenger messenger;
    SamiModel model{settings};
    MergeList list;

    void SetUp() override { model.setMessenger(messenger); }

    std::string file(const std::string& name, std::initializer_list<int> times,
                     const std::string& title = "t")
    {
        const std::string path = folder.path(name);
        TempFolder::write(path, test::samiFile(times, title));
        return path;
    }

    struct Marks {
        int startMs;
        int bookmarked;
        int rangeStart;
        int rangeEnd;
        bool operator==(const Marks&) const = default;
    };
    std::vector<Marks> marks() const
    {
        std::vector<Marks> out;
        model.list().forEach([&](const SyncEntry& e) {
            out.push_back({e.startMs, e.bookmarked, e.rangeStart, e.rangeEnd});
        });
        return out;
    }
};

TEST_F(MergeTest, TheListRefusesEmptyAndMissingNamesAndKeepsOneOfEachFile)
{
    EXPECT_FALSE(list.add("", systemFileOperations(), messenger));
    EXPECT_FALSE(list.add(folder.path("missing.smi"), systemFileOperations(), messenger));
    ASSERT_EQ(messenger.shown.size(), 2u);
    EXPECT_EQ(messenger.shown[0].text, "합칠 파일명을 입력해 주십시오.");
    EXPECT_EQ(messenger.shown[1].text, "지정하신 파일이 존재하지 않습니다.");

    const std::string a = file("a.smi", {1});
    const std::string upper = file("A.SMI", {1});
    EXPECT_TRUE(list.add(a, systemFileOperations(), messenger));
    EXPECT_TRUE(list.add(a, systemFileOperations(), messenger));
    EXPECT_TRUE(list.add(upper, systemFileOperations(), messenger));
    EXPECT_EQ(list.paths(), std::vector<std::string>{a});
    EXPECT_EQ(list.countLabel(), "합칠 대상 파일 수: 1개");
    EXPECT_EQ(list.selected(), 0);
}

TEST_F(MergeTest, EditingTheSelectedEntryChecksTheNameButNotForDuplicates)
{
    const std::string a = file("a.smi", {1});
    const std::string b = file("b.smi", {1});
    list.add(a, systemFileOperations(), messenger);
    list.add(b, systemFileOperations(), messenger);
    EXPECT_FALSE(list.replaceSelected("", systemFileOperations(), messenger));
    EXPECT_TRUE(list.replaceSelected(a, systemFileOperations(), messenger));
    EXPECT_EQ(list.paths(), (std::vector<std::string>{a, a}));
}

TEST_F(MergeTest, MovingAndRemovingKeepsTheSelectionOnTheRightEntry)
{
    const std::string a = file("a.smi", {1});
    const std::string b = file("b.smi", {1});
    const std::string c = file("c.smi", {1});
    for (const auto& p : {a, b, c})
        list.add(p, systemFileOperations(), messenger);
    list.select(0);
    list.moveSelectedUp();
    EXPECT_EQ(list.selected(), 0);
    list.moveSelectedDown();
    EXPECT_EQ(list.paths(), (std::vector<std::string>{b, a, c}));
    EXPECT_EQ(list.selected(), 1);
    list.select(2);
    list.moveSelectedDown();
    EXPECT_EQ(list.selected(), 2);
    list.removeSelected();
    EXPECT_EQ(list.selected(), 1);
    list.select(0);
    list.removeSelected();
    EXPECT_EQ(list.paths(), std::vector<std::string>{a});
    EXPECT_EQ(list.selected(), 0);
    list.removeSelected();
    EXPECT_EQ(list.selected(), -1);
    EXPECT_EQ(list.countLabel(), "합칠 대상 파일 수: 0개");
}

TEST_F(MergeTest, AnEmptyListKeepsTheDialogOpen)
{
    EXPECT_EQ(mergeSamiFiles(model, {}, messenger), -1);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "합칠 대상 파일을 설정해 주십시오.");
}

TEST_F(MergeTest, MergingMarksWhereEachFileBeginsAndTheWholeRange)
{
    const std::string a = file("a.smi", {1000, 2000}, "first");
    const std::string b = file("b.smi", {500, 800}, "second");
    const std::string c = file("c.smi", {300}, "third");
    EXPECT_EQ(mergeSamiFiles(model, {a, b, c}, messenger), 3);
    EXPECT_EQ(marks(), (std::vector<Marks>{{1000, 0, 1, 0},
                                           {2000, 0, 0, 0},
                                           {500, 1, 0, 0},
                                           {800, 0, 0, 0},
                                           {300, 1, 0, 1}}));
    EXPECT_EQ(model.title, "first");
}

TEST_F(MergeTest, AFileThatFailsToLoadIsSkippedAndTheNextOneReplacesTheContent)
{
    ASSERT_TRUE(model.LoadText(test::samiFile({9})));  // the previous document
    const std::string b = file("b.smi", {500});
    const std::string c = file("c.smi", {700});
    const std::string missing = folder.path("missing.smi");
    EXPECT_EQ(mergeSamiFiles(model, {missing, b, missing, c}, messenger), 2);
    EXPECT_EQ(messenger.shown.size(), 2u);
    EXPECT_EQ(marks(), (std::vector<Marks>{{500, 0, 1, 0}, {700, 1, 0, 1}}));
    EXPECT_EQ(mergeSamiFiles(model, {missing}, messenger), 0);
    EXPECT_EQ(model.GetCount(), 2);
}

}  // namespace
}  // namespace verbanta
