#pragma once

namespace verbanta::app::cmd {

/// The numeric command ids shared by menus, toolbar, accelerators and buttons. The framework's
/// own commands keep their customary numbers (57600 new, 57634 copy, ...).
enum CommandId : int {
    // Files and the document.
    FileNew = 57600,
    FileOpen = 57601,
    FileSave = 57603,
    FileSaveAs = 57604,
    FileMru1 = 57616,  // 57616..57619: the recent-file list
    FileMru4 = 57619,
    AppExit = 57665,
    ImportOtherFormat = 32807,
    ImportText = 32808,
    ExportText = 32809,
    ExportOtherFormat = 32840,  // SubRip, WebVTT or ASS, one language
    ReopenInEncoding = 32841,
    SplitFile = 32814,
    MergeFiles = 32815,
    BatchFormat = 32816,
    SaveByLanguage = 32817,
    AddLanguageFile = 32818,

    // Clipboard, find, undo.
    EditCopy = 57634,
    EditCut = 57635,
    EditFind = 57636,
    EditPaste = 57637,
    EditReplace = 57641,
    EditUndo = 57643,
    EditRedo = 57644,
    CutSingleSync = 32780,
    CopySingleSync = 32781,
    PasteAtEnd = 32783,
    PasteInsert = 32784,
    ExternalEditor = 30009,

    // Row commands of the caption list.
    AddCaptionBefore = 37872,
    AddEndSyncBefore = 37873,
    AddCaptionAfter = 37874,
    AddEndSyncAfter = 37875,
    DeleteCaption = 37876,
    DeleteChecked = 32782,
    MoveUp = 37877,
    MoveDown = 37878,
    SplitContent = 32829,
    JoinBelow = 32828,
    GoRangeStart = 32779,
    GoRangeEnd = 32778,
    CheckAll = 32827,
    CheckInvert = 32825,
    CheckNone = 32826,
    BookmarksToSyncs = 32811,
    WholeFileFormat = 37880,
    Options = 37886,

    // Keyboard-only commands of the list.
    SelectPrevRow = 32791,
    SelectNextRow = 32792,
    PageUpRows = 32793,
    PageDownRows = 32794,
    FocusText = 32796,
    FocusStart = 32798,
    FocusEnd = 32797,
    PositionToStart = 32799,
    PositionToEnd = 32800,
    PanelEditMode = 32801,
    PanelAddMode = 32802,

    // Edit panel buttons.
    PanelRegister = 3007,
    PanelCancel = 3006,
    PanelEdit = 3003,
    PanelAdd = 3004,
    PanelMove = 1018,
    PanelComment = 3008,

    // Sync tools.
    ShiftSyncs = 37871,
    ProportionalFit = 37881,
    ResetEndSyncs = 37883,
    DeleteInvalidEndSyncs = 37884,
    FindSyncErrors = 37882,
    CaptionChecks = 32850,  // the caption checks' findings, with their fixes
    SyncByBookmarks = 32812,

    // Languages, replay, list bookmarks.
    LanguageInfo = 32821,
    SyncLanguages = 32820,
    CheckLanguages = 32819,
    LanguageSetup = 32810,
    SyncReplay = 32822,
    ListBookmark = 30010,
    PrevListBookmark = 37867,
    NextListBookmark = 37868,
    ClearListBookmarks = 37869,

    // Player and video bookmarks.
    OpenMedia = 30001,
    CloseMedia = 30008,
    GoCurrentSync = 32790,
    GoPrevSync = 32788,
    GoNextSync = 32789,
    PlayPause = 32795,
    PlayerControls = 32804,
    MediaControls = 32806,
    ClickAndGo = 2001,  // the player's toggles: a click seeks, the list follows playback
    PlayAndGo = 2002,
    GoCaptionAtVideo = 2005,
    SimpleSync = 2006,
    Play = 2009,
    Pause = 2010,
    Stop = 2011,
    Rewind = 2012,
    FastForward = 2013,
    Repeat = 2014,
    RepeatToggle = 32813,
    InsertStartSync = 2015,
    InsertEndSync = 2016,
    SingleSync = 2017,
    SetVideoBookmark = 32771,
    PrevVideoBookmark = 32772,
    NextVideoBookmark = 32773,
    ClearVideoBookmarks = 32774,
    PrevShotChange = 32866,
    NextShotChange = 32867,
    VideoBookmarkList = 32786,
    SlowerPlayback = 32870,  // the playback speed, a step at a time
    FasterPlayback = 32871,
    NormalPlayback = 32872,
    PrevFrame = 32873,  // steps that pause: a frame, 100 ms, a second
    NextFrame = 32874,
    StepBack100Ms = 32875,
    StepForward100Ms = 32876,
    StepBack1s = 32877,
    StepForward1s = 32878,

    // The frame.
    FullScreen = 32803,
    TimingStrip = 32860,
    TimingStripSpectrogram = 32861,
    NextAudioTrack = 32862,  // the file's next audio track, for the player and the strip
    HelpContents = 30002,
    AppAbout = 57664,
};

}  // namespace verbanta::app::cmd
