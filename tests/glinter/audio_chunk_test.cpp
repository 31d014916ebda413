// The compressed-chunk decoder on hand-made chunks: byte order of the first
// sample frame, single-leaf and two-leaf trees, delta wrap, trees without
// statistics, lengths that are not whole sample frames, the ring's wrap.
#include <gtest/gtest.h>

#include <random>

#include "gnt_builder.h"
#include "glinter/audio_chunk.h"
#include "glinter/encoder/audio_encode.h"

namespace glint::glinter {
namespace {

using test::Bits;

uint32_t read_le32_(const uint8_t* at) {
  return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

struct Layout {
  unsigned channels, sample_bytes;
};

// Header bits, then for each tree either a single leaf or "no tree".
Bits chunk_header(Layout layout) {
  Bits bits;
  bits.put(1, 1).put(layout.channels == 2, 1).put(layout.sample_bytes == 2, 1);
  return bits;
}
void single_leaf(Bits& bits, uint8_t value) { bits.put(1, 1).put(0, 1).put(value, 8).put(0, 1); }

std::vector<uint8_t> decode(const Bits& bits, uint64_t length, size_t ring_size = 64,
                            uint64_t write_pos = 0, uint64_t* written = nullptr) {
  std::vector<uint32_t> scratch(kAudioScratchBytes / 4);
  std::vector<uint8_t> ring(ring_size, 0xEE);
  std::vector<uint8_t> stream = bits.bytes;
  uint64_t n = decode_audio_chunk(stream, length, scratch, RingSpan{ring.data(), ring.size()},
                                  write_pos);
  if (written) *written = n;
  return ring;
}

std::vector<uint8_t> head(const std::vector<uint8_t>& v, size_t n) {
  return {v.begin(), v.begin() + std::min(n, v.size())};
}

TEST(AudioChunk, FirstSampleFrameAndDeltasPerLayout) {
  struct Case {
    const char* name;
    Layout layout;
    std::vector<uint8_t> first;   // as sent
    std::vector<uint8_t> deltas;  // one single-leaf tree value per tree
    uint64_t length;
    std::vector<uint8_t> expected;
  };
  const Case cases[] = {
      {"8-bit mono, leaf 1", {1, 1}, {0x80}, {1}, 4, {0x80, 0x81, 0x82, 0x83}},
      {"8-bit mono wraps", {1, 1}, {0xFF}, {2}, 2, {0xFF, 0x01}},
      {"8-bit stereo: right first", {2, 1}, {0x90, 0x70}, {1, 2}, 4, {0x70, 0x90, 0x71, 0x92}},
      {"16-bit mono: high byte first", {1, 2}, {0x12, 0x34}, {0, 0}, 2, {0x34, 0x12}},
      {"16-bit mono wraps", {1, 2}, {0xFF, 0xFF}, {2, 0}, 4, {0xFF, 0xFF, 0x01, 0x00}},
      {"16-bit mono high delta", {1, 2}, {0x00, 0x10}, {0x01, 0x02}, 4, {0x10, 0x00, 0x11, 0x02}},
      {"16-bit stereo: right high, right low, left high, left low",
       {2, 2},
       {0x12, 0x34, 0x56, 0x78},
       {1, 0, 0, 1},
       8,
       {0x78, 0x56, 0x34, 0x12, 0x79, 0x56, 0x34, 0x13}},
  };
  for (const Case& c : cases) {
    Bits bits = chunk_header(c.layout);
    for (uint8_t d : c.deltas) single_leaf(bits, d);
    for (uint8_t b : c.first) bits.put(b, 8);
    // Single-leaf trees read no bits: what follows must not matter.
    bits.put(0xFFFFFFFF, 32);
    uint64_t written = 0;
    std::vector<uint8_t> ring = decode(bits, c.length, 64, 0, &written);
    EXPECT_EQ(written, c.length) << c.name;
    EXPECT_EQ(head(ring, c.length), c.expected) << c.name;
    EXPECT_EQ(ring[c.length], 0xEE) << c.name << ": wrote past the decoded length";
  }
}

TEST(AudioChunk, TwoLeafTreeCodes) {
  // 1, 0, 0x05, 0, 0x07, 0: code 0 is 5, code 1 is 7.
  Bits bits = chunk_header({1, 1});
  bits.put(1, 1).seq("1").put(0, 1).put(5, 8).put(0, 1).put(7, 8).put(0, 1);
  bits.put(0x10, 8);        // first sample
  bits.seq("0110");         // +5 +7 +7 +5
  EXPECT_EQ(head(decode(bits, 5), 5), (std::vector<uint8_t>{0x10, 0x15, 0x1C, 0x23, 0x28}));
}

TEST(AudioChunk, CodesLongerThanTheTableWalkOn) {
  // A comb of 12 leaves: leaf k (value k + 1) has the code of k 1s and a 0,
  // the last one 11 1s; codes of 9 to 11 bits pass the 8-bit table.
  Bits bits = chunk_header({1, 1});
  bits.put(1, 1);
  for (unsigned k = 0; k < 11; ++k) bits.put(1, 1).put(0, 1).put(k + 1, 8);
  bits.put(0, 1).put(12, 8).put(0, 1);
  bits.put(0x00, 8);  // first sample
  std::vector<uint8_t> expected{0x00};
  for (unsigned k : {11u, 0u, 9u, 10u, 5u, 8u}) {
    bits.put((1u << k) - 1, k);
    if (k < 11) bits.put(0, 1);
    expected.push_back(uint8_t(expected.back() + k + 1));
  }
  EXPECT_EQ(head(decode(bits, expected.size()), expected.size()), expected);
}

TEST(AudioChunk, AZeroFlagMeansNoTreeAndZeroDeltas) {
  // The writer sends a lone 0 bit for a tree without statistics.
  Bits bits = chunk_header({2, 2});
  for (int t = 0; t < 4; ++t) bits.put(0, 1);
  for (uint8_t b : {0x01, 0x02, 0x03, 0x04}) bits.put(b, 8);
  EXPECT_EQ(head(decode(bits, 8), 8),
            (std::vector<uint8_t>{0x04, 0x03, 0x02, 0x01, 0x04, 0x03, 0x02, 0x01}));
}

TEST(AudioChunk, LengthsThatAreNotWholeSampleFramesStopShort) {
  struct Case {
    Layout layout;
    uint64_t length, expected;
  };
  for (const Case& c : {Case{{2, 2}, 7, 4}, Case{{1, 2}, 5, 4}, Case{{2, 1}, 3, 2},
                        Case{{2, 2}, 3, 0}}) {
    Bits bits = chunk_header(c.layout);
    for (unsigned t = 0; t < c.layout.channels * c.layout.sample_bytes; ++t) single_leaf(bits, 1);
    for (unsigned i = 0; i < c.layout.channels * c.layout.sample_bytes; ++i) bits.put(0x40, 8);
    uint64_t written = 99;
    std::vector<uint8_t> ring = decode(bits, c.length, 16, 0, &written);
    EXPECT_EQ(written, c.expected) << c.length;
    for (size_t i = c.expected; i < ring.size(); ++i) ASSERT_EQ(ring[i], 0xEE) << c.length;
  }
}

TEST(AudioChunk, WrapsAtTheRingEndEvenInsideASampleFrame) {
  Bits bits = chunk_header({2, 2});
  for (int t = 0; t < 4; ++t) single_leaf(bits, t == 0 ? 1 : 0);
  for (uint8_t b : {0x00, 0x00, 0x00, 0x10}) bits.put(b, 8);
  // Ring of 10 bytes, writing from 7: the second frame straddles the end.
  std::vector<uint8_t> ring = decode(bits, 8, 10, 7);
  // Left 0x0010 then 0x0011, right 0 (stored left low, left high, ...).
  EXPECT_EQ(ring, (std::vector<uint8_t>{0x00, 0x11, 0x00, 0x00, 0x00, 0xEE, 0xEE, 0x10, 0x00, 0x00}));
  ring = decode(bits, 8, 10, 6);
  EXPECT_EQ(ring, (std::vector<uint8_t>{0x11, 0x00, 0x00, 0x00, 0xEE, 0xEE, 0x10, 0x00, 0x00,
                                        0x00}));
}

TEST(AudioChunk, NothingFromEmptyOrDamagedChunks) {
  Bits no_data;
  no_data.put(0, 1).put(0xFF, 8);
  Bits zero_length = chunk_header({1, 1});
  single_leaf(zero_length, 1);
  zero_length.put(0x80, 8);
  Bits endless = chunk_header({1, 1});
  endless.put(1, 1);
  for (int i = 0; i < 80; ++i) endless.put(0xFFFFFFFF, 32);  // nodes beyond 512 slots
  struct Case {
    const char* name;
    const Bits& bits;
    uint64_t length;
  };
  for (const Case& c : {Case{"no data bit", no_data, 4}, Case{"length 0", zero_length, 0},
                        Case{"too many nodes", endless, 4}, Case{"empty stream", Bits{}, 4}}) {
    uint64_t written = 99;
    std::vector<uint8_t> ring = decode(c.bits, c.length, 16, 0, &written);
    EXPECT_EQ(written, 0u) << c.name;
    EXPECT_EQ(ring, std::vector<uint8_t>(16, 0xEE)) << c.name;
  }
}

TEST(AudioChunk, EncoderChunksDecodeToTheirPcm) {
  std::mt19937 random(7);
  for (Layout layout : {Layout{1, 1}, Layout{2, 1}, Layout{1, 2}, Layout{2, 2}}) {
    const unsigned frame = layout.channels * layout.sample_bytes;
    for (size_t frames : {size_t(1), size_t(2), size_t(300)}) {
      // A wandering signal with occasional jumps: many distinct deltas.
      std::vector<uint8_t> pcm(frames * frame);
      uint32_t value = 0;
      for (size_t i = 0; i < pcm.size(); ++i) {
        value += (random() % 7 == 0) ? random() : random() % 5;
        pcm[i] = uint8_t(value >> (i % 2 ? 8 : 0));
      }
      std::vector<uint8_t> chunk = encode_audio_chunk(pcm, layout.channels, layout.sample_bytes);
      ASSERT_GE(chunk.size(), 8u);
      EXPECT_EQ(chunk.size() % 4, 0u);
      EXPECT_EQ(read_le32_(chunk.data()), chunk.size());
      EXPECT_EQ(read_le32_(chunk.data() + 4), pcm.size());
      std::vector<uint32_t> scratch(kAudioScratchBytes / 4);
      std::vector<uint8_t> ring(pcm.size() + 3, 0xEE);
      std::span<const uint8_t> stream(chunk.data() + 8, chunk.size() - 8);
      EXPECT_EQ(decode_audio_chunk(stream, pcm.size(), scratch, RingSpan{ring.data(), ring.size()}, 3),
                pcm.size());
      std::vector<uint8_t> unwrapped(ring.begin() + 3, ring.end());
      unwrapped.insert(unwrapped.end(), ring.begin(), ring.begin() + 3);
      EXPECT_EQ(head(unwrapped, pcm.size()), pcm)
          << layout.channels << " channels, " << layout.sample_bytes << " bytes, " << frames;
    }
  }
}

}  // namespace
}  // namespace glint::glinter
