// The file watch with real writes in a temporary folder: what is reported, once, and what not.
#include "filewatch/file_watch.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <future>
#include <mutex>
#include <vector>

#include "document/document.h"
#include "document/file_operations.h"
#include "settings/app_settings.h"
#include "support/recording_messenger.h"
#include "support/temp_folder.h"
#include "../document/document_test_support.h"

namespace verbanta {
namespace {

using namespace std::chrono_literals;
using test::TempFolder;

/// Collects the reported ids as the app's queued call would, and lets the test wait for them.
class CollectingListener : public FileWatchListener {
public:
    void fileChanged(int watchId) override
    {
        std::lock_guard lock(m_mutex);
        m_ids.push_back(watchId);
        m_changed.notify_all();
    }
    /// Waits until at least `count` reports arrived or the deadline passed.
    std::vector<int> waitFor(std::size_t count, std::chrono::milliseconds deadline)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, deadline, [&] { return m_ids.size() >= count; });
        return m_ids;
    }
    std::vector<int> ids()
    {
        std::lock_guard lock(m_mutex);
        return m_ids;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<int> m_ids;
};

// Quiet time after which a report that has not come is taken as not coming.
constexpr auto kSettle = 600ms;

class FileWatchTest : public ::testing::Test {
protected:
    TempFolder folder;
    CollectingListener listener;
    FileWatch watch;
    test::RecordingMessenger messenger;
    std::string path = folder.path("movie.smi");

    void SetUp() override { TempFolder::write(path, "first"); }
};

TEST_F(FileWatchTest, AChangeByAnotherWriterIsReportedOnceWithinASecond)
{
    const int id = watch.AddWatch(path, &listener);
    ASSERT_GT(id, 0);
    EXPECT_TRUE(watch.isWorkerRunning());
    TempFolder::write(path, "second, longer");
    EXPECT_EQ(listener.waitFor(1, 1000ms), std::vector<int>{id});
    std::this_thread::sleep_for(kSettle);
    EXPECT_EQ(listener.ids(), std::vector<int>{id});
}

TEST_F(FileWatchTest, AFileRenamedOverTheWatchedOneIsReported)
{
    const int id = watch.AddWatch(path, &listener);
    ASSERT_GT(id, 0);
    const std::string fresh = folder.path("movie.smi.new");
    TempFolder::write(fresh, "first");  // the same size and content, another file
    std::filesystem::rename(test::fsPath(fresh), test::fsPath(path));
    EXPECT_EQ(listener.waitFor(1, 1000ms), std::vector<int>{id});
}

TEST_F(FileWatchTest, AFileInAFolderNamedInHangulIsWatched)
{
    const std::string hangul = folder.path("자막 폴더");
    std::filesystem::create_directory(test::fsPath(hangul));
    const std::string file = hangul + "/영화.smi";
    TempFolder::write(file, "first");
    const int id = watch.AddWatch(file, &listener);
    ASSERT_GT(id, 0);
    TempFolder::write(hangul + "/다른 파일.smi", "not watched");
    TempFolder::write(file, "second, longer");
    EXPECT_EQ(listener.waitFor(1, 1000ms), std::vector<int>{id});
    std::this_thread::sleep_for(kSettle);
    EXPECT_EQ(listener.ids(), std::vector<int>{id});
}

TEST_F(FileWatchTest, AnotherFileInTheFolderIsNotReported)
{
    ASSERT_GT(watch.AddWatch(path, &listener), 0);
    TempFolder::write(folder.path("other.smi"), "x");
    TempFolder::write(folder.path("other.smi"), "longer x");
    std::this_thread::sleep_for(kSettle);
    EXPECT_TRUE(listener.ids().empty());
}

TEST_F(FileWatchTest, AWatchedFolderReportsEveryChangeInIt)
{
    const int id = watch.AddWatch(folder.root() + "/", &listener);
    ASSERT_GT(id, 0);
    TempFolder::write(folder.path("new.smi"), "x");
    EXPECT_EQ(listener.waitFor(1, 1000ms).at(0), id);
}

TEST_F(FileWatchTest, EmptyOrMissingPathsGiveNoWatch)
{
    EXPECT_EQ(watch.AddWatch("", &listener), 0);
    EXPECT_EQ(watch.AddWatch(folder.path("missing.smi"), &listener), 0);
    EXPECT_EQ(watch.AddWatch(folder.path("missing/"), &listener), 0);
    EXPECT_FALSE(watch.isWorkerRunning());
}

TEST_F(FileWatchTest, IdsCountUpAndUnknownIdsAreIgnored)
{
    const int first = watch.AddWatch(path, &listener);
    const int second = watch.AddWatch(path, &listener);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    watch.RemoveWatch(0);
    watch.RemoveWatch(99);
    watch.SetWatchAutoReload(99, nullptr);
    EXPECT_EQ(watch.watchCount(), 2u);
    EXPECT_FALSE(watch.AskReload(99, messenger));
    EXPECT_TRUE(messenger.questions.empty());
}

TEST_F(FileWatchTest, RemovingTheLastWatchStopsTheWorkerAndAddingStartsANewOne)
{
    const int first = watch.AddWatch(path, &listener);
    const int second = watch.AddWatch(path, &listener);
    watch.RemoveWatch(first);
    EXPECT_TRUE(watch.isWorkerRunning());
    watch.RemoveWatch(second);
    EXPECT_FALSE(watch.isWorkerRunning());
    const int third = watch.AddWatch(path, &listener);
    EXPECT_EQ(third, 3);
    TempFolder::write(path, "changed again");
    EXPECT_EQ(listener.waitFor(1, 1000ms), std::vector<int>{third});
}

TEST_F(FileWatchTest, StoppingTheWorkerReturnsPromptlyAndForgetsTheWatches)
{
    ASSERT_GT(watch.AddWatch(path, &listener), 0);
    auto stopped = std::async(std::launch::async, [&] { watch.StopFileWatchThread(); });
    ASSERT_EQ(stopped.wait_for(1s), std::future_status::ready);
    EXPECT_FALSE(watch.isWorkerRunning());
    EXPECT_EQ(watch.watchCount(), 0u);
    TempFolder::write(path, "after the stop");
    std::this_thread::sleep_for(kSettle);
    EXPECT_TRUE(listener.ids().empty());
}

TEST_F(FileWatchTest, TheAutoReloadFlagAnswersWithoutAsking)
{
    const int id = watch.AddWatch(path, &listener);
    bool autoLoad = true;
    watch.SetWatchAutoReload(id, &autoLoad);
    EXPECT_TRUE(watch.AskReload(id, messenger));
    EXPECT_TRUE(messenger.questions.empty());

    autoLoad = false;
    messenger.answers = {Answer::Yes, Answer::No};
    EXPECT_TRUE(watch.AskReload(id, messenger));
    EXPECT_FALSE(watch.AskReload(id, messenger));
    ASSERT_EQ(messenger.questions.size(), 2u);
    EXPECT_EQ(messenger.questions[0],
              "현재 열린 파일이 다른 프로그램에서 수정되었습니다.\n\n"
              "자막 파일을 다시 읽어들이겠습니까?");
}

/// A document watched as the app watches it: the listener stands for the queued call.
class WatchedDocumentTest : public FileWatchTest {
protected:
    AppSettings settings;
    test::RecordingViews views;
    Document doc{settings, messenger, systemFileOperations(), &watch};

