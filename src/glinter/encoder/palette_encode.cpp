#include "glinter/encoder/palette_encode.h"

#include <algorithm>
#include <cstring>

namespace glint::glinter {

Palette6 to_six_bits(const std::array<uint8_t, 768>& palette) {
  Palette6 six;
  for (size_t i = 0; i < 768; ++i) six[i] = palette[i] >> 2;
  return six;
}

std::vector<uint8_t> encode_palette_chunk(const Palette6& previous, const Palette6& next) {
  auto same = [](const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, 3) == 0; };
  std::vector<uint8_t> chunk{0};
  for (uint32_t e = 0; e < 256;) {
    uint32_t keep = 0;
    while (e + keep < 256 && keep < 128 && same(&next[(e + keep) * 3], &previous[(e + keep) * 3]))
      ++keep;
    if (keep > 0) {
      chunk.push_back(uint8_t(0x80 | (keep - 1)));
      e += keep;
      continue;
    }
    // The longest run found elsewhere in the previous palette (2 bytes)
    // beats literals (3 bytes each) from one entry on.
    uint32_t best_length = 0, best_source = 0;
    for (uint32_t source = 0; source < 256; ++source) {
      uint32_t length = 0;
      while (length < 64 && e + length < 256 && source + length < 256 &&
             same(&next[(e + length) * 3], &previous[(source + length) * 3]))
        ++length;
      if (length > best_length) {
        best_length = length;
        best_source = source;
      }
    }
    if (best_length > 0) {
      chunk.push_back(uint8_t(0x40 | (best_length - 1)));
      chunk.push_back(uint8_t(best_source));
      e += best_length;
      continue;
    }
    chunk.insert(chunk.end(), {next[e * 3], next[e * 3 + 1], next[e * 3 + 2]});
    ++e;
  }
  while (chunk.size() % 4) chunk.push_back(0);
  chunk[0] = uint8_t(chunk.size() / 4);  // at most 1 + 3 x 256 bytes: fits
  return chunk;
}

}  // namespace glint::glinter
