// The palette layouts that palette hand-overs accept: three or four bytes
// an entry, red-green-blue or blue-green-red, optionally one byte in, and
// optionally 16-bit components of which the low byte counts.
#pragma once

#include <array>
#include <cstdint>

namespace glint::player::display {

inline constexpr unsigned kPaletteWide = 0x1;     // 16-bit components
inline constexpr unsigned kPaletteBgr = 0x2;      // blue first
inline constexpr unsigned kPaletteFour = 0x4;     // four components an entry
inline constexpr unsigned kPaletteSkipOne = 0x8;  // with four: the colour starts at the second

using Rgb768 = std::array<uint8_t, 768>;

// Bytes that 256 entries of this layout take.
unsigned palette_bytes(unsigned format);

// Reads 256 entries of the layout into red, green, blue triples.
Rgb768 read_palette(const uint8_t* entries, unsigned format);

}  // namespace glint::player::display
