#include "glinter/video_decode.h"

#include <gtest/gtest.h>

#include <random>

#include "gnt_builder.h"

namespace glint::glinter {
namespace {

using test::Bits;
using test::kFull, test::kSolid, test::kTwoColour, test::kUnchanged;
using test::type_value;

struct Video : ::testing::Test {
  test::TreeSet set;
  VideoTrees trees;
  OutputDescriptor out;
  std::vector<uint8_t> buffer;
  uint32_t width = 0, height = 0;

  // leaves of the map, colour, full and type trees
  void make_trees(std::vector<uint16_t> maps, std::vector<uint16_t> colours,
                  std::vector<uint16_t> fulls, std::vector<uint16_t> types) {
    set.trees[0].leaves = std::move(maps);
    set.trees[1].leaves = std::move(colours);
    set.trees[2].leaves = std::move(fulls);
    set.trees[3].leaves = std::move(types);
    set.emit();
    std::array<uint32_t, 4> bytes{set.bytes[0], set.bytes[1], set.bytes[2], set.bytes[3]};
    ASSERT_EQ(build_video_trees(set.bits.bytes, bytes, trees), TreeError::kNone);
  }
  // A buffer of exactly the picture, pre-filled with 0xEE.
  void make_output(uint32_t w, uint32_t h, bool version4 = false, bool interlaced = false,
                   bool doubled = false, bool bottom_up = false) {
    width = w;
    height = h;
    uint32_t lines = (interlaced || doubled) ? 2 * h : h;
    buffer.assign(size_t(w) * lines, 0xEE);
    out.buffer = buffer.data();
    out.pitch = w;
    out.buffer_height = lines;
    out.bottom_up = bottom_up;
    configure_output(out, w, h, interlaced, doubled, version4);
  }
  Bits& type(Bits& bits, uint16_t value) { return bits.code(set.code(3, value)); }
  void decode(const Bits& bits, bool wide = true) { decode_video(bits.bytes, trees, out, wide); }
  uint8_t at(uint32_t x, uint32_t line) const { return buffer[size_t(line) * width + x]; }
  std::vector<uint8_t> row(uint32_t line, uint32_t x0 = 0, uint32_t n = 4) const {
    return {buffer.begin() + size_t(line) * width + x0,
            buffer.begin() + size_t(line) * width + x0 + n};
  }
};

TEST_F(Video, OneSolidRunFillsTheWholePicture) {
  make_trees({0}, {0}, {0}, {type_value(kSolid, 63, 5)});
  make_output(64, 64);
  Bits bits;  // the only type value has a code of 0 bits
  decode(bits);
  for (uint8_t pixel : buffer) ASSERT_EQ(pixel, 5);
  for (int g = 0; g < 16; ++g) EXPECT_EQ(out.change_map[g], 1) << g;
  EXPECT_EQ(out.change_map[16], 0);
}

TEST_F(Video, UnchangedRunContinuesIntoTheNextBlockRow) {
  make_trees({0}, {0}, {0},
             {type_value(kSolid, 2, 9), type_value(kUnchanged, 2), type_value(kSolid, 1, 7)});
  make_output(16, 8);  // 4 blocks per row, 2 rows
  Bits bits;
  type(bits, type_value(kSolid, 2, 9));
  type(bits, type_value(kUnchanged, 2));
  type(bits, type_value(kSolid, 1, 7));
  decode(bits);
  EXPECT_EQ(row(0, 0, 16),
            std::vector<uint8_t>({9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 0xEE, 0xEE, 0xEE, 0xEE}));
  EXPECT_EQ(row(4, 0, 16), std::vector<uint8_t>({0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 7,
                                                 7, 7, 7, 7, 7, 7, 7}));
}

TEST_F(Video, TwoColourBlockSelectsColourOneWhereTheMapIsSet) {
  make_trees({0x0001}, {0x0201}, {0}, {type_value(kTwoColour, 0)});
  make_output(4, 4);
  Bits bits;
  decode(bits);
  EXPECT_EQ(row(0), std::vector<uint8_t>({2, 1, 1, 1}));
  for (int line = 1; line < 4; ++line) EXPECT_EQ(row(line), std::vector<uint8_t>({1, 1, 1, 1}));
}

TEST_F(Video, TwoColourMapBitsCoverRowsTopToBottom) {
  make_trees({0x8421}, {0x0905}, {0}, {type_value(kTwoColour, 0)});
  make_output(4, 4);
  decode(Bits{});
  EXPECT_EQ(row(0), std::vector<uint8_t>({9, 5, 5, 5}));
  EXPECT_EQ(row(1), std::vector<uint8_t>({5, 9, 5, 5}));
  EXPECT_EQ(row(2), std::vector<uint8_t>({5, 5, 9, 5}));
  EXPECT_EQ(row(3), std::vector<uint8_t>({5, 5, 5, 9}));
}

// Full blocks: tree 2 leaves 0x0403, 0x0201; each row is (0x0403, 0x0201).
TEST_F(Video, FullBlockRowTakesTheSecondValueOnTheLeft) {
  make_trees({0}, {0}, {0x0403, 0x0201}, {type_value(kFull, 0)});
  make_output(4, 4);
  Bits bits;
  for (int r = 0; r < 4; ++r) bits.code(set.code(2, 0x0403)).code(set.code(2, 0x0201));
  decode(bits);
  for (int line = 0; line < 4; ++line) EXPECT_EQ(row(line), std::vector<uint8_t>({1, 2, 3, 4}));
}

TEST_F(Video, Version4FullBlockForms) {
  struct Case {
    const char* name;
    bool version4;
    const char* form_bits;
    std::vector<uint16_t> values;
    std::vector<std::vector<uint8_t>> rows;
  };
  const std::vector<Case> cases = {
      {"double-size",
       true,
       "1",
       {0x2211, 0x4433},
       {{0x11, 0x11, 0x22, 0x22},
        {0x11, 0x11, 0x22, 0x22},
        {0x33, 0x33, 0x44, 0x44},
        {0x33, 0x33, 0x44, 0x44}}},
      {"half-height",
       true,
       "01",
       {0x4433, 0x2211, 0x8877, 0x6655},
       {{0x11, 0x22, 0x33, 0x44},
        {0x11, 0x22, 0x33, 0x44},
        {0x55, 0x66, 0x77, 0x88},
        {0x55, 0x66, 0x77, 0x88}}},
      {"ordinary in GNT4",
       true,
       "00",
       {0x4433, 0x2211, 0x4433, 0x2211, 0x8877, 0x6655, 0x8877, 0x6655},
       {{0x11, 0x22, 0x33, 0x44},
        {0x11, 0x22, 0x33, 0x44},
        {0x55, 0x66, 0x77, 0x88},
        {0x55, 0x66, 0x77, 0x88}}},
      {"GNT2 reads no form bits",
       false,
       "",
       {0x4433, 0x2211, 0x4433, 0x2211, 0x8877, 0x6655, 0x8877, 0x6655},
       {{0x11, 0x22, 0x33, 0x44},
        {0x11, 0x22, 0x33, 0x44},
        {0x55, 0x66, 0x77, 0x88},
        {0x55, 0x66, 0x77, 0x88}}},
  };
  for (const Case& c : cases) {
    set = {};
    make_trees({0}, {0}, {0x2211, 0x4433, 0x6655, 0x8877}, {type_value(kFull, 0)});
    make_output(4, 4, c.version4);
    Bits bits;
    bits.seq(c.form_bits);
    for (uint16_t v : c.values) bits.code(set.code(2, v));
    decode(bits);
    for (int line = 0; line < 4; ++line)
      EXPECT_EQ(row(line), c.rows[line]) << c.name << " row " << line;
  }
}

TEST_F(Video, AllUnchangedFrameTouchesNothing) {
  make_trees({0}, {0}, {0}, {type_value(kUnchanged, 63)});
  make_output(64, 64);
  std::fill(out.change_map.begin(), out.change_map.end(), 1);
  decode(Bits{});
  for (uint8_t pixel : buffer) ASSERT_EQ(pixel, 0xEE);
  for (int g = 0; g <= 16; ++g) EXPECT_EQ(out.change_map[g], 0) << g;
}

TEST_F(Video, GeometriesPlaceCodedRows) {
  // Two block rows: solid 1 block colour 1 ... per row a distinct colour.
  make_trees({0}, {0}, {0}, {type_value(kSolid, 0, 1), type_value(kSolid, 0, 2)});
  auto two_rows = [&] {
    Bits bits;
    type(bits, type_value(kSolid, 0, 1));
    type(bits, type_value(kSolid, 0, 2));
    return bits;
  };
  struct Case {
    const char* name;
    bool interlaced, doubled, bottom_up;
    std::vector<uint8_t> lines;  // first pixel of every buffer line
  };
  const std::vector<Case> cases = {
      {"plain", false, false, false, {1, 1, 1, 1, 2, 2, 2, 2}},
      {"bottom-up", false, false, true, {2, 2, 2, 2, 1, 1, 1, 1}},
      {"interlaced",
       true,
       false,
       false,
       {1, 0xEE, 1, 0xEE, 1, 0xEE, 1, 0xEE, 2, 0xEE, 2, 0xEE, 2, 0xEE, 2, 0xEE}},
      {"doubled", false, true, false, {1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2}},
      {"doubled bottom-up", false, true, true, {2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    make_output(4, 8, false, c.interlaced, c.doubled, c.bottom_up);
    decode(two_rows());
    std::vector<uint8_t> lines;
    for (uint32_t line = 0; line < out.buffer_height; ++line) lines.push_back(at(0, line));
    EXPECT_EQ(lines, c.lines) << c.name;
  }
}

TEST_F(Video, OutputThatDoesNotHoldThePictureIsClipped) {
  make_trees({0}, {0}, {0}, {type_value(kSolid, 63, 3)});
  make_output(16, 16);
  // A buffer 10 x 6 with the picture placed at (4, 2): only the part
  // inside may be written (AddressSanitizer guards the rest).
  struct Case {
    uint32_t x, y;
    bool bottom_up;
  };
  for (const Case& c :
       {Case{4, 2, false}, Case{4, 2, true}, Case{100, 100, false}, Case{0, 0, false}}) {
    std::vector<uint8_t> small(10 * 6, 0xEE);
    out.buffer = small.data();
    out.pitch = 10;
    out.buffer_height = 6;
    out.dest_x = c.x;
    out.dest_y = c.y;
    out.bottom_up = c.bottom_up;
    configure_output(out, 16, 16, false, false, false);
    EXPECT_FALSE(out.fits);
    decode(Bits{});
    for (uint32_t line = 0; line < 6; ++line)
      for (uint32_t x = 0; x < 10; ++x) {
        uint32_t from_top = c.bottom_up ? 5 - line : line;
        bool inside = x >= c.x && from_top >= c.y;
        EXPECT_EQ(small[line * 10 + x], inside ? 3 : 0xEE)
            << c.x << "," << c.y << " at " << x << "," << line;
      }
  }
}

TEST_F(Video, RunPastTheLastBlockIsCutAndDataRunningOutReadsZeros) {
  // Code 0 of the type tree is "solid run 1 colour 4", code 1 "solid 2048".
  make_trees({0}, {0}, {0}, {type_value(kSolid, 0, 4), type_value(kSolid, 63, 8)});
  make_output(16, 16);
  Bits bits;
  type(bits, type_value(kSolid, 63, 8));
  decode(bits);  // one value covers all 16 blocks
  for (uint8_t pixel : buffer) ASSERT_EQ(pixel, 8);
  decode(Bits{});  // no data: zeros decode "solid 1 colour 4" block after block
  for (uint8_t pixel : buffer) ASSERT_EQ(pixel, 4);
}

// Random frames: the change map marks exactly the groups of 16 blocks that
// hold a written block, and both bit readers give the same picture.
TEST_F(Video, ChangeMapMarksWrittenGroupsAndReadersAgree) {
  std::vector<uint16_t> types;
  for (uint32_t r = 0; r < 64; r += 3) {
    types.push_back(type_value(kUnchanged, r));
    types.push_back(type_value(kSolid, r, r));
    if (r < 8) types.push_back(type_value(kTwoColour, r));
    if (r < 8) types.push_back(type_value(kFull, r));
  }
  make_trees({0x1234, 0xF00F, 0x0001}, {0x0201, 0x0403}, {0x1111, 0x2222, 0x3344}, types);
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    make_output(40, 36);  // 10 x 9 = 90 blocks: groups cross block rows
    const uint32_t total = 90;
    std::vector<bool> written(total, false);
    Bits bits;
    for (uint32_t pos = 0; pos < total;) {
      uint16_t t = types[random() % types.size()];
      type(bits, t);
      uint32_t n = std::min(run_length((t >> 2) & 63), total - pos);
      for (uint32_t i = 0; i < n; ++i) {
        written[pos + i] = (t & 3) != kUnchanged;
        if ((t & 3) == kTwoColour) bits.code(set.code(1, 0x0403)).code(set.code(0, 0xF00F));
        if ((t & 3) == kFull)
          for (int v = 0; v < 8; ++v) bits.code(set.code(2, v % 2 ? 0x3344 : 0x2222));
      }
      pos += n;
    }
    std::fill(out.change_map.begin(), out.change_map.end(), round % 2);
    decode(bits, true);
    std::vector<uint8_t> wide_picture = buffer;
    for (uint32_t g = 0; g < 6; ++g) {
      bool any = false;
      for (uint32_t b = 16 * g; b < std::min(16 * g + 16, total); ++b) any = any || written[b];
      EXPECT_EQ(out.change_map[g], any ? 1 : 0) << "round " << round << " group " << g;
    }
    make_output(40, 36);
    decode(bits, false);
    EXPECT_EQ(buffer, wide_picture) << "round " << round;
  }
}

}  // namespace
}  // namespace glint::glinter
