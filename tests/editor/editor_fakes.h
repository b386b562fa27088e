#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "editor/caption_editor.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/recording_messenger.h"

namespace verbanta::test {

/// The player view: media state, bookmarks, and a record of what the list asked of it.
class FakePlayer : public PlayerPort {
public:
    bool IsMediaOpen() const override { return mediaOpen; }
    std::int32_t GetPositionMs() const override { return mediaOpen ? positionMs : -1; }
    std::int32_t GetLengthMs() const override { return mediaOpen ? lengthMs : -1; }
    bool SeekTo(std::int32_t ms, bool) override
    {
        seeks.push_back(ms);
        return mediaOpen && ms >= 0;
    }
    void SetReplayRange(std::int32_t startMs, std::int32_t endMs) override
    {
        replayActive = true;
        replayStartMs = startMs;
        replayEndMs = endMs;
    }
    void ClearReplayRange() override
    {
        replayActive = false;
        replayStartMs = replayEndMs = 0;
        ++replayClears;
    }
    void StopRepeat() override { ++repeatStops; }
    void ResyncCursor() override { ++resyncs; }
    int BookmarkCount() const override { return static_cast<int>(bookmarks.size()); }
    std::int32_t BookmarkAt(int i) const override
    {
        return i >= 0 && i < BookmarkCount() ? bookmarks[static_cast<std::size_t>(i)] : -1;
    }
    void SetRangeMarks(std::int32_t startMs, std::int32_t endMs) override
    {
        rangeStartMs = startMs;
        rangeEndMs = endMs;
    }

    bool mediaOpen = false;
    std::int32_t positionMs = 0;
    std::int32_t lengthMs = 0;
    std::vector<std::int32_t> bookmarks;
    std::vector<std::int32_t> seeks;
    bool replayActive = false;
    std::int32_t replayStartMs = 0;
    std::int32_t replayEndMs = 0;
    int replayClears = 0;
    int repeatStops = 0;
    int resyncs = 0;
    std::int32_t rangeStartMs = -1;
    std::int32_t rangeEndMs = -1;
};

class FakeClipboard : public ClipboardPort {
public:
    bool hasText() const override { return content.has_value(); }
    std::optional<std::string> text() const override { return content; }
    bool setText(std::string_view text) override
    {
        if (locked)
            return false;
        content = std::string(text);
        return true;
    }

    std::optional<std::string> content;
    bool locked = false;  ///< another program holds the clipboard open
};

class FakeLauncher : public ProcessLauncher {
public:
    bool launch(const std::string& commandLine) override
    {
        launched.push_back(commandLine);
        return succeeds;
    }
    bool openWithDesktop(const std::string& path) override
    {
        launched.push_back("desktop " + path);
        return succeeds;
    }

    std::vector<std::string> launched;
    bool succeeds = true;
};

class FakeDocument : public EditorDocument {
public:
    void setModified(bool m) override { modified = m; }
    void undoStateChanged() override
    {
        modified = true;
        ++undoStateChanges;
    }
    bool isModified() const override { return modified; }
    bool saveModifiedPrompt() override
    {
        ++prompts;
        return promptResult;
    }
    std::string path() const override { return filePath; }

    bool modified = false;
    int undoStateChanges = 0;
    int prompts = 0;
    bool promptResult = true;
    std::string filePath;
};

/// Records the notifications and mirrors the row count they imply.
class RecordingListener : public CaptionViewListener {
public:
    void rowsInserted(int first, int count) override
    {
        events.push_back("insert " + std::to_string(first) + " " + std::to_string(count));
        rows += count;
    }
    void rowsRemoved(int first, int count) override
    {
        events.push_back("remove " + std::to_string(first) + " " + std::to_string(count));
        rows -= count;
    }
    void rowsChanged(int first, int last) override
    {
        events.push_back("change " + std::to_string(first) + " " + std::to_string(last));
    }
    void marksChanged() override { ++marks; }
    void listReplaced() override
    {
        events.push_back("replace");
        rows = model ? model->GetCount() : -1;  // the view reads the count again
    }
    void currentRowChanged(int row, ScrollHint hint) override
    {
        current = row;
        lastHint = hint;
    }
    void panelChanged() override { ++panels; }
    void languagesChanged() override { ++languages; }
    void focusRequested(FocusTarget target) override { focus = target; }

