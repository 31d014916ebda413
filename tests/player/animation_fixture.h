// Animation tests: small animations made with the project's encoder in a
// temporary directory, a clean headless display drawing plain 32-bit
// colours (no 16-bit surface), and reading back what the window shows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "bitmap_fixture.h"
#include "orxutil/glint.h"
#include "platform/headless/headless_video.h"
#include "player/animation_table.h"
#include "player/display/screen.h"
#include "support/temp_dir.h"

namespace glint::test {

// Palettes travel in 6 bits a component: c becomes (c << 2) | (c >> 4).
inline uint8_t widen6(unsigned c) { return uint8_t((c & 63) << 2 | (c & 63) >> 4); }

// Entry k (below 64) shows red widen6(k): a snapshot's red >> 2 is the
// pixel's index. Green is the same everywhere.
inline std::vector<uint8_t> index_palette(unsigned green6 = 0) {
  std::vector<uint8_t> p(768);
  for (unsigned k = 0; k < 256; ++k) {
    p[k * 3] = widen6(k);
    p[k * 3 + 1] = widen6(green6);
    p[k * 3 + 2] = widen6(63 - (k & 63));
  }
  return p;
}

struct GntPlan {
  uint32_t width = 16;
  uint32_t height = 8;
  uint32_t frames = 3;
  int32_t period_ms = 40;
  uint32_t encode_flags = 0;  // GLINT_ENCODE_RING, ...
  // Pixel (x, y) of frame f; by default the whole frame is colour 10 + f.
  std::function<uint8_t(uint32_t f, uint32_t x, uint32_t y)> pixel;
  // The palette of frame f, or empty to keep the previous one (frame 0
  // always gets one: index_palette() unless given).
  std::function<std::vector<uint8_t>(uint32_t f)> palette;
  // A raw PCM track 0 (format word, samples) when not empty.
  uint32_t track_format = 0;
  std::vector<uint8_t> samples;
};

inline uint8_t frame_colour(uint32_t f) { return uint8_t(10 + f); }

inline GntPlan plan_of(uint32_t frames, uint32_t encode_flags = 0, uint32_t width = 16,
                       uint32_t height = 8, int32_t period_ms = 40) {
  GntPlan plan;
  plan.frames = frames;
  plan.encode_flags = encode_flags;
  plan.width = width;
  plan.height = height;
  plan.period_ms = period_ms;
  return plan;
}

inline std::string write_gnt(const TempDir& dir, const std::string& name, const GntPlan& plan) {
  GlintEncoder* encoder =
      GlintEncoderOpen(plan.width, plan.height, plan.period_ms, plan.encode_flags);
  EXPECT_NE(encoder, nullptr);
  if (!encoder) return "";
  std::vector<uint8_t> pixels(std::size_t(plan.width) * plan.height);
  for (uint32_t f = 0; f < plan.frames; ++f) {
    for (uint32_t y = 0; y < plan.height; ++y) {
      for (uint32_t x = 0; x < plan.width; ++x) {
        pixels[std::size_t(y) * plan.width + x] =
            plan.pixel ? plan.pixel(f, x, y) : frame_colour(f);
      }
    }
    std::vector<uint8_t> palette = plan.palette ? plan.palette(f) : std::vector<uint8_t>{};
    if (f == 0 && palette.empty()) palette = index_palette();
    EXPECT_EQ(
        GlintEncoderAddFrame(encoder, pixels.data(), palette.empty() ? nullptr : palette.data()),
        1);
  }
  if (!plan.samples.empty()) {
    EXPECT_EQ(GlintEncoderAddTrack(encoder, 0, plan.track_format, plan.samples.data(),
                                   uint32_t(plan.samples.size())),
              1);
  }
  const std::string path = dir.file(name);
  EXPECT_EQ(GlintEncoderWrite(encoder, path.c_str()), 1) << GlintEncoderError(encoder);
  GlintEncoderClose(encoder);
  return path;
}

// A binary PPM snapshot: its size and the red channel of each pixel.
struct Snapshot {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  uint8_t red(int x, int y) const { return rgb[(std::size_t(y) * width + x) * 3]; }
  int index(int x, int y) const { return red(x, y) >> 2; }  // with index_palette()
  uint8_t green(int x, int y) const { return rgb[(std::size_t(y) * width + x) * 3 + 1]; }
};

inline Snapshot read_snapshot(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  Snapshot s;
  int depth = 0;
  in >> magic >> s.width >> s.height >> depth;
  in.get();
  s.rgb.assign(std::istreambuf_iterator<char>(in), {});
  EXPECT_EQ(magic, "P6");
  EXPECT_EQ(s.rgb.size(), std::size_t(s.width) * s.height * 3);
  return s;
}

class AnimationTest : public BitmapTest {
 protected:
  void SetUp() override {
    BitmapTest::SetUp();
    set_caps(32, platform::kSurfaceNone);
  }
  void TearDown() override {
    unsetenv("GLINT_SNAPSHOT_DIR");
    unsetenv("GLINT_SNAPSHOT_EVERY");
    BitmapTest::TearDown();
  }
  // Snapshots after every present go to a directory of this test.
  std::string snapshot_every_present() {
    const std::string path = dir.file("snapshots");
    std::filesystem::create_directories(path);
    setenv("GLINT_SNAPSHOT_DIR", path.c_str(), 1);
    setenv("GLINT_SNAPSHOT_EVERY", "1", 1);
    return path;
  }
  // The snapshots written, in order.
  static std::vector<Snapshot> snapshots_in(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path)) names.push_back(e.path());
    std::sort(names.begin(), names.end());
    std::vector<Snapshot> out;
    for (const std::string& n : names) out.push_back(read_snapshot(n));
    return out;
  }
  std::string gnt(const std::string& name, const GntPlan& plan = {}) {
    return write_gnt(dir, name, plan);
  }
  static const player::AnimationEntry* entry(const player::test::ScriptRun& r, int number) {
    if (!r.player.animations) return nullptr;
    const auto& e = r.player.animations->entries[std::size_t(number - 3000)];
    return e.glint ? &e : nullptr;
  }

  TempDir dir;
};

}  // namespace glint::test
