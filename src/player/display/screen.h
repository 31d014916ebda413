// The presentation window: making and reusing it, its window procedure (keys,
// clicks, close requests, repaints), the message pump, the screen palette and
// the desktop resolution switch. One per process.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/video.h"
#include "player/display/display.h"

namespace glint::player::display {

// ScreenCreate flags (the display settings of the screen commands).
inline constexpr uint32_t kFlagModeMask = 0x1F;
inline constexpr uint32_t kFlagNoAcceleration = 0x20;
inline constexpr uint32_t kFlagSmooth = 0x40;
inline constexpr uint32_t kFlagInterlace = 0x80;
inline constexpr uint32_t kFlagAlternateMode = 0x100;  // mode field 23: mode 2 instead of 3
inline constexpr uint32_t kFlagPopup = 0x200;
inline constexpr uint32_t kFlagKeepContents = 0x1000;
inline constexpr uint32_t kFlagNoDialogFrame = 0x4000;
inline constexpr uint32_t kFlagThinBorder = 0x8000;
inline constexpr uint32_t kFlagTopmost = 0x10000;

// Key codes that are not characters.
inline constexpr uint8_t kKeyClose = 241;  // the window's close request (reads as Alt+F4)
inline constexpr uint8_t kKeyShiftTab = 137;

inline constexpr size_t kKeyQueueSize = 64;

struct KeyQueue {
  std::array<uint8_t, kKeyQueueSize> codes{};
  size_t first = 0;
  size_t count = 0;
};
// False (and the key is lost) when the queue is full.
bool key_queue_push(KeyQueue& queue, uint8_t code);
// The oldest code, or -1 when the queue is empty.
int key_queue_pop(KeyQueue& queue);

struct Screen {
  std::unique_ptr<Display> display;
  platform::WindowHandle window = 0;
  KeyQueue keys;
  uint32_t left_clicks = 0;
  uint32_t right_clicks = 0;
  int32_t mouse_x = 0;
  int32_t mouse_y = 0;
  // Moves on whenever a display opens or closes, so whoever saved pixels of an
  // earlier display knows they are stale.
  uint64_t display_generation = 0;
  bool minimized = false;
  // Output size settings: 0 the picture's size, -1 the screen's, -k k times
  // the picture's, else pixels. A negative setting is replaced by what it
  // resolved to the first time it is used.
  int32_t output_width = 0;
  int32_t output_height = 0;
  // The screen palette that animations, bitmaps and fades change.
  Rgb768 palette{};
  uint32_t palette_changes = 0;
  // The description of the last display closed (kept for the end of the run).
  std::string mode_description;
};

Screen& screen();

// The DisplayOpen request for a flags word.
uint32_t request_for_flags(uint32_t flags);
// One output size setting resolved against the picture and screen sizes.
int32_t resolve_output(int32_t setting, int32_t picture, int32_t screen_size);

// The display of the presentation window, or null without a window.
Display* window_display();

// Makes (or reuses) the presentation window with a width x height picture
// at (x, y) (-1: centred). False, leaving no window, on failure.
bool screen_create(int32_t width, int32_t height, int32_t x, int32_t y, uint32_t flags,
                   const std::string& title);
void screen_destroy();
bool screen_has_window();

// The codes that only keys queue (Shift+Tab, the movement and editing keys,
// the function keys, the close request), never typed characters.
bool is_special_key_code(uint8_t code);
// The code a message queues (-1: none), given the display mode's keys.
int key_code_for(const platform::Message& message);
// What the presentation window does with one message.
void window_procedure(const platform::Message& message);
// Dispatches every waiting message. Returns nonzero when WM_QUIT came: the
// window is gone then.
int pump_messages();

// 0 restores the desktop, 1-4 choose 640x400, 640x480, 800x600, 1024x768.
// 1 on success, 0 on failure or for any other n.
int set_screen_resolution(int n);

}  // namespace glint::player::display
