// ANIMATIONPLAY end to end on the headless display: the frames shown (one
// snapshot per present), counts, placement, background save and restore
// with Escape from the scripted input, merging, fades on the virtual clock
// and the no-window flag.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "animation_fixture.h"
#include "platform/headless/headless_video.h"
#include "platform/platform.h"
#include "player/display/screen.h"

namespace {

using glint::test::AnimationTest;
using glint::test::frame_colour;
using glint::test::GntPlan;
using glint::test::plan_of;

class AnimationPlay : public AnimationTest {
 protected:
  // The index shown at (x, y) in each snapshot from the first that shows
  // frame 0, repeats of one picture (the window's last snapshot) folded.
  std::vector<int> frames_shown(const std::string& snapshots, int x, int y) {
    std::vector<int> out;
    for (const auto& s : snapshots_in(snapshots)) {
      const int index = s.index(x, y);
      if (out.empty() && index != frame_colour(0)) continue;
      if (out.empty() || out.back() != index) out.push_back(index);
    }
    return out;
  }
};

TEST_F(AnimationPlay, FramesInOrderForEachCount) {
  struct Case {
    uint32_t encode_flags;
    int count;
    std::vector<int> shown;
  };
  const int a = frame_colour(0), b = frame_colour(1), c = frame_colour(2);
  for (const Case& k : {Case{0, 1, {a, b, c}}, Case{0, 2, {a, b, c, a, b, c}},
                        Case{GLINT_ENCODE_RING, 2, {a, b, c, a, b, c}},
                        Case{GLINT_ENCODE_RING, 3, {a, b, c, a, b, c, a, b, c}}}) {
    const std::string path = gnt("a.gnt", plan_of(3, k.encode_flags));
    const std::string snapshots = snapshot_every_present();
    std::filesystem::remove_all(snapshots);
    std::filesystem::create_directories(snapshots);
    const auto r = run("SCREENGRAPHICS OK 64 32\nSYSTEMTIMER T0\nANIMATIONPLAY R 8 4 " +
                       std::to_string(k.count) + " 0 \"" + path + "\"\nSYSTEMTIMER T1\n");
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(r.var("R"), "1");
    EXPECT_EQ(frames_shown(snapshots, 8, 4), k.shown) << k.encode_flags << " " << k.count;
    // 40 ms a frame; the first is shown at once.
    const int took = std::stoi(r.var("T1")) - std::stoi(r.var("T0"));
    const int expected = 40 * (3 * k.count - 1);
    EXPECT_GE(took, expected - 2) << k.count;
    EXPECT_LE(took, expected + 40) << k.count;
  }
}

TEST_F(AnimationPlay, CountZeroAndMissingFiles) {
  const auto r =
      run("SCREENGRAPHICS OK 64 32\n"
          "ANIMATIONPLAY ZERO 0 0 0 0 \"" +
          dir.file("missing") +
          "\"\n"
          "ANIMATIONPLAY MISSING 0 0 1 0 \"" +
          dir.file("missing") + "\"\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("ZERO"), "1");
  EXPECT_EQ(r.var("MISSING"), "0");
}

TEST_F(AnimationPlay, PlacementCentredAndAligned) {
  const std::string path = gnt("a.gnt", plan_of(1));
  struct Case {
    const char* place;
    int x, y;  // top-left pixel, with SCREENADJUSTXY 4 2
  };
  for (const Case& c : {Case{"-1 -1", 24 - 4, 12 - 2}, Case{"13 5", 16, 7}}) {
    const auto r =
        run("SCREENGRAPHICS OK 64 32\nSCREENCLEAR 1\nSCREENADJUSTXY 4 2\n"
            "ANIMATIONPLAY R " +
            std::string(c.place) + " 1 4 \"" + path + "\"\nSCREENADJUSTXY 0 0\nSCREENGETPIXEL IN " +
            std::to_string(c.x) + " " + std::to_string(c.y) + "\nSCREENGETPIXEL OUT " +
            std::to_string(c.x - 1) + " " + std::to_string(c.y) + "\n");
    ASSERT_EQ(r.error(), "");
    EXPECT_EQ(r.var("IN"), std::to_string(frame_colour(0))) << c.place;
    EXPECT_EQ(r.var("OUT"), "1") << c.place;
  }
}

TEST_F(AnimationPlay, EscapeEndsAnEndlessPlayAndTheBackgroundComesBack) {
  const std::string path = gnt("a.gnt");
  // The clock runs on from earlier tests: the key comes 500 ms from now.
  const int now = int(glint::platform::millis());
  glint::platform::headless::load_input("@" + std::to_string(now + 500) + " key Escape");
  const auto r =
      run("SCREENGRAPHICS OK 64 32\nSCREENCLEAR 1\nSCREENSETPIXEL 9 5 6\n"
          "ANIMATIONPLAY R 8 4 -1 144 \"" +
          path +
          "\"\nSYSTEMTIMER T\n"
          "SCREENGETPIXEL P 9 5\nSCREENGETPIXEL Q 8 4\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("R"), "1");
  EXPECT_GE(std::stoi(r.var("T")) - now, 500);
  EXPECT_LE(std::stoi(r.var("T")) - now, 600);
  EXPECT_EQ(r.var("P"), "6");
  EXPECT_EQ(r.var("Q"), "1");
  // The screen palette came back too.
  const auto& palette = glint::player::display::screen().palette;
  EXPECT_NE(palette[frame_colour(0) * 3], glint::test::widen6(frame_colour(0)));
}

TEST_F(AnimationPlay, MergeShowsTheBackgroundThroughTheTransparentColour) {
  GntPlan plan = plan_of(2);
  plan.pixel = [](uint32_t f, uint32_t x, uint32_t) -> uint8_t {
    return x < 8 ? 128 : frame_colour(f);
  };
  const std::string path = gnt("a.gnt", plan);
  const std::string snapshots = snapshot_every_present();
  const auto r =
      run("SCREENGRAPHICS OK 64 32\nSCREENCLEAR 1\nSCREENSETPIXEL 9 5 6\n"
          "ANIMATIONPLAY R 8 4 1 256 \"" +
          path +
          "\"\n"
          "SCREENGETPIXEL AFTER 20 5\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("AFTER"), "1");  // restored
  bool merged = false;
  for (const auto& s : snapshots_in(snapshots)) {
    if (s.index(20, 5) != frame_colour(1)) continue;
    merged = true;
    EXPECT_EQ(s.index(9, 5), 6);  // the background through colour 128
    EXPECT_EQ(s.index(10, 5), 1);
  }
  EXPECT_TRUE(merged);
}

TEST_F(AnimationPlay, FadesRunOnTheVirtualClockAndKeepLockedEntries) {
  const std::string path = gnt("a.gnt");
  const std::string snapshots = snapshot_every_present();
  const auto before = run("SCREENGRAPHICS OK 64 32\n");
  const auto default_palette = glint::player::display::screen().palette;
  const auto r =
      run("SCREENGRAPHICS OK 64 32\nSCREENCLEAR 15\nSCREENFADESPEED 10\n"
          "SCREENPALETTELOCK 11 1 1\nSYSTEMTIMER T0\n"
          "ANIMATIONPLAY R 8 4 1 96 \"" +
          path + "\"\nSYSTEMTIMER T1\n");
  ASSERT_EQ(r.error(), "");
  const int took = std::stoi(r.var("T1")) - std::stoi(r.var("T0"));
  EXPECT_GE(took, 2 * 16 * 10 + 80 - 2);
  EXPECT_LE(took, 2 * 16 * 10 + 80 + 40);
  const auto& palette = glint::player::display::screen().palette;
  // Faded out: 16 steps of 4 down from the frame's palette.
  const int entry = frame_colour(0);
  EXPECT_EQ(palette[entry * 3], std::max(0, glint::test::widen6(entry) - 64));
  EXPECT_EQ(palette[entry * 3 + 2], std::max(0, glint::test::widen6(63 - entry) - 64));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(palette[11 * 3 + i], default_palette[11 * 3 + i]);
  // The first frame went out with the black palette, before the fade in.
  bool black = false;
  for (const auto& s : snapshots_in(snapshots)) {
    const std::size_t at = (std::size_t(4) * s.width + 8) * 3;
    black = black || (s.rgb[at] == 0 && s.rgb[at + 1] == 0 && s.rgb[at + 2] == 0);
  }
  EXPECT_TRUE(black);
}

TEST_F(AnimationPlay, WithoutWindowNothingIsDrawnButPalettesAreTracked) {
  const std::string path = gnt("a.gnt");
  const auto r = run("ANIMATIONPLAY R 0 0 2 1028 \"" + path + "\"\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("R"), "1");
  const auto& palette = glint::player::display::screen().palette;
  EXPECT_EQ(palette[20 * 3], glint::test::widen6(20));
}

}  // namespace
