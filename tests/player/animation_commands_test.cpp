// The animation table and stepping commands end to end in the player:
// ANIMATIONOPEN/CLOSE/LIST and the size queries, ADVANCE with and without
// a ring frame, GOTO, placement on the screen and in bitmaps, palettes
// through the locks, ANIMATIONLOADTOBITMAP and the delays.
#include <gtest/gtest.h>

#include <string>

#include "animation_fixture.h"
#include "platform/platform.h"

namespace {

using glint::test::AnimationTest;
using glint::test::frame_colour;
using glint::test::GntPlan;

class AnimationCommands : public AnimationTest {};

TEST_F(AnimationCommands, OpenQueryListAndClose) {
  const std::string path = gnt("averylongname.gnt", glint::test::plan_of(3, 0, 24, 12));
  const std::string stem = path.substr(0, path.size() - 4);  // ".gnt" is added
  const auto r =
      run("DEBUGFILE \"trace\"\nSCREENGRAPHICS OK 64 32\n"
          "ANIMATIONOPEN MISSING 0 \"" +
          dir.file("missing") +
          "\"\n"
          "ANIMATIONOPEN A 0 \"" +
          stem + "\"\nANIMATIONOPEN B 3 \"" + path +
          "\"\n"
          "ANIMATIONFRAMES F A\nANIMATIONWIDTH W A\nANIMATIONHEIGHT H B\n"
          "ANIMATIONCLOSE A\nANIMATIONLIST\nANIMATIONCLOSE A\n");
  EXPECT_EQ(r.var("MISSING"), "0");
  EXPECT_EQ(r.var("A"), "3000");
  EXPECT_EQ(r.var("B"), "3001");
  EXPECT_EQ(r.var("F"), "3");
  EXPECT_EQ(r.var("W"), "24");
  EXPECT_EQ(r.var("H"), "12");
  // Closed entries leave the list; the name is cut to 8 characters.
  EXPECT_NE(r.trace.find("\r\nNumber: 3001  Name: averylon  Width: 24  Height: 12\r\n"),
            std::string::npos)
      << r.trace;
  EXPECT_EQ(r.trace.find("Number: 3000"), std::string::npos);
  EXPECT_NE(r.error().find("Bad animation parameter:"), std::string::npos);
  EXPECT_NE(r.error().find("ANIMATIONCLOSE A"), std::string::npos) << r.error();
}

TEST_F(AnimationCommands, BadNumbersAndMissingWindow) {
  const std::string path = gnt("a.gnt");
  for (const char* line : {"ANIMATIONCLOSE 0", "ANIMATIONADVANCE 3031", "ANIMATIONGOTO 2999 1",
                           "ANIMATIONFRAMES X 3032"}) {
    const auto r = run(std::string(line) + "\n");
    EXPECT_NE(r.error().find("Bad animation parameter:"), std::string::npos) << line;
  }
  for (const char* line :
       {"ANIMATIONTOSCREEN A 0 0", "ANIMATIONLIST", "ANIMATIONPLAY R 0 0 1 0 A"}) {
    const auto r = run("ANIMATIONOPEN A 0 \"" + path + "\"\n" + line + "\n");
    EXPECT_NE(r.error().find("A window hasn't been created yet"), std::string::npos) << line;
  }
  const auto r = run("ANIMATIONOPEN A 0 \"" + path +
                     "\"\nBITMAPALLOC B 4 4\nBITMAPFREE B\n"
                     "ANIMATIONTOBITMAP A 9000\n");
  EXPECT_TRUE(bad_frame(r));
}

// Each ADVANCE shows the current frame and moves on; the frame on screen
// and the frame prepared afterwards, for several advances.
TEST_F(AnimationCommands, AdvanceOrderWithAndWithoutRingFrame) {
  struct Case {
    uint32_t flags;
    int advances;
    uint8_t shown;      // colour on the screen after the advances
    uint32_t prepared;  // current_frame afterwards
    bool rewind;
  };
  const Case cases[] = {
      {0, 1, frame_colour(0), 1, false},
      {0, 3, frame_colour(2), 2, true},   // the last frame stays current, flagged
      {0, 4, frame_colour(0), 1, false},  // which the next advance wraps over
      {0, 6, frame_colour(2), 2, true},
      {GLINT_ENCODE_RING, 3, frame_colour(2), 3, false},  // on to the ring frame
      {GLINT_ENCODE_RING, 4, frame_colour(0), 1, false},  // which shows frame 0
      {GLINT_ENCODE_RING, 7, frame_colour(0), 1, false},
  };
  for (const Case& c : cases) {
    const std::string path = gnt("a.gnt", glint::test::plan_of(3, c.flags));
    std::string script =
        "SCREENGRAPHICS OK 64 32\nANIMATIONOPEN A 0 \"" + path + "\"\nANIMATIONTOSCREEN A 8 4\n";
    for (int i = 0; i < c.advances; ++i) script += "ANIMATIONADVANCE A\n";
    script += "SCREENGETPIXEL P 8 4\nSCREENGETPIXEL OUT 7 4\n";
    const auto r = run(script);
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(r.var("P"), std::to_string(c.shown)) << c.flags << " " << c.advances;
    EXPECT_EQ(r.var("OUT"), "0");
    const auto* e = entry(r, 3000);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->glint->current_frame, c.prepared) << c.flags << " " << c.advances;
    EXPECT_EQ(e->rewind, c.rewind) << c.flags << " " << c.advances;
  }
}