    void SetUp() override
    {
        TempFolder::write(path, test::samiFile({1000, 2000}));
        doc.setViews(&views);
        doc.setWatchListener(&listener);
        ASSERT_TRUE(doc.openDocument(path));
        ASSERT_GT(doc.watchId(), 0);
    }
};

TEST_F(WatchedDocumentTest, TheDocumentsOwnSaveIsNeverReported)
{
    doc.setModifiedFlag(true);
    ASSERT_TRUE(doc.saveDocument(path));
    ASSERT_TRUE(doc.saveLanguage(path, 0));
    std::this_thread::sleep_for(kSettle);
    EXPECT_TRUE(listener.ids().empty());
    EXPECT_GT(doc.watchId(), 0);

    // The watch is alive: another writer's change still arrives.
    TempFolder::write(path, test::samiFile({1, 2, 3}));
    EXPECT_EQ(listener.waitFor(1, 1000ms), std::vector<int>{doc.watchId()});
}

TEST_F(WatchedDocumentTest, AnOutsideChangeAnsweredYesReloadsTheDocument)
{
    doc.setModifiedFlag(true);
    TempFolder::write(path, test::samiFile({10, 20, 30}));
    const auto ids = listener.waitFor(1, 1000ms);
    ASSERT_EQ(ids.size(), 1u);
    messenger.answers = {Answer::Yes};
    const int stops = views.stops;
    doc.onFileWatchNotify(ids[0]);
    // Unsaved changes: the question says they will be lost, and Enter would answer No.
    EXPECT_EQ(messenger.defaultNoQuestions,
              std::vector<std::string>{"현재 열린 파일이 다른 프로그램에서 수정되었습니다.\n\n"
                                       "다시 읽어들이면 저장하지 않은 변경 내용이 모두 "
                                       "사라집니다.\n자막 파일을 다시 읽어들이겠습니까?"});
    EXPECT_EQ(doc.model().GetCount(), 3);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(views.stops, stops + 1);
    EXPECT_EQ(views.rebuilds, 1);
    EXPECT_EQ(views.captionRefreshes, 1);
}

TEST_F(WatchedDocumentTest, AnsweredNoKeepsTheDocumentButRebuildsTheList)
{
    TempFolder::write(path, test::samiFile({10, 20, 30}));
    const auto ids = listener.waitFor(1, 1000ms);
    ASSERT_EQ(ids.size(), 1u);
    messenger.answers = {Answer::No};
    doc.onFileWatchNotify(ids[0]);
    EXPECT_EQ(doc.model().GetCount(), 2);
    EXPECT_EQ(views.rebuilds, 1);
}

TEST_F(WatchedDocumentTest, WithAutoLoadFileOnlyAnUnmodifiedDocumentIsReadWithoutAQuestion)
{
    settings.AutoLoadFile = true;
    TempFolder::write(path, test::samiFile({10, 20, 30}));
    auto ids = listener.waitFor(1, 1000ms);
    ASSERT_EQ(ids.size(), 1u);
    doc.onFileWatchNotify(ids[0]);
    EXPECT_TRUE(messenger.questions.empty());
    EXPECT_EQ(doc.model().GetCount(), 3);

    // Unsaved work is asked about all the same, and the default answer keeps it.
    doc.setModifiedFlag(true);
    TempFolder::write(path, test::samiFile({1}));
    ids = listener.waitFor(2, 1000ms);
    ASSERT_EQ(ids.size(), 2u);
    doc.onFileWatchNotify(ids[1]);
    EXPECT_EQ(messenger.defaultNoQuestions.size(), 1u);
    EXPECT_EQ(doc.model().GetCount(), 3);
    EXPECT_TRUE(doc.isModified());
}

TEST_F(WatchedDocumentTest, AFileDeletedOrRenamedAwayIsSaidOnceAndTheNextSaveWritesItAgain)
{
    std::filesystem::rename(path, folder.path("elsewhere.smi"));
    const auto ids = listener.waitFor(1, 1000ms);
    ASSERT_EQ(ids.size(), 1u);
    doc.onFileWatchNotify(ids[0]);
    doc.onFileWatchNotify(ids[0]);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text,
              path +
                  "\n현재 열린 파일이 삭제되었거나 다른 이름으로 바뀌었습니다.\n"
                  "편집 중인 내용은 그대로 있으며, 저장하면 이 이름으로 다시 기록합니다.");
    EXPECT_EQ(views.statuses.size(), 1u);
    EXPECT_TRUE(messenger.questions.empty());
    // The content now lives only in the window: it can be saved, and is, under its name.
    EXPECT_TRUE(doc.isModified());
    ASSERT_TRUE(doc.fileSave());
    EXPECT_TRUE(views.saveAsSuggestions.empty());
    EXPECT_NE(TempFolder::read(path).find("c2000"), std::string::npos);
}

