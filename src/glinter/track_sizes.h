// Sizes of an audio track's ring at open: bytes per frame, the ring and the
// start threshold. All products are taken in 64 bits: rate x period alone
// passes 32 bits for ordinary files.
#pragma once

#include <cstdint>

namespace glint::glinter {

struct TrackSizes {
  uint64_t byte_rate = 0;        // bytes per second
  uint64_t frame_bytes_q10 = 0;  // bytes per frame, 10 fraction bits
  uint64_t ring_bytes = 0;       // (2 x frame + 1 second), multiple of 4,096, at least 8,192
  uint64_t start_threshold = 0;  // smallest of ring, frame + second, whole animation
};

// format: the track format word; period_10us: the frame period in units of
// 10 microseconds; frames: the animation's frame count.
TrackSizes track_sizes(uint32_t format, uint32_t period_10us, uint32_t frames);

}  // namespace glint::glinter
