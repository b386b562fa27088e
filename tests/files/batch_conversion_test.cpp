// Batch format conversion: the in-place edit of one property, one file, and a run of files.
#include "files/batch_conversion.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "settings/app_settings.h"
#include "support/cp949.h"
#include "support/faulty_file_operations.h"
#include "support/recording_messenger.h"
#include "support/temp_folder.h"

namespace verbanta {
namespace {

using test::TempFolder;

constexpr const char* kStyle =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    "P { margin-left:8pt; margin-right:8pt; margin-bottom:2pt;\r\n"
    "    margin-top:2pt; font-size: 12pt; text-align:center;\r\n"
    "    font-family:Gulim, Arial; font-weight:normal; color:white;\r\n"
    "    background-color:black; }\r\n"
    ".KRCC { Name:Korean; lang:ko-KR; SAMIType:CC; font-size:9pt; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n<SYNC Start=1000><P Class=KRCC>\r\nhello\r\n"
    "</BODY>\r\n</SAMI>";

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

TEST(ReplacePropertyValue, ReplacesTheValueDirectlyAfterTheOpener)
{
    std::string image = "P { font-size: 12pt; }\r\n.X { font-size:9pt; }\r\n";
    EXPECT_TRUE(ReplacePropertyValue(image, "font-size", ':', ';', "20pt"));
    EXPECT_EQ(image, "P { font-size:20pt; }\r\n.X { font-size:9pt; }\r\n");
}

TEST(ReplacePropertyValue, AMissingNameLeavesTheImageAndSucceeds)
{
    std::string image = "P { font-size:12pt; }\n";
    EXPECT_TRUE(ReplacePropertyValue(image, "margin-left", ':', ';', "8pt"));
    EXPECT_EQ(image, "P { font-size:12pt; }\n");
}

TEST(ReplacePropertyValue, TheCloserMustBeOnTheSameLine)
{
    std::string image = "P { font-size:12pt\n; }\n";
    EXPECT_FALSE(ReplacePropertyValue(image, "font-size", ':', ';', "20pt"));
    EXPECT_EQ(image, "P { font-size:12pt\n; }\n");
}

TEST(ReplacePropertyValue, WithoutAnOpenerTheLineIsLeftAsItIs)
{
    std::string image = "P { font-size 12pt; color:red; }\n";
    EXPECT_FALSE(ReplacePropertyValue(image, "font-size", ':', ';', "20pt"));
    EXPECT_EQ(image, "P { font-size 12pt; color:red; }\n");
}

TEST(ReplacePropertyValue, TheLastOpenerBeforeTheCloserCounts)
{
    std::string image = "a { x:1:2; }";
    EXPECT_TRUE(ReplacePropertyValue(image, "x", ':', ';', "9"));
    EXPECT_EQ(image, "a { x:1:9; }");
}

TEST(ReplacePropertyValue, StandardRemovesWhatFollowsTheLastSemicolon)
{
    std::string image = "#standard { Name:x; junk }\r\n";
    EXPECT_TRUE(ReplacePropertyValue(image, "standard", ';', '}', ""));
    EXPECT_EQ(image, "#standard { Name:x;}\r\n");
}

TEST(ReplacePropertyValue, TheFirstOccurrenceWinsEvenInsideALongerName)
{
    std::string image = "P { background-color:black; color:white; }";
    EXPECT_TRUE(ReplacePropertyValue(image, "color", ':', ';', "red"));
    EXPECT_EQ(image, "P { background-color:red; color:white; }");
}

class BatchConversionTest : public ::testing::Test {
protected:
    TempFolder folder;
    AppSettings settings;
    test::RecordingMessenger messenger;
    std::vector<std::string> statuses;

    std::string file(const std::string& name, const std::string& bytes = kStyle)
    {
        const std::string path = folder.path(name);
        TempFolder::write(path, bytes);
        return path;
    }
    BatchResult run(const std::vector<std::string>& paths, FileOperations& files)
    {
        return runBatchConversion(paths, settings, files, messenger,
                                  [&](int, int, const std::string& s) { statuses.push_back(s); });
    }
};

TEST_F(BatchConversionTest, OnlyTheListedValuesChange)
{
    settings.FontSize = 20;
    settings.FontColor = "yellow";
    settings.FontWeight = "bold";
    settings.FontAlign = "left";
    settings.FontName1 = "굴림";
    settings.FontName2 = "Arial";
    settings.TopMargin = 1;
    settings.BottomMargin = 3;
    settings.LeftMargin = 5;
    settings.RightMargin = 7;
    const std::string path = file("a.smi");
    ASSERT_TRUE(ConvertStyleFile(path, ConversionOptions::fromSettings(settings),
                                 systemFileOperations()));
    std::string expected = kStyle;
    expected = replaced(expected, "margin-left:8pt", "margin-left:5pt");
    expected = replaced(expected, "margin-right:8pt", "margin-right:7pt");
    expected = replaced(expected, "margin-bottom:2pt", "margin-bottom:3pt");
    expected = replaced(expected, "margin-top:2pt", "margin-top:1pt");
    expected = replaced(expected, "font-size: 12pt", "font-size:20pt");
    expected = replaced(expected, "text-align:center", "text-align:left");
    expected = replaced(expected, "font-family:Gulim, Arial",
                        "font-family:" + test::cp949("굴림") + ", Arial");
    expected = replaced(expected, "font-weight:normal", "font-weight:bold");
    expected = replaced(expected, "color:white", "color:yellow");
    EXPECT_EQ(TempFolder::read(path), expected);
}

TEST_F(BatchConversionTest, AFileWithoutAPropertyKeepsItsBytesAndIsConverted)
{
    const std::string bytes = "<SAMI><STYLE><!-- P { font-size:12pt; } --></STYLE></SAMI>\n";
    const std::string path = file("a.smi", bytes);
    const BatchResult result = run({path}, systemFileOperations());
    EXPECT_EQ(result.converted, 1);
    EXPECT_EQ(TempFolder::read(path), replaced(bytes, "12pt", "14pt"));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"a.smi"});
}

