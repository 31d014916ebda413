#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "glinter/encoder/glint_encoder.h"
#include "glinter/palette_decode.h"
#include "orxutil/glint.h"
#include "support/temp_dir.h"

namespace glint::glinter {
namespace {

struct Clip {
  uint32_t width, height;
  std::vector<std::vector<uint8_t>> pictures;
  std::vector<Palette> palettes;
};

Palette random_palette(std::mt19937& random) {
  Palette p;
  for (uint8_t& c : p) c = uint8_t(random());
  return p;
}

// Noise: every block full.
Clip noise(uint32_t w, uint32_t h, int frames, std::mt19937& random) {
  Clip clip{w, h, {}, {}};
  for (int f = 0; f < frames; ++f) {
    std::vector<uint8_t> picture(size_t(w) * h);
    for (uint8_t& p : picture) p = uint8_t(random());
    clip.pictures.push_back(picture);
    clip.palettes.push_back(random_palette(random));
  }
  return clip;
}

// Moving rectangles over a still background of 2x2 squares and stripes:
// unchanged and solid runs, two-colour edges, double-size and half-height
// full blocks; the palette changes now and then.
Clip structured(uint32_t w, uint32_t h, int frames, std::mt19937& random) {
  Clip clip{w, h, {}, {}};
  std::vector<uint8_t> background(size_t(w) * h);
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) {
      uint8_t v = uint8_t(((x / 2) * 7 + (y / 2) * 13) % 11);  // 2x2 squares
      if (y >= h / 2) v = uint8_t((x * 5) % 9 + 20);           // vertical stripes: half-height
      if (x < 8) v = 3;                                        // a solid strip
      background[size_t(y) * w + x] = v;
    }
  Palette palette = random_palette(random);
  for (int f = 0; f < frames; ++f) {
    std::vector<uint8_t> picture = background;
    for (int r = 0; r < 3; ++r) {
      uint32_t x0 = (uint32_t(f) * (3 + r) + 11 * r) % w, y0 = (uint32_t(f) * (2 + r) + 5 * r) % h;
      for (uint32_t y = y0; y < std::min(h, y0 + 9); ++y)
        for (uint32_t x = x0; x < std::min(w, x0 + 13); ++x)
          picture[size_t(y) * w + x] = uint8_t(200 + r);
    }
    if (f % 3 == 2) {
      palette[(f * 3) % 768] ^= 0xFC;
      std::rotate(palette.begin(), palette.begin() + 3, palette.begin() + 30);
    }
    clip.pictures.push_back(picture);
    clip.palettes.push_back(palette);
  }
  return clip;
}

struct Geometry {
  const char* name;
  bool interlaced, doubled;
};

void check_round_trip(const Clip& clip, bool version4, bool ring, const Geometry& geometry,
                      uint32_t open_flags, int32_t buffer_size) {
  SCOPED_TRACE(std::string(geometry.name) + (version4 ? " GNT4" : " GNT2") + (ring ? " ring" : "") +
               " flags " + std::to_string(open_flags) + " buffer " + std::to_string(buffer_size));
  test::TempDir dir;
  uint32_t flags = (version4 ? GLINT_ENCODE_VERSION4 : 0) | (ring ? GLINT_ENCODE_RING : 0) |
                   (geometry.interlaced ? GLINT_ENCODE_INTERLACED : 0) |
                   (geometry.doubled ? GLINT_ENCODE_DOUBLED : 0);
  GlintEncoder* encoder = GlintEncoderOpen(clip.width, clip.height, 40, flags);
  ASSERT_NE(encoder, nullptr);
  for (size_t f = 0; f < clip.pictures.size(); ++f)
    ASSERT_EQ(GlintEncoderAddFrame(encoder, clip.pictures[f].data(), clip.palettes[f].data()), 1);
  const std::string name = dir.file("clip.gnt");
  ASSERT_EQ(GlintEncoderWrite(encoder, name.c_str()), 1) << GlintEncoderError(encoder);
  GlintEncoderClose(encoder);

  Glint* glint = GlintOpen(name.c_str(), open_flags, buffer_size);
  ASSERT_NE(glint, nullptr);
  const uint32_t w = clip.width, lines = glint->height;
  std::vector<uint8_t> buffer(size_t(w) * lines, 0);
  GlintSetOutput(glint, 0, 0, int32_t(w), lines, buffer.data(), 0);
  const size_t n = clip.pictures.size();
  for (size_t step = 0; step < 2 * n + 2; ++step) {
    // Play order: 0 .. n-1, then (ring frame = frame 0 | frame 0), 1, ...
    size_t loop_position = step < n ? step : (step - n) % n;
    const size_t expected = loop_position;
    GlintDecodeFrame(glint);
    for (uint32_t y = 0; y < clip.height; ++y) {
      uint32_t line = (geometry.interlaced || geometry.doubled) ? 2 * y : y;
      const uint8_t* want = &clip.pictures[expected][size_t(y) * w];
      ASSERT_EQ(0, std::memcmp(&buffer[size_t(line) * w], want, w))
          << "step " << step << " row " << y;
      if (geometry.doubled) {
        ASSERT_EQ(0, std::memcmp(&buffer[size_t(line + 1) * w], want, w));
      }
    }
    for (int i = 0; i < 768; ++i)
      ASSERT_EQ(glint->palette[i], kSixToEight[clip.palettes[expected][i] >> 2]) << "step " << step;
    GlintAdvanceFrame(glint);
  }
  EXPECT_EQ(glint->read_failed, 0u);
  GlintClose(glint);
}

TEST(EncoderRoundTrip, EveryVersionGeometryAndRing) {
  std::mt19937 random(11);
  const Clip clips[] = {noise(32, 24, 4, random), structured(96, 64, 12, random)};
  const Geometry geometries[] = {
      {"plain", false, false}, {"interlaced", true, false}, {"doubled", false, true}};
  for (const Clip& clip : clips)
    for (bool version4 : {false, true})
      for (bool ring : {false, true})
        for (const Geometry& geometry : geometries)
          check_round_trip(clip, version4, ring, geometry, 0, 0);
}

TEST(EncoderRoundTrip, StreamingThroughTheRingBuffer) {
  std::mt19937 random(12);
  Clip clip = noise(160, 120, 6, random);  // ~19 KB per frame: past the 8 KB ring
  check_round_trip(clip, true, true, {"plain", false, false}, 0, 0);
  check_round_trip(clip, false, false, {"plain", false, false}, 0, -1);
  check_round_trip(clip, false, true, {"plain", false, false}, GLINT_WHOLE_FILE, 0);
}

TEST(EncoderRoundTrip, RawAudioTracksAreCarriedAndSkipped) {
  test::TempDir dir;
  std::mt19937 random(13);
  Clip clip = structured(32, 32, 5, random);
  GlintEncoder* encoder = GlintEncoderOpen(32, 32, 100, 0);
  for (size_t f = 0; f < clip.pictures.size(); ++f)
    GlintEncoderAddFrame(encoder, clip.pictures[f].data(), clip.palettes[f].data());
  std::vector<uint8_t> pcm(11025 / 2);  // half a second of 8-bit mono
  for (uint8_t& s : pcm) s = uint8_t(random());
  ASSERT_EQ(GlintEncoderAddTrack(encoder, 1, 11025, pcm.data(), uint32_t(pcm.size())), 1);
  EXPECT_EQ(GlintEncoderAddTrack(encoder, 1, 11025, pcm.data(), 4), 0);  // taken
  const std::string name = dir.file("a.gnt");
  ASSERT_EQ(GlintEncoderWrite(encoder, name.c_str()), 1) << GlintEncoderError(encoder);
  GlintEncoderClose(encoder);

  Glint* glint = GlintOpen(name.c_str(), GLINT_TRACK(1), 0);
  ASSERT_NE(glint, nullptr);
  EXPECT_EQ(glint->track_format[1], 11025u | (1u << 30));
  std::vector<uint8_t> buffer(32 * 32);
  GlintSetOutput(glint, 0, 0, 32, 32, buffer.data(), 0);
  uint64_t audio = 0;
  for (size_t f = 0; f < clip.pictures.size(); ++f) {
    uint32_t entry = 0, type = 0;
    ASSERT_EQ(GlintFrameInfo(glint, uint32_t(f), &entry, &type), 1);
    EXPECT_EQ(entry % 4, 0u);
    if (type & 4) audio += 1;
    GlintDecodeFrame(glint);
    EXPECT_EQ(buffer, clip.pictures[f]) << f;
    GlintAdvanceFrame(glint);
  }
  EXPECT_EQ(audio, 5u);  // 0.1 s of sound in each frame
  GlintClose(glint);
}

TEST(EncoderRoundTrip, BadInputIsRefused) {
  EXPECT_EQ(GlintEncoderOpen(30, 32, 40, 0), nullptr);
  EXPECT_EQ(GlintEncoderOpen(0, 32, 40, 0), nullptr);
  EXPECT_EQ(GlintEncoderOpen(32, 32, 40, GLINT_ENCODE_INTERLACED | GLINT_ENCODE_DOUBLED), nullptr);
  test::TempDir dir;
  GlintEncoder* encoder = GlintEncoderOpen(8, 8, 40, 0);
  EXPECT_EQ(GlintEncoderWrite(encoder, dir.file("x.gnt").c_str()), 0);  // no frames
  EXPECT_STRNE(GlintEncoderError(encoder), "");
  GlintEncoderClose(encoder);
  // A failed write leaves an existing file as it was.
  dir.write("keep.gnt", "old");
  encoder = GlintEncoderOpen(8, 8, 0, 0);
  std::vector<uint8_t> pixels(64, 1);
  GlintEncoderAddFrame(encoder, pixels.data(), nullptr);
  GlintEncoderAddTrack(encoder, 0, 8000, pixels.data(), 64);  // sound without a frame period
  EXPECT_EQ(GlintEncoderWrite(encoder, dir.file("keep.gnt").c_str()), 0);
  GlintEncoderClose(encoder);
  EXPECT_EQ(dir.read("keep.gnt"), "old");
}

}  // namespace
}  // namespace glint::glinter
