#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace verbanta {

// What the caption editor needs from outside the core: the player view, the clipboard, the
// process launcher, the document and the view that shows the list. The app implements them
// with Qt, tests with fakes. Messages go through the platform's `Messenger`.

/// The player view as the caption list uses it; names as the player offers them.
class PlayerPort {
public:
    virtual ~PlayerPort() = default;
    virtual bool IsMediaOpen() const = 0;
    /// The playback position in ms, or -1 when no media is open.
    virtual std::int32_t GetPositionMs() const = 0;
    /// The length of the clip in ms, or -1 when no media is open.
    virtual std::int32_t GetLengthMs() const = 0;
    /// Seeks; false when no media is open or the time lies outside the clip.
    virtual bool SeekTo(std::int32_t ms, bool fromList) = 0;
    virtual void SetReplayRange(std::int32_t startMs, std::int32_t endMs) = 0;
    virtual void ClearReplayRange() = 0;
    /// Ends a repetition in progress (the repeat toggle and its timer).
    virtual void StopRepeat() = 0;
    /// Re-evaluates the caption shown at the current position after a change of the list.
    virtual void ResyncCursor() = 0;
    /// The video bookmarks, in the order they were added.
    virtual int BookmarkCount() const = 0;
    virtual std::int32_t BookmarkAt(int index) const = 0;
    /// The times of the list's range-start and range-end rows for the bookmark bar, -1 unset.
    virtual void SetRangeMarks(std::int32_t startMs, std::int32_t endMs) = 0;
};

/// The system clipboard as text in the system's code page (CP949 bytes).
class ClipboardPort {
public:
    virtual ~ClipboardPort() = default;
    virtual bool hasText() const = 0;
    /// The text, or nothing when the clipboard holds no text or cannot be opened.
    virtual std::optional<std::string> text() const = 0;
    /// Puts the text on the clipboard; false when the clipboard cannot be opened.
    virtual bool setText(std::string_view text) = 0;
};

/// Starts an outside program without waiting for it.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    /// Starts the command line (UTF-8); false when it cannot be started.
    virtual bool launch(const std::string& commandLine) = 0;
    /// Opens the file (UTF-8 path) with the desktop's program for its type; false on failure.
    virtual bool openWithDesktop(const std::string& path) = 0;
};

/// The document as the caption list uses it.
class EditorDocument {
public:
    virtual ~EditorDocument() = default;
    /// A change the undo journal did not record (true), or a clean document (false).
    virtual void setModified(bool modified) = 0;
    /// After a recorded change, an undo or a redo: modified unless back at the saved state.
    virtual void undoStateChanged() = 0;
    virtual bool isModified() const = 0;
    /// The standard save-modified prompt; false when the user cancelled or saving failed.
    virtual bool saveModifiedPrompt() = 0;
    /// The full path of the file (UTF-8), empty for a document that was never saved.
    virtual std::string path() const = 0;
};

/// How a newly selected row is brought into view.
enum class ScrollHint {
    EnsureVisible,  ///< scroll as little as needed
    TopIfHidden,    ///< when it is off-screen, make it the top row
};

/// The controls of the caption view that can receive the keyboard focus.
enum class FocusTarget { List = 0, StartField = 1, EndField = 2, TextField = 3 };

/// What the caption view is told about changes, precisely, so that it repaints only what
/// changed. Rows are in the coordinates that hold after the earlier notifications of the
/// same change; after the last one the row count is the model's.
class CaptionViewListener {
public:
    virtual ~CaptionViewListener() = default;
    virtual void rowsInserted(int first, int count) = 0;
    virtual void rowsRemoved(int first, int count) = 0;
    /// Text, time or marks of the rows first..last changed.
    virtual void rowsChanged(int first, int last) = 0;
    /// The row notifications of one change are all told: the list and the rows agree again.
    virtual void changeDelivered() {}
    /// The per-row marks (timing errors, range, replay) may have changed on any row: repaint
    /// the visible rows and the marker strip; contents and row count are unchanged.
    virtual void marksChanged() = 0;
    /// The whole list was replaced: a document was shown, another language chosen, or a bulk
    /// change touched too many places to list.
    virtual void listReplaced() = 0;
    virtual void currentRowChanged(int row, ScrollHint hint) = 0;
    /// The edit panel's view-model changed.
    virtual void panelChanged() = 0;
    /// The languages changed: rebuild the tabs.
    virtual void languagesChanged() = 0;
    virtual void focusRequested(FocusTarget target) = 0;
};

}  // namespace verbanta
