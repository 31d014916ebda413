// Controls of the headless audio service, for tests and scripted runs.
//
// Each stream is a virtual device on the virtual clock: it consumes what was
// queued at the format's byte rate (min(queued, elapsed x byte rate), in
// whole sample frames) and plays silence while starved, so time spent
// starved is a gap and later data plays from when it arrives. Nothing waits
// for real time.
//
// Capture: with GLINT_AUDIO_CAPTURE=PATH.wav every stream's consumed bytes
// are written as a PCM WAV file, one per track for the whole run (a stream
// reopened for the same track and format continues its file). While a
// single track has played the file is PATH.wav; once a second track plays,
// each track's file is PATH-N.wav (N the track number, and an earlier
// PATH.wav is renamed to its track's name). The SOUND command's tone goes to
// PATH-tone.wav. Files are written through a temporary file and a rename
// when a stream closes and at exit.
//
// Faults: GLINT_HEADLESS_AUDIO holds comma-separated words: "missing" (no
// sound output on this machine), "fail" (every open fails), "nostart"
// (streams open but never start: nothing is consumed and waiting for the
// start times out), "stall" (streams start but consume nothing). The
// functions below override the variable.
#pragma once

#include <cstdint>

#include "platform/audio.h"

namespace glint::platform::headless {

enum class AudioFault { none, missing, open_fails, never_starts };

// Overrides GLINT_HEADLESS_AUDIO's fault word until reset_audio.
void set_audio_fault(AudioFault fault);
// While on, no stream consumes anything (the device is stuck); the time
// passes as a gap.
void set_audio_stalled(bool on);
// Streams open now.
unsigned audio_streams_open();
// Bytes queued to a stream and not yet consumed (0 for an unknown handle).
uint64_t audio_pending(AudioHandle handle);
// Closes every stream (writing the captures), forgets all captures and the
// overrides above (tests).
void reset_audio();

}  // namespace glint::platform::headless
