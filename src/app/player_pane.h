#pragma once

#include <QWidget>

#include "editor/editor_ports.h"

namespace verbanta::app {

/// The left pane of the main window until the player view arrives: the video area, the
/// caption window under it and the place of the player's buttons. No media can be open in it,
/// so it answers the caption list as a player without media does: no position, no seek, no
/// bookmarks; it keeps the replay range it is given.
class PlayerPane : public QWidget, public PlayerPort {
    Q_OBJECT
public:
    static constexpr int kMinimumWidth = 350;

    explicit PlayerPane(QWidget* parent = nullptr);

    bool IsMediaOpen() const override { return false; }
    std::int32_t GetPositionMs() const override { return -1; }
    std::int32_t GetLengthMs() const override { return -1; }
    bool SeekTo(std::int32_t, bool) override { return false; }
    void SetReplayRange(std::int32_t startMs, std::int32_t endMs) override;
    void ClearReplayRange() override;
    void StopRepeat() override {}
    void ResyncCursor() override {}
    int BookmarkCount() const override { return 0; }
    std::int32_t BookmarkAt(int) const override { return -1; }
    void SetRangeMarks(std::int32_t startMs, std::int32_t endMs) override;

    bool replayActive() const { return m_replayActive; }
    std::int32_t replayStartMs() const { return m_replayStartMs; }
    std::int32_t replayEndMs() const { return m_replayEndMs; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

signals:
    /// The pane passes the keyboard focus on to the caption list.
    void focusWanted();

private:
    bool m_replayActive = false;
    std::int32_t m_replayStartMs = 0;
    std::int32_t m_replayEndMs = 0;
    std::int32_t m_rangeStartMs = -1;
    std::int32_t m_rangeEndMs = -1;
};

}  // namespace verbanta::app
