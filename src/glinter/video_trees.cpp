#include "glinter/video_trees.h"

#include <algorithm>
#include <bitset>
#include <memory>

#include "glinter/bit_reader.h"

namespace glint::glinter {

namespace {

constexpr int32_t kEndMark = -2;
constexpr int32_t kRightBranchMark = -1;

enum class ShapeResult { kDone, kTooManySlots, kTooDeep };

// Reads a pre-order shape: 1 = internal node, 0 = leaf (its value read by
// `leaf`), and a final 0 once the tree is complete. Bits that follow a
// complete tree as further 1s are read like the rest; the nodes they make
// are unreachable from the root.
template <class LeafFn>
ShapeResult read_shape(StreamBitReader& reader, std::vector<uint32_t>& slots, uint32_t max_slots,
                       unsigned max_depth, LeafFn&& leaf) {
  struct Pending {
    int32_t slot;
    uint32_t depth;
  };
  std::vector<Pending> stack{{kEndMark, 0}, {kRightBranchMark, 0}};
  uint32_t depth = 0;
  for (;;) {
    if (reader.bit()) {
      if (slots.size() >= max_slots) return ShapeResult::kTooManySlots;
      if (depth >= max_depth) return ShapeResult::kTooDeep;
      stack.push_back({static_cast<int32_t>(slots.size()), depth});
      slots.push_back(0);
      ++depth;
      continue;
    }
    if (stack.back().slot == kEndMark) return ShapeResult::kDone;
    if (slots.size() >= max_slots) return ShapeResult::kTooManySlots;
    uint32_t index = static_cast<uint32_t>(slots.size());
    slots.push_back(0);
    slots[index] = kLeaf | leaf(index);
    Pending top = stack.back();
    stack.pop_back();
    if (top.slot >= 0) {
      slots[top.slot] = static_cast<uint32_t>(slots.size());
      depth = top.depth + 1;
    } else {
      depth = 0;
    }
  }
}

// An internal node left without a right child can only be one of the
// unreachable nodes after a complete tree; make it a harmless leaf.
void seal_dangling(std::vector<uint32_t>& slots) {
  for (uint32_t& slot : slots)
    if (!(slot & kLeaf) && slot >= slots.size()) slot = kLeaf;
}

struct TableBuilder {
  const std::vector<uint32_t>& slots;
  std::vector<uint32_t>& table;
  std::vector<uint8_t> height;  // longest path below each slot

  TableBuilder(const std::vector<uint32_t>& s, std::vector<uint32_t>& t) : slots(s), table(t) {
    height.assign(slots.size(), 0);
    for (size_t i = slots.size(); i-- > 0;) {
      if (slots[i] & kLeaf) continue;
      uint32_t right = slots[i];
      uint32_t h = std::max(height[i + 1], height[right]) + 1u;
      height[i] = static_cast<uint8_t>(std::min<uint32_t>(h, 255));
    }
  }

