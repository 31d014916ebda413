#include "glinter/video_decode.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "glinter/bit_reader.h"

namespace glint::glinter {

namespace {

enum BlockType : uint32_t { kTwoColour = 0, kFull = 1, kUnchanged = 2, kSolid = 3 };

// For each 4-bit slice of a two-colour map: 0xFF in the bytes whose pixel
// takes colour 1.
constexpr std::array<uint32_t, 16> kNibbleMasks = [] {
  std::array<uint32_t, 16> masks{};
  for (uint32_t n = 0; n < 16; ++n)
    for (uint32_t bit = 0; bit < 4; ++bit)
      if (n & (1u << bit)) masks[n] |= 0xFFu << (8 * bit);
  return masks;
}();

inline void store_row(uint8_t* at, uint32_t row) { std::memcpy(at, &row, 4); }

// Stores blocks without checks; the descriptor said the picture fits. The
// geometry is copied in, so stores into the picture cannot make the
// compiler read it again.
struct FastStore {
  uint8_t* start;
  int64_t step;
  explicit FastStore(const OutputDescriptor& out) : start(out.start), step(out.coded_row_step) {}
  uint8_t* row_start(uint32_t by) const { return start + int64_t(by) * 4 * step; }
  void put(uint32_t bx, uint32_t by, const uint32_t rows[4]) const {
    uint8_t* at = row_start(by) + bx * 4;
    for (int r = 0; r < 4; ++r, at += step) store_row(at, rows[r]);
  }
  void fill(uint32_t bx, uint32_t by, uint32_t count, uint8_t colour) const {
    uint8_t* at = row_start(by) + bx * 4;
    for (int r = 0; r < 4; ++r, at += step) std::memset(at, colour, count * 4);
  }
};

struct DoubledStore {
  uint8_t* start;
  int64_t step, duplicate;
  explicit DoubledStore(const OutputDescriptor& out)
      : start(out.start), step(out.coded_row_step), duplicate(out.duplicate_step) {}
  uint8_t* row_start(uint32_t by) const { return start + int64_t(by) * 4 * step; }
  void put(uint32_t bx, uint32_t by, const uint32_t rows[4]) const {
    uint8_t* at = row_start(by) + bx * 4;
    for (int r = 0; r < 4; ++r, at += step) {
      store_row(at, rows[r]);
      store_row(at + duplicate, rows[r]);
    }
  }
  void fill(uint32_t bx, uint32_t by, uint32_t count, uint8_t colour) const {
    uint8_t* at = row_start(by) + bx * 4;
    for (int r = 0; r < 4; ++r, at += step) {
      std::memset(at, colour, count * 4);
      std::memset(at + duplicate, colour, count * 4);
    }
  }
};

// Checks every row against the buffer: for outputs that do not hold the
// whole picture at the requested place. Only the visible part is stored.
struct ClipStore {
  const OutputDescriptor& out;
  // The buffer line of a displayed line, or null when it is outside.
  uint8_t* line_at(uint64_t line) const {
    uint64_t from_top = uint64_t(out.dest_y) + line;
    if (!out.buffer || out.pitch <= 0 || from_top >= out.buffer_height) return nullptr;
    uint64_t buffer_line = out.bottom_up ? out.buffer_height - 1 - from_top : from_top;
    return out.buffer + buffer_line * uint64_t(out.pitch);
  }
  // Stores `pixels` pixels of a row pattern (repeating every 4) at picture x.
  void put_line(uint8_t* line, uint64_t x, uint32_t row, uint64_t pixels) const {
    uint64_t column = uint64_t(out.dest_x) + x;
    const uint64_t pitch = uint64_t(out.pitch);
    if (!line || column >= pitch) return;
    uint64_t visible = std::min(pixels, pitch - column);
    for (uint64_t i = 0; i < visible; ++i)
      line[column + i] = static_cast<uint8_t>(row >> (8 * (i & 3)));
  }
  void put_row(uint64_t x, uint64_t coded_row, uint32_t row, uint64_t pixels) const {
    uint64_t line = (out.interlaced || out.doubled) ? 2 * coded_row : coded_row;
    put_line(line_at(line), x, row, pixels);
    if (out.doubled) put_line(line_at(line + 1), x, row, pixels);
  }
  void put(uint32_t bx, uint32_t by, const uint32_t rows[4]) const {
    for (uint32_t r = 0; r < 4; ++r) put_row(uint64_t(bx) * 4, uint64_t(by) * 4 + r, rows[r], 4);
  }
  void fill(uint32_t bx, uint32_t by, uint32_t count, uint8_t colour) const {
    for (uint32_t r = 0; r < 4; ++r)
      put_row(uint64_t(bx) * 4, uint64_t(by) * 4 + r, colour * 0x01010101u, uint64_t(count) * 4);
  }
};

inline uint32_t pair_row(uint32_t right_pair, uint32_t left_pair) {
  return (left_pair & 0xFFFF) | (right_pair << 16);
}

inline uint32_t widen_pair(uint32_t value) {
  uint32_t left = value & 0xFF, right = (value >> 8) & 0xFF;
  return left * 0x0101u | right * 0x01010000u;
}

struct ChangeMap {
  uint8_t* map;
  uint32_t marked = 0;
  void changed(uint32_t pos) {
    if (marked > pos) return;
    uint32_t end = (pos + 15) / 16;
    std::memset(map + marked / 16, 1, end - marked / 16);
    marked = 16 * end;
  }
  void unchanged(uint32_t pos) {
    if (marked > pos) return;
    uint32_t end = pos / 16;
    std::memset(map + marked / 16, 0, end - marked / 16);
    marked = 16 * end;
  }
};

template <class Reader, class Store>
void decode_blocks(Reader& reader, const VideoTrees& trees, OutputDescriptor& out,
                   const Store& store) {
  const TreeView map_tree(trees.trees[kMapTree]);
  const TreeView colour_tree(trees.trees[kColourTree]);
  const TreeView full_tree(trees.trees[kFullTree]);
  const TreeView type_tree(trees.trees[kTypeTree]);
  Recent recent[4];

  const uint32_t per_row = out.blocks_per_row;
  const uint32_t total = per_row * out.block_rows;
  const bool version4 = out.version4;
  ChangeMap change{out.change_map.data()};
  uint32_t pos = 0, bx = 0, by = 0;

  auto advance = [&](uint32_t n) {
    bx += n;
    while (bx >= per_row) {
      bx -= per_row;
      ++by;
    }
  };

  while (pos < total) {
    uint32_t type_value = decode_value(type_tree, recent[kTypeTree], reader);
    uint32_t n = std::min(run_length((type_value >> 2) & 63), total - pos);
    uint32_t type = type_value & 3;
    pos += n;
    switch (type) {
      case kUnchanged:
        advance(n);
        change.unchanged(pos);
        continue;
      case kSolid: {
        uint8_t colour = static_cast<uint8_t>(type_value >> 8);
        for (uint32_t left = n; left > 0;) {
          uint32_t here = std::min(left, per_row - bx);
          store.fill(bx, by, here, colour);
          advance(here);
          left -= here;
        }
        break;
      }
      case kTwoColour:
        for (uint32_t i = 0; i < n; ++i) {
          uint32_t colours = decode_value(colour_tree, recent[kColourTree], reader);
          uint32_t map = decode_value(map_tree, recent[kMapTree], reader);
          uint32_t c0 = (colours & 0xFF) * 0x01010101u;
          uint32_t flip = c0 ^ (((colours >> 8) & 0xFF) * 0x01010101u);
          uint32_t rows[4];
          for (int r = 0; r < 4; ++r) rows[r] = c0 ^ (flip & kNibbleMasks[(map >> (4 * r)) & 15]);
          store.put(bx, by, rows);
          advance(1);
        }
        break;
      case kFull:
        for (uint32_t i = 0; i < n; ++i) {
          uint32_t rows[4];
          uint32_t form = 0;  // 0 ordinary, 1 double-size, 2 half-height
          if (version4) {
            if (reader.read(1))
              form = 1;
            else if (reader.read(1))
              form = 2;
          }
          if (form == 1) {
            uint32_t top = decode_value(full_tree, recent[kFullTree], reader);
            uint32_t bottom = decode_value(full_tree, recent[kFullTree], reader);
            rows[0] = rows[1] = widen_pair(top);
            rows[2] = rows[3] = widen_pair(bottom);
          } else if (form == 2) {
            for (int half = 0; half < 2; ++half) {
              uint32_t right = decode_value(full_tree, recent[kFullTree], reader);
              uint32_t left = decode_value(full_tree, recent[kFullTree], reader);
              rows[2 * half] = rows[2 * half + 1] = pair_row(right, left);
            }
          } else {
            for (int r = 0; r < 4; ++r) {
              uint32_t right = decode_value(full_tree, recent[kFullTree], reader);
              uint32_t left = decode_value(full_tree, recent[kFullTree], reader);
              rows[r] = pair_row(right, left);
            }
          }
          store.put(bx, by, rows);
          advance(1);
        }
        break;
    }
    change.changed(pos);
  }
  out.change_map[change.marked / 16] = 0;
}

template <class Reader>
void decode_with(std::span<const uint8_t> data, const VideoTrees& trees, OutputDescriptor& out) {
  Reader reader(data);
  if (!out.fits)
    decode_blocks(reader, trees, out, ClipStore{out});
  else if (out.doubled)
    decode_blocks(reader, trees, out, DoubledStore(out));
  else
    decode_blocks(reader, trees, out, FastStore(out));
}

}  // namespace

void decode_video(std::span<const uint8_t> data, const VideoTrees& trees, OutputDescriptor& out,
                  bool wide) {
  if (out.change_map.empty()) return;
  if (wide)
    decode_with<WideBitReader>(data, trees, out);
  else
    decode_with<NarrowBitReader>(data, trees, out);
}

}  // namespace glint::glinter
