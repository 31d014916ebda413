#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "glinter/bit_reader.h"
#include "glinter/video_trees.h"
#include "orxutil/huff.h"
#include "support/temp_dir.h"

namespace glint::glinter {
namespace {

// Writes through a real ORXFile and returns the bytes and the bit count.
struct Output {
  test::TempDir dir;
  ORXFile* file = nullptr;
  Output() { file = ORXFileCreate(4096, dir.file("bits").c_str()); }
  std::vector<uint8_t> finish() {
    ORXFileClose(file);
    file = nullptr;
    std::string bytes = dir.read("bits");
    return {bytes.begin(), bytes.end()};
  }
  ~Output() {
    if (file) ORXFileClose(file);
  }
};

struct Encoder {
  HuffEncoder* huff;
  explicit Encoder(uint32_t kind) : huff(HuffOpen(kind)) {}
  ~Encoder() { HuffClose(huff); }
};

std::string bit_string(const std::vector<uint8_t>& bytes, size_t bits) {
  std::string text;
  for (size_t i = 0; i < bits; ++i) text += ((bytes[i / 8] >> (i % 8)) & 1) ? '1' : '0';
  return text;
}

TEST(HuffEncoder, EmptyBlockWritesOneZeroBit) {
  Output out;
  Encoder e(1);
  HuffSetOutput(e.huff, out.file);
  HuffInitStats(e.huff);
  EXPECT_EQ(HuffStartEncode(e.huff), 12);
  ORXFilePutBits(out.file, 0x7F, 7);  // mark the end of the tree
  EXPECT_EQ(bit_string(out.finish(), 8), "01111111");
}

TEST(HuffEncoder, SingleValueIsALeafWithoutCode) {
  Output out;
  Encoder e(1);
  HuffSetOutput(e.huff, out.file);
  HuffInitStats(e.huff);
  for (int i = 0; i < 5; ++i) HuffAddStat(e.huff, 0xA5);
  EXPECT_EQ(HuffStartEncode(e.huff), 20);
  EXPECT_EQ(HuffEncode(e.huff, 0xA5), 0u);
  ORXFilePutBits(out.file, 0x1F, 5);
  // 1, 0, 0xA5 least significant bit first, 0, then the marker bits.
  EXPECT_EQ(bit_string(out.finish(), 16),
            "10"
            "10100101"
            "0"
            "11111");
}

TEST(HuffEncoder, TwoValuesGetOneBitEachTheLighterOnTheRight) {
  struct Case {
    uint32_t a_count, b_count;
    std::string a_code, b_code;
  };
  for (const Case& c : {Case{5, 2, "0", "1"}, Case{2, 5, "1", "0"}, Case{3, 3, "0", "1"}}) {
    Output out;
    Encoder e(1);
    HuffSetOutput(e.huff, out.file);
    HuffInitStats(e.huff);
    for (uint32_t i = 0; i < c.a_count; ++i) HuffAddStat(e.huff, 10);
    for (uint32_t i = 0; i < c.b_count; ++i) HuffAddStat(e.huff, 20);
    EXPECT_EQ(HuffStartEncode(e.huff), 24);  // one node
    EXPECT_EQ(HuffEncode(e.huff, 10), 1u);
    EXPECT_EQ(HuffEncode(e.huff, 20), 1u);
    std::vector<uint8_t> bytes = out.finish();
    // 1 (present) 1 (root) 0 left 0 right 0 (end): 21 bits, then the codes.
    std::string bits = bit_string(bytes, 23);
    EXPECT_EQ(bits.substr(21), c.a_code + c.b_code) << c.a_count << "/" << c.b_count;
  }
}

TEST(HuffEncoder, EightBitValuesAreMasked) {
  Output out;
  Encoder e(1);
  HuffSetOutput(e.huff, out.file);
  HuffInitStats(e.huff);
  HuffAddStat(e.huff, 0x105);
  HuffAddStat(e.huff, 0x07);
  EXPECT_EQ(HuffStartEncode(e.huff), 24);
  EXPECT_EQ(HuffEncode(e.huff, 0x205), 1u);  // the code of 5
}

// 16-bit trees written by the encoder and read back by the decoder's tree
// reader (three absent trees follow) decode the same values, escapes and
// recent values included.
struct RoundTrip {
  std::vector<uint16_t> values;
  int32_t figure = 0;
  uint64_t coded_bits = 0;
  std::vector<uint32_t> decoded;