  // Fills the entries of a table level of `bits` bits at `base` for the
  // subtree at `index`, reached after `depth` bits of this level.
  void fill(uint32_t index, unsigned depth, uint32_t code, size_t base, unsigned bits) {
    uint32_t slot = slots[index];
    if (slot & kLeaf) {
      uint32_t recent = (slot >> kRecentShift) & 3;
      uint32_t entry =
          kLeaf | (slot & 0xFFFF) | (depth << kEntryBitsShift) | (recent << kEntryRecentShift);
      for (uint32_t i = code; i < (uint32_t(1) << bits); i += uint32_t(1) << depth)
        table[base + i] = entry;
      return;
    }
    if (depth == bits) {
      unsigned sub = std::min<unsigned>(height[index], kSubTableBits);
      size_t sub_base = table.size();
      table.resize(sub_base + (size_t(1) << sub), 0);
      table[base + code] = static_cast<uint32_t>(sub_base) | (sub << kLinkBitsShift);
      fill(index, 0, 0, sub_base, sub);
      return;
    }
    fill(index + 1, depth + 1, code, base, bits);
    fill(slot, depth + 1, code | (uint32_t(1) << depth), base, bits);
  }
};

// The first level covers the tree's longest code up to `max_bits`: most
// values then take one look-up and no branch into a sub-table.
void build_table(VideoTree& tree, unsigned max_bits) {
  TableBuilder builder(tree.slots, tree.table);
  tree.table_bits = std::clamp<unsigned>(builder.height[0], 1, max_bits);
  tree.table.assign(size_t(1) << tree.table_bits, 0);
  builder.fill(0, 0, 0, 0, tree.table_bits);
}

std::vector<uint32_t> single_leaf_zero() { return {kLeaf}; }

}  // namespace

bool read_small_tree(StreamBitReader& reader, std::vector<uint32_t>& slots) {
  slots.clear();
  ShapeResult result = read_shape(reader, slots, kMaxSmallTreeSlots, kMaxSmallTreeSlots,
                                  [&](uint32_t) { return reader.bits(8); });
  seal_dangling(slots);
  return result == ShapeResult::kDone;
}

uint32_t decode_small(const std::vector<uint32_t>& slots, StreamBitReader& reader) {
  uint32_t index = 0;
  uint32_t slot = slots[0];
  while (!(slot & kLeaf)) {
    index = reader.bit() ? slot : index + 1;
    slot = slots[index];
  }
  return slot & 0xFFFF;
}

TreeError build_video_trees(std::span<const uint8_t> tree_data,
                            const std::array<uint32_t, 4>& tree_bytes, VideoTrees& out) {
  StreamBitReader reader{tree_data};
  // A small tree that is not sent keeps the previous big tree's one; before
  // the first is sent it is a single leaf 0.
  std::vector<uint32_t> low_tree = single_leaf_zero();
  std::vector<uint32_t> high_tree = single_leaf_zero();
  auto used = std::make_unique<std::bitset<65536>>();
  bool any_present = false;

  for (unsigned t = 0; t < 4; ++t) {
    VideoTree& tree = out.trees[t];
    const unsigned max_bits = t == kTypeTree ? kTypeTableBits : kFirstTableBits;
    tree.slots = single_leaf_zero();
    tree.escape = {0, 0, 0};
    if (!reader.bit()) {  // absent: decodes 0 without reading bits
      build_table(tree, max_bits);
      continue;
    }
    any_present = true;
    // Each small tree is announced by its own bit, directly before it.
    if (reader.bit() && !read_small_tree(reader, low_tree)) return TreeError::kSmallTreeTooBig;
    if (reader.bit() && !read_small_tree(reader, high_tree)) return TreeError::kSmallTreeTooBig;
    for (uint16_t& escape : tree.escape) {
      uint32_t low = reader.bits(8);
      escape = static_cast<uint16_t>(low | (reader.bits(8) << 8));
    }

    uint64_t capacity = tree_bytes[t] / 4;
    uint32_t max_slots = static_cast<uint32_t>(std::min<uint64_t>(capacity, kMaxBigTreeSlots));
    int64_t escape_slot[3] = {-1, -1, -1};
    tree.slots.clear();
    ShapeResult result =
        read_shape(reader, tree.slots, max_slots, kMaxCodeBits, [&](uint32_t index) {
          uint32_t low = decode_small(low_tree, reader);
          uint32_t value = low | (decode_small(high_tree, reader) << 8);
          for (unsigned k = 0; k < 3; ++k) {
            if (value != tree.escape[k]) continue;
            // Only the last leaf of an escape value sends the recent value; an
            // earlier one is left as a leaf of value 0.
            if (escape_slot[k] >= 0) tree.slots[escape_slot[k]] = kLeaf;
            escape_slot[k] = index;
            return (k + 1) << kRecentShift;
          }
          return value;
        });
    if (result == ShapeResult::kTooManySlots) return TreeError::kTooManySlots;
    if (result == ShapeResult::kTooDeep) return TreeError::kTooDeep;
    seal_dangling(tree.slots);
    // Each escape value without a leaf needs a spare slot past the walk.
    uint64_t spare = 0;
    for (int64_t slot : escape_slot) spare += slot < 0 ? 1 : 0;
    if (tree.slots.size() + spare > capacity) return TreeError::kTooManySlots;
    for (uint32_t slot : tree.slots)
      if (slot & kLeaf) used->set(((slot >> kRecentShift) & 3) ? 0 : (slot & 0xFFFF));
    build_table(tree, max_bits);
  }
  if (reader.overran()) return TreeError::kTruncated;
  out.node_marker = 0;
  if (any_present) {
    uint32_t marker = 0;
    while (marker < 65536 && used->test(marker)) ++marker;
    if (marker == 65536) return TreeError::kNoMarker;
    out.node_marker = static_cast<uint16_t>(marker);
  }
  return TreeError::kNone;
}

}  // namespace glint::glinter
