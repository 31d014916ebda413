#include <gtest/gtest.h>

#include <string>

#include "display_fixture.h"
#include "platform/headless/headless_video.h"
#include "player/display/display_blit.h"
#include "player/display/screen.h"

namespace d = glint::player::display;
namespace p = glint::platform;
namespace h = glint::platform::headless;

namespace {

using ScreenWindow = glint::test::DisplayTest;

TEST(KeyTable, MessagesToKeyCodes) {
  struct Case {
    uint32_t message, key, modifiers;
    int code;
  };
  const uint32_t shift = p::kModShift, ctrl = p::kModControl, alt = p::kModAlt;
  const Case cases[] = {
      {p::kWmKeyDown, p::kVkF1, 0, 208},
      {p::kWmKeyDown, p::kVkF1 + 2, shift, 220},  // Shift+F3
      {p::kWmKeyDown, p::kVkF1 + 9, 0, 217},
      {p::kWmKeyDown, p::kVkF1 + 9, shift, 227},
      {p::kWmKeyDown, p::kVkF1 + 4, ctrl, 232},
      {p::kWmKeyDown, p::kVkF1 + 10, 0, -1},  // F11 has no code
      {p::kWmKeyDown, p::kVkPrior, 0, 161},
      {p::kWmKeyDown, p::kVkNext, 0, 162},
      {p::kWmKeyDown, p::kVkEnd, 0, 163},
      {p::kWmKeyDown, p::kVkHome, 0, 164},
      {p::kWmKeyDown, p::kVkLeft, 0, 165},
      {p::kWmKeyDown, p::kVkUp, 0, 166},
      {p::kWmKeyDown, p::kVkRight, 0, 167},
      {p::kWmKeyDown, p::kVkDown, 0, 168},
      {p::kWmKeyDown, p::kVkInsert, 0, 173},
      {p::kWmKeyDown, p::kVkDelete, 0, 174},
      {p::kWmKeyDown, 'A', 0, -1},  // letters come as characters
      {p::kWmChar, 'a', 0, 'a'},
      {p::kWmChar, '\t', 0, 9},
      {p::kWmChar, '\t', shift, 137},
      {p::kWmChar, 0xE9, 0, -1},  // a typed byte with a key's code (CONTROL F6) is dropped
      {p::kWmChar, 0xC0, 0, 0xC0},
      {p::kWmSysKeyDown, p::kVkF1, alt, 238},
      {p::kWmSysKeyDown, p::kVkF1 + 8, alt, 246},
      {p::kWmSysKeyDown, p::kVkF10, alt, 247},  // Alt+F10
      {p::kWmSysKeyDown, p::kVkF10, 0, 217},    // plain F10 arrives as a system key
      {p::kWmSysKeyDown, 'X', alt, -1},
      {p::kWmClose, 0, 0, 241},
      {p::kWmKeyUp, p::kVkF1, 0, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(d::key_code_for(p::Message{1, c.message, c.key, 0, 0, c.modifiers}), c.code)
        << std::hex << c.message << " " << c.key;
}

TEST(KeyTable, FullQueueDropsKeys) {
  d::KeyQueue q;
  for (int i = 0; i < 64; ++i) ASSERT_TRUE(d::key_queue_push(q, uint8_t(i)));
  EXPECT_FALSE(d::key_queue_push(q, 200));
  EXPECT_EQ(d::key_queue_pop(q), 0);
  EXPECT_TRUE(d::key_queue_push(q, 201));  // room again after a read
  for (int i = 1; i < 64; ++i) ASSERT_EQ(d::key_queue_pop(q), i);
  EXPECT_EQ(d::key_queue_pop(q), 201);
  EXPECT_EQ(d::key_queue_pop(q), -1);
}

TEST_F(ScreenWindow, CreatePlacesShowsAndReuses) {
  set_caps(32, p::kSurface565);
  d::Screen& s = d::screen();
  ASSERT_TRUE(d::screen_create(320, 200, -1, -1, 0x2000, std::string(300, 'T')));
  ASSERT_TRUE(s.window);
  p::Rect r;
  ASSERT_TRUE(p::video().client_rect(s.window, &r));
  EXPECT_EQ(r.x, (640 - 320) / 2);  // centred on the 640 x 480 screen
  EXPECT_EQ(r.y, (480 - 200) / 2);
  EXPECT_EQ(r.w, 320);
  EXPECT_TRUE(p::video().has_focus(s.window));
  const p::WindowHandle first = s.window;
  // A smaller picture reuses the window and clears the buffer, unless asked to keep it.
  s.display->bits[0] = 9;
  ASSERT_TRUE(d::screen_create(100, 100, 0, 0, d::kFlagKeepContents, "t"));
  EXPECT_EQ(s.display->bits[0], 9);
  ASSERT_TRUE(d::screen_create(100, 100, 0, 0, 0, "t"));
  EXPECT_EQ(s.display->bits[0], 0);
  EXPECT_EQ(s.display->width, 320);
  // A bigger one opens a new display on the same window.
  ASSERT_TRUE(d::screen_create(400, 300, 10, 20, 0, "t"));
  EXPECT_EQ(s.window, first);
  EXPECT_EQ(s.display->width, 400);
  ASSERT_TRUE(p::video().client_rect(s.window, &r));
  EXPECT_EQ(r.x, 10);
  EXPECT_EQ(r.h, 300);
  d::screen_destroy();
  EXPECT_FALSE(d::screen_has_window());
  EXPECT_EQ(s.mode_description, "DIBSection with accelerated blitting (16-bit 1x)");
}

TEST_F(ScreenWindow, OutputSizeSettingsResolveOnce) {
  d::Screen& s = d::screen();
  s.output_width = -2;
  s.output_height = -2;
  ASSERT_TRUE(d::screen_create(320, 200, 0, 0, 0, "t"));
  EXPECT_EQ(s.display->out_width, 640);
  EXPECT_EQ(s.display->out_height, 400);
  EXPECT_TRUE(s.display->scaled);
  EXPECT_TRUE(s.display->copier);  // exactly twice: still accelerated
  d::screen_destroy();
  // The setting now holds the size it resolved to.
  EXPECT_EQ(s.output_width, 640);
  ASSERT_TRUE(d::screen_create(100, 100, 0, 0, 0, "t"));
  EXPECT_EQ(s.display->out_width, 640);
  EXPECT_FALSE(s.display->copier);
}

TEST_F(ScreenWindow, FailedCreateLeavesNoWindow) {
  EXPECT_FALSE(
      d::screen_create(320, 240, 0, 0, 23 | d::kFlagAlternateMode, "t"));  // mode 2 is too small
  EXPECT_FALSE(d::screen_has_window());
  EXPECT_EQ(h::current_window(), 0u);
  EXPECT_TRUE(d::screen_create(320, 240, 0, 0, 22, "t"));  // mode 1 takes it
  EXPECT_EQ(d::screen().display->mode, 1);
}

TEST_F(ScreenWindow, PumpQueuesKeysCountsClicksAndHonoursQuit) {
  ASSERT_TRUE(d::screen_create(64, 64, 0, 0, 0, "t"));
  h::load_input(
      "key F3 shift\n"
      "key a\n"
      "close\n"
      "click 5 6\n"
      "click 7 8 right\n"
      "click 1 1\n");
  for (int i = 0; i < 8; ++i) EXPECT_EQ(d::pump_messages(), 0);
  d::Screen& s = d::screen();
  EXPECT_EQ(d::key_queue_pop(s.keys), 220);
  EXPECT_EQ(d::key_queue_pop(s.keys), 'a');
  EXPECT_EQ(d::key_queue_pop(s.keys), 241);
  EXPECT_EQ(d::key_queue_pop(s.keys), -1);
  EXPECT_EQ(s.left_clicks, 2u);
  EXPECT_EQ(s.right_clicks, 1u);
  EXPECT_EQ(s.mouse_x, 1);
  EXPECT_TRUE(d::screen_has_window());  // a close request only queues a key
  p::headless::post_message(p::Message{0, p::kWmQuit, 0, 0, 0, 0});
  EXPECT_NE(d::pump_messages(), 0);
  EXPECT_FALSE(d::screen_has_window());
}

TEST_F(ScreenWindow, Resolution) {
  const int expected[] = {1, 0, 0, 0, 0, 0};
  for (int n = 0; n <= 5; ++n) EXPECT_EQ(d::set_screen_resolution(n), expected[n]) << n;
  EXPECT_EQ(d::set_screen_resolution(-1), 0);
  p::VideoCaps caps;
  caps.can_change_resolution = true;
  h::set_video_caps(caps);
  EXPECT_EQ(d::set_screen_resolution(3), 1);
  EXPECT_EQ(d::set_screen_resolution(5), 0);
}

}  // namespace
