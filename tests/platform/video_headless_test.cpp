#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/headless/headless_video.h"
#include "platform/platform.h"
#include "platform/video.h"
#include "support/temp_dir.h"

namespace p = glint::platform;
namespace h = glint::platform::headless;

namespace {

class HeadlessVideo : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(p::is_headless());
    h::reset_video();
    h::reset_video_caps();
    unsetenv("GLINT_SNAPSHOT_DIR");
    unsetenv("GLINT_SNAPSHOT_EVERY");
  }
  void TearDown() override { h::reset_video(); }

  // Palette: entry i is (i, 255 - i, i / 2).
  static std::vector<uint8_t> ramp() {
    std::vector<uint8_t> pal(768);
    for (int i = 0; i < 256; ++i) {
      pal[i * 3] = uint8_t(i);
      pal[i * 3 + 1] = uint8_t(255 - i);
      pal[i * 3 + 2] = uint8_t(i / 2);
    }
    return pal;
  }
  static std::vector<uint8_t> pixels(p::WindowHandle w, int width, int height) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    EXPECT_TRUE(p::video().read_pixels(w, rgb.data(), rgb.size()));
    return rgb;
  }
};

TEST_F(HeadlessVideo, PresentScalesThroughThePaletteAndClips) {
  const p::VideoDriver& v = p::video();
  const p::WindowHandle w = v.create_window("t", 0, 0, 8, 4, p::kStyleCaption);
  ASSERT_NE(w, 0u);
  // A 4 x 2 picture of indices 0..7, drawn at twice its size.
  uint8_t picture[2][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}};
  const auto pal = ramp();
  v.present8(w, p::Picture8{&picture[0][0], 4, 4, 2}, p::Rect{0, 0, 4, 2}, p::Rect{0, 0, 8, 4},
             p::Rect{0, 0, 8, 4}, pal.data());
  auto rgb = pixels(w, 8, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) {
      const int index = picture[y / 2][x / 2];
      const uint8_t* px = &rgb[size_t(y * 8 + x) * 3];
      ASSERT_EQ(px[0], index) << x << "," << y;
      ASSERT_EQ(px[1], 255 - index);
      ASSERT_EQ(px[2], index / 2);
    }
  // Bottom-up storage: the top row is the last in memory, pitch negative.
  uint8_t stored[2][4] = {{9, 9, 9, 9}, {20, 21, 22, 23}};
  v.present8(w, p::Picture8{&stored[1][0], -4, 4, 2}, p::Rect{0, 0, 4, 1}, p::Rect{0, 0, 4, 1},
             p::Rect{0, 0, 4, 1}, pal.data());
  rgb = pixels(w, 8, 4);
  EXPECT_EQ(rgb[0], 20);
  EXPECT_EQ(rgb[3 * 3], 23);
  // Rectangles hanging off the canvas and the picture touch nothing outside.
  v.present8(w, p::Picture8{&picture[0][0], 4, 4, 2}, p::Rect{2, 1, 10, 10}, p::Rect{6, 3, 20, 20},
             p::Rect{6, 3, 20, 20}, pal.data());
  rgb = pixels(w, 8, 4);
  EXPECT_EQ(rgb[size_t(3 * 8 + 6) * 3], 6);  // source (2, 1)
  // The clip rectangle limits what is drawn, not how it maps.
  uint8_t ones[2][4] = {{1, 1, 1, 1}, {1, 1, 1, 1}};
  v.present8(w, p::Picture8{&ones[0][0], 4, 4, 2}, p::Rect{0, 0, 4, 2}, p::Rect{0, 0, 8, 4},
             p::Rect{3, 1, 2, 1}, pal.data());
  rgb = pixels(w, 8, 4);
  EXPECT_EQ(rgb[size_t(1 * 8 + 3) * 3], 1);
  EXPECT_EQ(rgb[size_t(1 * 8 + 4) * 3], 1);
  EXPECT_EQ(rgb[size_t(1 * 8 + 5) * 3], 2);  // outside the clip: still the old picture
  EXPECT_EQ(rgb[size_t(2 * 8 + 3) * 3], 5);
  // A window that is not there, or a buffer too small to read into.
  std::vector<uint8_t> small(10);
  EXPECT_FALSE(v.read_pixels(w, small.data(), small.size()));
  EXPECT_FALSE(v.read_pixels(w + 100, small.data(), 1000));
}

