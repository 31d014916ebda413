// The back-ends known to the selection table (private to the platform layer).
#pragma once

#include "platform/platform.h"

namespace glint::platform {

extern const Backend headless_backend;
#if defined(GLINT_HAVE_SDL)
extern const Backend sdl_backend;
#endif

// Writes a message box's caption and text to standard error; both back-ends
// do this so that every box leaves a trace in logs.
void print_message_box(const char* caption, const char* text);

// The real clocks, shared by the back-ends that do not virtualise time.
uint64_t real_micros();
uint32_t real_ticks();
void real_sleep_micros(uint64_t duration);
void real_yield();

}  // namespace glint::platform
