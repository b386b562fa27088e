#pragma once

namespace verbanta::app {

class CMainFrame;

/// The file menu's commands that go through a file dialog of their own: imports, exports,
/// split, merge, batch conversion, save by language and adding a language.
namespace file_dialog_commands {

void importOtherFormat(CMainFrame& frame);
void importText(CMainFrame& frame);
void exportText(CMainFrame& frame);
void exportOtherFormat(CMainFrame& frame);
void splitFile(CMainFrame& frame);
void mergeFiles(CMainFrame& frame);
/// Whether no batch conversion is running: one runs at a time.
bool batchIdle(CMainFrame& frame);
void batchFormat(CMainFrame& frame);
void saveByLanguage(CMainFrame& frame);
void addLanguageFile(CMainFrame& frame);

}  // namespace file_dialog_commands
}  // namespace verbanta::app
