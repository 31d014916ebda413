// The millisecond timer's process-wide state, visible to its tests.
#pragma once

#include <cstdint>

namespace glint::util {

// Forgets the first call, so the next ORXTimerRead starts again at 0. Only
// tests do this; the player and the library never reset the timer.
void timer_reset_for_tests();

}  // namespace glint::util
