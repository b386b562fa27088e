#pragma once

#include "commands/command_table.h"

namespace verbanta::app::bindings {

// What each command of the table does and when it is enabled. A null entry is a command that
// nothing handles yet: the dispatcher keeps it disabled everywhere.

// Enabling and check rules.
inline constexpr Command::Rule canRedo = nullptr;
inline constexpr Command::Rule canUndo = nullptr;
bool clipboardHasText(CMainFrame& frame);
inline constexpr Command::Rule documentModified = nullptr;
inline constexpr Command::Rule hasCurrentRow = nullptr;
inline constexpr Command::Rule hasVideoBookmarks = nullptr;
bool isFullScreen(CMainFrame& frame);
inline constexpr Command::Rule mediaControlsShown = nullptr;
inline constexpr Command::Rule mediaOpen = nullptr;
inline constexpr Command::Rule playerControlsShown = nullptr;

// Handlers.
void about(CMainFrame& frame);
inline constexpr Command::Handler addCaptionAfter = nullptr;
inline constexpr Command::Handler addCaptionBefore = nullptr;
inline constexpr Command::Handler addEndSyncAfter = nullptr;
inline constexpr Command::Handler addEndSyncBefore = nullptr;
inline constexpr Command::Handler addLanguageFile = nullptr;
void appExit(CMainFrame& frame);
inline constexpr Command::Handler batchFormat = nullptr;
inline constexpr Command::Handler bookmarksToSyncs = nullptr;
inline constexpr Command::Handler checkAll = nullptr;
inline constexpr Command::Handler checkInvert = nullptr;
inline constexpr Command::Handler checkLanguages = nullptr;
inline constexpr Command::Handler checkNone = nullptr;
inline constexpr Command::Handler clearListBookmarks = nullptr;
inline constexpr Command::Handler clearVideoBookmarks = nullptr;
inline constexpr Command::Handler closeMedia = nullptr;
inline constexpr Command::Handler copy = nullptr;
inline constexpr Command::Handler copySingleSync = nullptr;
inline constexpr Command::Handler cut = nullptr;
inline constexpr Command::Handler cutSingleSync = nullptr;
inline constexpr Command::Handler deleteCaption = nullptr;
inline constexpr Command::Handler deleteChecked = nullptr;
inline constexpr Command::Handler deleteInvalidEndSyncs = nullptr;
inline constexpr Command::Handler exportText = nullptr;
inline constexpr Command::Handler externalEditor = nullptr;
inline constexpr Command::Handler fastForward = nullptr;
inline constexpr Command::Handler fileNew = nullptr;
inline constexpr Command::Handler fileOpen = nullptr;
inline constexpr Command::Handler fileSave = nullptr;
inline constexpr Command::Handler fileSaveAs = nullptr;
inline constexpr Command::Handler find = nullptr;
inline constexpr Command::Handler findSyncErrors = nullptr;
inline constexpr Command::Handler focusEnd = nullptr;
inline constexpr Command::Handler focusStart = nullptr;
inline constexpr Command::Handler focusText = nullptr;
void fullScreen(CMainFrame& frame);
inline constexpr Command::Handler goCaptionAtVideo = nullptr;
inline constexpr Command::Handler goCurrentSync = nullptr;
inline constexpr Command::Handler goNextSync = nullptr;
inline constexpr Command::Handler goPrevSync = nullptr;
inline constexpr Command::Handler goRangeEnd = nullptr;
inline constexpr Command::Handler goRangeStart = nullptr;
void helpContents(CMainFrame& frame);
inline constexpr Command::Handler importOtherFormat = nullptr;
inline constexpr Command::Handler importText = nullptr;
inline constexpr Command::Handler insertEndSync = nullptr;
inline constexpr Command::Handler insertStartSync = nullptr;
inline constexpr Command::Handler joinBelow = nullptr;
inline constexpr Command::Handler languageInfo = nullptr;
inline constexpr Command::Handler languageSetup = nullptr;
inline constexpr Command::Handler listBookmark = nullptr;
inline constexpr Command::Handler mediaControls = nullptr;
inline constexpr Command::Handler mergeFiles = nullptr;
inline constexpr Command::Handler moveDown = nullptr;
inline constexpr Command::Handler moveUp = nullptr;
inline constexpr Command::Handler nextListBookmark = nullptr;
inline constexpr Command::Handler nextVideoBookmark = nullptr;
inline constexpr Command::Handler openMedia = nullptr;
inline constexpr Command::Handler options = nullptr;
inline constexpr Command::Handler pageDownRows = nullptr;
inline constexpr Command::Handler pageUpRows = nullptr;
inline constexpr Command::Handler panelAddMode = nullptr;
inline constexpr Command::Handler panelCancel = nullptr;
inline constexpr Command::Handler panelComment = nullptr;
inline constexpr Command::Handler panelEditMode = nullptr;
inline constexpr Command::Handler panelMoveMode = nullptr;
inline constexpr Command::Handler panelRegister = nullptr;
inline constexpr Command::Handler paste = nullptr;
inline constexpr Command::Handler pasteAtEnd = nullptr;
inline constexpr Command::Handler pasteInsert = nullptr;
inline constexpr Command::Handler playPause = nullptr;
inline constexpr Command::Handler playerControls = nullptr;
inline constexpr Command::Handler positionToEnd = nullptr;
inline constexpr Command::Handler positionToStart = nullptr;
inline constexpr Command::Handler prevListBookmark = nullptr;
inline constexpr Command::Handler prevVideoBookmark = nullptr;
inline constexpr Command::Handler proportionalFit = nullptr;
inline constexpr Command::Handler redo = nullptr;
inline constexpr Command::Handler repeat = nullptr;
inline constexpr Command::Handler repeatToggle = nullptr;
inline constexpr Command::Handler replace = nullptr;
inline constexpr Command::Handler resetEndSyncs = nullptr;
inline constexpr Command::Handler rewind = nullptr;
inline constexpr Command::Handler saveByLanguage = nullptr;
inline constexpr Command::Handler selectNextRow = nullptr;
inline constexpr Command::Handler selectPrevRow = nullptr;
inline constexpr Command::Handler setVideoBookmark = nullptr;
inline constexpr Command::Handler shiftSyncs = nullptr;
inline constexpr Command::Handler simpleSync = nullptr;
inline constexpr Command::Handler singleSync = nullptr;
inline constexpr Command::Handler splitContent = nullptr;
inline constexpr Command::Handler splitFile = nullptr;
inline constexpr Command::Handler syncByBookmarks = nullptr;
inline constexpr Command::Handler syncLanguages = nullptr;
inline constexpr Command::Handler syncReplay = nullptr;
inline constexpr Command::Handler undo = nullptr;
inline constexpr Command::Handler videoBookmarkList = nullptr;
inline constexpr Command::Handler wholeFileFormat = nullptr;

}  // namespace verbanta::app::bindings
