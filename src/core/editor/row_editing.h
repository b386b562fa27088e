#pragma once

#include "editor/edit_session.h"

namespace verbanta {

/// Row commands of the caption list: insert, delete, move, split and join rows, export the
/// video bookmarks as captions, and undo and redo.
class RowEditing {
public:
    explicit RowEditing(EditSession& session) : m_session(session) {}

    void addCaptionBefore();
    void addCaptionAfter();
    void addEndSyncBefore();
    void addEndSyncAfter();
    void deleteCaption();
    void deleteChecked();
    void moveUp();
    void moveDown();
    void splitContent();
    void joinWithNext();
    bool canExportBookmarks() const { return m_session.player().BookmarkCount() > 0; }
    void exportBookmarksToSyncs();

    bool canUndo() const { return m_session.model().CanUndo(); }
    bool canRedo() const { return m_session.model().CanRedo(); }
    void undo();
    void redo();

private:
    /// Inserts one caption block at time 0 before the current row as one step, selected.
    void insertBefore(std::string_view text);
    /// Writes the caption of `row` into `other` and that of `other` into `row` as one step,
    /// the range marks staying on their rows, and selects `other`.
    void swapRows(int row, int other);

    EditSession& m_session;
};

}  // namespace verbanta
