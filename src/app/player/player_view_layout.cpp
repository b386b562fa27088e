// The player view's controls: the button panel built from its template, the icons, the
// relayout on resize, and what the caption window and the position label show.
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include "caption_codec.h"
#include "commands/command_ids.h"
#include "main_frame.h"
#include "model/text_format.h"
#include "player/bookmark_bar.h"
#include "player/media_backend.h"
#include "player/player_view.h"
#include "player/position_bar.h"
#include "player/video_widget.h"
#include "settings/app_settings.h"

namespace verbanta::app {
namespace {

using namespace cmd;

enum class Kind { Toggle, Push, IconPush, Label, Bar, Line };

/// One control of the panel: its id (a command's for a button), its place in dialog units and
/// its texts (UTF-8).
struct ControlSpec {
    int id;
    Kind kind;
    int x, y, cx, cy;
    const char* text;
    const char* tip;
};

constexpr ControlSpec kControls[] = {
    {ClickAndGo, Kind::Toggle, 3, 87, 12, 15, "", "자막 클릭시 해당 동영상 위치로 이동"},
    {PlayAndGo, Kind::Toggle, 16, 87, 12, 15, "", "동영상 재생시 해당 자막 위치로 이동"},
    {CPlayerView::kPositionCaption, Kind::Label, 35, 87, 34, 15, "싱크 위치:", ""},
    {CPlayerView::kPositionLabel, Kind::Label, 73, 87, 40, 15, "0", ""},
    {GoCaptionAtVideo, Kind::Push, 127, 87, 30, 15, "이동", "현재 동영상 위치의 자막으로 이동"},
    {SimpleSync, Kind::Push, 163, 87, 30, 15, "간단", "간단 싱크 맞추기"},
    {CPlayerView::kBookmarkBar, Kind::Bar, 3, 107, 190, 7, "", ""},
    {CPlayerView::kSeparatorLine, Kind::Line, 3, 121, 190, 1, "", ""},
    {Play, Kind::Toggle, 3, 129, 12, 15, "", "재생"},
    {Pause, Kind::Toggle, 16, 129, 12, 15, "", "일시정지"},
    {Stop, Kind::Toggle, 29, 129, 12, 15, "", "정지"},
    {Rewind, Kind::IconPush, 46, 129, 12, 15, "", "되감기"},
    {FastForward, Kind::IconPush, 59, 129, 12, 15, "", "빨리감기"},
    {Repeat, Kind::Toggle, 75, 129, 12, 15, "", "반복"},
    {InsertStartSync, Kind::Push, 94, 129, 30, 15, "시작", "시작 싱크 삽입"},
    {InsertEndSync, Kind::Push, 127, 129, 30, 15, "종료", "종료 싱크 삽입"},
    {SingleSync, Kind::Push, 163, 129, 30, 15, "단일", "단일 싱크 맞추기"},
};
constexpr int kFirstControl = ClickAndGo;  // the panel's top left
constexpr int kLastControl = SingleSync;   // the panel's bottom right

/// A toggle of the panel: its checked state is what its command sets, never the click itself.
class CommandToggle : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void nextCheckState() override {}
};

// The caption window's bottom in the template (60 + 19), for the gap above the buttons.
constexpr int kCaptionBottomDu = 79;

int px(int dialogUnits)
{
    // "굴림" 9 pt gives dialog units of about one and a half pixels both ways.
    return dialogUnits * 3 / 2;
}

QIcon drawnIcon(int id)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // The buttons' own text colour: dark on a light scheme, light on a dark one.
    const QColor ink = QApplication::palette().color(QPalette::ButtonText);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    auto triangle = [&](qreal x, qreal w, bool right) {
        QPainterPath path;
        path.moveTo(right ? x : x + w, 3);
        path.lineTo(right ? x + w : x, 8);
        path.lineTo(right ? x : x + w, 13);
        path.closeSubpath();
        p.drawPath(path);
    };
    switch (id) {
        case ClickAndGo:  // a pointer on a row
            p.fillRect(2, 3, 12, 2, ink);
            p.fillRect(2, 7, 8, 2, ink);
            triangle(9, 5, true);
            break;
        case PlayAndGo:  // rows following a play mark
            triangle(2, 5, true);
            p.fillRect(9, 3, 5, 2, ink);
            p.fillRect(9, 7, 5, 2, ink);
            p.fillRect(9, 11, 5, 2, ink);
            break;
        case Play:
            triangle(4, 9, true);
            break;
        case Pause:
            p.drawRect(4, 3, 3, 10);
            p.drawRect(9, 3, 3, 10);
            break;
        case Stop:
            p.drawRect(4, 4, 8, 8);
            break;
        case Rewind:
            triangle(1, 7, false);
            triangle(8, 7, false);
            break;
        case FastForward:
            triangle(1, 7, true);
            triangle(8, 7, true);
            break;
        case Repeat: {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(ink, 2));
            p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 300 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            QPainterPath head;
            head.moveTo(10, 1);
            head.lineTo(14, 4);
            head.lineTo(10, 7);
            head.closeSubpath();
            p.drawPath(head);
            break;
        }
        default:
            break;
    }
    return QIcon(pm);
}

}  // namespace

