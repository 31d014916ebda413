#include "glinter/track_sizes.h"

#include <gtest/gtest.h>

namespace glint::glinter {
namespace {

constexpr uint32_t kStereo = 1u << 28, kSixteen = 1u << 29;

TEST(TrackSizes, ProductsDoNotWrapAt32Bits) {
  struct Case {
    const char* name;
    uint32_t format, period_10us, frames;
    uint64_t byte_rate, frame_bytes, ring, threshold;
  };
  const Case cases[] = {
      // 44.1 kHz 16-bit stereo at 25 frames/s: 7,056 bytes per frame.
      {"cd sound, 40 ms", 44100 | kStereo | kSixteen, 4000, 1000, 176400, 7056, 192512, 183456},
      // A 1-second period: rate x period = 17.6e9, past 32 bits.
      {"one frame per second", 44100 | kStereo | kSixteen, 100000, 30, 176400, 176400, 532480,
       352800},
      // Three frames: the whole animation's sound is the smallest.
      {"short animation", 22050, 4000, 3, 22050, 882, 24576, 2648},
      {"8 kHz mono, minimum ring", 8000, 4000, 100, 8000, 320, 12288, 8320},
  };
  for (const Case& c : cases) {
    TrackSizes s = track_sizes(c.format, c.period_10us, c.frames);
    EXPECT_EQ(s.byte_rate, c.byte_rate) << c.name;
    EXPECT_EQ(s.frame_bytes_q10 >> 10, c.frame_bytes) << c.name;
    EXPECT_EQ(s.ring_bytes, c.ring) << c.name;
    EXPECT_EQ(s.start_threshold, c.threshold) << c.name;
  }
}

}  // namespace
}  // namespace glint::glinter
