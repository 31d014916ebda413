// The display on the SDL back-end, on SDL's dummy video driver when there is
// no desktop: a window opens, and pictures presented through mode 4 and
// through the accelerated mode 5 read back right from the renderer.
#include <gtest/gtest.h>

#if defined(GLINT_HAVE_SDL)
#include <cstdlib>
#include <vector>

#include "platform/platform.h"
#include "platform/video.h"
#include "player/display/display_blit.h"
#include "player/display/display_palette.h"
#include "player/display/screen.h"

namespace d = glint::player::display;
namespace p = glint::platform;

namespace {

class SdlDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
      // No desktop: SDL's dummy driver draws in memory just the same.
      setenv("SDL_VIDEODRIVER", "dummy", 0);
      setenv("DISPLAY", ":glint-test", 1);
      // With a display named SDL reaches for the session bus, whose
      // connection is never released; there is no bus to talk to here.
      setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
      fake_display_ = true;
    }
    if (!p::select_backend("sdl")) GTEST_SKIP() << "no SDL video here";
    d::screen() = d::Screen{};
  }
  void TearDown() override {
    d::screen_destroy();
    p::select_backend("headless");
    if (fake_display_) unsetenv("DISPLAY");
  }

  static std::vector<uint32_t> shown(p::WindowHandle window, int w, int h) {
    std::vector<uint8_t> rgb(size_t(w) * h * 3);
    EXPECT_TRUE(p::video().read_pixels(window, rgb.data(), rgb.size()));
    std::vector<uint32_t> out(size_t(w) * h);
    for (size_t i = 0; i < out.size(); ++i)
      out[i] = uint32_t(rgb[i * 3]) << 16 | rgb[i * 3 + 1] << 8 | rgb[i * 3 + 2];
    return out;
  }
  // Opens a 4 x 2 picture at twice its size, entries 1-3 red, green, blue,
  // and draws one pixel of each.
  static d::Display& open_and_draw(uint32_t flags) {
    d::Screen& s = d::screen();
    s.output_width = -2;
    s.output_height = -2;
    EXPECT_TRUE(d::screen_create(4, 2, 0, 0, flags, "glint sdl test"));
    d::Display& display = *s.display;
    d::Rgb768 pal{};
    pal[3] = 255, pal[7] = 255, pal[11] = 255;
    d::display_set_palette(display, pal.data(), 0);
    d::display_row(display, 0)[0] = 1;
    d::display_row(display, 0)[1] = 2;
    d::display_row(display, 1)[3] = 3;
    d::display_update_screen(display);
    d::display_blit(display, 0, 0, 0, 0, 4, 2);
    return display;
  }
  bool fake_display_ = false;
};

TEST_F(SdlDisplay, StandardDibs) {
  d::Display& display = open_and_draw(24);
  ASSERT_EQ(display.mode, 4);
  const auto px = shown(display.window, 8, 4);
  EXPECT_EQ(px[0], 0xFF0000u);
  EXPECT_EQ(px[1 * 8 + 1], 0xFF0000u);  // doubled
  EXPECT_EQ(px[2], 0x00FF00u);
  EXPECT_EQ(px[3 * 8 + 7], 0x0000FFu);
  EXPECT_EQ(px[3 * 8 + 0], 0u);
}

TEST_F(SdlDisplay, AcceleratedSixteenBitSurface) {
  d::Display& display = open_and_draw(25);
  ASSERT_EQ(display.mode, 5);
  ASSERT_TRUE(display.copier);
  EXPECT_EQ(
      d::display_description(display).rfind("DIBSection with accelerated blitting (16-bit 2x", 0),
      0u);
  const auto px = shown(display.window, 8, 4);
  EXPECT_EQ(px[0] & 0xF80000u, 0xF80000u);
  EXPECT_EQ(px[0] & 0x00FFFFu, 0u);
  EXPECT_EQ(px[1 * 8 + 1] & 0xF80000u, 0xF80000u);
  EXPECT_GE((px[2] >> 8) & 0xFF, 0xF8u);
  EXPECT_GE(px[3 * 8 + 7] & 0xFF, 0xF8u);
  EXPECT_EQ(px[3 * 8 + 0], 0u);
}

}  // namespace
#endif
