// The audio tables of the back-ends (private to the platform layer).
#pragma once

#include "platform/audio.h"

namespace glint::platform {

extern const AudioDriver headless_audio;
#if defined(GLINT_HAVE_SDL)
extern const AudioDriver sdl_audio;
#endif

}  // namespace glint::platform
