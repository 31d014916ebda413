// The four video trees of a Glinter file: decoded once at open, then used to
// decode every frame's values.
//
// Each tree is its pre-order walk as an array of slots. An internal slot
// holds the index of its right child (the left child is the next slot); a
// leaf slot has kLeaf set and holds its value, or, for the leaf that sends a
// recent value, the number of that recent value. A lookup table resolves the
// first 12 (type tree: 10) bits of a code at once.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace glint::glinter {

inline constexpr uint32_t kLeaf = 0x80000000u;
inline constexpr uint32_t kRecentShift = 16;  // bits 16-17: 0 plain, k+1 recent value k
inline constexpr unsigned kMaxCodeBits = 32;
inline constexpr uint32_t kMaxSmallTreeSlots = 511;
// A real tree has at most 65,536 distinct leaves plus three escape leaves.
inline constexpr uint32_t kMaxBigTreeSlots = 2 * (65536 + 3);

enum TreeIndex : unsigned { kMapTree = 0, kColourTree = 1, kFullTree = 2, kTypeTree = 3 };

// Lookup tables: a first level of up to 16 (type tree: 10) bits, and below every
// code that is longer, a sub-table of up to 8 more bits. An entry is either
// a leaf (kLeaf set: value, recent-value number and the bits it uses at its
// level) or a link to a sub-table (its first entry and its bit count).
inline constexpr uint32_t kEntryBitsShift = 16;    // leaf: bits 16-21 bits used
inline constexpr uint32_t kEntryRecentShift = 22;  // leaf: bits 22-23 recent value + 1
inline constexpr uint32_t kLinkBitsShift = 24;     // link: bits 24-28 sub-table bits
inline constexpr unsigned kSubTableBits = 8;
inline constexpr unsigned kFirstTableBits = 16;  // map, colour and full-block trees
inline constexpr unsigned kTypeTableBits = 10;

inline uint32_t entry_bits(uint32_t entry) { return (entry >> kEntryBitsShift) & 63; }

struct VideoTree {
  unsigned table_bits = 12;
  std::vector<uint32_t> slots;       // a single leaf 0 for an absent tree
  std::vector<uint32_t> table;       // first level, then the sub-tables
  std::array<uint16_t, 3> escape{};  // escape values as sent
};

struct VideoTrees {
  std::array<VideoTree, 4> trees;
  uint16_t node_marker = 0;  // smallest value that no leaf holds
};

enum class TreeError { kNone, kTooManySlots, kTooDeep, kNoMarker, kSmallTreeTooBig, kTruncated };

// Builds the four trees from the file's tree data. tree_bytes are the
// decoded sizes the header declares; a tree needing more slots (its spare
// recent-value slots counted) is refused.
TreeError build_video_trees(std::span<const uint8_t> tree_data,
                            const std::array<uint32_t, 4>& tree_bytes, VideoTrees& out);

// Recent values R0, R1, R2 of one tree, reset to 0 at every frame start.
struct Recent {
  uint32_t value[3] = {0, 0, 0};
  void push(uint32_t v) {
    if (v != value[0]) {
      value[2] = value[1];
      value[1] = value[0];
      value[0] = v;
    }
  }
};

// What decoding needs of a tree, held by value in the decoding loop.
struct TreeView {
  const uint32_t* table;
  unsigned table_bits;
  explicit TreeView(const VideoTree& tree)
      : table(tree.table.data()), table_bits(tree.table_bits) {}
};

// Decodes one value. Reader is WideBitReader or NarrowBitReader.
template <class Reader>
[[gnu::always_inline]] inline uint32_t decode_value(const TreeView& tree, Recent& recent,
                                                    Reader& reader) {
  if (reader.count < 32) reader.refill();
  const uint32_t* table = tree.table;
  uint32_t entry = table[reader.peek(tree.table_bits)];
  if (!(entry & kLeaf)) [[unlikely]] {
    reader.skip(tree.table_bits);
    for (;;) {
      const unsigned bits = (entry >> kLinkBitsShift) & 31;
      reader.ensure(bits);
      entry = table[(entry & 0xFFFFFF) + reader.peek(bits)];
      if (entry & kLeaf) break;
      reader.skip(bits);
    }
  }
  reader.skip(entry_bits(entry));
  const uint32_t which = (entry >> kEntryRecentShift) & 3;
  const uint32_t value = which == 0 ? (entry & 0xFFFF) : recent.value[which - 1];
  recent.push(value);
  return value;
}

template <class Reader>
inline uint32_t decode_value(const VideoTree& tree, Recent& recent, Reader& reader) {
  return decode_value(TreeView(tree), recent, reader);
}

// Reads one small tree (8-bit leaves) in its pre-order form; used for the
// low and high bytes of big-tree leaves. Returns false when it has more than
// kMaxSmallTreeSlots slots.
bool read_small_tree(struct StreamBitReader& reader, std::vector<uint32_t>& slots);
// Decodes one value of a small tree bit by bit.
uint32_t decode_small(const std::vector<uint32_t>& slots, struct StreamBitReader& reader);

}  // namespace glint::glinter
