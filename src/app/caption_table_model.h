#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include <vector>

namespace verbanta {
struct AppSettings;
class EditSession;
struct SyncEntry;
}  // namespace verbanta

namespace verbanta::app {

class CaptionCheckMarks;

/// The caption list's rows: a virtual table over the sync list of the editor's current
/// language. It holds no row texts; each visible cell's text is made when the view asks for
/// it. Entry pointers of the row window being painted are cached (the node cache) for that
/// paint only, so no pointer outlives a change the editor has not told yet (a message box
/// in the middle of a command repaints the list); it is also dropped whenever the row count
/// changes or the model is re-bound.
class CaptionTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    /// The findings column, at the right, shows the mark of a row that breaks a check rule;
    /// it is hidden while the checks are off.
    enum Column {
        CheckColumn = 0,
        TimeColumn = 1,
        TextColumn = 2,
        FindingsColumn = 3,
        ColumnCount = 4
    };
    /// Pixel widths of the check, findings and time columns; the text column takes the rest.
    static constexpr int kCheckWidth = 21;
    static constexpr int kFindingsWidth = 18;
    static constexpr int kTimeWidth = 85;

    explicit CaptionTableModel(const AppSettings& settings, QObject* parent = nullptr);

    /// Binds to the list of an editing session (null for none): a reset.
    void bind(const EditSession* session);
    /// Where the findings column reads its marks (null: no marks).
    void setCheckMarks(CaptionCheckMarks* marks) { m_marks = marks; }
    CaptionCheckMarks* checkMarks() const { return m_marks; }
    /// Whether the findings column is shown.
    bool showsFindings() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    /// The entry of a row, from the node cache when the row is inside its window; null
    /// outside 0..count-1.
    const SyncEntry* entryAt(int row) const;
    /// Fills the node cache for the rows the view is about to paint.
    void prepareRows(int first, int last);
    /// The paint is over: the node cache goes.
    void releaseRows();
    /// The displayed text of a cell (time or caption column).
    QString cellText(int row, int column) const;

    // What the editor says changed, after the change was made to the model.
    void rowsWereInserted(int first, int count);
    void rowsWereRemoved(int first, int count);
    void rowsWereChanged(int first, int last);
    /// The whole list was replaced (another language, a new or reopened document).
    void listWasReplaced();
    /// The check marks of the rows first..last may have changed.
    void findingsChanged(int first, int last);

    static const QColor kMarkText;       ///< yellow text of marked rows
    static const QColor kBookmarkBack;   ///< navy
    static const QColor kSyncErrorBack;  ///< dark red
    static const QColor kRangeBack;      ///< teal
    static const QColor kCommentText;    ///< grey
    static const QColor kCommentOnDark;  ///< lighter grey, on the dark scheme's base
    static const QColor kCommentOnMark;  ///< light grey, on a marked row

private:
    void dropCache();

    const AppSettings& m_settings;
    const EditSession* m_session = nullptr;
    CaptionCheckMarks* m_marks = nullptr;
    int m_rowCount = 0;
    int m_cacheFirst = 0;
    std::vector<const SyncEntry*> m_cache;
    QIcon m_unchecked;
    QIcon m_checked;
    QIcon m_finding;
};

}  // namespace verbanta::app
