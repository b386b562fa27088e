#include <QLineEdit>
#include <QPlainTextEdit>

#include "caption_view.h"
#include "commands/command_bindings.h"
#include "editor/caption_editor.h"
#include "main_frame.h"
#include "player_pane.h"
#include "time_field_widget.h"

// The commands of the caption list: each one is the editor's, which decides which rows it
// acts on; the clipboard commands work on a focused field first.
namespace verbanta::app::bindings {
namespace {

CaptionEditor& ed(CMainFrame& frame)
{
    return *frame.editor();
}

QWidget* field(CMainFrame& frame)
{
    return frame.captionView().focusedField();
}

}  // namespace

bool canUndo(CMainFrame& frame) { return ed(frame).canUndo(); }
bool canRedo(CMainFrame& frame) { return ed(frame).canRedo(); }
bool hasCurrentRow(CMainFrame& frame) { return ed(frame).currentRow() >= 0; }
bool hasVideoBookmarks(CMainFrame& frame) { return ed(frame).canExportBookmarks(); }
bool mediaOpen(CMainFrame& frame) { return frame.playerPane().IsMediaOpen(); }

void undo(CMainFrame& frame) { ed(frame).undo(); }
void redo(CMainFrame& frame) { ed(frame).redo(); }

void copy(CMainFrame& frame)
{
    if (auto* line = qobject_cast<QLineEdit*>(field(frame)))
        line->copy();
    else if (auto* text = qobject_cast<QPlainTextEdit*>(field(frame)))
        text->copy();
    else
        ed(frame).copy();
}

void cut(CMainFrame& frame)
{
    if (auto* time = qobject_cast<TimeFieldWidget*>(field(frame)))
        time->cutText();
    else if (auto* text = qobject_cast<QPlainTextEdit*>(field(frame)))
        text->cut();
    else
        ed(frame).cut();
}

void paste(CMainFrame& frame)
{
    if (auto* time = qobject_cast<TimeFieldWidget*>(field(frame)))
        time->pasteText();
    else if (auto* text = qobject_cast<QPlainTextEdit*>(field(frame)))
        text->paste();
    else if (ed(frame).paste() == PasteAction::ShowPasteMenu)
        frame.captionView().showPasteMenu();
}

void pasteAtEnd(CMainFrame& frame) { ed(frame).appendAtEnd(); }
void pasteInsert(CMainFrame& frame) { ed(frame).pasteInsert(); }
void cutSingleSync(CMainFrame& frame) { ed(frame).cutSingle(); }
void copySingleSync(CMainFrame& frame) { ed(frame).copySingle(); }
void externalEditor(CMainFrame& frame) { ed(frame).openExternalEditor(); }

void checkAll(CMainFrame& frame) { ed(frame).checkAll(); }
void checkInvert(CMainFrame& frame) { ed(frame).invertChecks(); }
void checkNone(CMainFrame& frame) { ed(frame).clearChecks(); }
void listBookmark(CMainFrame& frame) { ed(frame).toggleBookmark(); }
void prevListBookmark(CMainFrame& frame) { ed(frame).previousBookmark(); }
void nextListBookmark(CMainFrame& frame) { ed(frame).nextBookmark(); }
void clearListBookmarks(CMainFrame& frame) { ed(frame).clearBookmarks(); }

void addCaptionBefore(CMainFrame& frame) { ed(frame).addCaptionBefore(); }
void addEndSyncBefore(CMainFrame& frame) { ed(frame).addEndSyncBefore(); }
void addCaptionAfter(CMainFrame& frame) { ed(frame).addCaptionAfter(); }
void addEndSyncAfter(CMainFrame& frame) { ed(frame).addEndSyncAfter(); }
void deleteCaption(CMainFrame& frame) { ed(frame).deleteCaption(); }
void deleteChecked(CMainFrame& frame) { ed(frame).deleteChecked(); }
void moveUp(CMainFrame& frame) { ed(frame).moveUp(); }
void moveDown(CMainFrame& frame) { ed(frame).moveDown(); }
void splitContent(CMainFrame& frame) { ed(frame).splitContent(); }
void joinBelow(CMainFrame& frame) { ed(frame).joinWithNext(); }
void goRangeStart(CMainFrame& frame) { ed(frame).goToRangeStart(); }
void goRangeEnd(CMainFrame& frame) { ed(frame).goToRangeEnd(); }

void selectPrevRow(CMainFrame& frame) { ed(frame).selectPrevious(); }
void selectNextRow(CMainFrame& frame) { ed(frame).selectNext(); }
void pageUpRows(CMainFrame& frame) { ed(frame).pageUp(); }
void pageDownRows(CMainFrame& frame) { ed(frame).pageDown(); }
void focusText(CMainFrame& frame) { ed(frame).requestFocus(FocusTarget::TextField); }
void focusStart(CMainFrame& frame) { ed(frame).requestFocus(FocusTarget::StartField); }
void focusEnd(CMainFrame& frame) { ed(frame).requestFocus(FocusTarget::EndField); }
void positionToStart(CMainFrame& frame) { ed(frame).putPlayerPositionInStart(); }
void positionToEnd(CMainFrame& frame) { ed(frame).putPlayerPositionInEnd(); }
void panelEditMode(CMainFrame& frame) { ed(frame).setPanelMode(PanelMode::Edit); }
void panelAddMode(CMainFrame& frame) { ed(frame).setPanelMode(PanelMode::Add); }
void panelMoveMode(CMainFrame& frame) { ed(frame).setPanelMode(PanelMode::Move); }
void panelRegister(CMainFrame& frame) { ed(frame).registerPanel(); }
void panelCancel(CMainFrame& frame) { ed(frame).cancelPanel(); }
void panelComment(CMainFrame& frame) { ed(frame).addComment(); }

void proportionalFit(CMainFrame& frame) { ed(frame).fitProportionally(); }
void deleteInvalidEndSyncs(CMainFrame& frame) { ed(frame).removeInvalidEndSyncs(); }
void bookmarksToSyncs(CMainFrame& frame) { ed(frame).exportBookmarksToSyncs(); }
void syncByBookmarks(CMainFrame& frame) { ed(frame).syncToBookmarks(); }
void syncReplay(CMainFrame& frame) { ed(frame).toggleReplay(); }

}  // namespace verbanta::app::bindings