TEST_F(HeadlessVideo, SurfaceFormatsAndLockFailures) {
  struct Case {
    uint32_t format;
    uint16_t pixel;
    uint8_t r, g, b;
  };
  const Case cases[] = {
      {p::kSurface565, 0xF800, 255, 0, 0}, {p::kSurface565, 0x07E0, 0, 255, 0},
      {p::kSurface565, 0x0821, 8, 4, 8},   {p::kSurface555, 0x7C00, 255, 0, 0},
      {p::kSurface555, 0x03E0, 0, 255, 0}, {p::kSurface555, 0x001F, 0, 0, 255},
  };
  for (const Case& c : cases) {
    p::VideoCaps caps;
    caps.surface_format = c.format;
    h::set_video_caps(caps);
    const p::VideoDriver& v = p::video();
    const p::WindowHandle w = v.create_window("s", 0, 0, 4, 4, 0);
    p::Surface s;
    ASSERT_TRUE(v.lock_surface(w, &s));
    ASSERT_EQ(s.format, c.format);
    ASSERT_EQ(s.pitch, 8);
    s.pixels[1 * 4 + 2] = c.pixel;
    s.pixels[0] = c.pixel;  // outside the dirty part: not shown yet
    v.unlock_surface(w, p::Rect{2, 1, 1, 1});
    const auto rgb = pixels(w, 4, 4);
    const uint8_t* px = &rgb[size_t(1 * 4 + 2) * 3];
    EXPECT_EQ(px[0], c.r);
    EXPECT_EQ(px[1], c.g);
    EXPECT_EQ(px[2], c.b);
    EXPECT_EQ(rgb[0] | rgb[1] | rgb[2], 0);
    v.destroy_window(w);
  }
  h::set_lock_failures(true);
  const p::WindowHandle w = p::video().create_window("s", 0, 0, 4, 4, 0);
  p::Surface s;
  EXPECT_FALSE(p::video().lock_surface(w, &s));
  p::VideoCaps none;
  none.surface_format = p::kSurfaceNone;
  h::set_video_caps(none);
  h::set_lock_failures(false);
  EXPECT_FALSE(p::video().lock_surface(w, &s));
}

TEST_F(HeadlessVideo, SnapshotsAreNumberedPpmFiles) {
  glint::test::TempDir dir;
  setenv("GLINT_SNAPSHOT_DIR", dir.path().c_str(), 1);
  const p::VideoDriver& v = p::video();
  const p::WindowHandle w = v.create_window("t", 0, 0, 3, 2, 0);
  uint8_t picture[6] = {1, 2, 3, 4, 5, 6};
  const auto pal = ramp();
  v.present8(w, p::Picture8{picture, 3, 3, 2}, p::Rect{0, 0, 3, 2}, p::Rect{0, 0, 3, 2},
             p::Rect{0, 0, 3, 2}, pal.data());
  const unsigned before = h::snapshots_written();
  v.snapshot(w);
  v.destroy_window(w);  // destruction leaves one too
  EXPECT_EQ(h::snapshots_written(), before + 2);
  const std::string first = dir.read("snapshot-" + std::string(before + 1 < 10 ? "000" : "00") +
                                     std::to_string(before + 1) + ".ppm");
  ASSERT_EQ(first.size(), std::string("P6\n3 2\n255\n").size() + 18);
  EXPECT_EQ(first.substr(0, 11), "P6\n3 2\n255\n");
  EXPECT_EQ(uint8_t(first[11]), 1);    // red of index 1
  EXPECT_EQ(uint8_t(first[12]), 254);  // green
  // With GLINT_SNAPSHOT_EVERY each present leaves one.
  setenv("GLINT_SNAPSHOT_EVERY", "1", 1);
  const p::WindowHandle w2 = v.create_window("t", 0, 0, 3, 2, 0);
  const unsigned count = h::snapshots_written();
  v.present8(w2, p::Picture8{picture, 3, 3, 2}, p::Rect{0, 0, 3, 2}, p::Rect{0, 0, 3, 2},
             p::Rect{0, 0, 3, 2}, pal.data());
  v.present8(w2, p::Picture8{picture, 3, 3, 2}, p::Rect{0, 0, 3, 2}, p::Rect{0, 0, 3, 2},
             p::Rect{0, 0, 3, 2}, pal.data());
  EXPECT_EQ(h::snapshots_written(), count + 2);
}

