#include "glinter/encoder/palette_encode.h"

#include <gtest/gtest.h>

#include <random>

#include "glinter/palette_decode.h"

namespace glint::glinter {
namespace {

Palette6 ramp() {
  Palette6 p;
  for (int i = 0; i < 768; ++i) p[i] = uint8_t((i / 3) % 64);
  return p;
}

// Decoding the chunk over the previous palette gives the next one.
void expect_round_trip(const Palette6& previous, const Palette6& next,
                       const std::vector<uint8_t>& chunk) {
  ASSERT_EQ(chunk.size() % 4, 0u);
  ASSERT_EQ(chunk[0] * 4u, chunk.size());
  std::array<uint8_t, 768> palette;
  for (int i = 0; i < 768; ++i) palette[i] = kSixToEight[previous[i]];
  decode_palette(std::span<const uint8_t>(chunk).subspan(1), palette);
  for (int i = 0; i < 768; ++i) ASSERT_EQ(palette[i], kSixToEight[next[i]]) << i;
}

TEST(PaletteEncode, ChunksUseTheCheapestCommands) {
  std::mt19937 random(1);
  Palette6 noise;
  for (uint8_t& c : noise) c = uint8_t(random() % 64);
  Palette6 rotated = ramp();
  std::rotate(rotated.begin(), rotated.begin() + 30, rotated.end());
  Palette6 one_changed = ramp();
  one_changed[300] ^= 1;
  struct Case {
    const char* name;
    Palette6 previous, next;
    size_t max_bytes;
  };
  const Case cases[] = {
      {"unchanged: two keeps", ramp(), ramp(), 4},
      {"one entry changed: keeps around a literal", ramp(), one_changed, 8},
      {"rotated: copies from elsewhere", ramp(), rotated, 16},
      {"unrelated: literals", Palette6{}, noise, 772},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> chunk = encode_palette_chunk(c.previous, c.next);
    EXPECT_LE(chunk.size(), c.max_bytes) << c.name;
    expect_round_trip(c.previous, c.next, chunk);
  }
}

}  // namespace
}  // namespace glint::glinter
