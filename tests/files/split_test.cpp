// Splitting the open document at its bookmarks into files of their own.
#include "files/split.h"

#include <gtest/gtest.h>

#include "document/file_operations.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/faulty_file_operations.h"
#include "support/recording_messenger.h"
#include "support/temp_folder.h"
#include "../document/document_test_support.h"

namespace verbanta {
namespace {

using test::TempFolder;

class SplitTest : public ::testing::Test {
protected:
    TempFolder folder;
    AppSettings settings;
    test::RecordingMessenger messenger;
    SamiModel model{settings};
    std::string path = folder.path("movie.smi");

    void SetUp() override { ASSERT_TRUE(model.LoadText(test::samiFile({1000, 2000, 5000, 6000}))); }

    void bookmark(int row) { model.FindIndex(row)->entry.bookmarked = 1; }

    std::vector<SplitPart> prepare(const std::string& documentPath = "",
                                   const std::string& lastDirectory = "")
    {
        auto parts = prepareSplitParts(model, documentPath.empty() ? path : documentPath,
                                       lastDirectory, systemFileOperations(), messenger);
        return parts ? *parts : std::vector<SplitPart>{};
    }

    /// The times of the syncs written to a part file, read back.
    std::vector<int> timesIn(const std::string& file)
    {
        SamiModel part(settings);
        EXPECT_TRUE(part.LoadFile(file, true));
        std::vector<int> out;
        part.list().forEach([&](const SyncEntry& e) { out.push_back(e.startMs); });
        return out;
    }
};

TEST_F(SplitTest, WithoutBookmarksNothingIsSplit)
{
    EXPECT_TRUE(prepare().empty());
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text,
              "각각 나눌 자막이 시작되는 위치에 북마크를 설정해 주십시오.");
}

TEST_F(SplitTest, ABookmarkOnlyOnTheFirstSyncWouldGiveTheSameFile)
{
    bookmark(0);
    EXPECT_TRUE(prepare().empty());
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "나눈 파일의 저장 결과가 현재 파일의 내용과 동일합니다.");
}

TEST_F(SplitTest, TheFirstPartBeginsAtTheFirstSyncEvenWithoutABookmark)
{
    bookmark(2);
    const auto parts = prepare();
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].number, 0);
    EXPECT_EQ(parts[0].startMs, 1000);
    EXPECT_EQ(parts[0].path, folder.path("movie_01.smi"));
    EXPECT_EQ(parts[1].number, 1);
    EXPECT_EQ(parts[1].startMs, 5000);
    EXPECT_EQ(parts[1].caption, "c5000");
    EXPECT_EQ(parts[1].path, folder.path("movie_02.smi"));
    EXPECT_EQ(splitCountLabel(parts.size()), "나누기 가능 파일 수: 2개");
    EXPECT_EQ(splitTimeText(parts[1]), "5000");
    EXPECT_EQ(splitFileText(parts[1]), "movie_02.smi");
}

TEST_F(SplitTest, LaterPartsStartAtZeroAndShiftAllTheirSyncsAlike)
{
    bookmark(0);
    bookmark(2);
    const auto parts = prepare();
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(writeSplitParts(model, parts, systemFileOperations(), messenger), 2);
    EXPECT_EQ(timesIn(parts[0].path), (std::vector<int>{1000, 2000}));
    EXPECT_EQ(timesIn(parts[1].path), (std::vector<int>{0, 1000}));
    // The parts end without the automatic end sync a save adds, and the document is untouched.
    EXPECT_EQ(TempFolder::read(parts[1].path).find("Start=2000"), std::string::npos);
    EXPECT_EQ(model.GetCount(), 4);
    EXPECT_EQ(model.GetFirst().startMs, 1000);
}

TEST_F(SplitTest, EachPartHasTheWholeHeaderAndTheFooter)
{
    bookmark(3);
    const auto parts = prepare();
    ASSERT_EQ(writeSplitParts(model, parts, systemFileOperations(), messenger), 2);
    const std::string second = TempFolder::read(parts[1].path);
    EXPECT_EQ(second.rfind("<SAMI>\r\n<HEAD>\r\n<TITLE>t</TITLE>", 0), 0u);
    EXPECT_NE(second.find(".KRCC {"), std::string::npos);
    EXPECT_EQ(second.substr(second.size() - 16), "</BODY>\r\n</SAMI>");
}

