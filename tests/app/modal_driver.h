#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace verbanta::test {

/// Acts on the next modal dialog of type D once it runs its own event loop, as a user would
/// while the command that opened it waits. The action must close the dialog; a dialog of
/// another type, or none within the time limit, leaves the action unrun (`ran` stays false) and
/// closes whatever modal dialog is open then.
template <class D>
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(D&)> act, int limitMs = 5000)
        : m_state(std::make_shared<State>())
    {
        m_state->act = std::move(act);
        auto state = m_state;
        auto* timer = new QTimer;
        timer->setInterval(10);
        auto clock = std::make_shared<QElapsedTimer>();
        clock->start();
        QObject::connect(timer, &QTimer::timeout, timer, [timer, state, clock, limitMs] {
            if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                state->ran = true;
                state->act(*dialog);
            } else if (clock->elapsed() > limitMs) {
                // Whatever else is waiting is closed rather than left to hang the test.
                if (QWidget* other = QApplication::activeModalWidget())
                    other->close();
                timer->stop();
                timer->deleteLater();
            }
        });
        timer->start();
    }

    bool ran() const { return m_state->ran; }

private:
    struct State {
        std::function<void(D&)> act;
        bool ran = false;
    };
    std::shared_ptr<State> m_state;
};

}  // namespace verbanta::test
