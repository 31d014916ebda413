#include "glinter/encoder/block_coder.h"

#include <cstring>

#include "glinter/video_decode.h"

namespace glint::glinter {

namespace {

enum BlockKind : uint8_t { kTwoColour = 0, kFull = 1, kUnchanged = 2, kSolid = 3 };

struct Block {
  uint8_t pixels[16];  // row by row
};

struct BlockInfo {
  BlockKind kind;
  uint8_t colour;  // solid blocks
};

Block read_block(std::span<const uint8_t> picture, uint32_t width, uint32_t bx, uint32_t by) {
  Block block;
  for (uint32_t r = 0; r < 4; ++r)
    std::memcpy(block.pixels + 4 * r, &picture[(size_t(by) * 4 + r) * width + bx * 4], 4);
  return block;
}

BlockInfo classify(const Block& block, const Block* previous) {
  if (previous && std::memcmp(block.pixels, previous->pixels, 16) == 0) return {kUnchanged, 0};
  uint8_t first = block.pixels[0];
  int other = -1;
  for (uint8_t p : block.pixels) {
    if (p == first) continue;
    if (other < 0)
      other = p;
    else if (p != other)
      return {kFull, 0};
  }
  return other < 0 ? BlockInfo{kSolid, first} : BlockInfo{kTwoColour, 0};
}

void emit_two_colour(const Block& block, std::vector<Symbol>& out) {
  // Colour 0 is the top-left pixel's, so map bit 0 is always clear: half
  // the map values never occur, which keeps the map tree small and leaves
  // values free for the decoder's node marker.
  uint8_t c0 = block.pixels[0], c1 = c0;
  for (uint8_t p : block.pixels)
    if (p != c0) c1 = p;
  uint32_t map = 0;
  for (uint32_t i = 0; i < 16; ++i)
    if (block.pixels[i] == c1) map |= 1u << i;
  out.push_back({1, uint16_t(c0 | (c1 << 8))});
  out.push_back({0, uint16_t(map)});
}

uint16_t pair(uint8_t left, uint8_t right) { return uint16_t(left | (right << 8)); }

void emit_rows(const Block& block, const uint32_t* rows, uint32_t count, std::vector<Symbol>& out) {
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* p = block.pixels + 4 * rows[i];
    out.push_back({2, pair(p[2], p[3])});
    out.push_back({2, pair(p[0], p[1])});
  }
}

void emit_full(const Block& block, bool version4, std::vector<Symbol>& out) {
  const uint8_t* p = block.pixels;
  if (version4) {
    auto square = [&](uint32_t x, uint32_t y) {
      uint8_t v = p[4 * y + x];
      return p[4 * y + x + 1] == v && p[4 * (y + 1) + x] == v && p[4 * (y + 1) + x + 1] == v;
    };
    if (square(0, 0) && square(2, 0) && square(0, 2) && square(2, 2)) {
      out.push_back({kRawBit, 1});
      out.push_back({2, pair(p[0], p[2])});
      out.push_back({2, pair(p[8], p[10])});
      return;
    }
    out.push_back({kRawBit, 0});
    if (std::memcmp(p, p + 4, 4) == 0 && std::memcmp(p + 8, p + 12, 4) == 0) {
      out.push_back({kRawBit, 1});
      const uint32_t rows[] = {0, 2};
      emit_rows(block, rows, 2, out);
      return;
    }
    out.push_back({kRawBit, 0});
  }
  const uint32_t rows[] = {0, 1, 2, 3};
  emit_rows(block, rows, 4, out);
}

// The run indices for a run of n blocks; a run that reaches the end of the
// picture may use a longer code, since the decoder cuts it there.
void run_indices(uint32_t n, bool to_end, std::vector<uint32_t>& indices) {
  indices.clear();
  while (n > 0) {
    if (to_end) {
      for (uint32_t r = 0; r < 64; ++r)
        if (run_length(r) >= n) {
          indices.push_back(r);
          return;
        }
    }
    uint32_t r = 63;
    while (r > 58 && run_length(r) > n) --r;
    if (r == 58) r = std::min<uint32_t>(n, 59) - 1;
    indices.push_back(r);
    n -= run_length(r);
  }
}

}  // namespace

std::vector<Symbol> code_picture(std::span<const uint8_t> previous,
                                 std::span<const uint8_t> current, uint32_t width, uint32_t height,
                                 bool version4) {
  const uint32_t per_row = width / 4, rows = height / 4, total = per_row * rows;
  std::vector<Block> blocks(total);
  std::vector<BlockInfo> info(total);
  for (uint32_t b = 0; b < total; ++b) {
    blocks[b] = read_block(current, width, b % per_row, b / per_row);
    Block before;
    if (!previous.empty()) before = read_block(previous, width, b % per_row, b / per_row);
    info[b] = classify(blocks[b], previous.empty() ? nullptr : &before);
  }

  std::vector<Symbol> out;
  std::vector<uint32_t> indices;
  for (uint32_t b = 0; b < total;) {
    BlockInfo head = info[b];
    uint32_t end = b + 1;
    while (end < total && info[end].kind == head.kind &&
           (head.kind != kSolid || info[end].colour == head.colour))
      ++end;
    run_indices(end - b, end == total, indices);
    uint32_t at = b;
    for (uint32_t r : indices) {
      out.push_back(
          {3, uint16_t(head.kind | (r << 2) | (head.kind == kSolid ? head.colour << 8 : 0))});
      uint32_t stop = std::min(end, at + run_length(r));
      for (; at < stop; ++at) {
        if (head.kind == kTwoColour) emit_two_colour(blocks[at], out);
        if (head.kind == kFull) emit_full(blocks[at], version4, out);
      }
    }
    b = end;
  }
  return out;
}

}  // namespace glint::glinter
