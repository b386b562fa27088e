#include "player_pane.h"

#include <QPainter>

namespace verbanta::app {
namespace {

// The caption window's height and the button block's, as the player lays them out.
constexpr int kCaptionHeight = 90;
constexpr int kControlsHeight = 110;

}  // namespace

PlayerPane::PlayerPane(QWidget* parent) : QWidget(parent)
{
    setMinimumWidth(kMinimumWidth);
    setFocusPolicy(Qt::ClickFocus);
}

void PlayerPane::SetReplayRange(std::int32_t startMs, std::int32_t endMs)
{
    m_replayActive = true;
    m_replayStartMs = startMs;
    m_replayEndMs = endMs;
}

void PlayerPane::ClearReplayRange()
{
    m_replayActive = false;
    m_replayStartMs = 0;
    m_replayEndMs = 0;
}

void PlayerPane::SetRangeMarks(std::int32_t startMs, std::int32_t endMs)
{
    m_rangeStartMs = startMs;
    m_rangeEndMs = endMs;
}

void PlayerPane::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int captionTop = std::max(0, height() - kControlsHeight - kCaptionHeight);
    p.fillRect(0, 0, width(), captionTop - 5, Qt::black);
    p.fillRect(0, captionTop - 5, width(), 5, palette().window());
    p.fillRect(0, captionTop, width(), kCaptionHeight, Qt::black);
    p.fillRect(0, captionTop + kCaptionHeight, width(), kControlsHeight, palette().window());
    p.setPen(palette().mid().color());
    p.drawLine(10, captionTop + kCaptionHeight + 40, width() - 10,
               captionTop + kCaptionHeight + 40);
}

void PlayerPane::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    emit focusWanted();
}

}  // namespace verbanta::app