void CPlayerView::createControls()
{
    for (const ControlSpec& c : kControls) {
        QWidget* w = nullptr;
        const QString text = QString::fromUtf8(c.text);
        switch (c.kind) {
            case Kind::Toggle:
            case Kind::IconPush: {
                auto* b = c.kind == Kind::Toggle ? new CommandToggle(this) : new QToolButton(this);
                b->setAutoRaise(true);  // flat until the mouse is over it
                b->setCheckable(c.kind == Kind::Toggle);
                b->setIconSize(QSize(14, 14));
                w = b;
                break;
            }
            case Kind::Push: {
                // Framed, unlike the picture buttons, so that a word reads as a button.
                auto* b = new QToolButton(this);
                b->setText(text);
                b->setToolButtonStyle(Qt::ToolButtonTextOnly);
                w = b;
                break;
            }
            case Kind::Label: {
                auto* l = new QLabel(text, this);
                l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                if (c.id == kPositionLabel)
                    m_positionLabel = l;
                w = l;
                break;
            }
            case Kind::Bar:
                m_bar = new BookmarkBar(this);
                w = m_bar;
                break;
            case Kind::Line: {
                auto* line = new QFrame(this);
                line->setFrameShape(QFrame::HLine);
                line->setFrameShadow(QFrame::Sunken);
                w = line;
                break;
            }
        }
        if (c.tip[0])
            w->setToolTip(QString::fromUtf8(c.tip));
        // Every button runs its command through the dispatcher, as its key does.
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            const int id = c.id;
            connect(b, &QAbstractButton::clicked, this, [this, id] { runCommand(id); });
        }
        w->setFocusPolicy(Qt::NoFocus);
        w->setObjectName(QStringLiteral("control%1").arg(c.id));
        m_controls[c.id] = w;
        m_template[c.id] = QRect(px(c.x), px(c.y), px(c.cx), px(c.cy));
    }
    drawButtonIcons();
    // The template's position label fits a count of milliseconds but not "0:00:00.000" in
    // today's fonts: it takes the free room up to the button beside it.
    m_template[kPositionLabel].setRight(m_template[GoCaptionAtVideo].left() - 3);
}

void CPlayerView::drawButtonIcons()
{
    for (const ControlSpec& c : kControls)
        if (c.kind == Kind::Toggle || c.kind == Kind::IconPush)
            static_cast<QAbstractButton*>(m_controls.at(c.id))->setIcon(drawnIcon(c.id));
}

void CPlayerView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if ((event->type() == QEvent::PaletteChange ||
         event->type() == QEvent::ApplicationPaletteChange) &&
        !m_controls.empty())
        drawButtonIcons();
}

void CPlayerView::createVideo(VideoRendering rendering)
{
    if (!m_videoArea) {
        m_videoArea = new QWidget(this);
        m_videoArea->setObjectName(QStringLiteral("control1000"));
        auto* layout = new QVBoxLayout(m_videoArea);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        m_transportRow = new QWidget(m_videoArea);
        auto* row = new QHBoxLayout(m_transportRow);
        row->setContentsMargins(0, 0, 4, 0);
        m_transportBar = new PositionBar(m_transportRow);
        m_transportBar->setFocusPolicy(Qt::NoFocus);
        m_transportBar->setEnabled(false);
        row->addWidget(m_transportBar, 1);
        m_speedLabel = new QLabel(m_transportRow);
        m_speedLabel->setObjectName(QStringLiteral("speedLabel"));
        m_speedLabel->setToolTip(QString::fromUtf8("재생 속도"));
        row->addWidget(m_speedLabel);
        layout->addWidget(m_transportRow);
        connect(m_transportBar, &QSlider::sliderMoved, this, [this](int ms) {
            if (m_mediaOpen)
                m_media->setPosition(secondsFromMs(ms));
        });
    }
    auto* layout = static_cast<QVBoxLayout*>(m_videoArea->layout());
    if (m_picture) {
        layout->removeWidget(m_picture);
        delete m_picture;
        m_picture = nullptr;
    }
    m_rendering = rendering;
    if (rendering == VideoRendering::OpenGl) {
        auto* gl = new OpenGlVideoWidget(*m_media, m_videoArea);
        // libmpv could not draw with this context: the software picture takes over.
        connect(gl, &OpenGlVideoWidget::failed, this,
                [this] { createVideo(VideoRendering::Software); });
        m_picture = gl;
    } else {
        m_picture = new SoftwareVideoWidget(*m_media, m_videoArea);
    }
    m_picture->setFocusPolicy(Qt::NoFocus);
    layout->insertWidget(0, m_picture, 1);
    m_picture->show();
    if (m_renderingLabel)
        m_renderingLabel->setText(renderingText());
}

