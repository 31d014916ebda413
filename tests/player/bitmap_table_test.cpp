// The bitmap table and drawing into bitmaps, run as scripts and read back
// through BITMAPGETPIXEL or the table itself.
#include <gtest/gtest.h>

#include <string>

#include "bitmap_fixture.h"

namespace {

using glint::player::find_bitmap;

class BitmapTable : public glint::test::BitmapTest {};

TEST_F(BitmapTable, AllocationSizesAndTheFullTable) {
  std::string script =
      "BITMAPALLOC A 320 200\nBITMAPWIDTH W A\nBITMAPHEIGHT H A\n"
      "BITMAPALLOC Z 0 10\nBITMAPALLOC N 10 -1\nBITMAPALLOC HUGE 100000 100000\n"
      "BITMAPALLOC M -1 -1\n";
  for (int i = 1; i < 128; ++i) script += "BITMAPALLOC B" + std::to_string(i) + " 2 2\n";
  script += "BITMAPALLOC FULL 2 2\nBITMAPFREE B5\nBITMAPALLOC AGAIN 3 3\n";
  const auto r = run(script);
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("A"), "9000");
  EXPECT_EQ(r.var("W"), "320");
  EXPECT_EQ(r.var("H"), "200");
  for (const char* failed : {"Z", "N", "HUGE", "M"}) EXPECT_EQ(r.var(failed), "0") << failed;
  EXPECT_EQ(r.var("B1"), "9001");
  EXPECT_EQ(r.var("B127"), "9127");
  EXPECT_EQ(r.var("FULL"), "0");  // the 129th
  EXPECT_EQ(r.var("B5"), "");     // BITMAPFREE clears its variable
  EXPECT_EQ(r.var("AGAIN"), "9005");
}

TEST_F(BitmapTable, NewBitmapsAreZeroFilled) {
  const auto r = run("BITMAPALLOC A 7 3\nBITMAPCLEAR A 9\nBITMAPFREE A\nBITMAPALLOC B 7 3\n");
  ASSERT_EQ(r.error(), "");
  const auto* bitmap = find_bitmap(r.player, 9000);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->pixels, std::vector<uint8_t>(21, 0));
  EXPECT_FALSE(bitmap->palette.has_value());
}

TEST_F(BitmapTable, BadNumbersAreReported) {
  for (const char* line :
       {"BITMAPWIDTH W 8999", "BITMAPWIDTH W 9128", "BITMAPWIDTH W 9001", "BITMAPCLEAR -1 0",
        "BITMAPFREE NOTHING", "BITMAPTOBITMAP A 9005 0 0", "BITMAPGETPALETTEVALUE V 9127 0"}) {
    const auto r = run(std::string("BITMAPALLOC A 4 4\n") + line + "\n");
    EXPECT_TRUE(bad_frame(r)) << line << ": " << r.error();
  }
  const auto freed = run("BITMAPALLOC A 4 4\nVARSET B A\nBITMAPFREE A\nBITMAPCLEAR B 1\n");
  EXPECT_TRUE(bad_frame(freed)) << freed.error();
}

TEST_F(BitmapTable, SerialsTellAReusedSlot) {
  const auto r = run("BITMAPALLOC A 4 4\n");
  const auto* first = find_bitmap(r.player, 9000);
  ASSERT_NE(first, nullptr);
  const uint64_t serial = first->serial;
  EXPECT_EQ(find_bitmap(r.player, 9000, serial), first);
  glint::player::free_bitmap(const_cast<glint::player::Player&>(r.player), 9000);
  EXPECT_EQ(find_bitmap(r.player, 9000, serial), nullptr);
  ASSERT_EQ(glint::player::allocate_bitmap(const_cast<glint::player::Player&>(r.player), 4, 4),
            9000);
  EXPECT_EQ(find_bitmap(r.player, 9000, serial), nullptr);  // same number, another bitmap
}

TEST_F(BitmapTable, PixelCoordinatesClampToTheLastColumnAndRow) {
  struct Case {
    const char* set;  // x y of BITMAPSETPIXEL
    int x, y;         // where it lands
  };
  const Case cases[] = {
      {"-1 500", 319, 199},      {"0 0", 0, 0},
      {"319 199", 319, 199},     {"320 0", 319, 0},
      {"5 -2147483648", 5, 199}, {"2147483647 7", 319, 7},
  };
  for (const Case& c : cases) {
    const auto r = run(std::string("BITMAPALLOC A 320 200\nBITMAPSETPIXEL A ") + c.set +
                       " 77\nBITMAPGETPIXEL P A " + c.set + "\n");
    ASSERT_EQ(r.error(), "") << c.set;
    EXPECT_EQ(r.var("P"), "77") << c.set;
    const auto* bitmap = find_bitmap(r.player, 9000);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->pixels[size_t(c.y) * 320 + size_t(c.x)], 77) << c.set;
  }
}

