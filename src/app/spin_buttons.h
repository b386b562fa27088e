#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QToolButton;

namespace verbanta::app {

/// The up and down arrows beside a time field. Holding an arrow repeats it and accelerates:
/// one step at first, two steps after 2 seconds and five steps after 5 seconds.
class SpinButtons : public QWidget {
    Q_OBJECT
public:
    explicit SpinButtons(QWidget* parent = nullptr);

    /// How many steps one repeat makes after the arrow has been held this long.
    static int stepsAfter(qint64 heldMs);

signals:
    /// One press or repeat: +steps for the up arrow, -steps for the down arrow.
    void stepped(int steps);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* makeButton(Qt::ArrowType arrow, int direction);

    QElapsedTimer m_held;
};

}  // namespace verbanta::app
