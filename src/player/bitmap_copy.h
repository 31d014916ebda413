// Copying rectangles between 8-bit pictures (bitmaps or the screen buffer):
// where a bitmap-to-bitmap copy lands, and the four ways a pixel is taken.
#pragma once

#include <cstdint>
#include <optional>

#include "player/display/draw8.h"

namespace glint::player {

enum class CopyKind : uint8_t {
  kPlain,        // every source pixel
  kTransparent,  // source pixels that are not the key
  kMasked,       // source pixels whose mask pixel is not the key
  kMerged,       // the source pixel, or the second source's where the source is the key
};

// A width x rows rectangle read at (source_x, source_y) and written at
// (dest_x, dest_y); always inside both pictures and never empty.
struct CopyArea {
  int32_t dest_x = 0, dest_y = 0;
  int32_t source_x = 0, source_y = 0;
  int32_t width = 0, rows = 0;
};

// Where BITMAPTOBITMAP puts a source into a destination, (x, y) lying in the
// larger one: a destination at least as large in both directions gets the
// source at (x, y); otherwise the destination is filled from the source's
// area at (x, y). Negative positions (taken as unsigned, as the screen copy
// does) and positions off the larger picture copy nothing.
std::optional<CopyArea> place_bitmap_copy(int32_t dest_width, int32_t dest_height,
                                          int32_t source_width, int32_t source_height, int32_t x,
                                          int32_t y);

// Where a picture copied to (x, y) of a screen lands: nothing when x or y is
// negative or past the screen (the unsigned test); cut at the right and bottom.
std::optional<CopyArea> place_on_screen(int32_t screen_width, int32_t screen_height,
                                        int32_t source_width, int32_t source_height, int64_t x,
                                        int64_t y);

// Where a bitmap filled from the screen area at (x, y) reads from: only the
// part of that area inside the screen (the rest of the bitmap keeps its
// pixels); nothing when the two do not meet.
std::optional<CopyArea> place_from_screen(int32_t screen_width, int32_t screen_height,
                                          int32_t bitmap_width, int32_t bitmap_height, int64_t x,
                                          int64_t y);

// One row of each kind; all spans are `width` pixels long.
void copy_row(uint8_t* dest, const uint8_t* source, int32_t width);
void copy_row_transparent(uint8_t* dest, const uint8_t* source, int32_t width, uint8_t key);
void copy_row_masked(uint8_t* dest, const uint8_t* source, const uint8_t* mask, int32_t width,
                     uint8_t key);
void copy_row_merged(uint8_t* dest, const uint8_t* source, const uint8_t* second, int32_t width,
                     uint8_t key);

// Applies the copy to the area. `extra` (the mask or second source) is read
// at the source's positions and must be as large as the source. Any of the
// inputs may be the destination itself, overlapping or not: the result is
// as if every input were read before the first pixel is written.
void copy_area(const display::Target8& dest, const display::Target8& source,
               const display::Target8* extra, const CopyArea& area, CopyKind kind, uint8_t key);

}  // namespace glint::player
