#include "commands/menu_layout.h"

#include "commands/command_ids.h"

namespace verbanta::app::menu_layout {
namespace {

using namespace cmd;
constexpr int S = kSeparator;

const int kFileMenu[] = {
    FileNew, FileOpen, FileSave, FileSaveAs, ReopenInEncoding, S,
    ImportOtherFormat, ImportText, ExportText, ExportOtherFormat, S,
    SplitFile, MergeFiles, BatchFormat, S,
    kRecentFiles, S,
    AppExit,
};
const int kMovieMenu[] = {
    OpenMedia, CloseMedia, NextAudioTrack, S,
    GoCurrentSync, GoPrevSync, GoNextSync, S,
    SlowerPlayback, FasterPlayback, NormalPlayback, S,
    PrevFrame, NextFrame, StepBack100Ms, StepForward100Ms, StepBack1s, StepForward1s, S,
    PrevShotChange, NextShotChange, S,
    SetVideoBookmark, PrevVideoBookmark, NextVideoBookmark, ClearVideoBookmarks,
    VideoBookmarkList, S,
    SyncReplay,
};
const int kEditMenu[] = {
    EditUndo, EditRedo, S,
    EditCut, EditCopy, EditPaste, CutSingleSync, CopySingleSync, S,
    EditFind, EditReplace, S,
    CheckAll, CheckInvert, CheckNone, S,
    ListBookmark, PrevListBookmark, NextListBookmark, ClearListBookmarks,
};
const int kViewMenu[] = {
    FullScreen, S,
    PlayerControls, MediaControls, S,
    TimingStrip, TimingStripSpectrogram,
};
const int kCaptionMenu[] = {
    AddCaptionBefore, AddEndSyncBefore, AddCaptionAfter, AddEndSyncAfter, S,
    DeleteCaption, DeleteChecked, S,
    MoveUp, MoveDown, S,
    SplitContent, JoinBelow, S,
    GoRangeStart, GoRangeEnd, S,
    WholeFileFormat,
};
const int kLanguageMenu[] = {
    LanguageInfo, S,
    SaveByLanguage, AddLanguageFile,
};
const int kToolsMenu[] = {
    ShiftSyncs, ProportionalFit, ResetEndSyncs, DeleteInvalidEndSyncs, FindSyncErrors, S,
    CaptionChecks, S,
    BookmarksToSyncs, SyncByBookmarks, S,
    ExternalEditor, S,
    Options,
};
const int kHelpMenu[] = {
    HelpContents, S,
    AppAbout,
};

const Menu kMenuBar[] = {
    {"파일(&F)", kFileMenu},     {"동영상(&M)", kMovieMenu}, {"편집(&E)", kEditMenu},
    {"보기(&V)", kViewMenu},     {"자막(&C)", kCaptionMenu}, {"다국어(&L)", kLanguageMenu},
    {"도구(&T)", kToolsMenu},    {"도움말(&H)", kHelpMenu},
};

const int kSyncMenu[] = {
    AddCaptionBefore, AddEndSyncBefore, S,
    AddCaptionAfter, AddEndSyncAfter, S,
    DeleteCaption, DeleteChecked, S,
    MoveUp, MoveDown, S,
    SplitContent, JoinBelow, S,
    GoRangeStart, GoRangeEnd,
};
const int kPasteMenu[] = {PasteAtEnd, PasteInsert, S, kCloseMenu};
const int kToolBar[] = {
    FileNew, FileOpen, OpenMedia, FileSave, S,
    EditFind, ExternalEditor, FullScreen, S,
    EditCut, EditCopy, EditPaste, S,
    EditUndo, EditRedo, S,
    HelpContents,
};

}  // namespace

std::span<const Menu> menuBar() { return kMenuBar; }
std::span<const int> syncMenu() { return kSyncMenu; }
std::span<const int> pasteMenu() { return kPasteMenu; }
std::span<const int> toolBar() { return kToolBar; }

}  // namespace verbanta::app::menu_layout
