// A clean headless display for each test: default capabilities unless the
// test sets its own, no windows, an empty screen record.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_video.h"
#include "platform/platform.h"
#include "player/display/screen.h"

namespace glint::test {

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::is_headless());
    player::display::screen_destroy();
    platform::headless::reset_video();
    platform::headless::reset_video_caps();
    player::display::screen() = player::display::Screen{};
  }
  void TearDown() override {
    player::display::screen_destroy();
    platform::headless::reset_video();
    platform::headless::reset_video_caps();
  }
  static void set_caps(int bits, uint32_t surface, int reserved = 0) {
    platform::VideoCaps caps;
    caps.bits_per_pixel = bits;
    caps.surface_format = surface;
    caps.reserved_colours = reserved;
    caps.full_screen = true;
    platform::headless::set_video_caps(caps);
  }
  // The window's pixels as 0xRRGGBB.
  static std::vector<uint32_t> shown(platform::WindowHandle window) {
    platform::Rect r;
    EXPECT_TRUE(platform::video().client_rect(window, &r));
    std::vector<uint8_t> rgb(size_t(r.w) * r.h * 3);
    EXPECT_TRUE(platform::video().read_pixels(window, rgb.data(), rgb.size()));
    std::vector<uint32_t> out(size_t(r.w) * r.h);
    for (size_t i = 0; i < out.size(); ++i)
      out[i] = uint32_t(rgb[i * 3]) << 16 | rgb[i * 3 + 1] << 8 | rgb[i * 3 + 2];
    return out;
  }
};

}  // namespace glint::test