TEST_F(HeadlessVideo, WindowsPlaceShowAndFocus) {
  const p::VideoDriver& v = p::video();
  const p::WindowHandle a = v.create_window("a", 10, 20, 30, 40, p::kStyleCaption);
  const p::WindowHandle b = v.create_window("b", 0, 0, 5, 5, p::kStyleCaption);
  ASSERT_NE(a, b);
  p::Rect r;
  ASSERT_TRUE(v.client_rect(a, &r));
  EXPECT_EQ(r.x, 10);
  EXPECT_EQ(r.h, 40);
  EXPECT_FALSE(v.is_visible(a));
  v.show_window(a, p::kShowNormal);
  EXPECT_TRUE(v.is_visible(a));
  EXPECT_TRUE(v.has_focus(a));
  v.show_window(b, p::kShowNormal);
  EXPECT_FALSE(v.has_focus(a));
  v.show_window(b, p::kShowMinimized);
  EXPECT_FALSE(v.is_visible(b));
  v.place_window(a, 1, 2, 64, 48);
  ASSERT_TRUE(v.client_rect(a, &r));
  EXPECT_EQ(r.x, 1);
  EXPECT_EQ(r.w, 64);
  std::vector<uint8_t> rgb(64 * 48 * 3);
  EXPECT_TRUE(v.read_pixels(a, rgb.data(), rgb.size()));
  EXPECT_EQ(v.create_window("big", 0, 0, 1 << 20, 10, 0), 0u);
  EXPECT_TRUE(v.set_resolution(0, 0));
  EXPECT_FALSE(v.set_resolution(640, 480));
}

// Scripted input: timing by virtual clock and by pumps, window targeting,
// snapshots and answers.
TEST_F(HeadlessVideo, ScriptedInputArrivesWhenDue) {
  const p::VideoDriver& v = p::video();
  h::clear_answers();
  h::load_input(
      "# waits for a window\n"
      "key F3 shift\n"
      "+2 char ok\n"
      "@999999999 close\n"
      "answer no\n");
  p::Message m;
  EXPECT_FALSE(v.poll_message(&m));  // no window yet: nothing delivered
  const p::WindowHandle w = v.create_window("t", 0, 0, 4, 4, 0);
  std::vector<p::Message> got;
  auto pump = [&] {
    while (v.poll_message(&m)) got.push_back(m);
  };
  pump();
  ASSERT_EQ(got.size(), 2u);  // key down and key up (F3 has no character)
  EXPECT_EQ(got[0].message, p::kWmKeyDown);
  EXPECT_EQ(got[0].wparam, p::kVkF1 + 2);
  EXPECT_EQ(got[0].modifiers, p::kModShift);
  EXPECT_EQ(got[0].window, w);
  EXPECT_EQ(got[1].message, p::kWmKeyUp);
  got.clear();
  pump();  // one pump since the key
  EXPECT_TRUE(got.empty());
  pump();  // the second
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, p::kWmChar);
  EXPECT_EQ(got[0].wparam, unsigned('o'));
  EXPECT_EQ(got[1].wparam, unsigned('k'));
  got.clear();
  pump();
  EXPECT_TRUE(got.empty());  // the close waits for its time
  p::sleep_ms(999999999);
  pump();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].message, p::kWmClose);
  // The answer was queued when the input was read.
  EXPECT_EQ(p::message_box("c", "t", p::kMbYesNo), p::kIdYes + 1);
}

}  // namespace
