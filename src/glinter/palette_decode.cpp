#include "glinter/palette_decode.h"

#include <algorithm>
#include <cstring>

namespace glint::glinter {

void decode_palette(std::span<const uint8_t> commands, std::array<uint8_t, 768>& palette) {
  const std::array<uint8_t, 768> previous = palette;
  size_t at = 0;
  auto next_byte = [&]() -> uint8_t { return at < commands.size() ? commands[at++] : (++at, 0); };

  uint32_t entry = 0;
  while (entry < 256) {
    uint8_t command = next_byte();
    if (command & 0x80) {  // keep entries at the same index
      uint32_t count = std::min<uint32_t>((command & 0x7F) + 1u, 256 - entry);
      std::memcpy(&palette[entry * 3], &previous[entry * 3], count * 3);
      entry += count;
    } else if (command & 0x40) {  // copy a run from elsewhere in the previous palette
      uint32_t source = next_byte();
      uint32_t count = std::min<uint32_t>((command & 0x3F) + 1u, 256 - entry);
      // A source run that would pass entry 255 copies only existing entries.
      uint32_t available = std::min(count, 256 - source);
      std::memcpy(&palette[entry * 3], &previous[source * 3], available * 3);
      entry += count;
    } else {  // one literal entry, 6 bits per component
      uint8_t green = next_byte();
      uint8_t blue = next_byte();
      palette[entry * 3] = kSixToEight[command & 63];
      palette[entry * 3 + 1] = kSixToEight[green & 63];
      palette[entry * 3 + 2] = kSixToEight[blue & 63];
      ++entry;
    }
  }
}

}  // namespace glint::glinter