TEST_F(SplitTest, AnUntitledDocumentIsNamedAfterTheLastFolderValue)
{
    bookmark(2);
    auto parts = prepareSplitParts(model, "", "/subs/x.smi", systemFileOperations(), messenger);
    ASSERT_TRUE(parts);
    EXPECT_EQ((*parts)[0].path, "/subs/x_01.smi");
    EXPECT_EQ((*parts)[1].path, "/subs/x_02.smi");

    parts = prepareSplitParts(model, "", folder.root(), systemFileOperations(), messenger);
    ASSERT_TRUE(parts);
    EXPECT_EQ((*parts)[0].path, folder.root() + "/제목없음_01.smi");

    parts = prepareSplitParts(model, "", "", systemFileOperations(), messenger);
    ASSERT_TRUE(parts);
    EXPECT_EQ(splitFileText((*parts)[1]), "제목없음_02.smi");
}

TEST_F(SplitTest, APartWithoutAFileNameIsNotWritten)
{
    bookmark(1);
    bookmark(3);
    auto parts = prepare();
    ASSERT_EQ(parts.size(), 3u);
    parts[1].path.clear();
    EXPECT_EQ(writeSplitParts(model, parts, systemFileOperations(), messenger), 2);
    EXPECT_EQ(timesIn(parts[0].path), std::vector<int>{1000});
    EXPECT_EQ(timesIn(parts[2].path), std::vector<int>{0});
    EXPECT_FALSE(TempFolder::exists(folder.path("movie_02.smi")));
}

TEST_F(SplitTest, WithoutAnyFileNameTheDialogStaysOpen)
{
    bookmark(1);
    auto parts = prepare();
    for (SplitPart& part : parts)
        part.path.clear();
    EXPECT_EQ(writeSplitParts(model, parts, systemFileOperations(), messenger), -1);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text,
              "파일명이 입력된 북마크가 없습니다.\n나눈 결과를 저장할 파일명을 입력해 주십시오.");
}

TEST_F(SplitTest, APartThatCannotBeWrittenIsSkippedAndAnExistingFileKept)
{
    bookmark(2);
    auto parts = prepare();
    parts[0].path = folder.path("missing/part.smi");
    TempFolder::write(parts[1].path, "previous");
    test::FaultyFileOperations files;
    files.fault = [&](const std::string& op, const std::string&, const std::string& to) {
        return op == "rename" && to == parts[1].path ? EIO : 0;
    };
    EXPECT_EQ(writeSplitParts(model, parts, files, messenger), 0);
    EXPECT_TRUE(messenger.shown.empty());
    EXPECT_EQ(TempFolder::read(parts[1].path), "previous");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"movie_02.smi"});
}

TEST_F(SplitTest, TheResultMessageCountsTheWrittenParts)
{
    reportSplitResult(2, messenger);
    reportSplitResult(0, messenger);
    ASSERT_EQ(messenger.shown.size(), 2u);
    EXPECT_EQ(messenger.shown[0].text, "총 2개의 자막 파일을 저장하였습니다.");
    EXPECT_EQ(messenger.shown[1].text, "자막 파일을 나눈 결과를 저장하는데 실패하였습니다.");
}

TEST_F(SplitTest, TheDialogsTextsAndPathEdit)
{
    SplitPart part;
    part.isComment = true;
    EXPECT_EQ(splitTimeText(part), "(코멘트)");
    EXPECT_FALSE(setSplitPartPath(part, "", messenger));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "나눈 결과를 저장할 파일명을 입력해 주십시오");
    EXPECT_TRUE(setSplitPartPath(part, "/x/y.smi", messenger));
    EXPECT_EQ(part.path, "/x/y.smi");
}

}  // namespace
}  // namespace verbanta
