#include "player/display/display_palette.h"

#include <gtest/gtest.h>

#include <vector>

#include "display_fixture.h"
#include "platform/headless/headless.h"
#include "player/display/display_blit.h"
#include "player/display/fades.h"
#include "player/display/screen.h"

namespace d = glint::player::display;
namespace p = glint::platform;

namespace {

using DisplayPalette = glint::test::DisplayTest;

// Entry i of the display palette as red, green, blue.
std::array<int, 3> entry(const d::Display& display, int i) {
  return {display.palette[size_t(i) * 4 + 2], display.palette[size_t(i) * 4 + 1],
          display.palette[size_t(i) * 4]};
}

TEST_F(DisplayPalette, ReservedColoursAreKeptAndAvoided) {
  set_caps(8, p::kSurfaceNone, 20);
  auto display = d::display_open(0, 4, 16, 16, 16, 16);
  ASSERT_TRUE(display);
  ASSERT_EQ(display->static_low, 10);
  ASSERT_EQ(display->static_high, 246);
  d::Rgb768 pal{};
  for (int i = 0; i < 256; ++i)
    pal[size_t(i) * 3] = pal[size_t(i) * 3 + 1] = pal[size_t(i) * 3 + 2] = 33;
  pal[5 * 3] = 200;  // inside the low reserved entries: no effect
  // Entry 100 asks for reserved colour 249 (pure red): red moves down, 255 & 3 == 3.
  pal[100 * 3] = 255, pal[100 * 3 + 1] = 0, pal[100 * 3 + 2] = 0;
  // Entry 101 asks for reserved colour 248 (128, 128, 128): red moves up.
  pal[101 * 3] = pal[101 * 3 + 1] = pal[101 * 3 + 2] = 128;
  // Entry 102 equals a low reserved colour (128, 0, 0): only the high ones count.
  pal[102 * 3] = 128, pal[102 * 3 + 1] = 0, pal[102 * 3 + 2] = 0;
  EXPECT_EQ(d::display_set_palette(*display, pal.data(), 0), 0);
  EXPECT_EQ(entry(*display, 5), (std::array<int, 3>{128, 0, 128}));
  EXPECT_EQ(entry(*display, 100), (std::array<int, 3>{254, 0, 0}));
  EXPECT_EQ(entry(*display, 101), (std::array<int, 3>{129, 128, 128}));
  EXPECT_EQ(entry(*display, 102), (std::array<int, 3>{128, 0, 0}));
  EXPECT_EQ(entry(*display, 250), (std::array<int, 3>{0, 255, 0}));
  EXPECT_EQ(entry(*display, 50), (std::array<int, 3>{33, 33, 33}));
  // Realizing counts the entries that changed, once.
  EXPECT_EQ(d::display_realize_palette(*display), 236);
  EXPECT_EQ(d::display_realize_palette(*display), 0);
}

TEST_F(DisplayPalette, FewerThan256EntriesTakeNothing) {
  set_caps(4, p::kSurfaceNone);
  auto display = d::display_open(0, 4, 16, 16, 16, 16);
  d::Rgb768 pal{};
  pal.fill(77);
  EXPECT_EQ(d::display_set_palette(*display, pal.data(), 0), 0);
  EXPECT_EQ(entry(*display, 3)[0], 0);
}

TEST_F(DisplayPalette, CopierGetsThePaletteAndTheWindowIsRedrawn) {
  ASSERT_TRUE(d::screen_create(4, 2, 0, 0, 0, "t"));
  d::Display& display = *d::screen().display;
  ASSERT_TRUE(display.copier);
  display.bits[1] = 1;
  d::Rgb768 pal{};
  pal[3] = 255;  // entry 1 red
  EXPECT_EQ(d::display_set_palette(display, pal.data(), 0), 16);
  EXPECT_EQ(d::display_set_palette(display, pal.data(), 0), 0);  // same colours: nothing rebuilt
  d::display_update_screen(display);
  const auto px = shown(display.window);
  EXPECT_EQ(px[1] >> 16, 0xFFu);
  EXPECT_EQ(px[0], 0u);
}

// A fade in: 16 steps on the virtual clock, locked entries untouched, the
// first step 63 below the target.
TEST_F(DisplayPalette, FadeInStepsLocksAndTiming) {
  ASSERT_TRUE(d::screen_create(4, 4, 0, 0, 0, "t"));
  d::Screen& s = d::screen();
  s.palette[7 * 3] = 11;  // the locked entry's colour stays
  d::PaletteLocks locks{};
  locks[7] = 1;
  d::Rgb768 target{};
  target.fill(255);
  // Step 1 is 63 below the target, step 16 three below.
  EXPECT_EQ(d::fade_in_step(target, 1)[0], 192);
  EXPECT_EQ(d::fade_in_step(target, 16)[0], 252);
  d::Rgb768 dark{};
  dark.fill(40);
  EXPECT_EQ(d::fade_in_step(dark, 1)[5], 0);
  const uint64_t start = p::micros();
  const uint32_t count_before = s.palette_changes;
  d::Rgb768 first{};
  d::apply_screen_palette(first, locks);
  const uint32_t count = d::fade_in_palette(target, locks, 15);
  EXPECT_EQ(count, count_before + 1);
  EXPECT_EQ(p::micros() - start, 16u * 15 * 1000);
  EXPECT_EQ(s.palette[0], 255);
  EXPECT_EQ(s.palette[7 * 3], 11);
  // The steps themselves, without waiting: speed 0 still makes 16 steps.
  const uint64_t before = p::micros();
  d::fade_in_palette(target, locks, 0);
  EXPECT_EQ(p::micros(), before);
}

TEST_F(DisplayPalette, FadeOutLowersBy64AndKeepsLocks) {
  ASSERT_TRUE(d::screen_create(4, 4, 0, 0, 0, "t"));
  d::Screen& s = d::screen();
  d::Rgb768 pal{};
  for (size_t i = 0; i < 256; ++i) pal[i * 3] = pal[i * 3 + 1] = pal[i * 3 + 2] = uint8_t(i);
  d::PaletteLocks locks{};
  locks[255] = 1;
  d::apply_screen_palette(pal, locks);
  const uint8_t locked = s.palette[255 * 3];
  const uint64_t start = p::micros();
  d::fade_out_palette(locks, 15);
  EXPECT_EQ(p::micros() - start, 240000u);  // 16 steps of 15 ms
  EXPECT_EQ(s.palette[100 * 3], 100 - 64);
  EXPECT_EQ(s.palette[10 * 3 + 1], 0);  // never below 0
  EXPECT_EQ(s.palette[255 * 3], locked);
  // And the window shows the faded colours.
  s.display->bits[0] = 100;
  d::display_blit(*s.display, 0, 0, 0, 0, 1, 1);
  const uint32_t red5 = 36 >> 3;  // through the 5-6-5 surface, widened back
  EXPECT_EQ(shown(s.window)[0] >> 16, red5 << 3 | red5 >> 2);
}

}  // namespace
