#pragma once

namespace verbanta::app {

class CMainFrame;

/// The options sheet and the whole-file format dialog, with what the window must do after
/// them.
namespace option_commands {

void options(CMainFrame& frame);
void wholeFileFormat(CMainFrame& frame);

}  // namespace option_commands
}  // namespace verbanta::app
