// The video tables of the back-ends (private to the platform layer).
#pragma once

#include "platform/video.h"

namespace glint::platform {

extern const VideoDriver headless_video;
#if defined(GLINT_HAVE_SDL)
extern const VideoDriver sdl_video;
#endif

}  // namespace glint::platform
