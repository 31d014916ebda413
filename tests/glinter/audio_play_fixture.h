// Animations with sound for the playing tests: clips written by the
// encoder, opened with track 0 through the fake sound output, and played
// through the decoder loop (wait, decode, advance) by its virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "audio_fake_sound.h"
#include "glinter/glint_record.h"
#include "orxutil/glint.h"
#include "support/temp_dir.h"

namespace glint::test {

inline uint32_t format_word(uint32_t rate, unsigned channels, unsigned bits, bool compressed) {
  return rate | (channels == 2 ? GLINT_FORMAT_STEREO : 0) | (bits == 16 ? GLINT_FORMAT_16BIT : 0) |
         (compressed ? GLINT_FORMAT_COMPRESSED : 0);
}

inline uint64_t frame_share(uint32_t format, int32_t period_ms) {
  const uint64_t align = ((format >> 28) & 1 ? 2 : 1) * ((format >> 29) & 1 ? 2 : 1);
  return uint64_t(format & 0xFFFFFF) * align * uint64_t(period_ms) / 1000;
}

// 16-bit samples that count up (each sample is its own index), so a played
// byte tells where in the track it came from; 8-bit samples that wander.
inline std::vector<uint8_t> counting_pcm(uint32_t format, uint64_t bytes) {
  std::vector<uint8_t> pcm(bytes);
  const bool wide = format & GLINT_FORMAT_16BIT;
  uint32_t wander = 0x80;
  for (uint64_t i = 0; i < bytes; ++i) {
    if (wide) {
      pcm[i] = uint8_t((i / 2) >> (i % 2 ? 8 : 0));
    } else {
      wander += (i * 2654435761u >> 13) % 5;
      pcm[i] = uint8_t(wander - 2 * (i % 3));
    }
  }
  return pcm;
}

struct Shown {
  uint32_t frame = 0;
  int colour = 0;          // picture[0]: frame f is drawn in colour f % 200 + 1
  uint64_t position = 0;   // the device's position when it was decoded
  int late = 0;
};

struct AudioPlay : ::testing::Test {
  TempDir dir;
  FakeSound fake;
  Glint* glint = nullptr;
  std::vector<uint8_t> picture = std::vector<uint8_t>(256, 0);
  std::vector<uint8_t> pcm;

  void TearDown() override { GlintClose(glint); }

  // Writes a clip of `frames` 16 x 16 frames with `pcm_bytes` of sound on
  // track 0 and opens it with that track.
  void open_clip(uint32_t format, int32_t period_ms, uint32_t frames, uint64_t pcm_bytes,
                 uint32_t open_flags = 0, uint32_t encode_flags = 0) {
    pcm = counting_pcm(format, pcm_bytes);
    GlintEncoder* encoder = GlintEncoderOpen(16, 16, period_ms, encode_flags);
    ASSERT_NE(encoder, nullptr);
    std::vector<uint8_t> palette(768);
    for (int i = 0; i < 768; ++i) palette[i] = uint8_t(i / 3);
    for (uint32_t f = 0; f < frames; ++f) {
      std::vector<uint8_t> pixels(256, uint8_t(f % 200 + 1));
      ASSERT_EQ(GlintEncoderAddFrame(encoder, pixels.data(), f == 0 ? palette.data() : nullptr), 1);
    }
    ASSERT_EQ(GlintEncoderAddTrack(encoder, 0, format, pcm.data(), uint32_t(pcm.size())), 1);
    ASSERT_EQ(GlintEncoderWrite(encoder, dir.file("clip.gnt").c_str()), 1)
        << GlintEncoderError(encoder);
    GlintEncoderClose(encoder);
    GlintClose(glint);
    glint = GlintOpen(dir.file("clip.gnt").c_str(), GLINT_TRACK0 | open_flags, -1);
    ASSERT_NE(glint, nullptr);
    ASSERT_TRUE(glint->mode_flags & GLINT_TRACK0);
    GlintSetOutput(glint, 0, 0, 16, 16, picture.data(), 0);
  }

  glinter::TrackSlot& slot() { return glinter::state_of(glint)->tracks[0]; }
  glinter::GlintTrack& track() { return *slot().track; }
  FakeDevice& device() { return fake.first(); }

  // Plays `count` frames; `before` runs ahead of each wait (index in the run).
  std::vector<Shown> play(uint32_t count, const std::function<void(uint32_t)>& before = {}) {
    std::vector<Shown> shown;
    for (uint32_t i = 0; i < count; ++i) {
      if (before) before(i);
      for (int guard = 0; GlintCheckWait(glint); ++guard) {
        if (guard > 100000) {
          ADD_FAILURE() << "frame " << glint->current_frame << " never became due";
          return shown;
        }
        fake.advance(1);
      }
      Shown s;
      s.frame = glint->current_frame;
      s.late = GlintDecodeFrame(glint);
      s.colour = picture[0];
      s.position = device().position;
      shown.push_back(s);
      if (i + 1 < count) GlintAdvanceFrame(glint);
    }
    return shown;
  }
  // Lets the device play out what waits.
  void play_out() {
    fake.advance(10000);
    glinter::sound_service();
  }
};

}  // namespace glint::test
