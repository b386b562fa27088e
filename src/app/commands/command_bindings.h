#pragma once

#include "commands/command_table.h"

namespace verbanta::app::bindings {

// What each command of the table does and when it is enabled. A null handler is a command that
// nothing handles yet (its dialog or the player is still to come): the dispatcher keeps it
// disabled everywhere. A null rule of a wired command means "always enabled".

// Enabling and check rules.
bool canRedo(CMainFrame& frame);
bool canUndo(CMainFrame& frame);
bool clipboardHasText(CMainFrame& frame);
bool documentModified(CMainFrame& frame);
bool hasCurrentRow(CMainFrame& frame);
bool hasVideoBookmarks(CMainFrame& frame);
bool isFullScreen(CMainFrame& frame);
inline constexpr Command::Rule mediaControlsShown = nullptr;
bool mediaOpen(CMainFrame& frame);
inline constexpr Command::Rule playerControlsShown = nullptr;

// Handlers.
void about(CMainFrame& frame);
void addCaptionAfter(CMainFrame& frame);
void addCaptionBefore(CMainFrame& frame);
void addEndSyncAfter(CMainFrame& frame);
void addEndSyncBefore(CMainFrame& frame);
inline constexpr Command::Handler addLanguageFile = nullptr;
void appExit(CMainFrame& frame);
inline constexpr Command::Handler batchFormat = nullptr;
void bookmarksToSyncs(CMainFrame& frame);
void checkAll(CMainFrame& frame);
void checkInvert(CMainFrame& frame);
inline constexpr Command::Handler checkLanguages = nullptr;
void checkNone(CMainFrame& frame);
void clearListBookmarks(CMainFrame& frame);
inline constexpr Command::Handler clearVideoBookmarks = nullptr;
inline constexpr Command::Handler closeMedia = nullptr;
void copy(CMainFrame& frame);
void copySingleSync(CMainFrame& frame);
void cut(CMainFrame& frame);
void cutSingleSync(CMainFrame& frame);
void deleteCaption(CMainFrame& frame);
void deleteChecked(CMainFrame& frame);
void deleteInvalidEndSyncs(CMainFrame& frame);
void exportOtherFormat(CMainFrame& frame);
inline constexpr Command::Handler exportText = nullptr;
void externalEditor(CMainFrame& frame);
inline constexpr Command::Handler fastForward = nullptr;
void fileNew(CMainFrame& frame);
void fileOpen(CMainFrame& frame);
void fileSave(CMainFrame& frame);
void fileSaveAs(CMainFrame& frame);
inline constexpr Command::Handler find = nullptr;
inline constexpr Command::Handler findSyncErrors = nullptr;
void focusEnd(CMainFrame& frame);
void focusStart(CMainFrame& frame);
void focusText(CMainFrame& frame);
void fullScreen(CMainFrame& frame);
inline constexpr Command::Handler goCaptionAtVideo = nullptr;
inline constexpr Command::Handler goCurrentSync = nullptr;
inline constexpr Command::Handler goNextSync = nullptr;
inline constexpr Command::Handler goPrevSync = nullptr;
void goRangeEnd(CMainFrame& frame);
void goRangeStart(CMainFrame& frame);
void helpContents(CMainFrame& frame);
inline constexpr Command::Handler importOtherFormat = nullptr;
inline constexpr Command::Handler importText = nullptr;
inline constexpr Command::Handler insertEndSync = nullptr;
inline constexpr Command::Handler insertStartSync = nullptr;
void joinBelow(CMainFrame& frame);
inline constexpr Command::Handler languageInfo = nullptr;
inline constexpr Command::Handler languageSetup = nullptr;
void listBookmark(CMainFrame& frame);
inline constexpr Command::Handler mediaControls = nullptr;
inline constexpr Command::Handler mergeFiles = nullptr;
void moveDown(CMainFrame& frame);
void moveUp(CMainFrame& frame);
void nextListBookmark(CMainFrame& frame);
inline constexpr Command::Handler nextVideoBookmark = nullptr;
inline constexpr Command::Handler openMedia = nullptr;
inline constexpr Command::Handler options = nullptr;
void pageDownRows(CMainFrame& frame);
void pageUpRows(CMainFrame& frame);
void panelAddMode(CMainFrame& frame);
void panelCancel(CMainFrame& frame);
void panelComment(CMainFrame& frame);
void panelEditMode(CMainFrame& frame);
void panelMoveMode(CMainFrame& frame);
void panelRegister(CMainFrame& frame);
void paste(CMainFrame& frame);
void pasteAtEnd(CMainFrame& frame);
void pasteInsert(CMainFrame& frame);
inline constexpr Command::Handler playPause = nullptr;
inline constexpr Command::Handler playerControls = nullptr;
void positionToEnd(CMainFrame& frame);
void positionToStart(CMainFrame& frame);
void prevListBookmark(CMainFrame& frame);
inline constexpr Command::Handler prevVideoBookmark = nullptr;
void proportionalFit(CMainFrame& frame);
void redo(CMainFrame& frame);
inline constexpr Command::Handler repeat = nullptr;
inline constexpr Command::Handler repeatToggle = nullptr;
inline constexpr Command::Handler replace = nullptr;
inline constexpr Command::Handler resetEndSyncs = nullptr;
inline constexpr Command::Handler rewind = nullptr;
inline constexpr Command::Handler saveByLanguage = nullptr;
void selectNextRow(CMainFrame& frame);
void selectPrevRow(CMainFrame& frame);
inline constexpr Command::Handler setVideoBookmark = nullptr;
inline constexpr Command::Handler shiftSyncs = nullptr;
inline constexpr Command::Handler simpleSync = nullptr;
inline constexpr Command::Handler singleSync = nullptr;
void splitContent(CMainFrame& frame);
inline constexpr Command::Handler splitFile = nullptr;
void syncByBookmarks(CMainFrame& frame);
inline constexpr Command::Handler syncLanguages = nullptr;
void syncReplay(CMainFrame& frame);
void undo(CMainFrame& frame);
inline constexpr Command::Handler videoBookmarkList = nullptr;
inline constexpr Command::Handler wholeFileFormat = nullptr;

}  // namespace verbanta::app::bindings
