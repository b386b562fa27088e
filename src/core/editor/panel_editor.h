#pragma once

#include <cstdint>
#include <string>

#include "editor/edit_session.h"
#include "editor/panel_state.h"

namespace verbanta {

class TimingTools;

/// The edit panel below the list: its modes, the row loaded into it, the user's edits of its
/// text and time fields, and its buttons "등록", "취소" and "코멘트".
class PanelEditor : public PanelFollower {
public:
    PanelEditor(EditSession& session, TimingTools& timing);

    const PanelState& state() const { return m_state; }

    void loadRowIntoPanel(int row) override;
    void updatePanelButtons() override;
    /// The panel's part of showing a document: Edit mode with the current row loaded when
    /// there is one, else Add mode.
    void documentShown();

    void setPanelMode(PanelMode mode);
    void setPanelText(std::string text);
    void setTextSelection(int start, int end);
    /// Selects a part of the text and shows it (a match of the search).
    void showSelection(int start, int end);
    /// The start field took a value: in Edit mode `MoveEndToo` moves the end field along.
    void setStartField(std::int32_t ms);
    void setEndField(std::int32_t ms);
    void stepStartField(int direction);
    void stepEndField(int direction);
    /// Alt+Q / Alt+W: the player's position into the start or end field.
    void putPlayerPositionInStart();
    void putPlayerPositionInEnd();

    /// "등록" in the current mode.
    void registerPanel();
    /// "취소": clears the new text in Add mode, otherwise reloads the current row.
    void cancelPanel();
    /// "코멘트" in Add mode.
    void addComment();

private:
    void notifyPanel();
    /// The field's value one `SyncIncrease` up or down, within its range.
    std::int32_t steppedValue(const TimeFieldState& field, int direction) const;

    EditSession& m_session;
    TimingTools& m_timing;
    PanelState m_state;
};

}  // namespace verbanta
