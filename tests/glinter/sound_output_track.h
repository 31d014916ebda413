// A track record filled by hand for the sound output's tests: its ring, its
// counters, and a writer that plays the decoder's part.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "glinter/glint_track.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/platform.h"

namespace glint::glinter::test {

inline std::unique_ptr<GlintTrack> make_track(uint32_t rate, uint32_t channels, uint32_t bits,
                                              uint64_t ring_size = 1 << 18, uint32_t number = 0) {
  auto t = std::make_unique<GlintTrack>();
  t->number = number;
  t->sample_rate = rate;
  t->channels = channels;
  t->bits = bits;
  t->block_align = channels * bits / 8;
  t->byte_rate = rate * t->block_align;
  t->ring = make_aligned_bytes(ring_size);
  t->ring_size = ring_size;
  return t;
}

// The decoder's side: appends bytes at the write position (across the wrap).
// Returns false (writing nothing) when they do not fit.
inline bool put(GlintTrack& t, const std::vector<uint8_t>& bytes) {
  if (bytes.size() > t.ring_size - track_waiting(t)) return false;
  for (uint8_t b : bytes) {
    t.ring[t.write_pos] = b;
    t.write_pos = (t.write_pos + 1) % t.ring_size;
  }
  t.written.fetch_add(bytes.size(), std::memory_order_release);
  return true;
}

// Bytes no two of which in a row are alike, so a lost or repeated piece shows.
inline std::vector<uint8_t> pcm(size_t n, uint32_t seed = 1) {
  std::vector<uint8_t> v(n);
  uint32_t x = seed * 2654435761u + 12345;
  for (size_t i = 0; i < n; ++i) {
    x = x * 1103515245u + 12345;
    v[i] = static_cast<uint8_t>(x >> 16);
  }
  return v;
}

inline void advance_ms(uint64_t ms) { platform::headless::advance_micros(ms * 1000); }

// Every test starts on a fresh headless device, far enough on the clock that
// a rate-limited service runs at once.
class SoundOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::select_backend("headless"));
    unsetenv("GLINT_AUDIO_CAPTURE");
    unsetenv("GLINT_HEADLESS_AUDIO");
    platform::headless::reset_audio();
    advance_ms(1000);
  }
  void TearDown() override {
    platform::headless::reset_audio();
    unsetenv("GLINT_AUDIO_CAPTURE");
  }
};

}  // namespace glint::glinter::test
