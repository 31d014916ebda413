// Palette chunks from one 6-bit palette to the next: keep runs, copies from
// elsewhere in the previous palette, and literal entries.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace glint::glinter {

using Palette6 = std::array<uint8_t, 768>;  // components 0-63

Palette6 to_six_bits(const std::array<uint8_t, 768>& palette);

// The whole chunk: length byte, commands, padding to a multiple of 4 bytes.
std::vector<uint8_t> encode_palette_chunk(const Palette6& previous, const Palette6& next);

}  // namespace glint::glinter
