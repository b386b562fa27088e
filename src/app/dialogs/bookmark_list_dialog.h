#pragma once

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class QLabel;
class QTableWidget;

namespace verbanta {
class Messenger;
class PlayerPort;
class SyncList;
class VideoBookmarks;
struct AppSettings;
}  // namespace verbanta

namespace verbanta::app {

class SteppedTimeField;

/// "동영상 북마크": the video bookmarks as a list with the caption on screen at each, edited
/// on a copy; OK gives the player the edited list, Cancel leaves its bookmarks as they were.
class BookmarkListDialog : public QDialog {
    Q_OBJECT
public:
    /// `captions`: the current language's list, read for the caption column.
    BookmarkListDialog(VideoBookmarks& bookmarks, const SyncList& captions,
                       const AppSettings& settings, Messenger& messenger, PlayerPort& player,
                       QWidget* parent = nullptr);

    /// The caption on screen at a time as the list names it (CP949): the entry before the
    /// first one starting at or after the time, the first entry before every start, and
    /// nothing after the last start.
    static std::string captionAt(const SyncList& captions, std::int32_t ms);

    /// The times of the rows, in list order.
    const std::vector<std::int32_t>& times() const { return m_times; }
    int selectedIndex() const;
    QTableWidget& list() const { return *m_list; }
    QLabel& countLabel() const { return *m_count; }
    SteppedTimeField& positionField() const { return *m_position; }

    void addRow();
    void changeRow();
    void deleteRow();
    void goToRow();

public slots:
    void accept() override;

private:
    void fillRow(int row, std::int32_t ms);
    void select(int index);
    void updateCount();
    void rowSelected();

    VideoBookmarks& m_bookmarks;
    const SyncList& m_captions;
    const AppSettings& m_settings;
    PlayerPort& m_player;
    std::vector<std::int32_t> m_times;
    QLabel* m_count;
    QTableWidget* m_list;
    SteppedTimeField* m_position;
    int m_lastSelected = -1;
};

}  // namespace verbanta::app
