#pragma once

#include <QWidget>

namespace verbanta::app {

/// The left pane of the main window until the player view arrives: the video area, the
/// caption window under it and the place of the player's buttons, with no media open.
class PlayerPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinimumWidth = 350;

    explicit PlayerPane(QWidget* parent = nullptr);

    bool isMediaOpen() const { return false; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

signals:
    /// The pane passes the keyboard focus on to the caption list.
    void focusWanted();
};

}  // namespace verbanta::app
