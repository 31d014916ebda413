#include <gtest/gtest.h>

#include "display_fixture.h"
#include "orxutil/glint.h"
#include "player/display/display.h"
#include "player/display/screen.h"

namespace d = glint::player::display;
namespace p = glint::platform;

namespace {

p::VideoCaps caps_with(uint32_t surface, bool full_screen) {
  p::VideoCaps c;
  c.surface_format = surface;
  c.full_screen = full_screen;
  return c;
}

TEST(ModeChoice, MatrixOverCapabilitiesRequestsAndSizes) {
  struct Case {
    uint32_t surface;
    bool full_screen;
    uint32_t request;
    int w, h, ow, oh;
    int mode;
    bool accelerated;
  };
  const uint32_t k565 = p::kSurface565, none = p::kSurfaceNone;
  const uint32_t no_accel = d::kRequestNoAcceleration;
  const Case cases[] = {
      // Automatic never reaches the full-screen modes.
      {k565, true, 0, 640, 480, 640, 480, 5, true},
      {k565, true, 0, 320, 200, 320, 200, 5, true},
      {none, true, 0, 320, 200, 320, 200, 5, false},
      {k565, true, no_accel, 320, 200, 320, 200, 5, false},
      // Exactly twice may still be accelerated; any other scale not.
      {k565, true, 0, 320, 200, 640, 400, 5, true},
      {k565, true, 0, 320, 200, 500, 400, 5, false},
      {k565, true, 0, 320, 200, 640, 401, 5, false},
      {k565, true, 4, 320, 200, 640, 400, 4, false},
      // Full-screen modes by number: sizes, scaling and availability.
      {k565, true, 2, 320, 240, 320, 240, 0, false},
      {k565, true, 1, 320, 240, 320, 240, 1, false},
      {k565, true, 1, 321, 240, 321, 240, 0, false},
      {k565, true, 2, 320, 200, 320, 200, 2, false},
      {k565, true, 2, 160, 100, 320, 200, 0, false},
      {k565, false, 1, 320, 200, 320, 200, 0, false},
      {k565, true, 3, 320, 200, 320, 200, 0, false},  // video memory is never offered
      {k565, true, 6, 320, 200, 320, 200, 0, false},
  };
  for (const Case& c : cases) {
    bool accelerated = !c.accelerated;
    EXPECT_EQ(d::choose_mode(caps_with(c.surface, c.full_screen), c.request, c.w, c.h, c.ow, c.oh,
                             &accelerated),
              c.mode)
        << "request " << c.request << " " << c.w << "x" << c.h << " -> " << c.ow << "x" << c.oh;
    if (c.mode == 5) {
      EXPECT_EQ(accelerated, c.accelerated) << c.w << "x" << c.h << " -> " << c.ow << "x" << c.oh;
    }
  }
}

TEST(ModeChoice, RequestFlagsAndOutputSizes) {
  struct Flags {
    uint32_t flags;
    uint32_t request;
  };
  const Flags flags[] = {
      {0x2000, 0},
      {22, 1},
      {23, 3},
      {23 | d::kFlagAlternateMode, 2},
      {24, 4},
      {25 | d::kFlagNoAcceleration, 5 | d::kRequestNoAcceleration},
      {21 | d::kFlagSmooth | d::kFlagInterlace, d::kRequestSmooth | d::kRequestInterlace},
  };
  for (const Flags& f : flags) EXPECT_EQ(d::request_for_flags(f.flags), f.request) << f.flags;
  EXPECT_EQ(d::resolve_output(0, 320, 1024), 320);
  EXPECT_EQ(d::resolve_output(-1, 320, 1024), 1024);
  EXPECT_EQ(d::resolve_output(-2, 320, 1024), 640);
  EXPECT_EQ(d::resolve_output(500, 320, 1024), 500);
  EXPECT_EQ(d::rect_capacity_for(100, 100), 16u);
  EXPECT_EQ(d::rect_capacity_for(320, 200), 125u);
  EXPECT_EQ(d::rect_capacity_for(640, 480), 600u);  // (10 x 120) / 2
}

class DisplayRecord : public glint::test::DisplayTest {};

TEST_F(DisplayRecord, FieldsPerMode) {
  struct Case {
    uint32_t request;
    int w, h, ow, oh;
    int mode, buffer_kind, pitch, buffer_height;
    bool top_down, accelerated;
    const char* description;
  };
  const Case cases[] = {
      {0, 317, 200, 317, 200, 5, 0, 320, 200, true, true,
       "DIBSection with accelerated blitting (16-bit 1x)"},
      {0, 320, 200, 640, 400, 5, 0, 320, 200, true, true,
       "DIBSection with accelerated blitting (16-bit 2x)"},
      {d::kRequestSmooth, 320, 200, 640, 400, 5, 0, 320, 200, true, true,
       "DIBSection with accelerated blitting (16-bit 2x Smoothing)"},
      {d::kRequestInterlace, 320, 200, 640, 400, 5, 0, 320, 200, true, true,
       "DIBSection with accelerated blitting (16-bit 2x Interlaced)"},
      {0, 320, 200, 400, 300, 5, 0, 320, 200, true, false,
       "DIBSection"},  // quarter steps land on whole pixels
      {0, 320, 200, 500, 400, 5, 1, 320, 200, true, false, "DIBSection"},
      {4, 320, 200, 320, 200, 4, 1, 320, 200, true, false, "Standard Windows DIBs"},
      {1, 320, 200, 320, 200, 1, 1, 320, 204, false, false, "Full screen 320x240"},
      {1, 320, 240, 320, 240, 1, 1, 320, 240, false, false, "Full screen 320x240"},
      {2, 300, 200, 300, 200, 2, 1, 304, 200, false, false, "Full screen 320x200"},
  };
  const int was = GlintEnableMMX(0);
  for (const Case& c : cases) {
    const p::WindowHandle w = p::video().create_window("t", 0, 0, c.ow, c.oh, 0);
    auto display = d::display_open(w, c.request, c.w, c.h, c.ow, c.oh);
    ASSERT_TRUE(display) << c.description;
    EXPECT_EQ(display->mode, c.mode);
    EXPECT_EQ(display->buffer_kind, c.buffer_kind) << c.ow << "x" << c.oh;
    EXPECT_EQ(display->pitch, c.pitch);
    EXPECT_EQ(display->buffer_height, c.buffer_height);
    EXPECT_EQ(display->bits.size(), size_t(c.pitch) * c.buffer_height);
    EXPECT_EQ(display->top_down, c.top_down);
    EXPECT_EQ(display->copier != nullptr, c.accelerated);
    EXPECT_EQ(display->scaled, c.w != c.ow || c.h != c.oh);
    EXPECT_EQ(d::display_description(*display), c.description);
    d::display_close(display);
    p::video().destroy_window(w);
  }
  GlintEnableMMX(was);
  EXPECT_FALSE(d::display_open(0, 0, 0, 200, 320, 200));
  EXPECT_FALSE(d::display_open(0, 0, 320, 200, -5, 200));
}

TEST_F(DisplayRecord, ColourCountsAndStaticRange) {
  set_caps(8, p::kSurface565, 20);
  auto eight = d::display_open(0, 4, 64, 64, 64, 64);
  ASSERT_TRUE(eight);
  EXPECT_EQ(eight->screen_colours, 256u);
  EXPECT_EQ(eight->static_low, 10);
  EXPECT_EQ(eight->static_high, 246);
  EXPECT_EQ(eight->palette[255 * 4], 255);  // white kept at the top
  set_caps(32, p::kSurface565, 20);
  auto deep = d::display_open(0, 4, 64, 64, 64, 64);
  EXPECT_EQ(deep->screen_colours, 1u << 24);
  EXPECT_EQ(deep->static_low, 0);
  EXPECT_EQ(deep->static_high, 256);
  set_caps(4, p::kSurface565, 0);
  auto sixteen = d::display_open(0, 4, 64, 64, 64, 64);
  EXPECT_EQ(sixteen->palette_size, 16);
}

TEST_F(DisplayRecord, AccelerationDroppedWhenTheSurfaceWillNotLock) {
  p::headless::set_lock_failures(true);
  const p::WindowHandle w = p::video().create_window("t", 0, 0, 64, 64, 0);
  auto display = d::display_open(w, 0, 64, 64, 64, 64);
  ASSERT_TRUE(display);
  EXPECT_EQ(display->mode, 5);
  EXPECT_FALSE(display->copier);
}

}  // namespace
