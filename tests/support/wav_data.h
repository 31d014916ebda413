// The sample bytes of a PCM WAV file (its "data" chunk), found by walking
// the chunks; empty when there is none.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace glint::test {

inline std::vector<uint8_t> wav_data(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const uint32_t size = uint32_t(bytes[at + 4]) | uint32_t(bytes[at + 5]) << 8 |
                          uint32_t(bytes[at + 6]) << 16 | uint32_t(bytes[at + 7]) << 24;
    if (std::equal(bytes.begin() + long(at), bytes.begin() + long(at) + 4, "data")) {
      const std::size_t end = std::min<std::size_t>(bytes.size(), at + 8 + uint64_t(size));
      return std::vector<uint8_t>(bytes.begin() + long(at) + 8, bytes.begin() + long(end));
    }
    at += 8 + uint64_t(size) + (size & 1);
  }
  return {};
}

}  // namespace glint::test
