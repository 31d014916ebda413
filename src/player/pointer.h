// The software pointer the player draws itself while a wait command runs:
// the default arrow or the bitmap of the mouse area under it, drawn into the
// screen buffer over saved pixels that are put back when it goes.
#pragma once

#include <cstdint>

#include "player/input_state.h"
#include "player/player.h"

namespace glint::player {

// The default arrow: 10 x 19 pixels, 'o' outline, '#' fill, '.' transparent.
inline constexpr int32_t kArrowWidth = 10;
inline constexpr int32_t kArrowHeight = 19;
extern const char* const kArrowRows[kArrowHeight];

// Puts back the screen pixels under the pointer, if it is drawn, and marks
// it not drawn. Every command that draws on or reads the screen calls this
// (or remove_pointer_over) first.
void remove_pointer(Player& player);
// The same, only when the drawn pointer overlaps the rectangle (screen
// pixels).
void remove_pointer_over(Player& player, int64_t x, int64_t y, int64_t w, int64_t h);
// Marks the pointer not drawn without touching the screen (its pixels are
// gone with a new or cleared screen) and has its colours recomputed.
void forget_pointer(Player& player);

// SCREENGRAPHICS made a window: the current level's areas go, the pointer
// shows the arrow again and is not drawn.
void reset_input_for_new_window(Player& player);

// The arrow's colours for this palette: outline the darkest index, fill the
// brightest, and a transparent key apart from both.
struct ArrowColours {
  uint8_t outline = 0;
  uint8_t fill = 0;
  uint8_t key = 0;
};
ArrowColours arrow_colours(int darkest, int brightest);

// The image's size (the arrow's when the image is the arrow or a bitmap
// that is gone).
void pointer_size(Player& player, const PointerImage& image, int32_t* w, int32_t* h);
// The pointer image becomes the bitmap of the newest visible area at the
// point, or the arrow.
void choose_pointer_image(Player& player, int64_t x, int64_t y);
// Keeps a mouse position where the whole pointer fits on the screen (0 at
// most from the left and top edges).
void clamp_mouse_position(Player& player, int64_t x, int64_t y, int32_t* out_x, int32_t* out_y);
// Draws the pointer at the mouse position (nothing at (-1, -1) or without
// a window); moves it there when it is drawn elsewhere.
void draw_pointer(Player& player);

}  // namespace glint::player
