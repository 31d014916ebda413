// Writing bit streams least significant bit first, into memory or through
// any sink that takes (value, bit count).
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace glint::glinter {

struct BitSink {
  void* context = nullptr;
  void (*put_bits)(void* context, uint32_t value, uint32_t count) = nullptr;
  void put(uint32_t value, uint32_t count) const {
    if (put_bits && count) put_bits(context, value, count);
  }
};

struct MemoryBitWriter {
  std::vector<uint8_t> bytes;
  uint64_t bit_count = 0;

  void put(uint32_t value, uint32_t count) {
    for (uint32_t done = 0; done < count;) {
      uint32_t used = bit_count % 8;
      if (used == 0) bytes.push_back(0);
      uint32_t take = std::min<uint32_t>(8 - used, count - done);
      uint32_t piece = (value >> done) & ((1u << take) - 1);
      bytes.back() |= static_cast<uint8_t>(piece << used);
      done += take;
      bit_count += take;
    }
  }
  // Pads with zero bits to a whole number of 4-byte words.
  void pad_to_words() {
    while (bytes.size() % 4) bytes.push_back(0);
    bit_count = uint64_t(bytes.size()) * 8;
  }
  BitSink sink() {
    return {this, [](void* self, uint32_t value, uint32_t count) {
              static_cast<MemoryBitWriter*>(self)->put(value, count);
            }};
  }
};

}  // namespace glint::glinter
