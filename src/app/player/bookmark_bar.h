#pragma once

#include <QWidget>

#include "editor/player_bookmarks.h"

namespace verbanta::app {

/// The strip under the player's controls (2007): the video bookmarks in red and the caption
/// list's range marks in green, placed by time along the clip. A click or a double click
/// reports the time under the mouse; keys are ignored.
class BookmarkBar : public QWidget {
    Q_OBJECT
public:
    explicit BookmarkBar(QWidget* parent = nullptr);

    VideoBookmarks& bookmarks() { return m_bookmarks; }
    const VideoBookmarks& bookmarks() const { return m_bookmarks; }

signals:
    void clicked(std::int32_t ms);
    void doubleClicked(std::int32_t ms);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    VideoBookmarks m_bookmarks;
};

}  // namespace verbanta::app