// The pixels of a bitmap as rows of '.' (0) and '#' (anything else).
std::string picture(const glint::player::Bitmap& bitmap) {
  std::string out;
  for (int32_t y = 0; y < bitmap.height; ++y) {
    for (int32_t x = 0; x < bitmap.width; ++x)
      out += bitmap.pixels[size_t(y) * size_t(bitmap.width) + size_t(x)] ? '#' : '.';
    out += '\n';
  }
  return out;
}

TEST_F(BitmapTable, BoxesLinesAndFillsAreCutAtTheEdges) {
  struct Case {
    const char* draw;
    const char* expected;  // 12 x 7 bitmap
  };
  const Case cases[] = {
      {"BITMAPBOX A 0 0 10 5 1",  // through the corners: 11 x 6 pixels
       "###########.\n#.........#.\n#.........#.\n#.........#.\n#.........#.\n"
       "###########.\n............\n"},
      {"BITMAPBOX A 3 3 -2 -2 1",
       "............\n.###........\n.#.#........\n.###........\n............\n"
       "............\n............\n"},
      {"BITMAPBOX A -5 -5 100 8 1",  // only the edges that reach the bitmap
       "............\n............\n............\n############\n............\n"
       "............\n............\n"},
      {"BITMAPFILLEDBOX A 10 5 100 100 1",
       "............\n............\n............\n............\n............\n"
       "..........##\n..........##\n"},
      {"BITMAPFILLEDBOX A -2147483648 -2147483648 2147483647 2147483647 1",
       "............\n............\n............\n............\n............\n"
       "............\n............\n"},
      {"BITMAPFILLEDBOX A 2 2 -3 2 1",
       "............\n............\n............\n............\n............\n"
       "............\n............\n"},
      {"BITMAPLINE A 0 0 5 2 1",
       "##..........\n..##........\n....##......\n............\n............\n"
       "............\n............\n"},
      {"BITMAPLINE A -3 -3 20 20 1",
       "#...........\n.#..........\n..#.........\n...#........\n....#.......\n"
       ".....#......\n......#.....\n"},
      {"BITMAPLINE A 50 0 50 6 1",
       "............\n............\n............\n............\n............\n"
       "............\n............\n"},
  };
  for (const Case& c : cases) {
    const auto r = run(std::string("BITMAPALLOC A 12 7\n") + c.draw + "\n");
    ASSERT_EQ(r.error(), "") << c.draw;
    const auto* bitmap = find_bitmap(r.player, 9000);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(picture(*bitmap), c.expected) << c.draw;
  }
}

TEST_F(BitmapTable, ClearAndChangeColourTakeColoursAsBytes) {
  const auto r =
      run("BITMAPALLOC A 4 2\nBITMAPCLEAR A 300\nBITMAPSETPIXEL A 1 1 5\n"
          "BITMAPCHANGECOLOR A 44 6\nBITMAPGETPIXEL P0 A 0 0\nBITMAPGETPIXEL P1 A 1 1\n"
          "BITMAPCHANGECOLOR A 5 262\nBITMAPGETPIXEL Q1 A 1 1\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("P0"), "6");
  EXPECT_EQ(r.var("P1"), "5");
  EXPECT_EQ(r.var("Q1"), "6");
}

TEST_F(BitmapTable, ListNeedsTheWindowAndGoesToTheTraceOrTheScreen) {
  EXPECT_NE(run("BITMAPLIST\n").error().find("A window hasn't been created yet"),
            std::string::npos);
  const auto traced =
      run("SCREENGRAPHICS OK 64 32\nBITMAPALLOC A 4 5\nBITMAPALLOC B 6 7\nBITMAPFREE A\n"
          "BITMAPALLOC C 1 2\nDEBUGFILE \"trace\"\nBITMAPLIST\n");
  ASSERT_EQ(traced.error(), "");
  EXPECT_NE(traced.trace.find("\r\nNumber: 9000  Width: 1  Height: 2\r\n"
                              "Number: 9001  Width: 6  Height: 7\r\n"),
            std::string::npos)
      << traced.trace;
}

}  // namespace
