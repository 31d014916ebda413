// Huffman codes from value counts, written in the serial tree form that the
// Glinter reader reads: the 8-bit kind (values 0-255, leaves sent raw) and
// the 16-bit kind (leaves sent through a low-byte and a high-byte coder,
// with three escapes that send recently used values).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "glinter/bit_writer.h"

namespace glint::glinter {

inline constexpr unsigned kMaxHuffCodeBits = 30;
inline constexpr uint8_t kNoCode = 255;
inline constexpr uint32_t kEscapeLeafThreshold = 32;

struct HuffCoder {
  bool wide = false;  // 16-bit kind
  uint32_t bytes_coded = 0;
  uint32_t bits_written = 0;
  BitSink output;
  std::unique_ptr<HuffCoder> low, high;  // 16-bit kind only

  uint32_t lasts[3] = {0, 0, 0};
  uint32_t escape_count[3] = {0, 0, 0};
  uint32_t escape_value[3] = {0, 0, 0};
  bool has_stats = false;

  std::vector<uint32_t> counts;  // per value; replaced by the codes at start
  std::vector<uint32_t> codes;
  std::vector<uint8_t> lengths;  // kNoCode for values without a code
};

// Null when memory runs out.
std::unique_ptr<HuffCoder> huff_create(bool wide);
void huff_set_output(HuffCoder& coder, BitSink output);
void huff_init_stats(HuffCoder& coder);
void huff_init_lasts(HuffCoder& coder);
void huff_add_stat(HuffCoder& coder, uint32_t value);
// Builds the codes and writes the tree. Returns the size figure (12 for an
// empty block, 20 for a single leaf, else 16 + 8 x nodes), or -1 when no
// valid tree exists (a 16-bit block that uses all 65,536 values leaves no
// value free for the escapes). Codes deeper than 30 bits never happen: the
// counts are flattened until the tree is shallow enough, before anything
// is written.
int32_t huff_start_encode(HuffCoder& coder);
// Writes the code of one value; returns the bits written.
uint32_t huff_encode(HuffCoder& coder, uint32_t value);

}  // namespace glint::glinter
