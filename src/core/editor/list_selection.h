#pragma once

#include <cstdint>

#include "editor/edit_session.h"

namespace verbanta {

/// What a click in the marker strip asks for.
enum class StripClick { Nothing, MarkedStart, MarkedEnd, AskStartOrEnd };

/// Moving the list's selection by keys, clicks and found rows, and the marks the user puts on
/// rows without undo: the check marks and the range marks.
class ListSelection {
public:
    explicit ListSelection(EditSession& session) : m_session(session) {}

    /// The selection's part of showing a document: no check drag is under way.
    void documentShown() { m_dragRow = -1; }
    void setRowsPerPage(int rows) { m_rowsPerPage = rows > 0 ? rows : 1; }

    void selectPrevious();
    void selectNext();
    void pageUp();
    void pageDown();
    void goToRangeStart();
    void goToRangeEnd();
    /// "이동" of the found-rows dialog with the chosen row, or -1 for none.
    bool goToFoundRow(int row);
    /// Before the context menu: with no selection, the focused row is selected.
    void prepareContextMenu();
    /// A double click on a row puts the focus into the text field.
    void rowDoubleClicked(int row);
    /// A click with "click and go": the player seeks to the row's start.
    bool seekPlayerToRow(int row, bool fromList);

    void checkAll();
    void invertChecks();
    void clearChecks();
    void toggleChecked(int row);
    /// Shift + click: checks every row from the selected one to the clicked one.
    void shiftClickCheck(int row);
    /// A key moved the selection with Shift held: checks the rows between.
    void checkRowsBetween(int from, int to);
    /// Dragging over the check column toggles each row swept over, once.
    void beginCheckDrag(int row);
    void dragCheckOver(int row);
    void endCheckDrag();

    StripClick stripClicked(int row);
    void markRangeStart(int row);
    void markRangeEnd(int row);

private:
    enum class Check { Clear, Set, Toggle };
    /// No undo information; the rows are redrawn.
    void setCheckedRows(int first, int last, Check mode);
    void markRange(int row, bool start);
    /// Selects the last row that carries the mark, if any.
    void goToLastMarked(std::int32_t SyncEntry::*mark);

    EditSession& m_session;
    int m_rowsPerPage = 1;
    int m_dragRow = -1;  ///< the last row a check drag toggled, -1 when none is under way
};

}  // namespace verbanta