  void run() {
    Output out;
    Encoder e(0);
    HuffSetOutput(e.huff, out.file);
    HuffInitStats(e.huff);
    for (uint16_t v : values) HuffAddStat(e.huff, v);
    figure = HuffStartEncode(e.huff);
    ORXFilePutBits(out.file, 0, 3);  // trees 1-3 absent
    ORXFileByteAlign(out.file);
    uint64_t tree_end = ORXFileGetPos(out.file);
    HuffInitLasts(e.huff);
    for (uint16_t v : values) coded_bits += HuffEncode(e.huff, v);
    std::vector<uint8_t> bytes = out.finish();
    VideoTrees trees;
    std::span<const uint8_t> all(bytes);
    ASSERT_EQ(build_video_trees(all.first(tree_end), {1u << 22, 0, 0, 0}, trees), TreeError::kNone);
    WideBitReader reader(all.subspan(tree_end));
    Recent recent;
    for (size_t i = 0; i < values.size(); ++i)
      decoded.push_back(decode_value(trees.trees[0], recent, reader));
  }
};

TEST(HuffEncoder, SixteenBitTreeRoundTripsThroughTheReader) {
  std::mt19937 random(3);
  RoundTrip trip;
  for (int i = 0; i < 5000; ++i) {
    uint16_t v = uint16_t(random() % 7 == 0 ? random() : random() % 50 * 0x0101);
    trip.values.push_back(v);
    if (random() % 4 == 0) trip.values.push_back(v);  // repeats use escape 0
  }
  trip.run();
  EXPECT_EQ(trip.decoded, std::vector<uint32_t>(trip.values.begin(), trip.values.end()));
}

TEST(HuffEncoder, EscapeBecomesALeafAfter32Repeats) {
  // Counts: 7, 8, 9, 10 once each; the repeats of 10 go to escape 0.
  struct Case {
    int repeats;
    uint64_t bits;
  };
  for (const Case& c : {Case{31, 4 * 2 + 31 * 2}, Case{40, 4 * 3 + 40 * 1}}) {
    const int repeats = c.repeats;
    RoundTrip trip;
    trip.values = {7, 8, 9, 10};
    for (int i = 0; i < repeats; ++i) trip.values.push_back(10);
    trip.run();
    EXPECT_EQ(trip.decoded, std::vector<uint32_t>(trip.values.begin(), trip.values.end()));
    // 40 repeats: escape 0 is a leaf of weight 40 with a 1-bit code, the
    // four values 3 bits each. 31: no escape code, four 2-bit codes.
    EXPECT_EQ(trip.coded_bits, c.bits) << repeats;
  }
}

TEST(HuffEncoder, TooDeepDistributionsAreFlattenedIntoAValidTree) {
  RoundTrip trip;
  // Fibonacci counts need a code per level: far deeper than 30 bits.
  uint64_t a = 1, b = 1;
  for (uint16_t v = 0; v < 40; ++v) {
    for (uint64_t i = 0; i < std::min<uint64_t>(a, 3000); ++i)
      trip.values.push_back(uint16_t(v * 3 + 1));
    uint64_t next = a + b;
    a = b;
    b = next;
  }
  // Spread the heavy values out so escapes stay rare.
  std::mt19937 random(5);
  std::shuffle(trip.values.begin(), trip.values.end(), random);
  trip.run();
  EXPECT_GT(trip.figure, 0);
  EXPECT_EQ(trip.decoded, std::vector<uint32_t>(trip.values.begin(), trip.values.end()));
}

TEST(HuffEncoder, DeepEightBitTreeIsFlattenedToo) {
  Output out;
  Encoder e(1);
  HuffSetOutput(e.huff, out.file);
  HuffInitStats(e.huff);
  uint64_t a = 1, b = 1;
  std::vector<uint32_t> values;
  for (uint32_t v = 0; v < 45; ++v) {
    for (uint64_t i = 0; i < a; i += 1 + a / 50000) HuffAddStat(e.huff, v);
    uint64_t next = a + b;
    a = b;
    b = next;
  }
  EXPECT_GT(HuffStartEncode(e.huff), 0);
  for (uint32_t v = 0; v < 45; ++v) EXPECT_LE(HuffEncode(e.huff, v), 30u);
}

}  // namespace
}  // namespace glint::glinter