TEST_F(BatchConversionTest, AReadOnlyFileIsConvertedAndLeftWritable)
{
    const std::string path = file("a.smi");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(run({path}, systemFileOperations()).converted, 1);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_NE(st.st_mode & S_IWUSR, 0u);
    EXPECT_NE(TempFolder::read(path).find("font-size:14pt"), std::string::npos);
}

TEST_F(BatchConversionTest, ALockedFileFailsAndIsNamedInTheMessage)
{
    const std::string a = file("a.smi");
    const std::string locked = file("locked.smi");
    const std::string c = file("c.smi");
    const int fd = ::open(locked.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    const BatchResult result = run({a, locked, c}, systemFileOperations());
    ::close(fd);
    EXPECT_EQ(result.converted, 2);
    EXPECT_EQ(result.failed, 1);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text,
              "2개 자막 파일의 포맷을 변경하였습니다.\n\n1개 파일은 문제가 있어 실패하였습니다.\n"
              "locked.smi");
    EXPECT_EQ(TempFolder::read(locked), kStyle);
    EXPECT_EQ(statuses, (std::vector<std::string>{"33% 완료", "66% 완료", "100% 완료"}));
}

TEST_F(BatchConversionTest, MissingFilesAndFoldersFailWithTheirNames)
{
    const std::string sub = folder.path("sub.smi");
    std::filesystem::create_directory(sub);
    const BatchResult result = run({folder.path("missing.smi"), sub}, systemFileOperations());
    EXPECT_EQ(result.converted, 0);
    EXPECT_EQ(result.failed, 2);
    EXPECT_EQ(result.failedNames[0], "missing.smi");
    EXPECT_EQ(result.failedNames[1], "sub.smi");
    EXPECT_EQ(batchResultMessage(result).rfind("0개 자막 파일의 포맷을 변경하였습니다.\n\n", 0),
              0u);
}

TEST_F(BatchConversionTest, AnUnreadableFileFailsAndKeepsItsContent)
{
    if (test::runningAsRoot())
        GTEST_SKIP() << "running as root: every file is readable";
    const std::string path = file("unreadable.smi");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    const BatchResult result = run({path}, systemFileOperations());
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    EXPECT_EQ(result.failedNames, std::vector<std::string>{"unreadable.smi"});
    EXPECT_EQ(TempFolder::read(path), kStyle);
}

TEST_F(BatchConversionTest, AFileInAFolderThatCannotBeWrittenFailsAndKeepsItsContent)
{
    if (test::runningAsRoot())
        GTEST_SKIP() << "running as root: every folder is writable";
    const std::string sub = folder.path("locked");
    std::filesystem::create_directory(sub);
    const std::string path = sub + "/a.smi";
    TempFolder::write(path, kStyle);
    ASSERT_EQ(::chmod(sub.c_str(), 0555), 0);
    const BatchResult result = run({path}, systemFileOperations());
    ASSERT_EQ(::chmod(sub.c_str(), 0755), 0);
    EXPECT_EQ(result.failed, 1);
    EXPECT_EQ(TempFolder::read(path), kStyle);
}

TEST_F(BatchConversionTest, TheOldContentStaysWhenTheNewOneCannotBeWritten)
{
    const std::string path = file("a.smi");
    test::FaultyFileOperations files;
    for (const char* op : {"writeFile", "rename"}) {
        SCOPED_TRACE(op);
        files.fault = [&](const std::string& o, const std::string&, const std::string&) {
            return o == op ? ENOSPC : 0;
        };
        EXPECT_FALSE(ConvertStyleFile(path, ConversionOptions::fromSettings(settings), files));
        EXPECT_EQ(TempFolder::read(path), kStyle);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"a.smi"});
    }
}

TEST_F(BatchConversionTest, TheNewContentIsOnDiskBeforeItTakesTheName)
{
    const std::string path = file("a.smi");
    test::FaultyFileOperations files;
    ASSERT_TRUE(ConvertStyleFile(path, ConversionOptions::fromSettings(settings), files));
    const int written = files.indexOf("flushFile " + folder.path("~Pel000.TMP"));
    const int renamed = files.indexOf("rename " + folder.path("~Pel000.TMP") + " -> " + path);
    ASSERT_GE(written, 0);
    EXPECT_LT(written, renamed);
    EXPECT_GT(files.indexOf("syncDirectory " + folder.root() + "/"), renamed);
}

TEST_F(BatchConversionTest, AllConvertedGivesTheShortMessage)
{
    const BatchResult result = run({file("a.smi"), file("b.smi")}, systemFileOperations());
    EXPECT_EQ(result.converted, 2);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "2개 자막 파일의 포맷을 변경하였습니다.");
    EXPECT_EQ(messenger.shown[0].icon, MessageIcon::Information);
}

}  // namespace
}  // namespace verbanta
