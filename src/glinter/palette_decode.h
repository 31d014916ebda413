// Palette chunks: keep, copy and literal commands that build the new
// 256-entry palette from the previous one.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace glint::glinter {

// 6-bit component to 8 bits: its six bits followed by its top two bits.
inline constexpr std::array<uint8_t, 64> kSixToEight = [] {
  std::array<uint8_t, 64> table{};
  for (uint32_t x = 0; x < 64; ++x) table[x] = static_cast<uint8_t>(x * 4 + x / 16);
  return table;
}();

// Applies the commands of a chunk (its length byte excluded) to `palette`.
// Commands read from a copy of the palette as it stood before the chunk.
// Bytes past the end of `commands` read as zeros.
void decode_palette(std::span<const uint8_t> commands, std::array<uint8_t, 768>& palette);

}  // namespace glint::glinter
