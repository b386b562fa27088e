#pragma once

#include <QTableView>

namespace verbanta::app {

class CaptionTableModel;

/// The report list of the caption view: one selected row, fixed row height, and the list's
/// own mouse and key rules. It changes nothing itself; it says what the user did (check a row,
/// check a range, click, double click, ask for the menu, drag a row) and the caption view
/// has the editor carry it out.
class CaptionListView : public QTableView {
    Q_OBJECT
public:
    /// The MIME type of a row dragged out of the list: its start time in milliseconds.
    static constexpr const char* kRowTimeMime = "application/x-verbanta-row-time";

    explicit CaptionListView(QWidget* parent = nullptr);

    void setCaptionModel(CaptionTableModel* model);
    CaptionTableModel* captionModel() const { return m_model; }

    int currentRowIndex() const;
    /// Selects a row (or none for -1) without telling anyone.
    void selectRowQuietly(int row);
    /// While quiet, moves of the current row (the model's own, during a change) are not told.
    void setQuiet(bool quiet) { m_quiet = quiet; }
    /// Rows fully or partly visible, first and last; -1, -1 when none.
    std::pair<int, int> visibleRows() const;
    /// How many rows fit on one page.
    int rowsPerPage() const;
    /// Sets the three column widths for the current width.
    void layoutColumns();

signals:
    /// Ctrl + click on a row, or Space: toggle its check mark.
    void checkToggleRequested(int row);
    /// The left button went down in the check column: toggle it and sweep from there.
    void checkDragBegan(int row);
    void checkDraggedOver(int row);
    void checkDragEnded();
    /// Shift + click on a row (told before the selection moves).
    void shiftClicked(int row);
    /// A key moved the selection from one row to another while Shift was held.
    void shiftMoved(int from, int to);
    void currentRowChanged(int row);
    void rowClicked(int row);
    void rowDoubleClicked(int row);
    void menuRequested(const QPoint& globalPos);
    /// A row was dragged away by a cell outside the check column (to the player).
    void rowDragStarted(int row);
    /// The list painted: the marker strip follows.
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    bool showCutOffTip(const QPoint& pos, const QPoint& globalPos);

    CaptionTableModel* m_model = nullptr;
    bool m_checkDrag = false;   ///< a sweep over the check column is under way
    int m_pressRow = -1;
    int m_pressColumn = -1;
    bool m_quiet = false;
};

}  // namespace verbanta::app
