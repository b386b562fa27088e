// The video beside a subtitle file: the extensions in their order, then a differently-cased
// extension on a case-sensitive file system.
#include "document/companion_video.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "document/document.h"
#include "document/file_operations.h"
#include "settings/app_settings.h"
#include "support/recording_messenger.h"
#include "support/temp_folder.h"
#include "document_test_support.h"

namespace verbanta {
namespace {

using test::TempFolder;

class CompanionVideoTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string subtitle = folder.path("a.smi");

    void touch(const std::string& name) { TempFolder::write(folder.path(name), "v"); }
    std::optional<std::string> find()
    {
        return findCompanionVideo(subtitle, systemFileOperations());
    }
};

TEST_F(CompanionVideoTest, TheListKeepsTheClassicOrderAndEndsWithTodaysContainers)
{
    EXPECT_EQ(kCompanionVideoExtensions[0], ".mpg");
    EXPECT_EQ(kCompanionVideoExtensions[2], ".avi");
    EXPECT_EQ(kCompanionVideoExtensions[18], ".vob");
    EXPECT_EQ(kCompanionVideoExtensions[19], ".mp4");
    EXPECT_EQ(kCompanionVideoExtensions[24], ".ts");
}

TEST_F(CompanionVideoTest, TheEarlierExtensionWins)
{
    touch("a.avi");
    touch("a.mpg");
    touch("a.mp4");
    EXPECT_EQ(find(), folder.path("a.mpg"));
}

TEST_F(CompanionVideoTest, TodaysContainersAreFound)
{
    touch("a.mkv");
    touch("a.webm");
    EXPECT_EQ(find(), folder.path("a.mkv"));
}

TEST_F(CompanionVideoTest, ADifferentlyCasedExtensionIsFoundAfterTheExactNames)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows file names ignore case: a.AVI and a.avi name one file there";
#endif
    touch("a.AVI");
    EXPECT_EQ(find(), folder.path("a.AVI"));
    touch("a.mp4");
    EXPECT_EQ(find(), folder.path("a.mp4"));
}

TEST_F(CompanionVideoTest, OtherBaseNamesFoldersAndMissingVideosGiveNothing)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows file names ignore case: a.AVI and a.avi name one file there";
#endif
    touch("b.avi");
    touch("A.avi");
    touch("a.txt");
    std::filesystem::create_directory(folder.path("a.mpg"));
    EXPECT_EQ(find(), std::nullopt);
}

TEST_F(CompanionVideoTest, OpeningASubtitleOpensItsVideoInThePlayer)
{
    AppSettings settings;
    test::RecordingMessenger messenger;
    test::RecordingViews views;
    Document doc(settings, messenger, systemFileOperations());
    doc.setViews(&views);
    TempFolder::write(subtitle, test::samiFile({1000}));
    touch("a.avi");
    ASSERT_TRUE(doc.openDocument(subtitle));
    EXPECT_EQ(views.videos, std::vector<std::string>{folder.path("a.avi")});

    views.player = false;
    views.videos.clear();
    ASSERT_TRUE(doc.openDocument(subtitle));
    EXPECT_TRUE(views.videos.empty());
}

}  // namespace
}  // namespace verbanta
