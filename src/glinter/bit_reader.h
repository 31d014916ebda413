// Bit streams read least significant bit first. Past the end of its span a
// reader delivers zero bits, so damaged data can never make it read outside
// the buffer it was given.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>

namespace glint::glinter {

// The 64-bit reader: after refill() at least 56 bits are ready, so one video
// value (at most 32 bits) never needs another refill. It plays the part of
// the MMX reader.
struct WideBitReader {
  const uint8_t* next = nullptr;
  const uint8_t* end = nullptr;
  uint64_t bits = 0;
  unsigned count = 0;

  explicit WideBitReader(std::span<const uint8_t> data)
      : next(data.data()), end(data.data() + data.size()) {}

  void refill() {
    if (end - next >= 8) {
      uint64_t word;
      std::memcpy(&word, next, 8);
      bits |= word << count;
      next += (63 - count) >> 3;
      count |= 56;
      return;
    }
    while (count <= 56) {
      if (next < end) bits |= uint64_t(*next++) << count;
      count += 8;  // zero bits past the end
    }
  }
  uint32_t peek(unsigned n) const { return static_cast<uint32_t>(bits & ((uint64_t(1) << n) - 1)); }
  // The refill before a value covers all of its bits.
  void ensure(unsigned) {}
  void skip(unsigned n) {
    bits >>= n;
    count -= n;
  }
  uint32_t read(unsigned n) {
    if (count < n) refill();
    uint32_t value = peek(n);
    skip(n);
    return value;
  }
};

// The plain reader: keeps at most 32 bits and refills a byte at a time,
// also between the table levels of a long code. Reads the same bits as the
// wide reader.
struct NarrowBitReader {
  const uint8_t* next = nullptr;
  const uint8_t* end = nullptr;
  uint32_t bits = 0;
  unsigned count = 0;

  explicit NarrowBitReader(std::span<const uint8_t> data)
      : next(data.data()), end(data.data() + data.size()) {}

  void refill() {
    while (count <= 24) {
      if (next < end) bits |= uint32_t(*next++) << count;
      count += 8;
    }
  }
  uint32_t peek(unsigned n) const { return bits & ((uint32_t(1) << n) - 1); }
  void ensure(unsigned n) {
    if (count < n) refill();
  }
  void skip(unsigned n) {
    bits >>= n;
    count -= n;
  }
  uint32_t read(unsigned n) {
    if (count < n) refill();
    uint32_t value = peek(n);
    skip(n);
    return value;
  }
};

// A simple bit-at-a-time reader for tree data, which also tells how far it
// got, so the caller can see whether the data ran out.
struct StreamBitReader {
  std::span<const uint8_t> data;
  uint64_t position = 0;  // in bits

  uint32_t bit() {
    uint64_t byte = position >> 3;
    uint32_t value = byte < data.size() ? (data[byte] >> (position & 7)) & 1u : 0u;
    ++position;
    return value;
  }
  uint32_t bits(unsigned n) {
    uint32_t value = 0;
    for (unsigned i = 0; i < n; ++i) value |= bit() << i;
    return value;
  }
  bool overran() const { return position > uint64_t(data.size()) * 8; }
};

}  // namespace glint::glinter
