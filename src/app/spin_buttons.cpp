#include "spin_buttons.h"

#include <QEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace verbanta::app {

SpinButtons::SpinButtons(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeButton(Qt::UpArrow, 1));
    layout->addWidget(makeButton(Qt::DownArrow, -1));
    setFixedWidth(16);
}

int SpinButtons::stepsAfter(qint64 heldMs)
{
    if (heldMs >= 5000)
        return 5;
    return heldMs >= 2000 ? 2 : 1;
}

QToolButton* SpinButtons::makeButton(Qt::ArrowType arrow, int direction)
{
    auto* button = new QToolButton(this);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(400);
    button->setAutoRepeatInterval(80);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    button->setFixedWidth(16);
    // Auto-repeat emits pressed() on every repeat; the real press is the mouse event.
    button->installEventFilter(this);
    connect(button, &QToolButton::clicked, this, [this, direction] {
        const qint64 held = m_held.isValid() ? m_held.elapsed() : 0;
        emit stepped(direction * stepsAfter(held));
    });
    return button;
}

bool SpinButtons::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        m_held.start();
    return QWidget::eventFilter(watched, event);
}

}  // namespace verbanta::app