TEST_F(AnimationCommands, GotoClampsAndFirstFrameIsZeroOrOne) {
  const std::string path = gnt("a.gnt", glint::test::plan_of(4));
  struct Case {
    const char* frame;
    uint8_t shown;
  };
  for (const Case& c :
       {Case{"0", frame_colour(0)}, Case{"1", frame_colour(0)}, Case{"3", frame_colour(2)},
        Case{"99", frame_colour(3)}, Case{"-7", frame_colour(0)}}) {
    // From the flagged last frame too: GOTO decides what the next advance shows.
    const auto r = run("SCREENGRAPHICS OK 64 32\nANIMATIONOPEN A 0 \"" + path +
                       "\"\nANIMATIONTOSCREEN A 0 0\n"
                       "ANIMATIONADVANCE A\nANIMATIONADVANCE A\nANIMATIONADVANCE A\n"
                       "ANIMATIONADVANCE A\nANIMATIONGOTO A " +
                       c.frame + "\nANIMATIONADVANCE A\nSCREENGETPIXEL P 0 0\n");
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(r.var("P"), std::to_string(c.shown)) << c.frame;
  }
  const auto r = run("SCREENGRAPHICS OK 64 32\nANIMATIONOPEN A 0 \"" + path +
                     "\"\nANIMATIONTOSCREEN A 0 0\nANIMATIONADVANCE A\nANIMATIONADVANCE A\n"
                     "ANIMATIONBACKTOSTART A\nANIMATIONADVANCE A\nSCREENGETPIXEL P 0 0\n");
  EXPECT_EQ(r.var("P"), std::to_string(frame_colour(0)));
}

TEST_F(AnimationCommands, ToScreenPlacement) {
  const std::string path = gnt("a.gnt", glint::test::plan_of(3));
  struct Case {
    const char* place;  // x y, after SCREENADJUSTXY 5 3
    int x, y;           // the picture's top-left pixel on the screen
  };
  for (const Case& c :
       {Case{"13 2", 12 + 5, 2 + 3}, Case{"-1 -1", 24, 12}, Case{"0 -1", 0 + 5, 12}}) {
    const auto r =
        run("SCREENGRAPHICS OK 64 32\nSCREENCLEAR 1\nSCREENADJUSTXY 5 3\n"
            "ANIMATIONOPEN A 0 \"" +
            path + "\"\nANIMATIONTOSCREEN A " + c.place +
            "\nANIMATIONADVANCE A\nSCREENADJUSTXY 0 0\n"
            "SCREENGETPIXEL IN " +
            std::to_string(c.x) + " " + std::to_string(c.y) + "\nSCREENGETPIXEL LEFT " +
            std::to_string(c.x - 1) + " " + std::to_string(c.y) + "\nSCREENGETPIXEL ABOVE " +
            std::to_string(c.x) + " " + std::to_string(c.y - 1) + "\nSCREENGETPIXEL END " +
            std::to_string(c.x + 15) + " " + std::to_string(c.y + 7) + "\n");
    ASSERT_EQ(r.error(), "") << c.place;
    EXPECT_EQ(r.var("IN"), std::to_string(frame_colour(0))) << c.place;
    EXPECT_EQ(r.var("END"), std::to_string(frame_colour(0))) << c.place;
    EXPECT_EQ(r.var("LEFT"), "1") << c.place;
    EXPECT_EQ(r.var("ABOVE"), "1") << c.place;
  }
}

