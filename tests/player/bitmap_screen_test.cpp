// Bitmaps to and from the headless screen, and text into bitmaps, read back
// through SCREENGETPIXEL and BITMAPGETPIXEL.
#include <gtest/gtest.h>

#include <string>

#include "bitmap_fixture.h"

namespace {

class BitmapScreen : public glint::test::BitmapTest {};

TEST_F(BitmapScreen, NeedTheWindow) {
  for (const char* line :
       {"BITMAPTOSCREEN A 0 0", "BITMAPTOSCREENTRANS A 0 0 0", "BITMAPTOSCREENMASK A A 0 0 0",
        "BITMAPTOSCREENMERGE A A 0 0 0", "BITMAPFROMSCREEN A 0 0"}) {
    const auto r = run(std::string("BITMAPALLOC A 4 4\n") + line + "\n");
    EXPECT_NE(r.error().find("A window hasn't been created yet"), std::string::npos) << line;
  }
}

TEST_F(BitmapScreen, PlacementOnTheScreen) {
  const auto r =
      run("SCREENGRAPHICS OK 64 32\nSCREENCLEAR 1\nBITMAPALLOC A 10 10\nBITMAPCLEAR A 5\n"
          "BITMAPTOSCREEN A -5 0\nSCREENGETPIXEL NEG 0 0\n"
          "BITMAPTOSCREEN A 0 -1\nSCREENGETPIXEL NEGY 0 0\n"
          "BITMAPTOSCREEN A 60 28\nSCREENGETPIXEL CUT 63 31\nSCREENGETPIXEL BEFORE 59 28\n"
          "BITMAPTOSCREEN A 64 0\nBITMAPTOSCREEN A 2147483647 2147483647\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("NEG"), "1");  // nothing drawn at x -5
  EXPECT_EQ(r.var("NEGY"), "1");
  EXPECT_EQ(r.var("CUT"), "5");
  EXPECT_EQ(r.var("BEFORE"), "1");
}

TEST_F(BitmapScreen, TransparentMaskedAndMergedCopies) {
  const auto r = run(
      "SCREENGRAPHICS OK 64 32\nSCREENCLEAR 1\nBITMAPALLOC A 2 1\nBITMAPSETPIXEL A 1 0 9\n"
      "BITMAPALLOC M 2 1\nBITMAPSETPIXEL M 0 0 3\nBITMAPALLOC BIG 3 1\n"
      "BITMAPTOSCREENTRANS A 0 0 0\nSCREENGETPIXEL T0 0 0\nSCREENGETPIXEL T1 1 0\n"
      "BITMAPTOSCREENMASK A M 0 1 3\nSCREENGETPIXEL K0 0 1\nSCREENGETPIXEL K1 1 1\n"
      "BITMAPTOSCREENMERGE A M 0 2 0\nSCREENGETPIXEL G0 0 2\nSCREENGETPIXEL G1 1 2\n"
      "BITMAPTOSCREENMASK A BIG 0 3 3\nBITMAPTOSCREENMERGE A BIG 0 3 0\nSCREENGETPIXEL X 0 3\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("T0"), "1");  // the key 0 leaves the screen
  EXPECT_EQ(r.var("T1"), "9");
  EXPECT_EQ(r.var("K0"), "1");  // mask 3 is the key
  EXPECT_EQ(r.var("K1"), "9");
  EXPECT_EQ(r.var("G0"), "3");  // the source's key takes the second's pixel
  EXPECT_EQ(r.var("G1"), "9");
  EXPECT_EQ(r.var("X"), "1");  // sizes differ: nothing
}

TEST_F(BitmapScreen, FromTheScreenReadsOnlyWhatIsOnIt) {
  const auto r =
      run("SCREENGRAPHICS OK 64 32\nSCREENCLEAR 1\nSCREENSETPIXEL 0 0 7\nSCREENSETPIXEL 63 31 8\n"
          "BITMAPALLOC A 10 10\nBITMAPCLEAR A 4\nBITMAPFROMSCREEN A -3 -2\n"
          "BITMAPGETPIXEL OFF A 2 1\nBITMAPGETPIXEL ON A 3 2\nBITMAPGETPIXEL REST A 9 9\n"
          "BITMAPCLEAR A 4\nBITMAPFROMSCREEN A 60 30\nBITMAPGETPIXEL CORNER A 3 1\n"
          "BITMAPGETPIXEL PAST A 4 2\nBITMAPFROMSCREEN A -2147483648 2147483647\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("OFF"), "4");  // outside the screen: kept
  EXPECT_EQ(r.var("ON"), "7");
  EXPECT_EQ(r.var("REST"), "1");
  EXPECT_EQ(r.var("CORNER"), "8");
  EXPECT_EQ(r.var("PAST"), "4");
}

TEST_F(BitmapScreen, TextIntoABitmapIsCutAtItsEdges) {
  const auto r =
      run("BITMAPALLOC A 12 20\nTEXTCOLOR 5\nTEXTBACKCOLOR 6\nBITMAPTEXT A 4 2 \"II\"\n"
          "BITMAPGETPIXEL BEFORE A 3 2\nBITMAPGETPIXEL BACK A 4 2\nBITMAPGETPIXEL BELOW A 4 18\n"
          "BITMAPTEXT A -4 -8 \"WW\"\nBITMAPTEXT A 2147483647 0 \"X\"\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("BEFORE"), "0");
  EXPECT_EQ(r.var("BACK"), "6");  // the top row of a glyph cell is background
  EXPECT_EQ(r.var("BELOW"), "0");
  const auto* bitmap = glint::player::find_bitmap(r.player, 9000);
  ASSERT_NE(bitmap, nullptr);
  int text_pixels = 0;
  for (uint8_t pixel : bitmap->pixels) text_pixels += pixel == 5;
  EXPECT_GT(text_pixels, 0);
}

}  // namespace

namespace glint::test {
namespace {

// A font cut from a bitmap: two 2x2 glyphs for 'A' and 'B', side by side in a
// 4x2 bitmap. 'A' is a filled cell, 'B' only its top-left pixel.
TEST_F(BitmapScreen, FontsCutFromBitmapsDrawTheirGlyphs) {
  const auto r = run(
      "SCREENGRAPHICS OK 64 32\nSCREENCLEAR 1\nBITMAPALLOC F 4 2\n"
      "BITMAPFILLEDBOX F 0 0 2 2 1\nBITMAPSETPIXEL F 2 0 1\n"
      "TEXTFONTFROMBITMAP F 2 2 65 66\nTEXTCOLOR 7\nTEXTBACKCOLOR 2\nTEXTSETXY 0 0\nTEXTNOCR \"AB\"\n"
      "SCREENGETPIXEL A11 1 1\nSCREENGETPIXEL B00 2 0\nSCREENGETPIXEL B11 3 1\n"
      "TEXTFONTFROMBITMAP F 0 2 65 66\n"  // refused: the font stays
      "TEXTSETXY 0 4\nTEXTNOCR \"A\"\nSCREENGETPIXEL KEPT 1 5\n"
      "TEXTFONTFROMBITMAP 9127 2 2 65 66\n"  // no such bitmap: the font stays
      "TEXTFONTFROMBITMAP 0 1 1 1 1\nTEXTSETXY 0 8\nTEXTNOCR \"A\"\nSCREENGETPIXEL WIDE 7 9\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("A11"), "7");
  EXPECT_EQ(r.var("B00"), "7");
  EXPECT_EQ(r.var("B11"), "2");
  EXPECT_EQ(r.var("KEPT"), "7");
  // Back to the 8x16 font: column 7 of an 'A' cell is background, not screen.
  EXPECT_EQ(r.var("WIDE"), "2");
}

}  // namespace
}  // namespace glint::test
