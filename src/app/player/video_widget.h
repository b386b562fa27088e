#pragma once

#include <QImage>
#include <QOpenGLWidget>
#include <QWidget>

#include "player/video_rendering.h"

namespace verbanta::app {

class MediaBackend;

/// Whether OpenGL can be used for the video here: not on the offscreen and other windowless
/// platforms, not when VERBANTA_VIDEO=software asks for the fallback, and only when a
/// context can be created.
bool openGlUsable();

/// The picture drawn by OpenGL in a QOpenGLWidget. Emits `failed` when libmpv cannot draw
/// with the context, so that the view can fall back to the software picture.
class OpenGlVideoWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    OpenGlVideoWidget(MediaBackend& backend, QWidget* parent = nullptr);
    ~OpenGlVideoWidget() override;

signals:
    void failed();

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    MediaBackend& m_backend;
    bool m_attached = false;
};

/// The picture drawn by libmpv's software renderer into an image that a plain widget paints;
/// for sessions without OpenGL. The frames are drawn as they come, shown or not, so that
/// the player never waits for the window.
class SoftwareVideoWidget : public QWidget {
    Q_OBJECT
public:
    SoftwareVideoWidget(MediaBackend& backend, QWidget* parent = nullptr);
    ~SoftwareVideoWidget() override;

    bool attached() const { return m_attached; }
    /// The last frame drawn, at the widget's size.
    const QImage& frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void drawFrame();

    MediaBackend& m_backend;
    QImage m_frame;
    bool m_attached = false;
};

}  // namespace verbanta::app
