#include "player/bitmap_copy.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace glint::player {
namespace {

bool holds(const display::Target8& picture, int32_t x, int32_t y, int32_t width, int32_t rows) {
  return picture.top_row && x >= 0 && y >= 0 && width > 0 && rows > 0 &&
         int64_t{x} + width <= picture.width && int64_t{y} + rows <= picture.height;
}

bool shares_buffer(const display::Target8& a, const display::Target8& b) {
  return a.top_row == b.top_row;
}

// The area of a picture as a tight picture of its own, for copies whose
// input is also their output.
struct Snapshot {
  std::vector<uint8_t> pixels;
  display::Target8 target;
};

Snapshot snapshot(const display::Target8& picture, int32_t x, int32_t y, int32_t width,
                  int32_t rows) {
  Snapshot s;
  s.pixels.resize(std::size_t(width) * std::size_t(rows));
  for (int32_t row = 0; row < rows; ++row)
    std::memcpy(s.pixels.data() + std::size_t(row) * std::size_t(width),
                picture.top_row + int64_t(y + row) * picture.pitch + x, std::size_t(width));
  s.target = display::Target8{s.pixels.data(), width, width, rows};
  return s;
}

}  // namespace

std::optional<CopyArea> place_bitmap_copy(int32_t dest_width, int32_t dest_height,
                                          int32_t source_width, int32_t source_height, int32_t x,
                                          int32_t y) {
  const uint32_t ux = uint32_t(x), uy = uint32_t(y);
  CopyArea area;
  if (dest_width >= source_width && dest_height >= source_height) {
    if (ux >= uint32_t(dest_width) || uy >= uint32_t(dest_height)) return std::nullopt;
    area.dest_x = x;
    area.dest_y = y;
    area.width = std::min(source_width, dest_width - x);
    area.rows = std::min(source_height, dest_height - y);
  } else {
    if (ux >= uint32_t(source_width) || uy >= uint32_t(source_height)) return std::nullopt;
    area.source_x = x;
    area.source_y = y;
    area.width = std::min(dest_width, source_width - x);
    area.rows = std::min(dest_height, source_height - y);
  }
  if (area.width <= 0 || area.rows <= 0) return std::nullopt;
  return area;
}

std::optional<CopyArea> place_on_screen(int32_t screen_width, int32_t screen_height,
                                        int32_t source_width, int32_t source_height, int64_t x,
                                        int64_t y) {
  if (x < 0 || y < 0 || x >= screen_width || y >= screen_height) return std::nullopt;
  CopyArea area;
  area.dest_x = int32_t(x);
  area.dest_y = int32_t(y);
  area.width = std::min(source_width, screen_width - area.dest_x);
  area.rows = std::min(source_height, screen_height - area.dest_y);
  if (area.width <= 0 || area.rows <= 0) return std::nullopt;
  return area;
}

std::optional<CopyArea> place_from_screen(int32_t screen_width, int32_t screen_height,
                                          int32_t bitmap_width, int32_t bitmap_height, int64_t x,
                                          int64_t y) {
  const int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
  const int64_t x1 = std::min<int64_t>(x + bitmap_width, screen_width);
  const int64_t y1 = std::min<int64_t>(y + bitmap_height, screen_height);
  if (x1 <= x0 || y1 <= y0) return std::nullopt;
  CopyArea area;
  area.source_x = int32_t(x0);
  area.source_y = int32_t(y0);
  area.dest_x = int32_t(x0 - x);
  area.dest_y = int32_t(y0 - y);
  area.width = int32_t(x1 - x0);
  area.rows = int32_t(y1 - y0);
  return area;
}

void copy_row(uint8_t* dest, const uint8_t* source, int32_t width) {
  std::memmove(dest, source, std::size_t(width));
}

// The selects below read every input before choosing and have no branches,
// so the compiler turns them into wide vector operations (a read made only
// on one side of the choice keeps the loop scalar); the result is the same
// pixel by pixel.
void copy_row_transparent(uint8_t* dest, const uint8_t* source, int32_t width, uint8_t key) {
  for (int32_t i = 0; i < width; ++i) dest[i] = source[i] == key ? dest[i] : source[i];
}

void copy_row_masked(uint8_t* dest, const uint8_t* source, const uint8_t* mask, int32_t width,
                     uint8_t key) {
  for (int32_t i = 0; i < width; ++i) {
    const uint8_t kept = dest[i], taken = source[i];
    dest[i] = mask[i] == key ? kept : taken;
  }
}

void copy_row_merged(uint8_t* dest, const uint8_t* source, const uint8_t* second, int32_t width,
                     uint8_t key) {
  for (int32_t i = 0; i < width; ++i) {
    const uint8_t first = source[i], other = second[i];
    dest[i] = first == key ? other : first;
  }
}

void copy_area(const display::Target8& dest, const display::Target8& source,
               const display::Target8* extra, const CopyArea& area, CopyKind kind, uint8_t key) {
  const bool uses_extra = kind == CopyKind::kMasked || kind == CopyKind::kMerged;
  if (uses_extra && !extra) return;
  // The placement functions only make areas inside both pictures; an area
  // that is not stays uncopied rather than reaching outside a buffer.
  if (!holds(dest, area.dest_x, area.dest_y, area.width, area.rows) ||
      !holds(source, area.source_x, area.source_y, area.width, area.rows) ||
      (uses_extra && !holds(*extra, area.source_x, area.source_y, area.width, area.rows)))
    return;
  display::Target8 from = source;
  CopyArea at = area;
  Snapshot source_copy, extra_copy;
  display::Target8 extra_from = uses_extra ? *extra : display::Target8{};
  if (shares_buffer(source, dest)) {
    source_copy = snapshot(source, area.source_x, area.source_y, area.width, area.rows);
    from = source_copy.target;
  }
  if (uses_extra && shares_buffer(extra_from, dest)) {
    extra_copy = snapshot(extra_from, area.source_x, area.source_y, area.width, area.rows);
    extra_from = extra_copy.target;
  }
  const int32_t from_x = from.top_row == source.top_row ? area.source_x : 0;
  const int32_t from_y = from.top_row == source.top_row ? area.source_y : 0;
  const int32_t extra_x = uses_extra && extra_from.top_row == extra->top_row ? area.source_x : 0;
  const int32_t extra_y = uses_extra && extra_from.top_row == extra->top_row ? area.source_y : 0;
  for (int32_t row = 0; row < at.rows; ++row) {
    uint8_t* d = dest.top_row + int64_t(at.dest_y + row) * dest.pitch + at.dest_x;
    const uint8_t* s = from.top_row + int64_t(from_y + row) * from.pitch + from_x;
    const uint8_t* e =
        uses_extra ? extra_from.top_row + int64_t(extra_y + row) * extra_from.pitch + extra_x
                   : nullptr;
    switch (kind) {
      case CopyKind::kPlain:
        copy_row(d, s, at.width);
        break;
      case CopyKind::kTransparent:
        copy_row_transparent(d, s, at.width, key);
        break;
      case CopyKind::kMasked:
        copy_row_masked(d, s, e, at.width, key);
        break;
      case CopyKind::kMerged:
        copy_row_merged(d, s, e, at.width, key);
        break;
    }
  }
}

}  // namespace glint::player
