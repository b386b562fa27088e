#pragma once

namespace verbanta::app {

class CMainFrame;

/// The caption list's commands that open a dialog: find and replace, the timing tools, the
/// caption checks, the languages and the video bookmark list. Each dialog gathers its values;
/// the work is a call of the caption editor's components or of the core.
namespace edit_dialog_commands {

void find(CMainFrame& frame);
void replace(CMainFrame& frame);
void shiftSyncs(CMainFrame& frame);
void resetEndSyncs(CMainFrame& frame);
void findSyncErrors(CMainFrame& frame);
void captionChecks(CMainFrame& frame);
void checkLanguages(CMainFrame& frame);
void syncLanguages(CMainFrame& frame);
/// The language information and language set-up commands: one dialog.
void editLanguages(CMainFrame& frame);
void videoBookmarkList(CMainFrame& frame);

}  // namespace edit_dialog_commands
}  // namespace verbanta::app
