#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/font.h"

namespace g = glint::player;

namespace {

// A 3 x 2 font of two glyphs cut from a picture: glyph 0 has only its
// top-left pixel set, glyph 1 only its bottom-right one.
g::Font tiny_font() {
  // The picture is 5 wide, so the second cell (x 3..5) hangs past the edge
  // and the cutting moves down a row of cells after it.
  const uint8_t picture[4][5] = {
      {1, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}};
  g::Font font;
  EXPECT_TRUE(g::font_from_pixels(font, &picture[0][0], 5, 4, 5, 3, 2, 'a', 'c'));
  return font;
}

TEST(Font, BuiltinCoversCodePage437From32To175) {
  const g::Font font = g::builtin_font();
  EXPECT_EQ(font.width, 8);
  EXPECT_EQ(font.height, 16);
  EXPECT_EQ(g::kBuiltinFontBits.size(), 144u * 16);
  // A space is empty; every other printable glyph has pixels.
  for (int row = 0; row < 16; ++row) EXPECT_EQ(*g::font_glyph_row(font, ' ', row), 0);
  for (int code = 33; code <= 175; ++code) {
    int set = 0;
    for (int row = 0; row < 16; ++row) set |= *g::font_glyph_row(font, code, row);
    EXPECT_NE(set, 0) << code;
  }
  // Codes outside the font draw its first glyph.
  EXPECT_EQ(g::font_glyph_row(font, 200, 3), g::font_glyph_row(font, ' ', 3));
  EXPECT_EQ(g::font_glyph_row(font, 10, 3), g::font_glyph_row(font, ' ', 3));
}

TEST(Font, CutFromPixelsAndRejectedShapes) {
  const g::Font font = tiny_font();
  EXPECT_EQ(font.width, 3);
  EXPECT_EQ(font.first, 'a');
  EXPECT_EQ(*g::font_glyph_row(font, 'a', 0), 0x80);
  // 'b' started at x 3: its third column lay outside the picture (read as 0).
  EXPECT_EQ(*g::font_glyph_row(font, 'b', 0), 0);
  // 'c' continued at the left edge two rows lower.
  EXPECT_EQ(*g::font_glyph_row(font, 'c', 0), 0);
  g::Font keep = font;
  const uint8_t pixel = 1;
  const struct {
    int w, h, first, last;
  } bad[] = {{0, 2, 0, 5},   {2, 0, 0, 5},  {-1, 2, 0, 5},  {2, 2, 9, 5},
             {2, 2, 0, 256}, {2, 2, -1, 5}, {5000, 2, 0, 5}};
  for (const auto& b : bad) {
    EXPECT_FALSE(g::font_from_pixels(keep, &pixel, 1, 1, 1, b.w, b.h, b.first, b.last));
    EXPECT_EQ(keep.width, 3);  // unchanged
  }
}

// The three transparency cases and clipping at every edge.
TEST(Font, RenderTransparencyAndClipping) {
  const g::Font font = g::builtin_font();
  const uint8_t* h_row = g::font_glyph_row(font, 'H', 2);
  struct Case {
    g::TextColours colours;
    int on, off;  // expected at a set and a clear pixel of row 2 (9: untouched)
  };
  const Case cases[] = {
      {{7, 0, 128}, 7, 0},
      {{128, 3, 128}, 9, 3},  // text colour transparent: background only
      {{7, 128, 128}, 7, 9},  // background transparent: glyph pixels only
      {{128, 128, 128}, 9, 128},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> buffer(16 * 20, 9);
    g::render_text(font, "H", c.colours, g::TextTarget{buffer.data(), 16, 16, 20}, 0, 0);
    ASSERT_TRUE(*h_row & 0x80);
    ASSERT_FALSE(*h_row & 0x20);
    EXPECT_EQ(buffer[2 * 16 + 0], c.on);
    EXPECT_EQ(buffer[2 * 16 + 2], c.off);
  }
  // Off every edge: a guard row and column around the target stay untouched.
  std::vector<uint8_t> framed(12 * 12, 5);
  const g::TextTarget inner{&framed[1 * 12 + 1], 12, 10, 10};
  const g::TextColours solid{7, 1, 128};
  for (int x : {-5, 6, -20, 9})
    for (int y : {-10, 3, -16, 9}) g::render_text(font, "HMW", solid, inner, x, y);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(framed[size_t(i)], 5);
    EXPECT_EQ(framed[size_t(11 * 12 + i)], 5);
    EXPECT_EQ(framed[size_t(i * 12)], 5);
    EXPECT_EQ(framed[size_t(i * 12 + 11)], 5);
  }
}

}  // namespace
