// Animations whose output does not fit, or goes away under them: pictures
// larger than the screen or the bitmap, placed partly off it, a screen or
// bitmap freed while an animation draws there, and drawing without a
// window. Run under the address sanitizer, any write outside a buffer fails
// the test.
#include <gtest/gtest.h>

#include <string>

#include "animation_fixture.h"
#include "player/display/screen.h"

namespace {

using glint::test::AnimationTest;
using glint::test::frame_colour;
using glint::test::GntPlan;
using glint::test::plan_of;

class AnimationFaults : public AnimationTest {
 protected:
  // A 96 x 48 picture whose every 4 x 4 block has its own colour.
  static GntPlan large() {
    GntPlan plan = plan_of(2, 0, 96, 48);
    plan.pixel = [](uint32_t f, uint32_t x, uint32_t y) { return block_colour(f, x, y); };
    return plan;
  }
  static uint8_t block_colour(uint32_t f, uint32_t x, uint32_t y) {
    return uint8_t(10 + f + (x / 4 + 24 * (y / 4)) % 200);
  }
  static std::string pixel_at(int frame, int x, int y) {
    return std::to_string(block_colour(uint32_t(frame), uint32_t(x), uint32_t(y)));
  }
};

TEST_F(AnimationFaults, LargerThanTheScreenOnlyTheVisiblePartIsDrawn) {
  const std::string path = gnt("big.gnt", large());
  struct Case {
    std::string commands;
    int x, y;   // where the picture's top-left corner lands
    int frame;  // the frame left on the screen
  };
  const Case cases[] = {
      {"ANIMATIONTOSCREEN A -1 -1\nANIMATIONADVANCE A\n", -16, -8, 0},
      {"ANIMATIONTOSCREEN A -21 -13\nANIMATIONADVANCE A\n", -24, -13, 0},
      {"ANIMATIONTOSCREEN A 40 20\nANIMATIONADVANCE A\n", 40, 20, 0},
      {"ANIMATIONPLAY R -1 -1 1 4 A\n", -16, -8, 1},
      {"ANIMATIONPLAY R -20 -13 1 4 A\n", -20, -13, 1},
      {"ANIMATIONPLAY R -20 -13 1 272 A\n", -20, -13, -1},  // merged, then restored
  };
  for (const Case& c : cases) {
    const auto r = run("SCREENGRAPHICS OK 64 32\nSCREENCLEAR 1\nANIMATIONOPEN A 0 \"" + path +
                       "\"\n" + c.commands +
                       "SCREENGETPIXEL TL 0 0\nSCREENGETPIXEL BR 63 31\nSCREENGETPIXEL M 44 22\n");
    ASSERT_EQ(r.error(), "") << c.commands;
    auto expect = [&](const char* name, int sx, int sy) {
      const int px = sx - c.x, py = sy - c.y;
      const bool inside = c.frame >= 0 && px >= 0 && py >= 0 && px < 96 && py < 48;
      EXPECT_EQ(r.var(name), inside ? pixel_at(c.frame, px, py) : "1") << c.commands << name;
    };
    expect("TL", 0, 0);
    expect("BR", 63, 31);
    expect("M", 44, 22);
  }
}

TEST_F(AnimationFaults, IntoABitmapSmallerThanThePicture) {
  const std::string path = gnt("big.gnt", large());
  const auto r = run("BITMAPALLOC B 10 6\nANIMATIONOPEN A 0 \"" + path +
                     "\"\nANIMATIONTOBITMAP A B\nANIMATIONADVANCE A\nANIMATIONADVANCE A\n"
                     "BITMAPGETPIXEL P B 9 5\nANIMATIONLOADTOBITMAP \"" +
                     path + "\" X Y\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("P"), std::to_string(block_colour(1, 9, 5)));
}

TEST_F(AnimationFaults, ScreenReplacedUnderAnAnimation) {
  const std::string path = gnt("a.gnt", plan_of(3));
  // SCREENTEXT takes the screen away: the next advance draws nothing; a
  // new window, larger, is followed at the same place, and so is a window
  // kept (smaller request) and cleared.
  const auto r = run("SCREENGRAPHICS OK 64 32\nANIMATIONOPEN A 0 \"" + path +
                     "\"\nANIMATIONTOSCREEN A 8 4\nANIMATIONADVANCE A\n"
                     "SCREENTEXT\nANIMATIONADVANCE A\n"
                     "SCREENGRAPHICS OK 128 64\nANIMATIONADVANCE A\nSCREENGETPIXEL P 8 4\n"
                     "SCREENGRAPHICS OK 32 16\nANIMATIONADVANCE A\nSCREENADJUSTXY 0 0\n"
                     "SCREENGETPIXEL Q 8 4\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("P"), std::to_string(frame_colour(2)));
  EXPECT_EQ(r.var("Q"), std::to_string(frame_colour(0)));
}

TEST_F(AnimationFaults, BitmapFreedUnderAnAnimation) {
  const std::string path = gnt("a.gnt", plan_of(3));
  const auto r = run("BITMAPALLOC B 16 8\nANIMATIONOPEN A 0 \"" + path +
                     "\"\nANIMATIONTOBITMAP A B\nANIMATIONADVANCE A\nVARSET KEEP B\n"
                     "BITMAPFREE B\nANIMATIONADVANCE A\n"
                     "BITMAPALLOC C 16 8\nANIMATIONADVANCE A\nBITMAPGETPIXEL P C 0 0\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("C"), r.var("KEEP"));  // the same number, another bitmap
  EXPECT_EQ(r.var("P"), "0");            // which the animation does not draw into
}

TEST_F(AnimationFaults, PlayOfAnOpenAnimationGivesItsOutputBack) {
  const std::string path = gnt("a.gnt", plan_of(3));
  for (const char* flags : {"256", "8", "16", "4"}) {
    const auto r = run("SCREENGRAPHICS OK 64 32\nSCREENCLEAR 1\nANIMATIONOPEN A 0 \"" + path +
                       "\"\nANIMATIONTOSCREEN A 40 20\nANIMATIONPLAY R 0 0 1 " + flags +
                       " A\nSCREENCLEAR 1\nANIMATIONADVANCE A\n"
                       "SCREENGETPIXEL P 40 20\nSCREENGETPIXEL Q 0 0\n");
    ASSERT_EQ(r.error(), "") << flags;
    EXPECT_EQ(r.var("P"), std::to_string(frame_colour(2))) << flags;  // the last frame again
    EXPECT_EQ(r.var("Q"), "1") << flags;
  }
}

TEST_F(AnimationFaults, WithoutWindowNothingIsDrawnButPalettesAreTracked) {
  const std::string path = gnt("a.gnt", plan_of(3));
  for (const char* place : {"", "SCREENGRAPHICS OK 64 32\nANIMATIONTOSCREEN A 0 0\nSCREENTEXT\n"}) {
    const auto r = run("ANIMATIONOPEN A 0 \"" + path + "\"\n" + place +
                       "ANIMATIONADVANCE A\nANIMATIONADVANCE A\n");
    ASSERT_EQ(r.error(), "");
    const auto& palette = glint::player::display::screen().palette;
    EXPECT_EQ(palette[20 * 3], glint::test::widen6(20)) << place;
  }
}

}  // namespace
