// Hand assembly of Glinter data for the tests: bit strings written least
// significant bit first, trees in their serial form, whole files.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace glint::test {

struct Bits {
  std::vector<uint8_t> bytes;
  uint64_t count = 0;

  Bits& put(uint32_t value, unsigned n) {
    for (unsigned i = 0; i < n; ++i) {
      if (count % 8 == 0) bytes.push_back(0);
      if ((value >> i) & 1) bytes.back() |= uint8_t(1u << (count % 8));
      ++count;
    }
    return *this;
  }
  // A sequence of single bits, e.g. bits("1001").
  Bits& seq(const char* text) {
    for (; *text; ++text)
      if (*text == '0' || *text == '1') put(*text == '1', 1);
    return *this;
  }
  Bits& code(const std::pair<uint32_t, unsigned>& c) { return put(c.first, c.second); }
  Bits& append(const Bits& other) {
    for (uint64_t i = 0; i < other.count; ++i) put((other.bytes[i / 8] >> (i % 8)) & 1, 1);
    return *this;
  }
  // Pads to whole 4-byte words.
  std::vector<uint8_t> words() const {
    std::vector<uint8_t> out = bytes;
    while (out.size() % 4) out.push_back(0);
    return out;
  }
};

using Code = std::pair<uint32_t, unsigned>;  // bits (first branch in bit 0), length

// Emits a balanced tree over `leaves` (in pre-order) and notes each leaf's
// code; `emit_leaf` writes a leaf's value.
template <class Leaf, class EmitLeaf>
void emit_balanced(Bits& bits, const std::vector<Leaf>& leaves, size_t first, size_t last,
                   uint32_t code, unsigned depth, std::vector<Code>& codes, EmitLeaf&& emit_leaf) {
  if (last - first == 1) {
    bits.put(0, 1);
    emit_leaf(leaves[first]);
    codes[first] = {code, depth};
    return;
  }
  bits.put(1, 1);
  size_t middle = first + (last - first + 1) / 2;
  emit_balanced(bits, leaves, first, middle, code, depth + 1, codes, emit_leaf);
  emit_balanced(bits, leaves, middle, last, code | (1u << depth), depth + 1, codes, emit_leaf);
}

// A small tree (8-bit leaves): its serial form and the code of each value.
struct SmallTree {
  std::vector<uint8_t> values;
  std::map<uint8_t, Code> codes;
  void emit(Bits& bits) {
    std::vector<Code> list(values.size());
    emit_balanced(bits, values, 0, values.size(), 0, 0, list, [&](uint8_t v) { bits.put(v, 8); });
    bits.put(0, 1);
    for (size_t i = 0; i < values.size(); ++i) codes[values[i]] = list[i];
  }
};

// A big tree over the given leaf values (distinct low and high bytes are
// collected into the two small trees) with three escape values.
struct BigTree {
  std::vector<uint16_t> leaves;
  uint16_t escape[3] = {0xFFFF, 0xFFFE, 0xFFFD};
  std::vector<Code> codes;

  // Slots the decoder needs: the walk plus three spare.
  uint32_t tree_bytes() const { return uint32_t(2 * leaves.size() - 1 + 3) * 4; }

  void emit(Bits& bits) {
    SmallTree low, high;
    for (uint16_t v : leaves) {
      if (std::find(low.values.begin(), low.values.end(), uint8_t(v)) == low.values.end())
        low.values.push_back(uint8_t(v));
      if (std::find(high.values.begin(), high.values.end(), uint8_t(v >> 8)) == high.values.end())
        high.values.push_back(uint8_t(v >> 8));
    }
    bits.put(1, 1).put(1, 1);
    low.emit(bits);
    bits.put(1, 1);
    high.emit(bits);
    for (uint16_t e : escape) bits.put(e, 16);
    codes.assign(leaves.size(), {});
    emit_balanced(bits, leaves, 0, leaves.size(), 0, 0, codes, [&](uint16_t v) {
      bits.code(low.codes[uint8_t(v)]).code(high.codes[uint8_t(v >> 8)]);
    });
    bits.put(0, 1);
  }
  Code code_of(uint16_t value) const {
    for (size_t i = 0; i < leaves.size(); ++i)
      if (leaves[i] == value) return codes[i];
    return {0, 99};
  }
};

// The four video trees as one bit stream, with their tree_bytes.
struct TreeSet {
  BigTree trees[4];
  Bits bits;
  uint32_t bytes[4] = {};
  void emit() {
    bits = Bits{};
    for (int t = 0; t < 4; ++t) {
      trees[t].emit(bits);
      bytes[t] = trees[t].tree_bytes();
    }
  }
  Code code(int tree, uint16_t value) const { return trees[tree].code_of(value); }
};

inline void put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}

struct Frame {
  uint8_t type = 0;
  std::vector<uint8_t> bytes;
  uint32_t size_entry = UINT32_MAX;  // UINT32_MAX: bytes.size()
};

struct GntFile {
  std::string magic = "GNT2";
  uint32_t width = 16, height = 16;
  int32_t frame_period = 40;
  uint32_t header_flags = 0;
  uint32_t track_format[7] = {};
  uint32_t tree_bytes[4] = {};
  std::vector<uint8_t> tree_data;
  std::vector<Frame> frames;  // the ring frame last when header_flags bit 0
  int64_t frame_count = -1;   // -1: from frames

  std::string build() const {
    std::string out = magic.substr(0, 4);
    uint32_t count = frame_count >= 0 ? uint32_t(frame_count)
                                      : uint32_t(frames.size() - (header_flags & 1 ? 1 : 0));
    put32(out, width);
    put32(out, height);
    put32(out, count);
    put32(out, uint32_t(frame_period));
    put32(out, header_flags);
    for (int k = 0; k < 7; ++k) put32(out, 0);
    put32(out, uint32_t(tree_data.size()));
    for (uint32_t b : tree_bytes) put32(out, b);
    for (uint32_t f : track_format) put32(out, f);
    put32(out, 0);
    for (const Frame& f : frames)
      put32(out, f.size_entry == UINT32_MAX ? uint32_t(f.bytes.size()) : f.size_entry);
    for (const Frame& f : frames) out.push_back(char(f.type));
    out.append(tree_data.begin(), tree_data.end());
    for (const Frame& f : frames) out.append(f.bytes.begin(), f.bytes.end());
    return out;
  }
};

// Type values: type in bits 0-1, run index in bits 2-7, colour in 8-15.
inline uint16_t type_value(uint32_t type, uint32_t run_index, uint32_t colour = 0) {
  return uint16_t(type | (run_index << 2) | (colour << 8));
}
enum : uint32_t { kTwoColour = 0, kFull = 1, kUnchanged = 2, kSolid = 3 };

}  // namespace glint::test
