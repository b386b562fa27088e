#pragma once

#include <QWidget>

#include "caption_check_marks.h"
#include "editor/editor_ports.h"

class QTabBar;

namespace verbanta {
class CaptionEditor;
}

namespace verbanta::app {

class CMainFrame;
class CaptionListView;
class CaptionTableModel;
class EditPanel;
class MarkerStrip;
class SpellChecker;

/// The right-hand pane: the language tabs, the caption list with its marker strip, and the
/// edit panel below. It shows the caption editor's state, turns the editor's change
/// notifications into precise updates of the list, and passes what the user does to the
/// editor; it holds no state of the list itself.
class CCaptionView : public QWidget, public CaptionViewListener {
    Q_OBJECT
public:
    CCaptionView(CMainFrame& frame, QWidget* parent = nullptr);
    ~CCaptionView() override;

    /// Binds the view to the editor (and the editor's notices to the view); null unbinds.
    void bindEditor(CaptionEditor* editor);
    CaptionEditor* editor() const { return m_editor; }

    CaptionListView& list() const { return *m_list; }
    CaptionTableModel& tableModel() const { return *m_model; }
    EditPanel& panel() const { return *m_panel; }
    MarkerStrip& strip() const { return *m_strip; }
    QTabBar& tabs() const { return *m_tabs; }

    /// Gives the keyboard focus to the control that had it last.
    void takeFocus();
    /// The panel's text or time field when it has the keyboard focus, else null: the
    /// clipboard commands then work on the field.
    QWidget* focusedField() const;
    /// The clipboard commands: on the focused field, else on the checked rows.
    void copy();
    void cut();
    void paste();
    /// The "SYNC" menu at a screen position.
    void showSyncMenu(const QPoint& globalPos);
    /// The "PASTE" menu at the mouse position.
    void showPasteMenu();
    /// Shows the panel's time fields in the form `DisplayAsTime` asks for.
    void applyFieldModes();
    /// The caption checks' marks of the list.
    CaptionCheckMarks& checkMarks() { return m_checks; }
    /// After the options changed: the check profile and the findings column follow.
    void applyCheckOptions();
    /// The spelling check of the text field.
    SpellChecker& spelling() const { return *m_spelling; }

    // CaptionViewListener.
    void rowsInserted(int first, int count) override;
    void rowsRemoved(int first, int count) override;
    void rowsChanged(int first, int last) override;
    void changeDelivered() override;
    void marksChanged() override;
    void listReplaced() override;
    void currentRowChanged(int row, ScrollHint hint) override;
    void panelChanged() override;
    void languagesChanged() override;
    void focusRequested(FocusTarget target) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectList();
    void connectPanel();
    void layoutChildren();
    void applyPanel();
    void reportText();
    void stripClicked(int row, const QPoint& globalPos);
    void runCommand(int id);
    void repaintMarks();
    /// The spelling dictionary follows the language shown.
    void applySpellingLanguage();

    CMainFrame& m_frame;
    CaptionEditor* m_editor = nullptr;
    QTabBar* m_tabs;
    CaptionTableModel* m_model;
    CaptionListView* m_list;
    MarkerStrip* m_strip;
    EditPanel* m_panel;
    bool m_applying = false;  ///< the editor's state is being shown: the widgets' signals wait
    CaptionCheckMarks m_checks;
    SpellChecker* m_spelling;
};

}  // namespace verbanta::app
