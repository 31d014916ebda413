// Builds the four video trees from arbitrary tree data (the first 16 bytes
// give the declared tree sizes) and decodes values with both bit readers.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "glinter/bit_reader.h"
#include "glinter/video_trees.h"

using namespace glint::glinter;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 16) return 0;
  std::array<uint32_t, 4> tree_bytes{};
  for (int t = 0; t < 4; ++t)
    tree_bytes[t] =
        uint32_t(data[4 * t]) | uint32_t(data[4 * t + 1]) << 8 | uint32_t(data[4 * t + 2]) << 16;
  std::span<const uint8_t> rest(data + 16, size - 16);
  VideoTrees trees;
  if (build_video_trees(rest, tree_bytes, trees) != TreeError::kNone) return 0;
  WideBitReader wide(rest);
  NarrowBitReader narrow(rest);
  Recent recent_wide[4], recent_narrow[4];
  for (int i = 0; i < 256; ++i) {
    unsigned t = unsigned(i) % 4;
    uint32_t a = decode_value(trees.trees[t], recent_wide[t], wide);
    uint32_t b = decode_value(trees.trees[t], recent_narrow[t], narrow);
    if (a != b) __builtin_trap();  // the two readers must agree
  }
  return 0;
}
