#include "glinter/video_trees.h"

#include <gtest/gtest.h>

#include "glinter/bit_reader.h"
#include "gnt_builder.h"

namespace glint::glinter {
namespace {

using test::Bits;

std::array<uint32_t, 4> roomy() { return {1u << 20, 1u << 20, 1u << 20, 1u << 20}; }

uint32_t decode(const VideoTree& tree, Recent& recent, const Bits& bits) {
  WideBitReader reader(bits.bytes);
  return decode_value(tree, recent, reader);
}

TEST(SmallTree, TwoLeavesFromTheWrittenExample) {
  Bits bits;
  bits.seq("1 0").put(0x05, 8).seq("0").put(0x07, 8).seq("0");
  StreamBitReader reader{bits.bytes};
  std::vector<uint32_t> slots;
  ASSERT_TRUE(read_small_tree(reader, slots));
  EXPECT_EQ(reader.position, 20u);  // the final 0 ends the tree

  Bits zero, one;
  zero.seq("0");
  one.seq("1");
  StreamBitReader r0{zero.bytes}, r1{one.bytes};
  EXPECT_EQ(decode_small(slots, r0), 5u);
  EXPECT_EQ(decode_small(slots, r1), 7u);
}

TEST(SmallTree, MoreThan511SlotsIsRefused) {
  Bits bits;
  for (int i = 0; i < 300; ++i) bits.seq("1");
  StreamBitReader reader{bits.bytes};
  std::vector<uint32_t> slots;
  EXPECT_FALSE(read_small_tree(reader, slots));
}

// Four single-leaf big trees (values 0x1234, 1, 2, 3).
TEST(VideoTrees, SingleLeafTreesReadNoBits) {
  test::TreeSet set;
  set.trees[0].leaves = {0x1234};
  set.trees[1].leaves = {1};
  set.trees[2].leaves = {2};
  set.trees[3].leaves = {3};
  set.emit();
  VideoTrees trees;
  ASSERT_EQ(build_video_trees(set.bits.bytes, roomy(), trees), TreeError::kNone);
  for (uint32_t entry : trees.trees[0].table) EXPECT_EQ(entry_bits(entry), 0u);

  Bits stream;
  stream.put(0xA5, 8);
  WideBitReader reader(stream.bytes);
  Recent recent;
  EXPECT_EQ(decode_value(trees.trees[0], recent, reader), 0x1234u);
  EXPECT_EQ(decode_value(trees.trees[3], recent, reader), 3u);
  EXPECT_EQ(reader.read(8), 0xA5u);  // nothing was consumed
}

// Tree 0 leaves: A, B, escape 0, escape 1, escape 2 (balanced codes).
struct EscapeTree : ::testing::Test {
  static constexpr uint16_t A = 0x0102, B = 0x0304;
  test::TreeSet set;
  VideoTrees trees;
  void SetUp() override {
    set.trees[0].leaves = {A, B, 0x7000, 0x7001, 0x7002};
    set.trees[0].escape[0] = 0x7000;
    set.trees[0].escape[1] = 0x7001;
    set.trees[0].escape[2] = 0x7002;
    for (int t = 1; t < 4; ++t) set.trees[t].leaves = {0};
    set.emit();
    ASSERT_EQ(build_video_trees(set.bits.bytes, roomy(), trees), TreeError::kNone);
  }
  Bits codes(std::initializer_list<uint16_t> values) const {
    Bits bits;
    for (uint16_t v : values) bits.code(set.code(0, v));
    return bits;
  }
};

TEST_F(EscapeTree, RecentValuesFollowABA) {
  Bits bits = codes({A, B, A, A, 0x7000, 0x7001, 0x7002});
  WideBitReader reader(bits.bytes);
  Recent recent;
  const VideoTree& tree = trees.trees[0];
  EXPECT_EQ(decode_value(tree, recent, reader), A);
  EXPECT_EQ(decode_value(tree, recent, reader), B);
  EXPECT_EQ(decode_value(tree, recent, reader), A);
  EXPECT_EQ(recent.value[0], A);
  EXPECT_EQ(recent.value[1], B);
  EXPECT_EQ(recent.value[2], A);
  EXPECT_EQ(decode_value(tree, recent, reader), A);  // same again: nothing shifts
  EXPECT_EQ(recent.value[1], B);
  EXPECT_EQ(decode_value(tree, recent, reader), A);  // escape 0 -> R0
  EXPECT_EQ(decode_value(tree, recent, reader), B);  // escape 1 -> R1
  EXPECT_EQ(recent.value[0], B);
  EXPECT_EQ(recent.value[1], A);
  EXPECT_EQ(decode_value(tree, recent, reader), B);  // escape 2 -> R2 (B)
}

TEST_F(EscapeTree, EscapesAtFrameStartSendZero) {
  Bits bits = codes({0x7001});
  Recent recent;
  EXPECT_EQ(decode(trees.trees[0], recent, bits), 0u);
}

TEST(VideoTrees, OnlyTheLastLeafOfAnEscapeValueSendsTheRecentValue) {
  test::TreeSet set;
  set.trees[0].leaves = {0x5555, 0x0101, 0x5555, 0x0202};
  set.trees[0].escape[1] = 0x5555;
  for (int t = 1; t < 4; ++t) set.trees[t].leaves = {0};
  set.emit();
  VideoTrees trees;
  ASSERT_EQ(build_video_trees(set.bits.bytes, roomy(), trees), TreeError::kNone);
  Bits bits;
  bits.code(set.trees[0].codes[1]).code(set.trees[0].codes[0]).code(set.trees[0].codes[2]);
  WideBitReader reader(bits.bytes);
  Recent recent;
  EXPECT_EQ(decode_value(trees.trees[0], recent, reader), 0x0101u);
  EXPECT_EQ(decode_value(trees.trees[0], recent, reader), 0u);       // the earlier duplicate
  EXPECT_EQ(decode_value(trees.trees[0], recent, reader), 0x0101u);  // the escape leaf: R1
}

TEST(VideoTrees, AbsentTreeDecodesZeroAndLeavesTheNextTreeIntact) {
  test::TreeSet set;
  set.trees[1].leaves = {0x0A0B, 0x0C0D};
  set.trees[2].leaves = {9};
  set.trees[3].leaves = {3};
  Bits bits;
  bits.seq("0");  // tree 0 absent
  for (int t = 1; t < 4; ++t) set.trees[t].emit(bits);
  VideoTrees trees;
  ASSERT_EQ(build_video_trees(bits.bytes, roomy(), trees), TreeError::kNone);
  Bits stream;
  stream.code(set.code(1, 0x0C0D));
  WideBitReader reader(stream.bytes);
  Recent recent[4];
  EXPECT_EQ(decode_value(trees.trees[0], recent[0], reader), 0u);
  EXPECT_EQ(decode_value(trees.trees[1], recent[1], reader), 0x0C0Du);
}

TEST(VideoTrees, SmallTreesNotSentAreLeafZeroFirstAndThePreviousOnesLater) {
  Bits bits;
  // Tree 0: present, neither small tree sent: a single leaf of value 0.
  bits.seq("1 0 0").put(0xFFFF, 16).put(0xFFFE, 16).put(0xFFFD, 16).seq("0 0");
  // Tree 1: both small trees sent, leaves 0x0201 and 0x0403.
  bits.seq("1 1");
  bits.seq("1 0").put(0x01, 8).seq("0").put(0x03, 8).seq("0");
  bits.seq("1");
  bits.seq("1 0").put(0x02, 8).seq("0").put(0x04, 8).seq("0");
  bits.put(0xFFFF, 16).put(0xFFFE, 16).put(0xFFFD, 16);
  bits.seq("1 0 00 0 11 0");  // leaves: (low 0, high 0) = 0x0201, (1, 1) = 0x0403
  // Tree 2: small trees not sent: reuses tree 1's; one leaf (low 1, high 0).
  bits.seq("1 0 0").put(0xFFFF, 16).put(0xFFFE, 16).put(0xFFFD, 16).seq("0 1 0 0");
  bits.seq("0");  // tree 3 absent
  VideoTrees trees;
  ASSERT_EQ(build_video_trees(bits.bytes, roomy(), trees), TreeError::kNone);
  Bits one;
  one.seq("1");
  Recent recent[4];
  EXPECT_EQ(decode(trees.trees[0], recent[0], one), 0u);
  EXPECT_EQ(decode(trees.trees[1], recent[1], one), 0x0403u);
  EXPECT_EQ(decode(trees.trees[2], recent[2], one), 0x0203u);
}

TEST(VideoTrees, DamagedTreeDataIsRefused) {
  struct Case {
    const char* name;
    Bits bits;
    std::array<uint32_t, 4> tree_bytes;
    TreeError expected;
  };
  std::vector<Case> cases;
  {
    test::TreeSet set;
    set.trees[0].leaves = {1, 2, 3};  // 5 slots + 3 spare = 32 bytes
    for (int t = 1; t < 4; ++t) set.trees[t].leaves = {0};
    set.emit();
    cases.push_back(
        {"slots beyond tree_bytes", set.bits, {28, 1024, 1024, 1024}, TreeError::kTooManySlots});
    Bits cut = set.bits;
    cut.bytes.resize(cut.bytes.size() / 2);
    cases.push_back({"tree data cut short", cut, roomy(), TreeError::kTruncated});
  }
  {
    Bits deep;
    deep.seq("1 0 0").put(0xFFFF, 16).put(0xFFFE, 16).put(0xFFFD, 16);
    for (int i = 0; i < 33; ++i) deep.seq("1 0");  // a comb 33 levels deep
    deep.seq("0 0");
    cases.push_back({"code deeper than 32 bits", deep, roomy(), TreeError::kTooDeep});
  }
  for (const Case& c : cases) {
    VideoTrees trees;
    EXPECT_EQ(build_video_trees(c.bits.bytes, c.tree_bytes, trees), c.expected) << c.name;
  }
}

TEST(VideoTrees, ExactTreeBytesAreAccepted) {
  test::TreeSet set;
  set.trees[0].leaves = {1, 2, 3};
  for (int t = 1; t < 4; ++t) set.trees[t].leaves = {0};
  set.emit();
  VideoTrees trees;
  EXPECT_EQ(build_video_trees(set.bits.bytes, {32, 16, 16, 16}, trees), TreeError::kNone);
}

TEST(VideoTrees, EveryValueUsedLeavesNoMarker) {
  test::TreeSet set;
  set.trees[0].leaves.resize(65536);
  for (uint32_t v = 0; v < 65536; ++v) set.trees[0].leaves[v] = uint16_t(v);
  for (int t = 1; t < 4; ++t) set.trees[t].leaves = {0};
  // An escape leaf counts as value 0: let all three escapes name leaf 0.
  for (uint16_t& e : set.trees[0].escape) e = 0;
  set.emit();
  VideoTrees trees;
  EXPECT_EQ(build_video_trees(set.bits.bytes, {1u << 20, 16, 16, 16}, trees), TreeError::kNoMarker);
}

}  // namespace
}  // namespace glint::glinter
