// The SDL back-end's video service on SDL's own off-screen drivers (or a
// real display when there is one): windows open, and pictures presented
// through the palette and through the 16-bit surface read back right.
#include <gtest/gtest.h>

#if defined(GLINT_HAVE_SDL)
#include <SDL.h>

#include <cstdlib>
#include <vector>

#include "platform/video_drivers.h"

namespace p = glint::platform;

namespace {

bool sdl_video_up() {
  static const bool ok = [] {
    const char* display = std::getenv("DISPLAY");
    if ((!display || !*display) && !std::getenv("SDL_VIDEODRIVER"))
      setenv("SDL_VIDEODRIVER", "dummy", 1);
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  }();
  return ok;
}

TEST(SdlVideo, PresentsThroughPaletteAndSurface) {
  if (!sdl_video_up()) GTEST_SKIP() << "no SDL video driver: " << SDL_GetError();
  const p::VideoDriver& v = p::sdl_video;
  const p::WindowHandle w = v.create_window("glint test", 0, 0, 8, 4, p::kStyleCaption);
  ASSERT_NE(w, 0u) << SDL_GetError();
  v.show_window(w, p::kShowNormal);
  std::vector<uint8_t> pal(768, 0);
  pal[3 * 1] = 255;      // 1: red
  pal[3 * 2 + 1] = 255;  // 2: green
  pal[3 * 3 + 2] = 255;  // 3: blue
  uint8_t picture[2][4] = {{1, 2, 3, 0}, {3, 2, 1, 0}};
  v.present8(w, p::Picture8{&picture[0][0], 4, 4, 2}, p::Rect{0, 0, 4, 2}, p::Rect{0, 0, 8, 4},
             p::Rect{0, 0, 8, 4}, pal.data());
  std::vector<uint8_t> rgb(8 * 4 * 3);
  ASSERT_TRUE(v.read_pixels(w, rgb.data(), rgb.size()));
  auto at = [&](int x, int y) { return &rgb[size_t(y * 8 + x) * 3]; };
  EXPECT_EQ(at(1, 1)[0], 255);  // red doubled
  EXPECT_EQ(at(2, 0)[1], 255);  // green
  EXPECT_EQ(at(5, 3)[0], 255);  // second row: red at source x 2
  EXPECT_EQ(at(7, 0)[0] | at(7, 0)[1] | at(7, 0)[2], 0);

  p::Surface s;
  ASSERT_TRUE(v.lock_surface(w, &s));
  ASSERT_EQ(s.format, p::kSurface565);
  for (int x = 0; x < 8; ++x) s.pixels[x] = 0x001F;  // top row blue
  s.pixels[size_t(s.pitch / 2) * 2 + 3] = 0xFFFF;    // (3, 2) white
  v.unlock_surface(w, p::Rect{0, 0, 8, 4});
  ASSERT_TRUE(v.read_pixels(w, rgb.data(), rgb.size()));
  EXPECT_EQ(at(4, 0)[2], 255);
  EXPECT_EQ(at(4, 0)[0], 0);
  EXPECT_EQ(at(3, 2)[0], 255);
  EXPECT_GE(at(3, 2)[1], 250);  // the renderer widens six bits its own way
  v.set_title(w, "renamed");
  p::Message m;
  while (v.poll_message(&m)) {
  }
  v.destroy_window(w);
  EXPECT_FALSE(v.read_pixels(w, rgb.data(), rgb.size()));
}

}  // namespace
#endif
