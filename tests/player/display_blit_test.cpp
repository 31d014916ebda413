#include "player/display/display_blit.h"

#include <gtest/gtest.h>

#include <vector>

#include "display_fixture.h"
#include "player/display/display_palette.h"
#include "player/display/screen.h"

namespace d = glint::player::display;
namespace p = glint::platform;
namespace h = glint::platform::headless;

namespace {

class DisplayBlit : public glint::test::DisplayTest {
 protected:
  // Opens the window and gives entry i the colour (i, 2, 3): exact through
  // the plain path, black-ish through a 16-bit surface.
  d::Display& open(int32_t w, int32_t h, int32_t ow, int32_t oh, uint32_t flags) {
    d::Screen& s = d::screen();
    s.output_width = ow;
    s.output_height = oh;
    EXPECT_TRUE(d::screen_create(w, h, 0, 0, flags, "t"));
    d::Rgb768 pal{};
    for (int i = 0; i < 256; ++i)
      pal[size_t(i) * 3] = uint8_t(i), pal[size_t(i) * 3 + 1] = 2, pal[size_t(i) * 3 + 2] = 3;
    d::display_set_palette(*s.display, pal.data(), 0);
    d::display_realize_palette(*s.display);
    s.display->redraw_all = false;
    return *s.display;
  }
  static void paint(d::Display& display) {
    for (int y = 0; y < display.height; ++y)
      for (int x = 0; x < display.width; ++x)
        d::display_row(display, y)[x] = uint8_t((x * 7 + y * 3) % 200 + 1);
  }
  static uint32_t colour(uint8_t index) { return uint32_t(index) << 16 | 0x0203; }
};

TEST_F(DisplayBlit, ScaledRectanglesMapBothEdges) {
  d::Display& twice = open(320, 200, 640, 400, 24);
  const p::Rect all = d::scaled_rect(twice, 0, 0, 0, 0, 320, 200);
  EXPECT_EQ(all.w, 640);
  EXPECT_EQ(all.h, 400);
  const p::Rect offset = d::scaled_rect(twice, 5, 6, 10, 20, 3, 4);
  EXPECT_EQ(offset.x, 25);
  EXPECT_EQ(offset.y, 46);
  EXPECT_EQ(offset.w, 6);
  d::screen_destroy();
  d::Display& odd = open(320, 200, 500, 400, 24);
  // Neighbours meet exactly: the right edge of one is the left of the next.
  for (int x = 0; x < 320; ++x) {
    const p::Rect a = d::scaled_rect(odd, 0, 0, x, 0, 1, 1),
                  b = d::scaled_rect(odd, 0, 0, x + 1, 0, 1, 1);
    ASSERT_EQ(a.x + a.w, b.x) << x;
  }
}

TEST_F(DisplayBlit, PartialUpdatesAt500x400LeaveNoGaps) {
  d::Display& display = open(320, 200, 500, 400, 24);
  paint(display);
  for (int x = 0; x < 320; x += 3) d::display_blit(display, 0, 0, x, 0, 3, 200);
  const auto pieces = shown(display.window);
  d::display_blit(display, 0, 0, 0, 0, 320, 200);
  EXPECT_EQ(shown(display.window), pieces);
  // Every output pixel was drawn from the picture (no black gaps).
  for (uint32_t px : pieces) ASSERT_NE(px >> 16, 0u);
}

TEST_F(DisplayBlit, RectanglesAreClippedToThePicture) {
  d::Display& display = open(16, 8, 16, 8, 24);
  paint(display);
  EXPECT_EQ(d::display_blit(display, 0, 0, -5, -5, 10, 10), 0);
  auto px = shown(display.window);
  EXPECT_EQ(px[0], colour(d::display_row(display, 0)[0]));
  EXPECT_EQ(px[5 * 16 + 5], 0u);  // outside the clipped part
  d::display_blit(display, 0, 0, 10, 4, 1 << 30, 1 << 30);
  d::display_blit(display, 0, 0, 100, 100, 5, 5);  // nothing left: nothing done
  d::display_blit(display, 0, 0, 3, 3, 0, 5);
  px = shown(display.window);
  EXPECT_EQ(px[7 * 16 + 15], colour(d::display_row(display, 7)[15]));
  EXPECT_EQ(px[6 * 16 + 3], 0u);
}

TEST_F(DisplayBlit, DeferredListCollectsUpToItsCapacity) {
  d::Display& display = open(16, 8, 16, 8, 24);
  paint(display);
  d::display_begin_deferred(display);
  for (int i = 0; i < 16; ++i) d::display_blit(display, 0, 0, i, 0, 1, 1);
  EXPECT_EQ(shown(display.window)[0], 0u);     // collected, not drawn
  d::display_blit(display, 0, 0, 0, 5, 1, 1);  // the list is full: drawn at once
  EXPECT_EQ(shown(display.window)[5 * 16], colour(d::display_row(display, 5)[0]));
  EXPECT_EQ(display.rects.size(), 16u);
  d::display_flush_rects(display);
  EXPECT_EQ(display.defer_state, d::kDrawAtOnce);
  EXPECT_TRUE(display.rects.empty());
  const auto px = shown(display.window);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(px[size_t(i)], colour(d::display_row(display, 0)[i]));
  EXPECT_EQ(px[1 * 16], 0u);
}

TEST_F(DisplayBlit, PaletteChangeRedrawsEverythingAndDropsTheList) {
  d::Display& display = open(16, 8, 16, 8, 24);
  paint(display);
  d::display_begin_deferred(display);
  d::display_blit(display, 0, 0, 0, 0, 1, 1);
  d::Rgb768 grey{};
  grey.fill(9);
  d::display_set_palette(display, grey.data(), 0);
  d::display_update_screen(display);  // collected too: nothing drawn yet
  EXPECT_EQ(display.rects.size(), 2u);
  EXPECT_EQ(shown(display.window)[5], 0u);
  d::display_flush_rects(display);
  EXPECT_TRUE(display.rects.empty());
  for (uint32_t px : shown(display.window)) ASSERT_EQ(px, 0x090909u);
}

TEST_F(DisplayBlit, AcceleratedPathAndItsFallbacks) {
  d::Display& display = open(8, 4, 16, 8, d::kFlagInterlace);
  ASSERT_TRUE(display.copier);
  ASSERT_EQ(display.copier->type, d::kCopy16Interlaced);
  paint(display);
  // Dirty the window, then the first accelerated copy blackens it and draws
  // every even line.
  std::vector<uint8_t> white(16 * 8, 255);
  p::video().present8(display.window, p::Picture8{white.data(), 16, 16, 8}, p::Rect{0, 0, 16, 8},
                      p::Rect{0, 0, 16, 8}, p::Rect{0, 0, 16, 8}, display.shown.data());
  d::display_blit(display, 0, 0, 2, 1, 1, 1);
  auto px = shown(display.window);
  const uint32_t through_surface = (uint32_t(d::display_row(display, 0)[0]) >> 3 << 3 |
                                    uint32_t(d::display_row(display, 0)[0]) >> 5)
                                   << 16;
  EXPECT_EQ(px[0], through_surface);  // 16-bit: green 2 and blue 3 drop to 0
  EXPECT_EQ(px[16], 0u);              // odd line: black
  // Without the focus the plain path draws exact colours.
  h::post_message(p::Message{0, p::kWmKillFocus, 0, 0, 0, 0});
  d::pump_messages();
  d::display_blit(display, 0, 0, 0, 0, 1, 1);
  px = shown(display.window);
  EXPECT_EQ(px[0], colour(d::display_row(display, 0)[0]));
  EXPECT_EQ(px[17], colour(d::display_row(display, 0)[0]));  // 2x: the odd line too
  // Focus back: the next copy covers the whole picture through the surface.
  h::post_message(p::Message{0, p::kWmSetFocus, 0, 0, 0, 0});
  d::pump_messages();
  d::display_blit(display, 0, 0, 7, 3, 1, 1);
  px = shown(display.window);
  EXPECT_EQ(px[0], through_surface);
  EXPECT_EQ(px[17], 0u);
  // A lock that fails skips the copy.
  display.bits[0] = 0;
  h::set_lock_failures(true);
  d::display_blit(display, 0, 0, 0, 0, 1, 1);
  EXPECT_EQ(shown(display.window)[0], through_surface);
  h::set_lock_failures(false);
  // Minimised: nothing is drawn.
  p::video().show_window(display.window, p::kShowMinimized);
  d::display_blit(display, 0, 0, 0, 0, 1, 1);
  EXPECT_EQ(shown(display.window)[0], through_surface);
}

TEST_F(DisplayBlit, FullScreenModesSendTheWholeBuffer) {
  d::Display& display = open(320, 200, 0, 0, 22);
  ASSERT_EQ(display.mode, 1);
  ASSERT_FALSE(display.top_down);
  paint(display);
  EXPECT_EQ(d::display_blit(display, 0, 0, 5, 5, 1, 1), 256);
  const auto px = shown(display.full_screen_window);
  ASSERT_EQ(px.size(), 320u * 204);
  // The picture's top line is at the top of the screen.
  EXPECT_EQ(px[0], colour(d::display_row(display, 0)[0]));
  EXPECT_EQ(px[199 * 320 + 9], colour(d::display_row(display, 199)[9]));
  EXPECT_EQ(px[203 * 320], colour(0));  // the four spare lines are shown too
}

}  // namespace