QString CPlayerView::renderingText() const
{
    return m_rendering == VideoRendering::OpenGl ? QString::fromUtf8("영상: OpenGL")
                                                 : QString::fromUtf8("영상: 소프트웨어 렌더링");
}

void CPlayerView::relayout()
{
    if (!m_videoArea)
        return;
    const int w = width();
    const int h = height();
    const int y0 = h - (m_showPlayerCtrl ? 200 : kCaptionHeight);
    m_caption->setGeometry(0, y0, w, kCaptionHeight);
    m_videoArea->setGeometry(0, 0, w, std::max(0, m_showMediaCtrl ? y0 - 5 : y0));
    m_transportRow->setVisible(m_showMediaCtrl);

    const QRect first = m_template[kFirstControl];
    const int blockWidth = m_template[kLastControl].right() + 1 - first.left();
    const int gap = first.top() - px(kCaptionBottomDu);
    const int x0 = (w - blockWidth) / 2;
    const int top = y0 + kCaptionHeight + gap;
    for (const auto& [id, widget] : m_controls) {
        const QRect t = m_template[id];
        QRect r(x0 + t.left() - first.left(), top + t.top() - first.top(), t.width(), t.height());
        if (id == kBookmarkBar || id == kSeparatorLine)
            r = QRect(10, r.top(), std::max(0, w - 20), t.height());
        widget->setGeometry(r);
        widget->setVisible(m_showPlayerCtrl);
    }
    update(0, y0 + kCaptionHeight, w, h - y0 - kCaptionHeight);
}

void CPlayerView::resetControl()
{
    m_media->setVolume(-300);
    m_media->setShowControls(m_showMediaCtrl);
    setPositionLabel(0);
}

void CPlayerView::enableTransport(bool on)
{
    for (int id : {Play, Pause}) control(id)->setEnabled(false);
    for (int id : {Play, Pause, Stop, Repeat}) button(id)->setChecked(false);
    for (int id : {Stop, Rewind, FastForward, Repeat}) control(id)->setEnabled(on);
    m_transportBar->setEnabled(on);
}

void CPlayerView::enableCapture(bool on)
{
    for (int id : {GoCaptionAtVideo, SimpleSync, InsertStartSync, InsertEndSync, SingleSync})
        control(id)->setEnabled(on);
}

QString captionWindowHtml(std::string_view cp949Html)
{
    QString html = CaptionCodec::toDisplay(cp949Html);
    // Qt's HTML reader takes a style sheet wrapped in a comment for a comment: unwrap it.
    const qsizetype head = html.indexOf(QLatin1String("</HEAD>"), 0, Qt::CaseInsensitive);
    if (head > 0) {
        QString style = html.left(head);
        style.remove(QLatin1String("<!--")).remove(QLatin1String("-->"));
        html = style + html.mid(head);
    }
    return html;
}

void CPlayerView::showCaption(const std::string& cp949Html)
{
    m_captionHtml = CaptionCodec::toDisplay(cp949Html);
    m_caption->setHtml(captionWindowHtml(cp949Html));
}

void CPlayerView::showStartPage()
{
    // The start page is black and empty; with the banner allowed it names the program.
    if (m_frame.context().settings.NotDisplayBanner)
        m_captionHtml = QStringLiteral("<HTML><BODY bgcolor='black'></BODY></HTML>");
    else
        m_captionHtml = QStringLiteral(
            "<HTML><BODY bgcolor='black'><P align='center'><FONT color='#808080'>"
            "Verbanta</FONT></P></BODY></HTML>");
    m_caption->setHtml(m_captionHtml);
}

void CPlayerView::setPositionLabel(std::int32_t ms)
{
    m_positionLabel->setText(QString::fromStdString(
        FormatTime(std::max(ms, 0), m_frame.context().settings.DisplayAsTime)));
}

void CPlayerView::showSpeed()
{
    const QString text = QString::fromStdString(verbanta::speedText(m_settings.PlaybackSpeed));
    m_speedLabel->setText(text);
    m_speedStatusLabel->setText(QString::fromUtf8("재생 속도: ") + text);
}

QString CPlayerView::positionText() const
{
    return m_positionLabel->text();
}

QAbstractButton* CPlayerView::button(int id) const
{
    return qobject_cast<QAbstractButton*>(control(id));
}

QWidget* CPlayerView::control(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

}  // namespace verbanta::app
