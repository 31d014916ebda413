// Turns one picture (against the picture the decoder holds before it) into
// the sequence of values and raw bits of its video data, in decode order.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace glint::glinter {

inline constexpr uint8_t kRawBit = 4;  // a Symbol that is one raw bit

struct Symbol {
  uint8_t tree;  // 0-3 a tree value; kRawBit a single raw bit
  uint16_t value;
};

// previous is empty for a picture that must code every block.
std::vector<Symbol> code_picture(std::span<const uint8_t> previous,
                                 std::span<const uint8_t> current, uint32_t width, uint32_t height,
                                 bool version4);

}  // namespace glint::glinter
