// Getting decoded animation frames onto the screen: pointing the decoder at
// its buffer, copying the changed rectangles to the window, and taking a
// frame's palette into the screen palette through the locks.
#pragma once

#include <cstdint>
#include <vector>

#include "orxutil/glint.h"
#include "player/display/screen_patch.h"
#include "player/player.h"

namespace glint::player {

// Where the decoder writes the next frame and how that reaches the window.
struct FrameOutput {
  enum class Kind : uint8_t {
    kNothing,        // no buffer: the picture is not decoded
    kScreen,         // straight into the screen buffer at (x, y)
    kScreenClipped,  // into a private picture, then its visible part to (x, y)
    kBuffer,         // into a bitmap or an off-screen picture at (0, 0)
  };
  Kind kind = Kind::kNothing;
  int32_t x = 0, y = 0;
  const uint8_t* picture = nullptr;  // kScreenClipped: width x height, rows top to bottom
  int32_t width = 0, height = 0;
};

// The screen buffer with the picture at (x, y). A picture that starts left
// of or above the screen is decoded into `frame_buffer` (kept by the caller
// from frame to frame) and only its visible part is copied. Without a
// window nothing is decoded.
FrameOutput bind_screen_output(Glint* glint, int64_t x, int64_t y,
                               std::vector<uint8_t>& frame_buffer);
// A width x height picture at (0, 0); the decoder clips to it.
FrameOutput bind_buffer_output(Glint* glint, uint8_t* pixels, int32_t width, int32_t height);
FrameOutput bind_no_output(Glint* glint);

// Copies the changed rectangles of the frame just decoded to the window,
// collected in the display's deferred list and drawn together.
void show_decoded_frame(Glint* glint, const FrameOutput& output);

// With a new palette in the current frame that differs from the screen
// palette: its unlocked entries go into the screen palette, which goes to
// the display. True when that happened.
bool update_screen_palette(Player& player, const Glint& glint);

using display::ScreenArea;
using display::visible_area;

}  // namespace glint::player
