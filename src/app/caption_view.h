#pragma once

#include <QWidget>

class QTabBar;

namespace verbanta {
class SamiModel;
}

namespace verbanta::app {

class CMainFrame;
class CaptionListView;
class CaptionTableModel;
class EditPanel;
class MarkerStrip;

/// The right-hand pane: the language tabs, the caption list with its marker strip, and the
/// edit panel below. It shows the editor's state and passes what the user does to it.
class CCaptionView : public QWidget {
    Q_OBJECT
public:
    /// Which control had the keyboard focus last; it gets it back when the view is activated.
    enum FocusSlot { ListSlot = 0, StartSlot = 1, EndSlot = 2, TextSlot = 3 };

    CCaptionView(CMainFrame& frame, QWidget* parent = nullptr);
    ~CCaptionView() override;

    CaptionListView& list() const { return *m_list; }
    CaptionTableModel& tableModel() const { return *m_model; }
    EditPanel& panel() const { return *m_panel; }
    MarkerStrip& strip() const { return *m_strip; }
    QTabBar& tabs() const { return *m_tabs; }
    FocusSlot focusSlot() const { return m_focusSlot; }

    /// Gives the keyboard focus to the control that had it last.
    void takeFocus();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutChildren();

    CMainFrame& m_frame;
    QTabBar* m_tabs;
    CaptionTableModel* m_model;
    CaptionListView* m_list;
    MarkerStrip* m_strip;
    EditPanel* m_panel;
    FocusSlot m_focusSlot = ListSlot;
};

}  // namespace verbanta::app
