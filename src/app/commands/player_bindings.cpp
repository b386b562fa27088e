#include "commands/command_bindings.h"
#include "main_frame.h"
#include "player/player_view.h"

// The commands of the player view: each one is the view's; they reach it even while the
// caption list has the focus.
namespace verbanta::app::bindings {
namespace {

CPlayerView& pv(CMainFrame& frame)
{
    return frame.playerPane();
}

}  // namespace

bool playerControlsShown(CMainFrame& frame) { return pv(frame).showPlayerCtrl(); }
bool mediaControlsShown(CMainFrame& frame) { return pv(frame).showMediaCtrl(); }

void openMedia(CMainFrame& frame) { pv(frame).openMediaWithDialog(); }
void closeMedia(CMainFrame& frame) { pv(frame).CloseMedia(); }
void playPause(CMainFrame& frame) { pv(frame).playPauseToggle(); }
void rewind(CMainFrame& frame) { pv(frame).rewind(); }
void fastForward(CMainFrame& frame) { pv(frame).fastForward(); }
void repeat(CMainFrame& frame) { pv(frame).flipRepeat(); }
void repeatToggle(CMainFrame& frame) { pv(frame).flipRepeat(); }

void insertStartSync(CMainFrame& frame) { pv(frame).insertStartSync(); }
void insertEndSync(CMainFrame& frame) { pv(frame).insertEndSync(); }
void singleSync(CMainFrame& frame) { pv(frame).singleSync(); }
void simpleSync(CMainFrame& frame) { pv(frame).simpleSync(); }
void goCaptionAtVideo(CMainFrame& frame) { pv(frame).goCaptionAtVideo(); }
void goCurrentSync(CMainFrame& frame) { pv(frame).goCurrentSync(); }
void goPrevSync(CMainFrame& frame) { pv(frame).goPrevSync(); }
void goNextSync(CMainFrame& frame) { pv(frame).goNextSync(); }

void setVideoBookmark(CMainFrame& frame) { pv(frame).setVideoBookmark(); }
void prevVideoBookmark(CMainFrame& frame) { pv(frame).prevVideoBookmark(); }
void nextVideoBookmark(CMainFrame& frame) { pv(frame).nextVideoBookmark(); }
void clearVideoBookmarks(CMainFrame& frame) { pv(frame).clearVideoBookmarks(); }

void playerControls(CMainFrame& frame) { pv(frame).togglePlayerControls(); }
void mediaControls(CMainFrame& frame) { pv(frame).toggleMediaControls(); }

}  // namespace verbanta::app::bindings
