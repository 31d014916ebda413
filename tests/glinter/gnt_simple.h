// Small complete files for the file-level tests: every frame fills the
// whole 16 x 16 picture with one colour through a single solid run.
#pragma once

#include "gnt_builder.h"

namespace glint::test {

struct SimpleGnt {
  TreeSet set;
  GntFile file;

  // Type tree leaves: "solid 2048 of colour c" for c in 1..15 and
  // "unchanged 2048".
  SimpleGnt() {
    for (int t = 0; t < 3; ++t) set.trees[t].leaves = {0};
    for (uint32_t c = 1; c < 16; ++c) set.trees[3].leaves.push_back(type_value(kSolid, 63, c));
    set.trees[3].leaves.push_back(type_value(kUnchanged, 63));
    set.emit();
    file.tree_data = set.bits.words();
    for (int t = 0; t < 4; ++t) file.tree_bytes[t] = set.bytes[t];
  }
  std::vector<uint8_t> fill_video(uint32_t colour) const {
    Bits bits;
    bits.code(set.code(3, type_value(kSolid, 63, colour)));
    return bits.words();
  }
  std::vector<uint8_t> unchanged_video() const {
    Bits bits;
    bits.code(set.code(3, type_value(kUnchanged, 63)));
    return bits.words();
  }
  // A frame: optional palette chunk bytes (length byte included), video.
  static Frame frame(std::vector<uint8_t> palette_chunk, std::vector<uint8_t> video,
                     size_t pad_to = 0) {
    Frame f;
    f.type = palette_chunk.empty() ? 0 : 1;
    f.bytes = std::move(palette_chunk);
    f.bytes.insert(f.bytes.end(), video.begin(), video.end());
    while (f.bytes.size() < pad_to || f.bytes.size() % 4) f.bytes.push_back(0);
    return f;
  }
  void add_fill(uint32_t colour, std::vector<uint8_t> palette_chunk = {}, size_t pad_to = 0) {
    file.frames.push_back(frame(std::move(palette_chunk), fill_video(colour), pad_to));
  }
};

// A palette chunk: length byte then commands, padded to 4 bytes.
inline std::vector<uint8_t> palette_chunk(std::vector<uint8_t> commands) {
  std::vector<uint8_t> chunk{0};
  chunk.insert(chunk.end(), commands.begin(), commands.end());
  while (chunk.size() % 4) chunk.push_back(0);
  chunk[0] = uint8_t(chunk.size() / 4);
  return chunk;
}

}  // namespace glint::test