    const SamiModel* model = nullptr;
    std::vector<std::string> events;
    int rows = 0;  ///< the row count the notifications imply
    int marks = 0;
    int current = -2;
    ScrollHint lastHint = ScrollHint::EnsureVisible;
    int panels = 0;
    int languages = 0;
    FocusTarget focus = FocusTarget::List;
};

/// One row of a test list: a time and a text; "&nbsp;" makes an end sync, "#text" a comment.
struct Row {
    std::int32_t ms;
    std::string text;
};

/// A caption editor on a model with fakes around it.
class EditorTest : public ::testing::Test {
protected:
    EditorTest()
    {
        model.setMessenger(messenger);
        listener.model = &model;
        editor.session().setListener(&listener);
    }

    /// Fills the current list with the rows (no undo), marks it whole as the range and shows
    /// the document as after opening a file.
    void load(const std::vector<Row>& rows);
    std::vector<int> times() const;
    std::vector<std::string> texts() const;
    SyncEntry at(int row) const { return model.GetAt(model.FindIndex(row)); }
    /// The texts of the messages shown, in order.
    std::vector<std::string> messages() const;
    void clearRecords();

    AppSettings settings;
    SamiModel model{settings};
    RecordingMessenger messenger;
    FakePlayer player;
    FakeClipboard clipboard;
    FakeLauncher launcher;
    FakeDocument document;
    RecordingListener listener;
    CaptionEditor editor{model, settings, document, player, clipboard, launcher, messenger};
    // The editor's session and components, as the caption view and the commands reach them.
    EditSession& session = editor.session();
    PanelEditor& panel = editor.panel();
    RowEditing& rows = editor.rows();
    ListSelection& selection = editor.selection();
    TimingTools& timing = editor.timing();
    FindClipboard& findClipboard = editor.findClipboard();
    LanguagesMarks& languages = editor.languages();
    SyncCapture& capture = editor.capture();
    TimingDrag& timingDrag = editor.timingDrag();
};

inline void EditorTest::load(const std::vector<Row>& rows)
{
    model.Reset(true);
    model.ClearUndo();
    for (const Row& r : rows) {
        SyncEntry e;
        model.InitEntry(e);
        e.startMs = r.ms;
        if (!r.text.empty() && r.text[0] == '#') {
            e.isComment = 1;
            e.text = r.text.substr(1);
        } else {
            e.text = r.text;
            e.isEndSync = r.text == "&nbsp;";
        }
        model.AddTail(e, false);
    }
    if (model.GetCount() > 0) {
        model.list()[0].rangeStart = 1;
        if (model.GetCount() > 1)
            model.list()[model.GetCount() - 1].rangeEnd = 1;
    }
    model.CheckOrder();
    editor.documentShown();
    clearRecords();
}

inline std::vector<int> EditorTest::times() const
{
    std::vector<int> out;
    model.list().forEach([&](const SyncEntry& e) { out.push_back(e.startMs); });
    return out;
}

inline std::vector<std::string> EditorTest::texts() const
{
    std::vector<std::string> out;
    model.list().forEach([&](const SyncEntry& e) { out.push_back(e.text); });
    return out;
}

inline std::vector<std::string> EditorTest::messages() const
{
    std::vector<std::string> out;
    for (const auto& m : messenger.shown) out.push_back(m.text);
    return out;
}

inline void EditorTest::clearRecords()
{
    messenger.shown.clear();
    messenger.questions.clear();
    listener.events.clear();
    listener.rows = model.GetCount();
    listener.marks = 0;
    document.modified = false;
}

}  // namespace verbanta::test
