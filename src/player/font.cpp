#include "player/font.h"

#include <algorithm>

namespace glint::player {
namespace {

constexpr int kMaxGlyphSide = 1024;

}  // namespace

Font builtin_font() { return Font{}; }

int font_row_bytes(const Font& font) { return (font.width + 7) / 8; }

const uint8_t* font_glyph_row(const Font& font, int code, int row) {
  const int glyph = code < font.first || code > font.last ? 0 : code - font.first;
  const size_t offset =
      (size_t(glyph) * size_t(font.height) + size_t(row)) * size_t(font_row_bytes(font));
  return (font.bits.empty() ? kBuiltinFontBits.data() : font.bits.data()) + offset;
}

bool font_from_pixels(Font& font, const uint8_t* pixels, int32_t picture_width,
                      int32_t picture_height, int64_t pitch, int w, int h, int first, int last) {
  if (w < 1 || h < 1 || w > kMaxGlyphSide || h > kMaxGlyphSide || first < 0 || first > last ||
      last > 255)
    return false;
  Font next;
  next.width = w;
  next.height = h;
  next.first = first;
  next.last = last;
  const int row_bytes = font_row_bytes(next);
  next.bits.assign(size_t(last - first + 1) * size_t(h) * size_t(row_bytes), 0);
  auto pixel = [&](int64_t x, int64_t y) -> bool {
    if (!pixels || x < 0 || y < 0 || x >= picture_width || y >= picture_height) return false;
    return pixels[y * pitch + x] != 0;
  };
  int64_t cell_x = 0, cell_y = 0;
  for (int code = first; code <= last; ++code) {
    uint8_t* glyph = next.bits.data() + size_t(code - first) * size_t(h) * size_t(row_bytes);
    for (int row = 0; row < h; ++row)
      for (int col = 0; col < w; ++col)
        if (pixel(cell_x + col, cell_y + row))
          glyph[size_t(row) * size_t(row_bytes) + size_t(col / 8)] |= uint8_t(0x80 >> (col % 8));
    cell_x += w;
    if (cell_x >= picture_width) {
      cell_x = 0;
      cell_y += h;
    }
  }
  font = std::move(next);
  return true;
}

void render_text(const Font& font, std::string_view text, const TextColours& colours,
                 const TextTarget& target, int32_t x, int32_t y) {
  if (!target.pixels || text.empty()) return;
  const bool draw_text = colours.text != colours.transparent;
  const bool draw_back = !draw_text || colours.back != colours.transparent;
  for (int row = 0; row < font.height; ++row) {
    const int64_t ty = int64_t{y} + row;
    if (ty < 0 || ty >= target.height) continue;
    uint8_t* line = target.pixels + ty * target.pitch;
    for (size_t i = 0; i < text.size(); ++i) {
      const uint8_t* bits = font_glyph_row(font, uint8_t(text[i]), row);
      const int64_t cell = int64_t{x} + int64_t(i) * font.width;
      if (cell >= target.width) break;
      for (int col = 0; col < font.width; ++col) {
        const int64_t tx = cell + col;
        if (tx < 0 || tx >= target.width) continue;
        const bool set = bits[col / 8] & (0x80 >> (col % 8));
        if (set && draw_text)
          line[tx] = colours.text;
        else if (!set && draw_back)
          line[tx] = colours.back;
      }
    }
  }
}

}  // namespace glint::player
