// The copier: brings a rectangle of the 8-bit screen buffer into a
// destination of another pixel size, at 1x or doubled, plain, interlaced or
// smoothed. The accelerated display path writes through it straight into
// the window's 16-bit surface.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "player/display/palette_format.h"

namespace glint::player::display {

// Opening flags. The first of smoothing, interlaced and 2x that is set
// wins; none gives 1x.
inline constexpr uint32_t kCopierOneX = 0x1;
inline constexpr uint32_t kCopierDouble = 0x2;
inline constexpr uint32_t kCopierSmooth = 0x4;
inline constexpr uint32_t kCopierInterlace = 0x8;
inline constexpr uint32_t kCopier555 = 0x80000000u;
inline constexpr uint32_t kCopier565 = 0xC0000000u;
inline constexpr uint32_t kCopierFormatMask = 0xC0000000u;

// Copy types: 0-3 write 8-bit pixels, 6-9 the same shapes in 16 bits.
enum CopierType : int {
  kCopy8 = 0,
  kCopy8Double = 1,
  kCopy8Interlaced = 2,
  kCopy8Smoothed = 3,
  kCopy16 = 6,
  kCopy16Double = 7,
  kCopy16Interlaced = 8,
  kCopy16Smoothed = 9,
};

struct Copier {
  uint32_t flags = 0;
  int type = kCopy8;
  Rgb768 palette{};
  std::vector<uint16_t> colours;  // 16-bit types: the colour of each index
  std::vector<uint8_t> pairs8;    // type 3: nearest index to the mean of two
  std::vector<uint16_t> pairs16;  // type 9: 16-bit colour of the mean of two
  uint32_t change_count = 0;
  uint32_t colours_built_at = 0;
  uint32_t pairs_built_at = 0;
  int pairs_kind = 0;           // 8 or 16: what the pair table was last built for
  bool rebuild_pending = true;  // nothing built yet
  // Called before and after every pair-table build (the sound output's
  // service call, so audio keeps streaming through the long 8-bit build).
  void (*service)() = nullptr;
};

int copier_type_for(uint32_t flags);
// A new copier (tables empty until the first palette).
std::unique_ptr<Copier> copier_open(uint32_t flags);

// Takes the palette (layout as palette_format.h); when it differs from the
// stored one, or nothing was built yet, stores it and rebuilds the tables.
// Returns 8 or 16 (bits per output pixel) when it rebuilt, else 0.
int copier_set_palette(Copier& copier, const uint8_t* entries, unsigned format);

// The copy type's description, with " using MMX" for the types that have a
// wide form when `wide` says it is in use; the second form asks the decoder
// whether it is.
std::string copier_describe(const Copier& copier, bool wide);
std::string copier_describe(const Copier& copier);

// Copies the w x h source rectangle at (sx, sy) to the output position of
// source pixel (x, y): (x, y) at 1x, (2x, 2y) for the doubling types, in
// output pixels. Pitches are in bytes; a negative destination pitch writes a
// bottom-up destination. The caller keeps both rectangles inside their buffers.
void copier_copy(const Copier& copier, uint8_t* dest, int64_t dest_pitch, int32_t x, int32_t y,
                 const uint8_t* source, int64_t source_pitch, int32_t sx, int32_t sy, int32_t w,
                 int32_t h);

// Output pixels per source pixel in each direction (1 or 2) and bytes per output pixel.
int copier_scale(const Copier& copier);
int copier_pixel_bytes(const Copier& copier);

// Exposed for tests and the benchmark: the 16-bit colour of a palette colour,
// and the nearest-index search of the 8-bit pair table.
uint16_t colour16(uint8_t r, uint8_t g, uint8_t b, uint32_t flags);
void build_pairs8(const Rgb768& palette, uint8_t* table);

}  // namespace glint::player::display
