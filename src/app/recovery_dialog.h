#pragma once

#include <QDialog>

#include <functional>
#include <vector>

#include "document/autosave_store.h"

class QPushButton;
class QTreeWidget;

namespace verbanta::app {

/// The start-up offer of recovery copies left by runs that ended abnormally: one row per copy
/// with its file name, original path and time. Restore opens the chosen copy and closes the
/// offer; discard deletes it; close keeps the rest for the next start.
class RecoveryDialog : public QDialog {
    Q_OBJECT
public:
    using Action = std::function<bool(const RecoveryEntry&)>;

    RecoveryDialog(std::vector<RecoveryEntry> entries, Action restore, Action discard,
                   QWidget* parent = nullptr);

    /// The name shown for a copy: its original file's name, else its title.
    static QString fileNameOf(const RecoveryEntry& entry);
    /// The copy's time in local time, "yyyy-MM-dd HH:mm:ss".
    static QString timeOf(const RecoveryEntry& entry);

    int rowCount() const { return static_cast<int>(m_entries.size()); }
    /// The text of a cell: column 0 file name, 1 original path, 2 time.
    QString cellText(int row, int column) const;
    void selectRow(int row);
    const std::vector<RecoveryEntry>& entries() const { return m_entries; }

    /// Restores the selected copy; on success the dialog is accepted.
    bool restoreSelected();
    /// Deletes the selected copy and removes its row; the dialog closes with the last one.
    bool discardSelected();

private:
    int selectedRow() const;
    void updateButtons();

    std::vector<RecoveryEntry> m_entries;
    Action m_restore;
    Action m_discard;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_restoreButton = nullptr;
    QPushButton* m_discardButton = nullptr;
};

}  // namespace verbanta::app
