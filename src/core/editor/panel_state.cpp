#include "editor/panel_state.h"

namespace verbanta {

void PanelState::applyMode(PanelMode newMode)
{
    mode = newMode;
    editButton.checked = newMode == PanelMode::Edit;
    addButton.checked = newMode == PanelMode::Add;
    moveButton.checked = newMode == PanelMode::Move;
    const bool move = newMode == PanelMode::Move;
    start.minimum = move ? -TimeFieldState::kMaximum : 0;
    start.maximum = TimeFieldState::kMaximum;
    start.enabled = true;
    start.visible = true;
    end.minimum = 0;
    end.maximum = TimeFieldState::kMaximum;
    end.visible = !move;
    // In Add mode the end field is shown but the new caption gets no end sync from it.
    end.enabled = newMode == PanelMode::Edit;
    textEnabled = !move;
    commentButton.visible = newMode == PanelMode::Add;
    cancelButton.visible = !move;
    registerButton.label = move ? "실행" : "등록";
}

void PanelState::clearText()
{
    text.clear();
    selectionStart = selectionEnd = 0;
}

void PanelState::selectAll()
{
    selectionStart = 0;
    selectionEnd = static_cast<int>(text.size());
}

}  // namespace verbanta
