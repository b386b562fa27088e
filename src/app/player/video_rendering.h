#pragma once

namespace verbanta::app {

/// How the picture is drawn: through OpenGL, or by libmpv's software renderer into an image.
enum class VideoRendering { OpenGl, Software };

}  // namespace verbanta::app