/// A messenger whose question lets another notice in, as the message loop of a modal box does.
class ReenteringMessenger : public test::RecordingMessenger {
public:
    Document* doc = nullptr;
    int id = 0;
    bool askYesNo(std::string_view text) override
    {
        doc->onFileWatchNotify(id);
        return RecordingMessenger::askYesNo(text);
    }
};

TEST_F(WatchedDocumentTest, ANoticeWhileTheQuestionShowsIsDropped)
{
    ReenteringMessenger asking;
    Document other(settings, asking, systemFileOperations(), &watch);
    other.setViews(&views);
    ASSERT_TRUE(other.openDocument(path));
    asking.doc = &other;
    asking.id = other.watchId();
    other.onFileWatchNotify(other.watchId());
    EXPECT_EQ(asking.questions.size(), 1u);
}

TEST_F(WatchedDocumentTest, NoFileWatchAndUntitledDocumentsAreNotWatched)
{
    settings.NoFileWatch = true;
    doc.StopFileWatch();
    doc.StartFileWatch();
    EXPECT_EQ(doc.watchId(), 0);
    settings.NoFileWatch = false;
    doc.StartFileWatch();
    EXPECT_GT(doc.watchId(), 0);
    doc.newDocument();
    EXPECT_EQ(doc.watchId(), 0);
    EXPECT_EQ(watch.watchCount(), 0u);
}

}  // namespace
}  // namespace verbanta
