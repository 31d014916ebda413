#include "glinter/audio_chunk.h"

#include <algorithm>
#include <cstring>

#include "glinter/bit_reader.h"

namespace glint::glinter {

namespace {

constexpr uint32_t kLeaf = 0x80000000u;

// The chunk's bits come through the decoder's wide reader (least
// significant bit first, zero bits past the end of the data).
using ChunkBitReader = WideBitReader;

// Reads one pre-order small tree into `slots`: a leaf is kLeaf + value, an
// internal node the slot distance to its right child (its left child is the
// next slot). False when the tree needs more slots than there are.
bool read_small_tree(ChunkBitReader& reader, std::span<uint32_t> slots) {
  constexpr uint32_t kEnd = 0xFFFFFFFFu, kRightBranch = 0xFFFFFFFEu;
  uint32_t stack[kSmallTreeSlots + 2];
  unsigned depth = 0;
  stack[depth++] = kEnd;
  stack[depth++] = kRightBranch;
  uint32_t slot = 0;
  for (;;) {
    if (reader.read(1)) {
      if (slot >= slots.size()) return false;
      slots[slot] = kLeaf;  // a node acts as a leaf of 0 until its right child is known
      stack[depth++] = slot++;
      continue;
    }
    uint32_t top = stack[depth - 1];
    if (top == kEnd) return true;  // the terminating 0 bit
    if (slot >= slots.size()) return false;
    slots[slot++] = kLeaf | reader.read(8);
    --depth;
    if (top != kRightBranch) slots[top] = slot - top;
  }
}

// A tree and the table of its first 8 code bits: entry i says where the
// walk ends when the next bits are those of i (least significant first):
// kLeaf + bits used x 256 + value, or the slot reached after 8 bits.
struct SmallTree {
  const uint32_t* slots;
  const uint32_t* table;
};

void fill_table(const uint32_t* slots, uint32_t at, unsigned depth, uint32_t code,
                uint32_t* table) {
  const uint32_t slot = slots[at];
  if ((slot & kLeaf) || depth == 8) {
    const uint32_t entry = (slot & kLeaf) ? kLeaf | depth << 8 | (slot & 0xFF) : at;
    for (uint32_t i = code; i < kSmallTableEntries; i += 1u << depth) table[i] = entry;
    return;
  }
  fill_table(slots, at + 1, depth + 1, code, table);
  fill_table(slots, at + slot, depth + 1, code | 1u << depth, table);
}

// Every slot distance points forward inside the tree, so a walk ends within
// the tree's slot count. Codes of up to 8 bits take one table look-up.
inline uint32_t decode_small(const SmallTree& tree, ChunkBitReader& reader) {
  if (reader.count < 8) reader.refill();
  const uint32_t entry = tree.table[reader.bits & 0xFF];
  if (entry & kLeaf) {
    const unsigned used = (entry >> 8) & 0xF;
    reader.bits >>= used;
    reader.count -= used;
    return entry & 0xFF;
  }
  reader.bits >>= 8;
  reader.count -= 8;
  uint32_t at = entry;
  uint32_t slot = tree.slots[at];
  while (!(slot & kLeaf)) {
    at += reader.read(1) ? slot : 1;
    slot = tree.slots[at];
  }
  return slot & 0xFF;
}

// Writes one sample frame at `pos`, splitting it at the ring's end.
inline void put_frame(RingSpan ring, uint64_t& pos, const uint8_t* frame, unsigned bytes) {
  if (ring.size - pos >= bytes) {
    std::memcpy(ring.start + pos, frame, bytes);
    pos += bytes;
    if (pos == ring.size) pos = 0;
    return;
  }
  for (unsigned i = 0; i < bytes; ++i) {
    ring.start[pos] = frame[i];
    if (++pos == ring.size) pos = 0;
  }
}

template <unsigned Channels, bool Wide>
void decode_frames(ChunkBitReader& reader, const SmallTree trees[4], RingSpan ring, uint64_t pos,
                   uint64_t frames) {
  constexpr unsigned kFrameBytes = Channels * (Wide ? 2 : 1);
  uint32_t sample[2];
  uint8_t first[4];
  for (unsigned i = 0; i < kFrameBytes; ++i) first[i] = uint8_t(reader.read(8));
  // The first sample frame comes right channel first, high byte first.
  if constexpr (Wide) {
    if constexpr (Channels == 1) {
      sample[0] = uint32_t(first[0]) << 8 | first[1];
    } else {
      sample[1] = uint32_t(first[0]) << 8 | first[1];
      sample[0] = uint32_t(first[2]) << 8 | first[3];
    }
  } else {
    if constexpr (Channels == 1) {
      sample[0] = first[0];
    } else {
      sample[1] = first[0];
      sample[0] = first[1];
    }
  }
  for (uint64_t f = 0;; ++f) {
    uint8_t out[4];
    for (unsigned c = 0; c < Channels; ++c) {
      if constexpr (Wide) {
        out[2 * c] = uint8_t(sample[c]);
        out[2 * c + 1] = uint8_t(sample[c] >> 8);
      } else {
        out[c] = uint8_t(sample[c]);
      }
    }
    put_frame(ring, pos, out, kFrameBytes);
    if (f + 1 == frames) return;
    for (unsigned c = 0; c < Channels; ++c) {
      if constexpr (Wide) {
        uint32_t low = decode_small(trees[2 * c], reader);
        uint32_t high = decode_small(trees[2 * c + 1], reader);
        sample[c] = (sample[c] + low + 256 * high) & 0xFFFF;
      } else {
        sample[c] = (sample[c] + decode_small(trees[c], reader)) & 0xFF;
      }
    }
  }
}

}  // namespace

uint64_t decode_audio_chunk(std::span<const uint8_t> bits, uint64_t length,
                            std::span<uint32_t> scratch, RingSpan ring, uint64_t write_pos,
                            AudioChunkLayout* layout) {
  ChunkBitReader reader(bits);
  AudioChunkLayout found;
  found.has_data = reader.read(1);
  if (found.has_data) {
    found.channels = reader.read(1) ? 2 : 1;
    found.sample_bytes = reader.read(1) ? 2 : 1;
  }
  if (layout) *layout = found;
  if (!found.has_data || ring.size == 0 || write_pos >= ring.size ||
      scratch.size() < kAudioScratchBytes / 4)
    return 0;

  const unsigned tree_count = found.channels * found.sample_bytes;
  SmallTree trees[4] = {};
  for (unsigned t = 0; t < tree_count; ++t) {
    std::span<uint32_t> slots = scratch.subspan(t * kSmallTreeSlots, kSmallTreeSlots);
    uint32_t* table = scratch.data() + 4 * kSmallTreeSlots + t * kSmallTableEntries;
    // A 0 flag is a tree without statistics (a chunk of one sample frame):
    // no tree is sent and its deltas are 0.
    if (!reader.read(1)) {
      slots[0] = kLeaf;
    } else if (!read_small_tree(reader, slots)) {
      return 0;
    }
    fill_table(slots.data(), 0, 0, 0, table);
    trees[t] = SmallTree{slots.data(), table};
  }
  const uint64_t frame_bytes = found.frame_bytes();
  const uint64_t frames = std::min(length, ring.size) / frame_bytes;
  if (frames == 0) return 0;
  if (found.sample_bytes == 2) {
    if (found.channels == 2)
      decode_frames<2, true>(reader, trees, ring, write_pos, frames);
    else
      decode_frames<1, true>(reader, trees, ring, write_pos, frames);
  } else {
    if (found.channels == 2)
      decode_frames<2, false>(reader, trees, ring, write_pos, frames);
    else
      decode_frames<1, false>(reader, trees, ring, write_pos, frames);
  }
  return frames * frame_bytes;
}

}  // namespace glint::glinter
