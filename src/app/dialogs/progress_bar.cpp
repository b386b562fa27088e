#include "dialogs/progress_bar.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

namespace verbanta::app {

CProgressBar::CProgressBar(QLabel& pane, const QString& message, int sizePercent, int maximum)
    : m_pane(&pane),
      m_window(pane.window()),
      m_previousText(pane.text()),
      m_sizePercent(std::clamp(sizePercent, 1, 100))
{
    m_bar = new QProgressBar(&pane);
    m_bar->setRange(0, std::max(0, maximum));
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    pane.installEventFilter(this);
    // The window turns command prompts into pane texts; they wait until the run is over.
    if (m_window)
        m_window->installEventFilter(this);
    pane.setText(message);
    layOut();
    m_bar->show();
}

CProgressBar::~CProgressBar()
{
    delete m_bar.data();
    if (m_pane) {
        m_pane->removeEventFilter(this);
        m_pane->setText(m_previousText);
    }
    if (m_window)
        m_window->removeEventFilter(this);
}

void CProgressBar::setText(const QString& message)
{
    if (!m_pane)
        return;
    m_pane->setText(message);
    layOut();
}

void CProgressBar::stepIt()
{
    if (m_bar)
        m_bar->setValue(std::min(m_bar->value() + 1, m_bar->maximum()));
}

void CProgressBar::setPos(int value)
{
    if (m_bar)
        m_bar->setValue(std::clamp(value, m_bar->minimum(), m_bar->maximum()));
}

int CProgressBar::pos() const
{
    return m_bar ? m_bar->value() : 0;
}

bool CProgressBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window.data() && event->type() == QEvent::StatusTip)
        return true;
    if (watched == m_pane.data() && event->type() == QEvent::Resize)
        layOut();
    return QObject::eventFilter(watched, event);
}

void CProgressBar::layOut()
{
    if (!m_pane || !m_bar)
        return;
    const QFontMetrics metrics(m_pane->font());
    const QRect contents = m_pane->contentsRect();
    const int left = contents.left() + metrics.horizontalAdvance(m_pane->text()) +
                     4 * metrics.horizontalAdvance(QLatin1Char(' '));
    const int width = std::max(0, (contents.right() + 1 - left) * m_sizePercent / 100);
    // A tenth of the pane's height stays free above and below the bar.
    const int margin = m_pane->height() / 10;
    m_bar->setGeometry(left, margin, width, std::max(1, m_pane->height() - 2 * margin));
}

}  // namespace verbanta::app
