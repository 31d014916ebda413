// Bitmap fonts for screen text: the built-in 8 x 16 font and fonts cut from
// 8-bit pictures, and the renderer that draws a line of text with them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace glint::player {

inline constexpr int kBuiltinFirst = 32;
inline constexpr int kBuiltinLast = 175;
inline constexpr size_t kBuiltinGlyphs = kBuiltinLast - kBuiltinFirst + 1;
extern const std::array<uint8_t, kBuiltinGlyphs * 16> kBuiltinFontBits;

// Glyph g is `height` rows of (width + 7) / 8 bytes from row g x height,
// the leftmost pixel in the top bit.
struct Font {
  int width = 8;
  int height = 16;
  int first = kBuiltinFirst;
  int last = kBuiltinLast;
  std::vector<uint8_t> bits;  // empty: the built-in glyphs
};

Font builtin_font();
int font_row_bytes(const Font& font);
const uint8_t* font_glyph_row(const Font& font, int code, int row);

// Cuts a font from an 8-bit picture: cells of w x h from the top-left
// corner, left to right, continuing h rows lower when the next cell would
// start at or past the right edge. Nonzero pixels are set bits; pixels
// outside the picture read as 0. False (font unchanged) when w or h is below
// 1 (or absurdly large), first > last, or last > 255.
bool font_from_pixels(Font& font, const uint8_t* pixels, int32_t picture_width,
                      int32_t picture_height, int64_t pitch, int w, int h, int first, int last);

struct TextColours {
  uint8_t text = 7;
  uint8_t back = 0;
  uint8_t transparent = 128;
};

// An 8-bit target: `pixels` is the top-left pixel, rows `pitch` bytes apart.
struct TextTarget {
  uint8_t* pixels = nullptr;
  int64_t pitch = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// Draws the text with its top-left corner at (x, y): the glyph pixels in the
// text colour and the cell background in the background colour, except that
// a colour equal to the transparent one is not drawn (the text colour first:
// when it is transparent only the background is drawn). A code outside the
// font draws its first glyph. Pixels outside the target are left alone.
void render_text(const Font& font, std::string_view text, const TextColours& colours,
                 const TextTarget& target, int32_t x, int32_t y);

}  // namespace glint::player
