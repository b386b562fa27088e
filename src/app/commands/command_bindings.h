#pragma once

#include "commands/command_table.h"

namespace verbanta::app::bindings {

// What each command of the table does and when it is enabled. A null handler is a command that
// nothing handles yet (its dialog or the player is still to come): the dispatcher keeps it
// disabled everywhere. A null rule of a wired command means "always enabled".

// Enabling and check rules.
bool batchIdle(CMainFrame& frame);
bool canRedo(CMainFrame& frame);
bool canUndo(CMainFrame& frame);
bool clipboardHasText(CMainFrame& frame);
bool documentModified(CMainFrame& frame);
bool hasCurrentRow(CMainFrame& frame);
bool hasVideoBookmarks(CMainFrame& frame);
bool isFullScreen(CMainFrame& frame);
bool mediaControlsShown(CMainFrame& frame);
bool mediaOpen(CMainFrame& frame);
bool playerControlsShown(CMainFrame& frame);
bool spectrogramShown(CMainFrame& frame);
bool timingStripShown(CMainFrame& frame);

// Handlers.
void about(CMainFrame& frame);
void addCaptionAfter(CMainFrame& frame);
void addCaptionBefore(CMainFrame& frame);
void addEndSyncAfter(CMainFrame& frame);
void addEndSyncBefore(CMainFrame& frame);
void addLanguageFile(CMainFrame& frame);
void appExit(CMainFrame& frame);
void batchFormat(CMainFrame& frame);
void bookmarksToSyncs(CMainFrame& frame);
void checkAll(CMainFrame& frame);
void checkInvert(CMainFrame& frame);
void checkLanguages(CMainFrame& frame);
void checkNone(CMainFrame& frame);
void clearListBookmarks(CMainFrame& frame);
void clearVideoBookmarks(CMainFrame& frame);
void closeMedia(CMainFrame& frame);
void copy(CMainFrame& frame);
void copySingleSync(CMainFrame& frame);
void cut(CMainFrame& frame);
void cutSingleSync(CMainFrame& frame);
void deleteCaption(CMainFrame& frame);
void deleteChecked(CMainFrame& frame);
void deleteInvalidEndSyncs(CMainFrame& frame);
void exportOtherFormat(CMainFrame& frame);
void exportText(CMainFrame& frame);
void externalEditor(CMainFrame& frame);
void fastForward(CMainFrame& frame);
void fileNew(CMainFrame& frame);
void fileOpen(CMainFrame& frame);
void fileSave(CMainFrame& frame);
void fileSaveAs(CMainFrame& frame);
void reopenInEncoding(CMainFrame& frame);
bool documentHasFile(CMainFrame& frame);
void find(CMainFrame& frame);
void findSyncErrors(CMainFrame& frame);
void focusEnd(CMainFrame& frame);
void focusStart(CMainFrame& frame);
void focusText(CMainFrame& frame);
void fullScreen(CMainFrame& frame);
void goCaptionAtVideo(CMainFrame& frame);
void goCurrentSync(CMainFrame& frame);
void goNextSync(CMainFrame& frame);
void goPrevSync(CMainFrame& frame);
void goRangeEnd(CMainFrame& frame);
void goRangeStart(CMainFrame& frame);
void helpContents(CMainFrame& frame);
void importOtherFormat(CMainFrame& frame);
void importText(CMainFrame& frame);
void insertEndSync(CMainFrame& frame);
void insertStartSync(CMainFrame& frame);
void joinBelow(CMainFrame& frame);
void languageInfo(CMainFrame& frame);
void languageSetup(CMainFrame& frame);
void listBookmark(CMainFrame& frame);
void mediaControls(CMainFrame& frame);
void mergeFiles(CMainFrame& frame);
void moveDown(CMainFrame& frame);
void moveUp(CMainFrame& frame);
void nextListBookmark(CMainFrame& frame);
void nextVideoBookmark(CMainFrame& frame);
void openMedia(CMainFrame& frame);
void options(CMainFrame& frame);
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
void playPause(CMainFrame& frame);
void playerControls(CMainFrame& frame);
void positionToEnd(CMainFrame& frame);
void positionToStart(CMainFrame& frame);
void prevListBookmark(CMainFrame& frame);
void prevVideoBookmark(CMainFrame& frame);
void proportionalFit(CMainFrame& frame);
void redo(CMainFrame& frame);
void repeat(CMainFrame& frame);
void repeatToggle(CMainFrame& frame);
void replace(CMainFrame& frame);
void resetEndSyncs(CMainFrame& frame);
void rewind(CMainFrame& frame);
void saveByLanguage(CMainFrame& frame);
void selectNextRow(CMainFrame& frame);
void selectPrevRow(CMainFrame& frame);
void setVideoBookmark(CMainFrame& frame);
void shiftSyncs(CMainFrame& frame);
void simpleSync(CMainFrame& frame);
void singleSync(CMainFrame& frame);
void splitContent(CMainFrame& frame);
void splitFile(CMainFrame& frame);
void syncByBookmarks(CMainFrame& frame);
void syncLanguages(CMainFrame& frame);
void syncReplay(CMainFrame& frame);
void timingStrip(CMainFrame& frame);
void timingStripSpectrogram(CMainFrame& frame);
void undo(CMainFrame& frame);
void videoBookmarkList(CMainFrame& frame);
void wholeFileFormat(CMainFrame& frame);

}  // namespace verbanta::app::bindings
