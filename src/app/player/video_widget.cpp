#include "player/video_widget.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPainter>

#include "player/media_backend.h"

namespace verbanta::app {
namespace {

void* procAddress(void*, const char* name)
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(QByteArray(name))) : nullptr;
}

}  // namespace

bool openGlUsable()
{
    if (qEnvironmentVariable("VERBANTA_VIDEO") == QLatin1String("software"))
        return false;
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ||
        platform == QLatin1String("vnc"))
        return false;
    QOpenGLContext context;
    if (!context.create())
        return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    const bool current = surface.isValid() && context.makeCurrent(&surface);
    if (current)
        context.doneCurrent();
    return current;
}

// ---- OpenGL ------------------------------------------------------------------------------

OpenGlVideoWidget::OpenGlVideoWidget(MediaBackend& backend, QWidget* parent)
    : QOpenGLWidget(parent), m_backend(backend)
{
    connect(&m_backend, &MediaBackend::frameReady, this, [this] { update(); });
}

OpenGlVideoWidget::~OpenGlVideoWidget()
{
    if (m_attached) {
        // libmpv frees its GL objects in the context they were made in.
        makeCurrent();
        m_backend.detachRenderer();
        doneCurrent();
    }
}

void OpenGlVideoWidget::initializeGL()
{
    m_attached = m_backend.attachOpenGl(procAddress, nullptr);
    if (!m_attached)
        QMetaObject::invokeMethod(this, &OpenGlVideoWidget::failed, Qt::QueuedConnection);
}

void OpenGlVideoWidget::paintGL()
{
    if (!m_attached)
        return;
    const qreal ratio = devicePixelRatioF();
    m_backend.renderOpenGl(static_cast<int>(defaultFramebufferObject()),
                           static_cast<int>(width() * ratio), static_cast<int>(height() * ratio));
}

// ---- software ----------------------------------------------------------------------------

SoftwareVideoWidget::SoftwareVideoWidget(MediaBackend& backend, QWidget* parent)
    : QWidget(parent), m_backend(backend)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_attached = m_backend.attachSoftware();
    connect(&m_backend, &MediaBackend::frameReady, this, [this] {
        if (m_backend.frameWaiting())
            drawFrame();
    });
}

SoftwareVideoWidget::~SoftwareVideoWidget()
{
    if (m_attached)
        m_backend.detachRenderer();
}

void SoftwareVideoWidget::drawFrame()
{
    const QSize size = this->size().expandedTo(QSize(16, 16));
    if (m_frame.size() != size)
        m_frame = QImage(size, QImage::Format_RGBX8888);
    if (m_backend.renderSoftware(m_frame))
        update();
}

void SoftwareVideoWidget::resizeEvent(QResizeEvent*)
{
    if (m_attached && m_backend.openState() == MediaBackend::Open)
        drawFrame();
}

void SoftwareVideoWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (m_frame.isNull() || m_backend.openState() != MediaBackend::Open)
        p.fillRect(rect(), Qt::black);
    else
        p.drawImage(rect(), m_frame);
}

}  // namespace verbanta::app
