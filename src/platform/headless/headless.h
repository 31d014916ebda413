// Controls of the headless back-end, for tests and scripted runs.
#pragma once

#include <cstdint>

namespace glint::platform::headless {

// The virtual clock starts at 0 and moves only when something sleeps (by the
// time asked), yields (by kYieldMicros) or a test advances it.
inline constexpr uint64_t kYieldMicros = 1000;
void advance_micros(uint64_t duration);
// Moves the tick count alone, so tests can make it disagree with the counter.
void skew_ticks(int64_t milliseconds);

// Answers for the next message boxes, first in first out; a box with no
// queued answer takes its default button.
void queue_answer(int answer);
void clear_answers();
// How many message boxes were shown so far.
unsigned boxes_shown();

}  // namespace glint::platform::headless
