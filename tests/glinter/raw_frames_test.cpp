// The raw frame file reader of `orx encode` (header-only, in apps/orx).
#include "../../apps/orx/raw_frames.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

void put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(char(v >> (8 * i)));
}

std::string header(uint32_t frames, uint32_t w, uint32_t h, int32_t period) {
  std::string out = "RAWB";
  put32(out, frames);
  put32(out, w);
  put32(out, h);
  put32(out, uint32_t(period));
  return out;
}

TEST(RawFrames, TagsGivePalettesPicturesAndRepeats) {
  glint::test::TempDir dir;
  std::string bytes = header(3, 2, 2, -40);
  put32(bytes, 0);
  bytes += std::string(768, '\x07');
  put32(bytes, 1);
  bytes += "abcd";
  put32(bytes, 7);  // no new pixels: the picture stays
  put32(bytes, 1);
  bytes += "wxyz";
  dir.write("in.raw", bytes);
  orx::RawFrames raw;
  std::string error;
  ASSERT_TRUE(orx::read_raw_frames(dir.file("in.raw").c_str(), raw, error)) << error;
  ASSERT_EQ(raw.pictures.size(), 3u);
  EXPECT_EQ(std::string(raw.pictures[1].begin(), raw.pictures[1].end()), "abcd");
  EXPECT_EQ(std::string(raw.pictures[2].begin(), raw.pictures[2].end()), "wxyz");
  EXPECT_EQ(raw.palettes[2][767], 7);
  EXPECT_EQ(orx::glinter_period(raw.period), 40);  // 40 ms
  EXPECT_EQ(orx::glinter_period(4000), -4000);     // 4,000 x 10 us
  EXPECT_EQ(orx::glinter_period(0), 0);
}

TEST(RawFrames, DamagedFilesAreRefusedWithAReason) {
  glint::test::TempDir dir;
  std::string cut = header(2, 4, 4, 0);
  put32(cut, 1);
  cut += std::string(16, 'p');
  put32(cut, 1);
  cut += "short";
  const std::pair<const char*, std::string> cases[] = {
      {"not RAWB", "RIFF" + std::string(16, '\0')},
      {"header cut short", "RAWB\x01\x00"},
      {"no picture size", header(1, 0, 4, 0)},
      {"pixels cut short", cut},
  };
  for (const auto& [name, bytes] : cases) {
    dir.write("bad.raw", bytes);
    orx::RawFrames raw;
    std::string error;
    EXPECT_FALSE(orx::read_raw_frames(dir.file("bad.raw").c_str(), raw, error)) << name;
    EXPECT_FALSE(error.empty()) << name;
  }
}

}  // namespace
