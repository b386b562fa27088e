#include "commands/command_table.h"

#include <algorithm>

#include "caption_view.h"
#include "commands/command_ids.h"
#include "commands/command_targets.h"
#include "commands/edit_dialog_commands.h"
#include "commands/file_dialog_commands.h"
#include "commands/option_commands.h"
#include "document_host.h"
#include "editor/caption_editor.h"
#include "main_frame.h"
#include "player/player_view.h"
#include "waveform/timing_strip.h"

namespace verbanta::app {
namespace {

using namespace cmd;

// The one table of commands. Texts are the program's own, byte for byte; the part of a menu text
// after the tab is what the menu shows as the key (32822 shows Ctrl+F5 while it is bound to
// Ctrl+F2). The accelerator table is the keys column and nothing else. A handler or rule is
// either `run<&Class::operation>` / `when<&Class::query>` on the window's one object of that
// class (command_targets.h), or a function of one of the *_commands files, which open a dialog
// first.
const Command kCommands[] = {
    // id, menu text, keys, status prompt \n tooltip, enabled, checked, handler

    // Files and the document.
    {FileNew, "새 파일(&N)\tCtrl+N", {"Ctrl+N"}, "새 자막 파일을 만듭니다\n새 파일",
     nullptr, nullptr, run<&DocumentHost::newFile>},
    {FileOpen, "열기(&O)...\tCtrl+O", {"Ctrl+O"}, "기존 자막 파일을 엽니다\n열기",
     nullptr, nullptr, run<&DocumentHost::openWithDialog>},
    {FileSave, "저장(&S)\tCtrl+S", {"Ctrl+S"}, "현재 자막 파일을 저장합니다\n저장",
     when<&Document::canSave>, nullptr, run<&DocumentHost::save>},
    {FileSaveAs, "다른 이름으로 저장(&A)...", {}, "현재 자막 파일을 새 이름으로 저장합니다\n다른 이름으로 저장",
     nullptr, nullptr, run<&DocumentHost::saveAs>},
    {ReopenInEncoding, "인코딩 지정하여 다시 열기(&R)...", {},
     "열린 파일을 고른 인코딩으로 다시 읽습니다\n인코딩 지정하여 다시 열기",
     when<&DocumentHost::hasFile>, nullptr, run<&DocumentHost::reopenInEncoding>},
    {FileMru1, "최근 파일", {}, "이 자막 파일을 엽니다\n파일 열기", nullptr, nullptr, nullptr},
    {AppExit, "종료(&X)", {}, "프로그램을 끝냅니다. 바뀐 내용은 저장할지 묻습니다\n종료",
     nullptr, nullptr, run<&CMainFrame::close>},
    {ImportOtherFormat, "다른 포맷 자막 가져오기(&I)...", {},
     "다른 포맷의 자막 파일을 가져옵니다\n다른 포맷 자막 가져오기", nullptr, nullptr,
     file_dialog_commands::importOtherFormat},
    {ImportText, "텍스트 파일 가져오기(&I)...", {},
     "텍스트 파일을 자막 파일로 가져옵니다\n텍스트 파일 가져오기", nullptr, nullptr, file_dialog_commands::importText},
    {ExportText, "텍스트 파일로 내보내기(&E)...", {},
     "자막 파일을 텍스트 파일 형태로 저장합니다\n텍스트 파일로 내보내기", nullptr, nullptr,
     file_dialog_commands::exportText},
    {ExportOtherFormat, "다른 포맷으로 내보내기(&X)...", {},
     "자막의 한 언어를 SubRip, WebVTT 또는 ASS 파일로 저장합니다\n다른 포맷으로 내보내기",
     nullptr, nullptr, file_dialog_commands::exportOtherFormat},
    {SplitFile, "자막 파일 나누기(&L)...", {}, "하나의 자막 파일을 두 개로 나눕니다\n자막 파일 나누기",
     nullptr, nullptr, file_dialog_commands::splitFile},
    {MergeFiles, "자막 파일 합치기(&M)...", {}, "두 개의 자막 파일을 하나로 합칩니다\n자막 파일 합치기",
     nullptr, nullptr, file_dialog_commands::mergeFiles},
    {BatchFormat, "자막 포맷 일괄 변경(&F)...", {},
     "디렉토리내의 자막 포맷을 옵션 설정치에 따라 일괄 변경합니다\n자막 포맷 일괄 변경",
     file_dialog_commands::batchIdle, nullptr, file_dialog_commands::batchFormat},
    {SaveByLanguage, "다국어 자막 언어별 저장...(&A)", {},
     "다국어 자막의 특정 언어만을 분리하여 저장합니다\n다국어 자막 언어별 저장", nullptr, nullptr,
     file_dialog_commands::saveByLanguage},
    {AddLanguageFile, "다국어 자막 추가", {},
     "현재 열린 파일에 다른 자막 파일을 다국어 자막으로 추가합니다\n다국어 자막 추가", nullptr,
     nullptr, file_dialog_commands::addLanguageFile},

    // Clipboard, find, undo.
    {EditUndo, "취소(&U)\tCtrl+Z", {"Ctrl+Z", "Alt+Backspace"},
     "마지막 작업을 취소합니다\n실행 취소", when<&RowEditing::canUndo>, nullptr, run<&RowEditing::undo>},
    {EditRedo, "다시 실행(R)\tCtrl+Y", {"Ctrl+Y"}, "취소한 작업을 다시 실행합니다\n다시 실행",
     when<&RowEditing::canRedo>, nullptr, run<&RowEditing::redo>},
    {EditCut, "잘라내기(&T)\tCtrl+X", {"Ctrl+X"},
     "선택한 자막을 잘라내어 클립보드에 넣습니다\n잘라내기", nullptr, nullptr, run<&CCaptionView::cut>},
    {EditCopy, "복사(&C)\tCtrl+C", {"Ctrl+C"}, "선택한 자막을 복사하여 클립보드에 넣습니다\n복사",
     nullptr, nullptr, run<&CCaptionView::copy>},
    {EditPaste, "붙여넣기(&P)\tCtrl+V", {"Ctrl+V"}, "클립보드의 내용을 붙여 넣습니다\n붙여넣기",
     when<&FindClipboard::canPaste>, nullptr, run<&CCaptionView::paste>},
    {CutSingleSync, "단일 싱크 잘라내기(&U)\tCtrl+Shift+X", {"Ctrl+Shift+X"},
     "현재 자막 하나를 잘라내어 클립보드에 넣습니다\n단일 싱크 잘라내기", when<&EditSession::hasCurrentRow>,
     nullptr, run<&FindClipboard::cutSingle>},
    {CopySingleSync, "단일 싱크 복사(&O)\tCtrl+Shift+C", {"Ctrl+Shift+C"},
     "현재 자막 하나를 복사하여 클립보드에 넣습니다\n단일 싱크 복사", when<&EditSession::hasCurrentRow>, nullptr,
     run<&FindClipboard::copySingle>},
    {PasteAtEnd, "끝에 내용 추가(&A)", {},
     "클립보드의 자막을 목록의 끝에 추가합니다\n끝에 내용 추가", nullptr, nullptr, run<&FindClipboard::appendAtEnd>},
    {PasteInsert, "현 싱크 위에 내용 삽입(&I)", {},
     "클립보드의 자막을 현재 자막 위에 삽입합니다\n현 싱크 위에 내용 삽입", nullptr, nullptr,
     run<&FindClipboard::pasteInsert>},
    {EditFind, "문자열 찾기(&F)...\tCtrl+F", {"Ctrl+F"},
     "자막 내용에서 문자열을 찾습니다\n문자열 찾기", nullptr, nullptr, edit_dialog_commands::find},
    {EditReplace, "바꾸기(&E)...\tCtrl+R", {"Ctrl+R"},
     "자막 내용의 문자열을 다른 문자열로 바꿉니다\n바꾸기", nullptr, nullptr, edit_dialog_commands::replace},
    {ExternalEditor, "외부 에디터 편집(&E)...", {},
     "자막 파일을 외부 에디터로 편집합니다\n외부 에디터 편집", nullptr, nullptr,
     run<&FindClipboard::openExternalEditor>},
    {CheckAll, "자막 모두 선택(&A)\tCtrl+A", {"Ctrl+A"}, "모든 자막을 선택합니다\n자막 모두 선택",
     nullptr, nullptr, run<&ListSelection::checkAll>},
    {CheckInvert, "선택 자막 반전(&I)", {}, "자막의 선택 상태를 반전합니다\n선택 자막 반전",
     nullptr, nullptr, run<&ListSelection::invertChecks>},
    {CheckNone, "선택 자막 해제(&C)", {}, "모든 자막의 선택을 해제합니다\n선택 자막 해제",
     nullptr, nullptr, run<&ListSelection::clearChecks>},
    {ListBookmark, "북마크 설정(&B)\tCtrl+F11", {"Ctrl+F11"},
     "현재 자막에 북마크를 설정하거나 해제합니다\n북마크 설정", nullptr, nullptr, run<&LanguagesMarks::toggleBookmark>},
    {PrevListBookmark, "이전 북마크로 이동(&P)\tShift+F11", {"Shift+F11"},
     "북마크가 설정된 이전 자막으로 이동합니다\n이전 북마크로 이동", nullptr, nullptr,
     run<&LanguagesMarks::previousBookmark>},
    {NextListBookmark, "다음 북마크로 이동(&N)\tF11", {"F11"},
     "북마크가 설정된 다음 자막으로 이동합니다\n다음 북마크로 이동", nullptr, nullptr,
     run<&LanguagesMarks::nextBookmark>},
    {ClearListBookmarks, "북마크 모두 삭제(&D)", {},
     "자막에 설정한 북마크를 모두 삭제합니다\n북마크 모두 삭제", nullptr, nullptr,
     run<&LanguagesMarks::clearBookmarks>},

    // Row commands of the caption list.
    {AddCaptionBefore, "앞에 자막 추가(&H)\tCtrl+H", {"Ctrl+H"},
     "현재 자막 앞에 새 자막을 추가합니다\n앞에 자막 추가", nullptr, nullptr, run<&RowEditing::addCaptionBefore>},
    {AddEndSyncBefore, "앞에 종료 싱크 추가(&J)\tCtrl+J", {"Ctrl+J"},
     "현재 자막 앞에 종료 싱크를 추가합니다\n앞에 종료 싱크 추가", nullptr, nullptr,
     run<&RowEditing::addEndSyncBefore>},
    {AddCaptionAfter, "뒤에 자막 추가(&K)\tCtrl+K", {"Ctrl+K"},
     "현재 자막 뒤에 새 자막을 추가합니다\n뒤에 자막 추가", nullptr, nullptr, run<&RowEditing::addCaptionAfter>},
    {AddEndSyncAfter, "뒤에 종료 싱크 추가(&L)\tCtrl+L", {"Ctrl+L"},
     "현재 자막 뒤에 종료 싱크를 추가합니다\n뒤에 종료 싱크 추가", nullptr, nullptr,
     run<&RowEditing::addEndSyncAfter>},
    {DeleteCaption, "자막 삭제(&D)\tCtrl+Del", {"Ctrl+Del"}, "현재 자막을 삭제합니다\n자막 삭제",
     nullptr, nullptr, run<&RowEditing::deleteCaption>},
    {DeleteChecked, "선택 자막 삭제(&E)\tCtrl+D", {"Ctrl+D"},
     "선택한 자막을 모두 삭제합니다\n선택 자막 삭제", nullptr, nullptr, run<&RowEditing::deleteChecked>},
    {MoveUp, "위로 옮김(&U)\tCtrl+U", {"Ctrl+U"}, "현재 자막을 위로 옮깁니다\n위로 옮김", nullptr,
     nullptr, run<&RowEditing::moveUp>},
    {MoveDown, "아래로 옮김(&M)\tCtrl+M", {"Ctrl+M"}, "현재 자막을 아래로 옮깁니다\n아래로 옮김",
     nullptr, nullptr, run<&RowEditing::moveDown>},
    {SplitContent, "자막 내용 분리(&P)\tCtrl+3", {"Ctrl+3"},
     "여러 줄로 된 자막을 줄마다 나눕니다\n자막 내용 분리", nullptr, nullptr, run<&RowEditing::splitContent>},
    {JoinBelow, "아래 자막 합침(&R)\tCtrl+4", {"Ctrl+4"},
     "현재 자막과 아래 자막을 하나로 합칩니다\n아래 자막 합침", nullptr, nullptr, run<&RowEditing::joinWithNext>},
    {GoRangeStart, "선택 범위 시작으로 이동(&1)\tCtrl+1", {"Ctrl+1"},
     "선택 범위의 시작 자막으로 이동합니다\n선택 범위 시작으로 이동", nullptr, nullptr,
     run<&ListSelection::goToRangeStart>},
    {GoRangeEnd, "선택 범위 끝으로 이동(&2)\tCtrl+2", {"Ctrl+2"},
     "선택 범위의 끝 자막으로 이동합니다\n선택 범위 끝으로 이동", nullptr, nullptr, run<&ListSelection::goToRangeEnd>},
    {WholeFileFormat, "전체 자막 포맷(&F)...\tCtrl+T", {"Ctrl+T"},
     "자막 파일의 제목과 문단 포맷을 변경합니다\n전체 자막 포맷", nullptr, nullptr,
     option_commands::wholeFileFormat},

    // Keyboard-only commands of the list.
    {SelectPrevRow, "위 자막 선택", {"Alt+J", "Alt+Up"}, "위 자막을 선택합니다\n위 자막 선택",
     nullptr, nullptr, run<&ListSelection::selectPrevious>},
    {SelectNextRow, "아래 자막 선택", {"Alt+K", "Alt+Down", "F9"},
     "아래 자막을 선택합니다\n아래 자막 선택", nullptr, nullptr, run<&ListSelection::selectNext>},
    {PageUpRows, "한 페이지 위로", {"Alt+Left"}, "한 페이지 위의 자막을 선택합니다\n한 페이지 위로",
     nullptr, nullptr, run<&ListSelection::pageUp>},
    {PageDownRows, "한 페이지 아래로", {"Alt+Right"},
     "한 페이지 아래의 자막을 선택합니다\n한 페이지 아래로", nullptr, nullptr, run<&ListSelection::pageDown>},
    {FocusText, "자막 내용 입력", {"Alt+L"}, "자막 내용 입력란으로 이동합니다\n자막 내용 입력",
     nullptr, nullptr, run<&EditSession::requestFocus, FocusTarget::TextField>},
    {FocusStart, "시작 싱크 입력", {"Alt+Y"}, "시작 싱크 입력란으로 이동합니다\n시작 싱크 입력",
     nullptr, nullptr, run<&EditSession::requestFocus, FocusTarget::StartField>},
    {FocusEnd, "종료 싱크 입력", {"Alt+N"}, "종료 싱크 입력란으로 이동합니다\n종료 싱크 입력",
     nullptr, nullptr, run<&EditSession::requestFocus, FocusTarget::EndField>},
    {PositionToStart, "동영상 위치를 시작 싱크로", {"Alt+Q"},
     "동영상의 현재 위치를 시작 싱크 입력란에 넣습니다\n동영상 위치를 시작 싱크로", nullptr,
     nullptr, run<&PanelEditor::putPlayerPositionInStart>},
    {PositionToEnd, "동영상 위치를 종료 싱크로", {"Alt+W"},
     "동영상의 현재 위치를 종료 싱크 입력란에 넣습니다\n동영상 위치를 종료 싱크로", nullptr,
     nullptr, run<&PanelEditor::putPlayerPositionInEnd>},
    {PanelEditMode, "편집 모드", {"Ctrl+E"}, "현재 자막을 편집합니다\n편집", nullptr, nullptr,
     run<&PanelEditor::setPanelMode, PanelMode::Edit>},
    {PanelAddMode, "추가 모드", {"Ctrl+W"}, "새 자막을 입력합니다\n추가", nullptr, nullptr,
     run<&PanelEditor::setPanelMode, PanelMode::Add>},

    // Edit panel buttons.
    {PanelRegister, "등록", {}, "입력한 내용을 등록합니다\n등록", nullptr, nullptr,
     run<&PanelEditor::registerPanel>},
    {PanelCancel, "취소", {}, "입력한 내용을 취소합니다\n취소", nullptr, nullptr, run<&PanelEditor::cancelPanel>},
    {PanelEdit, "편집", {}, "현재 자막을 편집합니다\n편집", nullptr, nullptr,
     run<&PanelEditor::setPanelMode, PanelMode::Edit>},
    {PanelAdd, "추가", {}, "새 자막을 입력합니다\n추가", nullptr, nullptr,
     run<&PanelEditor::setPanelMode, PanelMode::Add>},
    {PanelMove, "이동", {}, "선택 범위의 싱크를 입력한 값만큼 이동합니다\n이동", nullptr, nullptr,
     run<&PanelEditor::setPanelMode, PanelMode::Move>},
    {PanelComment, "코멘트", {}, "입력한 내용을 코멘트로 추가합니다\n코멘트", nullptr, nullptr,
     run<&PanelEditor::addComment>},

    // Sync tools.
    {ShiftSyncs, "싱크 일괄 이동(&S)...", {},
     "선택 범위의 싱크를 일정한 값만큼 이동합니다\n싱크 일괄 이동", nullptr, nullptr,
     edit_dialog_commands::shiftSyncs},
    {ProportionalFit, "일정 비율 싱크 맞춤(&P)", {},
     "선택 범위의 싱크를 두 동영상 북마크 사이에 비율대로 맞춥니다\n일정 비율 싱크 맞춤", nullptr,
     nullptr, run<&TimingTools::fitProportionally>},
    {ResetEndSyncs, "종료 싱크 일괄 재설정(&A)...", {},
     "종료 싱크를 일정한 시간이나 자막 길이에 따라 다시 설정합니다\n종료 싱크 일괄 재설정", nullptr,
     nullptr, edit_dialog_commands::resetEndSyncs},
    {DeleteInvalidEndSyncs, "무효한 종료 싱크 삭제(&I)", {},
     "다음 시작 싱크값 보다 큰 무효한 종료 싱크를 삭제합니다\n무효한 종료 싱크 삭제", nullptr,
     nullptr, run<&TimingTools::removeInvalidEndSyncs>},
    {FindSyncErrors, "싱크 시간 오류 검색(&E)...", {},
     "싱크 시간에 오류가 있는 자막을 찾습니다\n싱크 시간 오류 검색", nullptr, nullptr,
     edit_dialog_commands::findSyncErrors},
    {CaptionChecks, "자막 검사(&K)...", {},
     "자막이 읽기 속도, 글자 수, 길이와 간격의 기준에 맞는지 검사합니다\n자막 검사", nullptr,
     nullptr, edit_dialog_commands::captionChecks},
    {BookmarksToSyncs, "북마크를 싱크로 내보내기", {},
     "동영상 북마크의 위치마다 새 자막을 추가합니다\n북마크를 싱크로 내보내기",
     when<&RowEditing::canExportBookmarks>, nullptr, run<&RowEditing::exportBookmarksToSyncs>},
    {SyncByBookmarks, "북마크로 싱크 맞추기", {},
     "동영상 북마크에 맞추어 싱크를 조정합니다\n북마크로 싱크 맞추기",
     when<&TimingTools::canSyncToBookmarks>,
     nullptr, run<&TimingTools::syncToBookmarks>},
    {Options, "옵션 설정(&O)...", {}, "프로그램의 옵션을 설정합니다\n옵션 설정", nullptr, nullptr,
     option_commands::options},

    // Languages and replay.
    {LanguageInfo, "다국어 정보 설정...(&L)", {},
     "다국어 자막의 언어 정보를 설정합니다\n다국어 정보 설정", nullptr, nullptr, edit_dialog_commands::editLanguages},
    {SyncLanguages, "언어간 싱크 동기화", {},
     "다국어 자막에서 언어간에 싱크 시간을 일치시킵니다\n언어간 싱크 동기화", nullptr, nullptr,
     edit_dialog_commands::syncLanguages},
    {CheckLanguages, "다국어 자막 오류 검색", {},
     "다국어 자막의 언어간에 일치하지 않는 싱크가 있는가 검색합니다\n다국어 자막 오류 검색",
     nullptr, nullptr, edit_dialog_commands::checkLanguages},
    {LanguageSetup, "다국어 자막 설정", {},
     "다국어 자막의 언어를 추가하거나 삭제합니다\n다국어 자막 설정", nullptr, nullptr,
     edit_dialog_commands::editLanguages},
    {SyncReplay, "싱크 리플레이(&A)\tCtrl+F5", {"Ctrl+F2"},
     "현재 자막을 반복하여 재생합니다\n싱크 리플레이", nullptr, nullptr, run<&LanguagesMarks::toggleReplay>},

    // Player and video bookmarks.
    {OpenMedia, "열기(&O)...\tCtrl+I", {"Ctrl+I"}, "동영상 파일을 엽니다\n동영상 열기", nullptr,
     nullptr, run<&CPlayerView::openMediaWithDialog>},
    {CloseMedia, "닫기(&C)", {}, "동영상 파일을 닫습니다\n동영상 닫기", when<&CPlayerView::IsMediaOpen>, nullptr,
     run<&CPlayerView::CloseMedia>},
    {NextAudioTrack, "오디오 트랙 바꾸기(&A)", {},
     "동영상의 다음 오디오 트랙을 재생하고 그 소리의 파형을 보여 줍니다\n오디오 트랙 바꾸기",
     when<&CPlayerView::IsMediaOpen>, nullptr, run<&CPlayerView::nextAudioTrack>},
    {GoCurrentSync, "현 싱크로 이동(&U)\tAlt+/", {"Alt+/"},
     "동영상의 위치를 현재 반전된 싱크로 이동합니다\n현재 싱크로 플레이어 이동", when<&CPlayerView::IsMediaOpen>,
     nullptr, run<&CPlayerView::goCurrentSync>},
    {GoPrevSync, "전 싱크로 이동(R)\tAlt+<", {"Alt+,"},
     "동영상의 위치를 현재 반전된 자막의 이전 싱크로 이동합니다\n전 싱크로 플레이어 이동",
     when<&CPlayerView::IsMediaOpen>, nullptr, run<&CPlayerView::goPrevSync>},
    {GoNextSync, "다음 싱크로 이동(&E)\tAlt+>", {"Alt+."},
     "동영상의 위치를 현재 반전된 자막의 다음 싱크로 이동합니다\n다음 싱크로 플레이어 이동",
     when<&CPlayerView::IsMediaOpen>, nullptr, run<&CPlayerView::goNextSync>},
    {PlayPause, "재생/일시정지", {"Alt+U", "F2"}, "동영상을 재생하거나 일시정지합니다\n재생/일시정지",
     nullptr, nullptr, run<&CPlayerView::playPauseToggle>},
    {ClickAndGo, "자막 클릭시 이동", {},
     "자막을 클릭하면 동영상을 그 자막의 위치로 옮깁니다\n자막 클릭시 해당 동영상 위치로 이동",
     nullptr, nullptr, run<&CPlayerView::toggleClickAndGo>},
    {PlayAndGo, "재생시 자막 이동", {},
     "동영상을 재생하는 동안 자막 목록이 따라갑니다\n동영상 재생시 해당 자막 위치로 이동",
     nullptr, nullptr, run<&CPlayerView::togglePlayAndGo>},
    {Play, "재생", {}, "동영상을 재생합니다\n재생", nullptr, nullptr, run<&CPlayerView::play>},
    {Pause, "일시정지", {}, "동영상을 일시정지합니다\n일시정지", nullptr, nullptr,
     run<&CPlayerView::pause>},
    {Stop, "정지", {}, "동영상을 정지합니다\n정지", nullptr, nullptr, run<&CPlayerView::stop>},
    {GoCaptionAtVideo, "이동", {"Ctrl+G"},
     "현재 동영상 위치의 자막으로 이동합니다\n현재 동영상 위치의 자막으로 이동", nullptr, nullptr,
     run<&CPlayerView::goCaptionAtVideo>},
    {SimpleSync, "간단", {}, "선택 범위를 동영상의 현재 위치로 옮깁니다\n간단 싱크 맞추기", nullptr,
     nullptr, run<&CPlayerView::capture, CaptureCommand::SimpleSync>},
    {Rewind, "되감기", {"Alt+I", "F3"}, "동영상을 뒤로 이동합니다\n되감기", nullptr, nullptr,
     run<&CPlayerView::rewind>},
    {FastForward, "빨리감기", {"Alt+O", "F4"}, "동영상을 앞으로 이동합니다\n빨리감기", nullptr,
     nullptr, run<&CPlayerView::fastForward>},
    {Repeat, "반복", {"Alt+P"}, "현재 위치부터 동영상을 반복하여 재생합니다\n반복", nullptr,
     nullptr, run<&CPlayerView::flipRepeat>},
    {RepeatToggle, "반복 켜기/끄기", {"F5"}, "반복 재생을 켜거나 끕니다\n반복", nullptr, nullptr,
     run<&CPlayerView::flipRepeat>},
    {InsertStartSync, "시작", {"F6"}, "동영상의 현재 위치에 새 자막을 추가합니다\n시작 싱크 삽입",
     nullptr, nullptr, run<&CPlayerView::capture, CaptureCommand::StartSync>},
    {InsertEndSync, "종료", {"F7"}, "동영상의 현재 위치에 종료 싱크를 추가합니다\n종료 싱크 삽입",
     nullptr, nullptr, run<&CPlayerView::capture, CaptureCommand::EndSync>},
    {SingleSync, "단일", {"F8"}, "현재 자막의 싱크를 동영상의 현재 위치로 맞춥니다\n단일 싱크 맞추기",
     nullptr, nullptr, run<&CPlayerView::capture, CaptureCommand::SingleSync>},
    {PrevShotChange, "이전 장면 전환으로 이동(&S)\tCtrl+F9", {"Ctrl+F9"},
     "동영상의 위치를 현재 위치 앞의 장면 전환으로 옮깁니다\n이전 장면 전환으로 이동",
     when<&CPlayerView::hasShotChanges>, nullptr, run<&CPlayerView::prevShotChange>},
    {NextShotChange, "다음 장면 전환으로 이동(&H)\tCtrl+F10", {"Ctrl+F10"},
     "동영상의 위치를 현재 위치 뒤의 장면 전환으로 옮깁니다\n다음 장면 전환으로 이동",
     when<&CPlayerView::hasShotChanges>, nullptr, run<&CPlayerView::nextShotChange>},
    {SetVideoBookmark, "북마크 설정(&B)\tCtrl+F12", {"Ctrl+F12"},
     "동영상에 북마크를 설정합니다\n북마크 설정", when<&CPlayerView::IsMediaOpen>, nullptr,
     run<&CPlayerView::setVideoBookmark>},
    {PrevVideoBookmark, "이전 북마크로 이동(&P)\tShift+F12", {"Shift+F12"},
     "동영상의 이전 북마크로 이동합니다\n이전 북마크로 이동", when<&CPlayerView::IsMediaOpen>, nullptr,
     run<&CPlayerView::prevVideoBookmark>},
    {NextVideoBookmark, "다음 북마크로 이동(&N)\tF12", {"F12"},
     "동영상의 다음 북마크로 이동합니다\n다음 북마크로 이동", when<&CPlayerView::IsMediaOpen>, nullptr,
     run<&CPlayerView::nextVideoBookmark>},
    {ClearVideoBookmarks, "북마크 모두 삭제(&D)", {},
     "동영상에 설정한 북마크를 모두 삭제합니다\n북마크 모두 삭제", when<&CPlayerView::IsMediaOpen>, nullptr,
     run<&CPlayerView::clearVideoBookmarks>},
    {SlowerPlayback, "재생 속도 느리게(&W)\tCtrl+[", {"Ctrl+["},
     "동영상을 한 단계 느리게 재생합니다. 소리의 높이는 그대로입니다\n재생 속도 느리게", nullptr,
     nullptr, run<&CPlayerView::slowerPlayback>},
    {FasterPlayback, "재생 속도 빠르게(&F)\tCtrl+]", {"Ctrl+]"},
     "동영상을 한 단계 빠르게 재생합니다. 소리의 높이는 그대로입니다\n재생 속도 빠르게", nullptr,
     nullptr, run<&CPlayerView::fasterPlayback>},
    {NormalPlayback, "보통 속도로 재생(&1)\tCtrl+\\", {"Ctrl+\\"},
     "동영상을 원래 속도로 재생합니다\n보통 속도로 재생", nullptr, nullptr,
     run<&CPlayerView::normalPlayback>},
    {PrevFrame, "이전 프레임(&V)\tShift+F3", {"Shift+F3"},
     "동영상을 멈추고 한 프레임 뒤로 이동합니다\n이전 프레임", when<&CPlayerView::IsMediaOpen>,
     nullptr, run<&CPlayerView::stepFrames, -1>},
    {NextFrame, "다음 프레임(&X)\tShift+F4", {"Shift+F4"},
     "동영상을 멈추고 한 프레임 앞으로 이동합니다\n다음 프레임", when<&CPlayerView::IsMediaOpen>,
     nullptr, run<&CPlayerView::stepFrames, 1>},
    {StepBack100Ms, "0.1초 뒤로(&G)\tCtrl+F3", {"Ctrl+F3"},
     "동영상을 멈추고 0.1초 뒤로 이동합니다\n0.1초 뒤로", when<&CPlayerView::IsMediaOpen>, nullptr,
     run<&CPlayerView::stepTime, -100>},
    {StepForward100Ms, "0.1초 앞으로(&J)\tCtrl+F4", {"Ctrl+F4"},
     "동영상을 멈추고 0.1초 앞으로 이동합니다\n0.1초 앞으로", when<&CPlayerView::IsMediaOpen>,
     nullptr, run<&CPlayerView::stepTime, 100>},
    {StepBack1s, "1초 뒤로(&I)\tCtrl+Shift+F3", {"Ctrl+Shift+F3"},
     "동영상을 멈추고 1초 뒤로 이동합니다\n1초 뒤로", when<&CPlayerView::IsMediaOpen>, nullptr,
     run<&CPlayerView::stepTime, -1000>},
    {StepForward1s, "1초 앞으로(&K)\tCtrl+Shift+F4", {"Ctrl+Shift+F4"},
     "동영상을 멈추고 1초 앞으로 이동합니다\n1초 앞으로", when<&CPlayerView::IsMediaOpen>, nullptr,
     run<&CPlayerView::stepTime, 1000>},
    {VideoBookmarkList, "북마크 리스트 표시(&L)...", {},
     "설정된 북마크 리스트를 표시하거나, 위치를 조정합니다\n북마크 리스트 표시", when<&CPlayerView::IsMediaOpen>,
     nullptr, edit_dialog_commands::videoBookmarkList},

    // The frame.
    {FullScreen, "전체 화면(&U)\tCtrl+Shift+F", {"Ctrl+Shift+F"}, "동영상 플레이어를 전체 화면으로 표시합니다\n전체 화면",
     nullptr, when<&CMainFrame::isFullScreenMode>, run<&CMainFrame::toggleFullScreen>},
    {PlayerControls, "Pelorin~ 플레이어 컨트롤(&C)", {},
     "Pelorin~ 플레이어 컨트롤을 보이거나 감춥니다\n플레이어 컨트롤", nullptr,
     when<&CPlayerView::showPlayerCtrl>, run<&CPlayerView::togglePlayerControls>},
    {MediaControls, "미디어 플레이어 컨트롤(&M)", {},
     "미디어 플레이어의 컨트롤을 보이거나 감춥니다\n미디어 플레이어 컨트롤", nullptr,
     when<&CPlayerView::showMediaCtrl>, run<&CPlayerView::toggleMediaControls>},
    // The strip's class shares its name with the command id: both are named with their namespace.
    {cmd::TimingStrip, "오디오 파형(&W)", {},
     "동영상 소리의 파형과 자막 구간을 목록 아래에 보이거나 감춥니다\n오디오 파형", nullptr,
     when<&app::TimingStrip::wanted>, run<&app::TimingStrip::toggleWanted>},
    {TimingStripSpectrogram, "스펙트로그램으로 보기(&S)", {},
     "오디오 파형 대신 소리의 주파수 분포를 보여 줍니다\n스펙트로그램",
     when<&app::TimingStrip::wanted>, when<&app::TimingStrip::showsSpectrogram>,
     run<&app::TimingStrip::toggleSpectrogram>},
    {HelpContents, "도움말 문서(&H)", {}, "도움말 문서를 표시합니다\n도움말 문서", nullptr, nullptr,
     run<&CMainFrame::showHelp>},
    {AppAbout, "Pelorin란(&A)...", {}, "Pelorin~에 대한 정보를 표시합니다\nPelorin란", nullptr,
     nullptr, run<&CMainFrame::showAbout>},
};

QString promptLine(const char* prompt, int line)
{
    const QStringList lines = QString::fromUtf8(prompt).split(QLatin1Char('\n'));
    return line < lines.size() ? lines[line] : QString();
}

}  // namespace

QString Command::statusTip() const
{
    return promptLine(prompt, 0);
}

QString Command::toolTip() const
{
    const QString tip = promptLine(prompt, 1);
    if (!tip.isEmpty())
        return tip;
    QString name = text().section(QLatin1Char('\t'), 0, 0);
    return name.remove(QLatin1Char('&'));
}

QList<QKeySequence> Command::shortcuts() const
{
    QList<QKeySequence> list;
    for (const char* key : keys)
        if (key)
            list.append(QKeySequence::fromString(QString::fromLatin1(key), QKeySequence::PortableText));
    return list;
}

std::span<const Command> commandTable()
{
    return kCommands;
}

const Command* findCommand(int id)
{
    const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                                 [id](const Command& c) { return c.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

}  // namespace verbanta::app
