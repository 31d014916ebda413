// A beep: a square wave of one frequency for a given time, played through
// the audio service a little ahead of the clock so that long beeps need no
// large buffer.
#pragma once

#include <cstdint>

#include "platform/audio.h"

namespace glint::platform {

struct Tone {
  AudioHandle handle = 0;  // 0: nothing plays
  uint32_t rate = 0;
  uint32_t frequency = 0;
  uint64_t samples_left = 0;  // not yet queued
  uint64_t phase = 0;         // in 1/rate of a period
  uint64_t queued = 0;        // bytes queued so far
};

inline constexpr uint32_t kToneRate = 44100;
// The frequencies a beep can have; others are silent.
inline constexpr int32_t kToneLowest = 37;
inline constexpr int32_t kToneHighest = 32767;

// Opens the tone's stream (16-bit mono at kToneRate); false, with nothing
// open, for a frequency out of range, a length of 0 or less, or a device
// that cannot open.
bool tone_open(Tone& tone, int32_t frequency, int32_t milliseconds);
// Queues more of the tone so that about `ahead_ms` wait to be played.
void tone_feed(Tone& tone, uint32_t ahead_ms);
void tone_close(Tone& tone);

}  // namespace glint::platform
