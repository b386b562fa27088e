#pragma once

// The left pane of the main window is the player view; the name the window and the caption
// list use for it stays.
#include "player/player_view.h"

namespace verbanta::app {

using PlayerPane = CPlayerView;

}  // namespace verbanta::app
