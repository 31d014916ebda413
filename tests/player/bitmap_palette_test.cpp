// Palettes of bitmaps: packed entry values, copies to and from the screen
// palette through the locks, and the brightest and darkest searches.
#include <gtest/gtest.h>

#include <string>

#include "bitmap_fixture.h"
#include "player/display/screen.h"

namespace {

namespace p = glint::player;

class BitmapPalette : public glint::test::BitmapTest {};

// Sets every entry of bitmap A to `value`, by a loop in the script.
std::string fill_palette(const std::string& value) {
  return "VARSET I 0\n:fill\nBITMAPSETPALETTEVALUE A I " + value +
         "\nCOMPUTE I = I + 1\nIF I < 256 GOTO \"fill\"\n";
}

TEST_F(BitmapPalette, PackedValuesAndEntriesOutsideThePalette) {
  const auto r =
      run("BITMAPALLOC A 2 2\nBITMAPGETPALETTEVALUE NONE A 0\n"
          "BITMAPSETPALETTEVALUE A 256 197121\nBITMAPSETPALETTEVALUE A -1 197121\n"
          "BITMAPGETBRIGHTESTPALETTEINDEX STILLNONE A\n"
          "BITMAPSETPALETTEVALUE A 7 197121\nBITMAPGETPALETTEVALUE V A 7\n"
          "BITMAPGETPALETTEVALUE BLACK A 8\nBITMAPGETPALETTEVALUE OUT A 256\n"
          "BITMAPGETPALETTEVALUE OUT2 A -2147483648\n"
          "BITMAPSETPALETTEVALUE A 9 -1\nBITMAPGETPALETTEVALUE ALL A 9\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("NONE"), "0");
  EXPECT_EQ(r.var("STILLNONE"), "0");
  EXPECT_EQ(r.var("V"), "197121");
  EXPECT_EQ(r.var("BLACK"), "0");  // a new palette is all black
  EXPECT_EQ(r.var("OUT"), "0");
  EXPECT_EQ(r.var("OUT2"), "0");
  EXPECT_EQ(r.var("ALL"), "16777215");  // only the three low bytes count
  const auto* bitmap = p::find_bitmap(r.player, 9000);
  ASSERT_TRUE(bitmap && bitmap->palette);
  EXPECT_EQ((*bitmap->palette)[21], 1);
  EXPECT_EQ((*bitmap->palette)[22], 2);
  EXPECT_EQ((*bitmap->palette)[23], 3);
}

TEST_F(BitmapPalette, BrightestAndDarkestTies) {
  struct Case {
    std::string setup;
    const char* brightest;
    const char* darkest;
  };
  const Case cases[] = {
      // Entries 5 and 9 black among grey: the earlier one.
      {fill_palette("8421504") + "BITMAPSETPALETTEVALUE A 5 0\nBITMAPSETPALETTEVALUE A 9 0\n",
       "255", "5"},
      // Entries 3 and 200 white among grey: the later one.
      {fill_palette("8421504") + "BITMAPSETPALETTEVALUE A 3 16777215\n"
                                 "BITMAPSETPALETTEVALUE A 200 16777215\n",
       "200", "0"},
      // The smallest component leads the brightness key: (200, 200, 10) is
      // less bright than (60, 60, 60) however large its sum; black entry 0 is the darkest.
      {fill_palette("0") + "BITMAPSETPALETTEVALUE A 1 706760\nBITMAPSETPALETTEVALUE A 2 3947580\n",
       "2", "0"},
  };
  for (const Case& c : cases) {
    const auto r = run("BITMAPALLOC A 1 1\n" + c.setup +
                       "BITMAPGETBRIGHTESTPALETTEINDEX B A\nBITMAPGETDARKESTPALETTEINDEX D A\n");
    ASSERT_EQ(r.error(), "") << c.setup;
    EXPECT_EQ(r.var("B"), c.brightest) << c.setup;
    EXPECT_EQ(r.var("D"), c.darkest) << c.setup;
  }
  const auto none =
      run("BITMAPALLOC A 1 1\nBITMAPGETBRIGHTESTPALETTEINDEX B A\n"
          "BITMAPGETDARKESTPALETTEINDEX D A\n");
  EXPECT_EQ(none.var("B"), "0");
  EXPECT_EQ(none.var("D"), "0");
}

TEST_F(BitmapPalette, PaletteToPaletteCopiesOrRemoves) {
  const auto r = run(
      "BITMAPALLOC A 1 1\nBITMAPALLOC B 1 1\nBITMAPALLOC C 1 1\n"
      "BITMAPSETPALETTEVALUE A 4 65793\nBITMAPPALETTETOPALETTE B A\nBITMAPGETPALETTEVALUE V B 4\n"
      "BITMAPSETPALETTEVALUE A 4 0\nBITMAPGETPALETTEVALUE KEPT B 4\n"
      "BITMAPPALETTETOPALETTE B C\nBITMAPGETPALETTEVALUE GONE B 4\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("V"), "65793");
  EXPECT_EQ(r.var("KEPT"), "65793");  // a copy, not a share
  EXPECT_EQ(r.var("GONE"), "0");
  const auto* b = p::find_bitmap(r.player, 9001);
  ASSERT_NE(b, nullptr);
  EXPECT_FALSE(b->palette.has_value());
}

TEST_F(BitmapPalette, ScreenPaletteBothWaysThroughTheLocks) {
  const auto r =
      run("SCREENGRAPHICS OK 32 16\nBITMAPALLOC A 1 1\nBITMAPGETPALETTE A\n"
          "BITMAPGETPALETTEVALUE ORIGINAL A 100\n"
          "SCREENPALETTELOCK 100 1 1\n"
          "BITMAPSETPALETTEVALUE A 100 255\nBITMAPSETPALETTEVALUE A 101 65280\nBITMAPSETPALETTE A\n"
          "BITMAPALLOC B 1 1\nBITMAPGETPALETTE B\nBITMAPGETPALETTEVALUE LOCKED B 100\n"
          "BITMAPGETPALETTEVALUE FREE B 101\n");
  ASSERT_EQ(r.error(), "") << r.error();
  EXPECT_EQ(r.var("LOCKED"), r.var("ORIGINAL"));
  EXPECT_EQ(r.var("FREE"), "65280");
  const auto& screen = p::display::screen();
  EXPECT_EQ(screen.palette[101 * 3 + 1], 255);
}

}  // namespace