// A new frame palette reaches the screen palette except at locked entries;
// into a bitmap it becomes the bitmap's palette, and a frame without one
// removes it.
TEST_F(AnimationCommands, PalettesToScreenAndBitmaps) {
  GntPlan plan;
  plan.palette = [](uint32_t f) {
    return f == 1 ? std::vector<uint8_t>{} : glint::test::index_palette(f * 10);
  };
  const std::string path = gnt("a.gnt", plan);
  const auto r =
      run("SCREENGRAPHICS OK 64 32\nSCREENPALETTELOCK 12 1 1\n"
          "ANIMATIONOPEN A 0 \"" +
          path +
          "\"\nANIMATIONTOSCREEN A 0 0\n"
          "ANIMATIONADVANCE A\nANIMATIONADVANCE A\nANIMATIONADVANCENOPALETTE A\n");
  ASSERT_EQ(r.error(), "");
  const auto& palette = glint::player::display::screen().palette;
  EXPECT_EQ(palette[11 * 3], glint::test::widen6(11));
  EXPECT_EQ(palette[11 * 3 + 1], 0);  // frame 0's palette; frame 2's was not taken
  EXPECT_NE(palette[12 * 3], glint::test::widen6(12));  // locked: keeps its colour

  const auto b = run("BITMAPALLOC B 16 8\nANIMATIONOPEN A 0 \"" + path +
                     "\"\nANIMATIONTOBITMAP A B\nANIMATIONADVANCE A\n"
                     "BITMAPGETPIXEL P0 B 3 3\nBITMAPGETPALETTEVALUE V0 B 200\n"
                     "ANIMATIONADVANCE A\nBITMAPGETPIXEL P1 B 3 3\n"
                     "ANIMATIONADVANCENOPALETTE A\nBITMAPGETPIXEL P2 B 3 3\n");
  ASSERT_EQ(b.error(), "");
  EXPECT_EQ(b.var("P0"), std::to_string(frame_colour(0)));
  EXPECT_EQ(b.var("P1"), std::to_string(frame_colour(1)));
  EXPECT_EQ(b.var("P2"), std::to_string(frame_colour(2)));
  // Entry 200 as 0xBBGGRR.
  EXPECT_EQ(b.var("V0"),
            std::to_string(glint::test::widen6(63 - 200 % 64) << 16 | glint::test::widen6(200)));
  const auto* bitmap = glint::player::find_bitmap(b.player, 9000);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_FALSE(bitmap->palette.has_value());  // frame 1 had none; NOPALETTE left that
}

TEST_F(AnimationCommands, LoadToBitmapMapsVariablesToFrames) {
  const std::string path = gnt("a.gnt", glint::test::plan_of(4));
  const auto r = run("ANIMATIONLOADTOBITMAP \"" + path +
                     "\" V1 V2 V3 # a comment\n"
                     "BITMAPGETPIXEL P1 V1 0 0\nBITMAPGETPIXEL P2 V2 0 0\n"
                     "BITMAPGETPIXEL P3 V3 0 0\n"
                     "ANIMATIONLOADTOBITMAP \"" +
                     dir.file("missing") + "\" M1 M2 M3; VARSET AFTER 1\n");
  ASSERT_EQ(r.error(), "");
  // The last variable gets the first bitmap, which holds the last frame read.
  EXPECT_EQ(r.var("V3"), "9000");
  EXPECT_EQ(r.var("V1"), "9001");
  EXPECT_EQ(r.var("V2"), "9002");
  EXPECT_EQ(r.var("P1"), std::to_string(frame_colour(0)));
  EXPECT_EQ(r.var("P2"), std::to_string(frame_colour(1)));
  EXPECT_EQ(r.var("P3"), std::to_string(frame_colour(2)));
  for (const char* m : {"M1", "M2", "M3"}) EXPECT_EQ(r.var(m), "0") << m;
  EXPECT_EQ(r.var("AFTER"), "1");
  // Frame 0's palette went with frame 0; the later frames brought none.
  const auto* first = glint::player::find_bitmap(r.player, 9000);
  const auto* second = glint::player::find_bitmap(r.player, 9001);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(first->palette.has_value());
  ASSERT_TRUE(second->palette.has_value());
  EXPECT_EQ((*second->palette)[20 * 3], glint::test::widen6(20));
}

TEST_F(AnimationCommands, LoadToBitmapWithoutFreeBitmapsSetsZero) {
  const std::string path = gnt("a.gnt");
  std::string script =
      "VARSET I 0\n:fill\nBITMAPALLOC X 1 1\nCOMPUTE I = I + 1\n"
      "IF I < 128 GOTO \"fill\"\nBITMAPFREE X\n"
      "ANIMATIONLOADTOBITMAP \"" +
      path +
      "\" ONE\n"
      "ANIMATIONLOADTOBITMAP \"" +
      path +
      "\" A B\n"
      "BITMAPALLOC X 1 1\nANIMATIONLOADTOBITMAP \"" +
      path + "\" C D\n";
  const auto r = run(script);
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("ONE"), "9127");  // the one free entry: first bitmap, frame 1
  EXPECT_EQ(r.var("A"), "0");       // no further entry for A...
  EXPECT_EQ(r.var("B"), "0");       // ... and none for the first bitmap: all 0
  EXPECT_EQ(r.var("C"), "0");
  EXPECT_EQ(r.var("D"), "0");
}

TEST_F(AnimationCommands, DelaysFollowTheFramePeriodOnTheVirtualClock) {
  const std::string path = gnt("a.gnt", glint::test::plan_of(3));
  const auto r = run("SCREENGRAPHICS OK 64 32\nANIMATIONOPEN A 0 \"" + path +
                     "\"\n"
                     "ANIMATIONSTILLDELAY S0 A\nSYSTEMTIMER T0\nANIMATIONDELAY A\n"
                     "SYSTEMTIMER T1\nANIMATIONSTILLDELAY S1 A\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("S0"), "1");
  EXPECT_EQ(r.var("S1"), "0");  // released until the next frame is prepared
  const int waited = std::stoi(r.var("T1")) - std::stoi(r.var("T0"));
  EXPECT_GE(waited, 38);
  EXPECT_LE(waited, 42);
}

}  // namespace
