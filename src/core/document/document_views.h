#pragma once

#include <optional>
#include <string>

namespace verbanta {

/// What the document needs from the windows around it: the player view, the caption list, the
/// frame's title, the recent-file list and the save-as dialog. The app implements it; tests
/// record the calls.
class DocumentViews {
public:
    virtual ~DocumentViews() = default;

    /// Whether a player view exists.
    virtual bool hasPlayerView() const = 0;
    /// Stops the open media, if any, and sets its position to 0.
    virtual void stopPlayerAndRewind() = 0;
    /// Forgets what the player keeps per file (video bookmarks, replay range).
    virtual void clearPlayerFileState() = 0;
    /// Opens the video found beside the subtitle file in the player.
    virtual void openCompanionVideo(const std::string& path) = 0;
    /// Rebuilds the caption list from the model.
    virtual void rebuildList() = 0;
    /// Re-evaluates the caption shown under the video.
    virtual void refreshPlayerCaption() = 0;
    /// Shows the document's title (UTF-8) in the frame.
    virtual void refreshTitle(const std::string& title) = 0;
    /// Puts a path at the top of the recent-file list.
    virtual void addToRecentFiles(const std::string& path) = 0;
    /// Asks for a file name with the save-as dialog (filter "SAMI 자막 파일 (*.smi)", default
    /// extension ".smi"); nothing when the user cancels.
    virtual std::optional<std::string> askSaveAsPath(const std::string& suggestedName) = 0;
    /// Shows a passing note (UTF-8) in the status bar.
    virtual void showStatus(const std::string& text) { (void)text; }
};

}  // namespace verbanta
