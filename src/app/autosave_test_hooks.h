#pragma once

#include <QString>

namespace verbanta::app {

class CMainFrame;

/// Hidden start-up options for the crash test of the recovery copies; see main.cpp.
namespace AutosaveTestHooks {

/// Replaces the first caption's text with the given one through the edit panel's register
/// command, as a user's edit would.
bool performEdit(CMainFrame& frame, const QString& text);

/// Builds the start-up recovery offer without showing it and prints its rows, one per line
/// as "offer\t<file name>\t<original path>\t<time>", restores the first one through the
/// offer and prints "title\t<window title>" and "caption\t<first caption text>". Returns the
/// number of rows.
int reportAndRestoreOffer(CMainFrame& frame);

}  // namespace AutosaveTestHooks
}  // namespace verbanta::app
