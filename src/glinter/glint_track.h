// An open audio track: the ring that the decoder fills with PCM and the
// sound output drains. This record is the whole contract between the two
// sides (with the operation table in sound_hook.h).
//
// The ring is single-producer single-consumer: only the decoder moves
// write_pos and `written`, only the sound output moves read_pos and `taken`.
// The counters are atomic so that the output could drain from another
// thread; in this program every sound service runs on the main thread.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <span>

#include "glinter/aligned_alloc.h"

namespace glint::glinter {

struct GlintTrack {
  // Format, fixed at open.
  uint32_t number = 0;       // 0..6
  uint32_t format = 0;       // the track format word from the header
  uint32_t sample_rate = 0;  // possibly scaled at open
  uint32_t channels = 1;     // 1 or 2
  uint32_t bits = 8;         // 8 or 16
  uint32_t block_align = 1;  // channels x bytes per sample
  uint32_t byte_rate = 0;    // sample_rate x block_align
  bool debug = false;        // the decoder's debug switch: log the device texts

  // The ring, filled with silence when allocated.
  AlignedBytes ring;
  uint64_t ring_size = 0;
  uint64_t write_pos = 0;            // decoder side
  uint64_t read_pos = 0;             // sound output side
  std::atomic<uint64_t> written{0};  // bytes put in the ring in all (silence included)
  std::atomic<uint64_t> taken{0};    // bytes the sound output has taken
  // Set by the sound output when playback ran out of data; read and
  // cleared by the decoder, which then pre-rolls silence.
  std::atomic<bool> ran_dry{false};

  // The sound output's private per-track state (owned and freed by its
  // close-track operation).
  void* device = nullptr;
};

inline uint8_t track_silence(const GlintTrack& track) { return track.bits == 16 ? 0x00 : 0x80; }

// Bytes in the ring not yet taken by the sound output.
inline uint64_t track_waiting(const GlintTrack& track) {
  return track.written.load(std::memory_order_acquire) - track.taken.load(std::memory_order_relaxed);
}

// Copies up to out.size() waiting bytes from the ring (across its wrap) and
// marks them taken. Returns the count copied.
inline uint64_t track_take(GlintTrack& track, std::span<uint8_t> out) {
  uint64_t count = std::min<uint64_t>(out.size(), track_waiting(track));
  if (track.ring_size == 0) return 0;
  uint64_t done = 0;
  while (done < count) {
    const uint64_t piece = std::min(count - done, track.ring_size - track.read_pos);
    std::memcpy(out.data() + done, track.ring.get() + track.read_pos, piece);
    done += piece;
    track.read_pos = (track.read_pos + piece) % track.ring_size;
  }
  track.taken.fetch_add(count, std::memory_order_release);
  return count;
}

}  // namespace glint::glinter
