#include "glinter/palette_decode.h"

#include <gtest/gtest.h>

#include <vector>

namespace glint::glinter {
namespace {

std::array<uint8_t, 768> numbered() {
  std::array<uint8_t, 768> palette{};
  for (int i = 0; i < 768; ++i) palette[i] = uint8_t(i / 3);
  return palette;
}

TEST(Palette, SixBitComponentsGainTheirTopTwoBits) {
  EXPECT_EQ(kSixToEight[0], 0);
  EXPECT_EQ(kSixToEight[16], 65);
  EXPECT_EQ(kSixToEight[63], 255);
}

TEST(Palette, Commands) {
  struct Case {
    const char* name;
    std::vector<uint8_t> commands;
    int entry;  // entry checked
    std::array<uint8_t, 3> expected;
  };
  const std::vector<Case> cases = {
      {"two keeps complete the palette unchanged", {0xFF, 0xFF}, 200, {200, 200, 200}},
      {"literal", {0x3F, 0x00, 0x10, 0xFF, 0xFF}, 0, {255, 0, 65}},
      {"a literal above 63 is masked", {0x00, 0x3F, 0xC0, 0xFF, 0xFF}, 0, {0, 255, 0}},
      {"copy two from entry 0 to the current position",
       {0x80, 0x41, 0x00, 0xFF, 0xFF},
       2,
       {1, 1, 1}},
      {"copy reads the old palette, not this chunk's entries",
       {0x3F, 0x3F, 0x3F, 0x40, 0x00, 0xFF, 0xFF},
       1,
       {0, 0, 0}},
      {"a copy source past 255 copies only existing entries",
       {0x43, 0xFE, 0xFF, 0xFF},
       1,
       {255, 255, 255}},
      {"entries after a shortened copy keep their old value",
       {0x43, 0xFE, 0xFF, 0xFF},
       3,
       {3, 3, 3}},
      {"data running out reads zero literals", {0xFF}, 128, {0, 0, 0}},
      {"a keep past entry 255 is limited",
       {0xFF, 0xFE, 0xFF, 0x01, 0x02, 0x03},
       255,
       {255, 255, 255}},
  };
  for (const Case& c : cases) {
    auto palette = numbered();
    decode_palette(c.commands, palette);
    std::array<uint8_t, 3> got{palette[c.entry * 3], palette[c.entry * 3 + 1],
                               palette[c.entry * 3 + 2]};
    EXPECT_EQ(got, c.expected) << c.name;
  }
}

TEST(Palette, LiteralComponentAbove63IsMasked) {
  auto palette = numbered();
  const std::vector<uint8_t> commands = {0x3F, 0xFF,
                                         0x55};  // green 0xFF, blue 0x55: masked to 63, 21
  decode_palette(commands, palette);
  EXPECT_EQ(palette[1], kSixToEight[63]);
  EXPECT_EQ(palette[2], kSixToEight[0x55 & 63]);
}

}  // namespace
}  // namespace glint::glinter
