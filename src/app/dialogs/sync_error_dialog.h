#pragma once

#include <QDialog>

#include <functional>
#include <vector>

#include "editor/edit_session.h"

class QTreeWidget;

namespace verbanta::app {

/// "싱크 시간 오류 검색": the rows a search found, with their times and texts; "이동" or a
/// double click goes to the chosen row and closes the dialog. The language comparison shows
/// its rows in the same dialog under its own title.
class SyncErrorDialog : public QDialog {
    Q_OBJECT
public:
    /// Goes to a found row (-1: none chosen); false, after the editor's message, keeps the
    /// dialog open.
    using GoTo = std::function<bool(int row)>;

    SyncErrorDialog(std::vector<FoundRow> rows, bool displayAsTime, GoTo goTo,
                    QWidget* parent = nullptr);
    /// The same list under another title (the language comparison).
    SyncErrorDialog(const QString& title, std::vector<FoundRow> rows, bool displayAsTime, GoTo goTo,
                    QWidget* parent = nullptr);

    QTreeWidget& list() const { return *m_list; }
    /// The list row chosen, or -1.
    int chosenIndex() const;

    /// "이동".
    void goToChosen();

private:
    std::vector<FoundRow> m_rows;
    GoTo m_goTo;
    QTreeWidget* m_list;
};

}  // namespace verbanta::app
