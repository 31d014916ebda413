// Sound output: the audio service of the platform layer.
//
// A stream is opened for one PCM format and named by a small non-zero
// handle. Bytes queued to it play in order; when nothing is queued the
// device plays silence by itself, and what comes later plays from then on.
// `played` counts the bytes the device has consumed since the open, so a
// caller measures playback in bytes of its own data. Every call comes from
// the program's main thread.
#pragma once

#include <cstdint>

namespace glint::platform {

using AudioHandle = uint32_t;  // 0: no stream

struct AudioFormat {
  uint32_t rate = 22050;  // samples per second
  uint32_t channels = 1;  // 1 or 2
  uint32_t bits = 8;      // 8 (unsigned) or 16 (signed, little-endian)
};

// Names the stream in captures: a track number 0..6, or kAudioStreamTone.
inline constexpr int kAudioStreamTone = -1;

struct AudioDriver {
  // Whether sound output can work on this machine at all.
  bool (*available)();
  // Opens a stream and starts it; 0 on failure.
  AudioHandle (*open)(const AudioFormat& format, int stream);
  // Waits up to `timeout_ms` until the device runs (consumes data as it
  // comes); false when it did not start.
  bool (*wait_started)(AudioHandle handle, uint32_t timeout_ms);
  // Appends bytes (whole sample frames) to play; false when refused.
  bool (*queue)(AudioHandle handle, const uint8_t* bytes, uint64_t count);
  // Bytes consumed since the open (never more than were queued).
  uint64_t (*played)(AudioHandle handle);
  // Drops what is queued and not yet played.
  void (*clear)(AudioHandle handle);
  void (*close)(AudioHandle handle);
};

const AudioDriver& audio();

// Bytes per second of a format (0 for a format no device plays).
inline uint32_t audio_byte_rate(const AudioFormat& format) {
  return format.rate * format.channels * (format.bits / 8);
}

}  // namespace glint::platform
