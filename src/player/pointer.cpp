#include "player/pointer.h"

#include <algorithm>
#include <vector>

#include "player/bitmaps.h"
#include "player/display/display_blit.h"
#include "player/display/draw8.h"
#include "player/display/screen.h"
#include "player/mouse_areas.h"

namespace glint::player {
namespace {

namespace d = display;

// The pixels to draw: a bitmap's (key 0) or the arrow in the palette's
// colours.
struct ImagePixels {
  const uint8_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  uint8_t key = 0;
  std::vector<uint8_t> arrow;
};

void update_colours(PointerState& pointer) {
  const d::Screen& s = d::screen();
  if (pointer.colours_known && pointer.palette_changes == s.palette_changes) return;
  const ArrowColours c = arrow_colours(d::darkest_index(s.palette), d::brightest_index(s.palette));
  pointer.outline = c.outline;
  pointer.fill = c.fill;
  pointer.key = c.key;
  pointer.palette_changes = s.palette_changes;
  pointer.colours_known = true;
}

// A pointer bitmap that was freed (or whose slot now holds another one)
// gives way to the arrow.
const Bitmap* pointer_bitmap(Player& player, const PointerImage& image) {
  if (image.bitmap == 0) return nullptr;
  return find_bitmap(player, image.bitmap, image.serial);
}

ImagePixels image_pixels(Player& player, PointerState& pointer) {
  ImagePixels out;
  if (const Bitmap* b = pointer_bitmap(player, pointer.image)) {
    out.pixels = b->pixels.data();
    out.width = b->width;
    out.height = b->height;
    out.key = 0;
    return out;
  }
  pointer.image = PointerImage{};
  update_colours(pointer);
  out.arrow.resize(std::size_t(kArrowWidth) * kArrowHeight);
  for (int32_t row = 0; row < kArrowHeight; ++row)
    for (int32_t col = 0; col < kArrowWidth; ++col) {
      const char c = kArrowRows[row][col];
      out.arrow[std::size_t(row) * kArrowWidth + std::size_t(col)] = c == 'o'   ? pointer.outline
                                                                     : c == '#' ? pointer.fill
                                                                                : pointer.key;
    }
  out.pixels = out.arrow.data();
  out.width = kArrowWidth;
  out.height = kArrowHeight;
  out.key = pointer.key;
  return out;
}

void show(d::Display& display, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (w > 0 && h > 0) d::display_blit(display, 0, 0, x, y, w, h);
}

}  // namespace

const char* const kArrowRows[kArrowHeight] = {
    "o.........", "oo........", "o#o.......", "o##o......", "o###o.....",
    "o####o....", "o#####o...", "o######o..", "o#######o.", "o########o",
    "o#####oooo", "o##o##o...", "o#o.o##o..", "oo..o##o..", ".....o##o.",
    ".....o##o.", "......o##o", "......o##o", ".......oo.",
};

ArrowColours arrow_colours(int darkest, int brightest) {
  ArrowColours c;
  c.outline = uint8_t(darkest);
  c.fill = uint8_t(brightest);
  if (darkest == 0)
    c.key = brightest == 1 ? 2 : 1;
  else if (darkest == 1)
    c.key = brightest == 0 ? 0 : 2;
  else
    c.key = brightest == 1 ? 0 : 1;
  return c;
}

void remove_pointer(Player& player) {
  if (!player.input) return;
  PointerState& pointer = player.input->pointer;
  if (!pointer.drawn) return;
  pointer.drawn = false;
  d::Display* display = d::window_display();
  if (!display || pointer.display_generation != d::screen().display_generation) return;
  const int32_t x = pointer.saved_x, y = pointer.saved_y, w = pointer.saved_w, h = pointer.saved_h;
  if (x < 0 || y < 0 || w <= 0 || h <= 0 || int64_t{x} + w > display->width ||
      int64_t{y} + h > display->height || pointer.saved.size() != std::size_t(w) * std::size_t(h))
    return;
  for (int32_t row = 0; row < h; ++row)
    std::copy_n(&pointer.saved[std::size_t(row) * std::size_t(w)], std::size_t(w),
                d::display_row(*display, y + row) + x);
  show(*display, x, y, w, h);
}

void remove_pointer_over(Player& player, int64_t x, int64_t y, int64_t w, int64_t h) {
  if (!player.input || !player.input->pointer.drawn) return;
  const PointerState& p = player.input->pointer;
  if (w <= 0 || h <= 0) return;
  const bool overlaps = x < int64_t{p.saved_x} + p.saved_w && int64_t{p.saved_x} < x + w &&
                        y < int64_t{p.saved_y} + p.saved_h && int64_t{p.saved_y} < y + h;
  if (overlaps) remove_pointer(player);
}

void forget_pointer(Player& player) {
  if (!player.input) return;
  PointerState& pointer = player.input->pointer;
  pointer.drawn = false;
  pointer.saved.clear();
  pointer.colours_known = false;
}

void reset_input_for_new_window(Player& player) {
  InputState& input = input_state(player);
  remove_level_areas(input);
  input.pointer.image = PointerImage{};
  forget_pointer(player);
}

void pointer_size(Player& player, const PointerImage& image, int32_t* w, int32_t* h) {
  if (const Bitmap* b = pointer_bitmap(player, image)) {
    *w = b->width;
    *h = b->height;
    return;
  }
  *w = kArrowWidth;
  *h = kArrowHeight;
}

void choose_pointer_image(Player& player, int64_t x, int64_t y) {
  InputState& input = input_state(player);
  const MouseArea* area = mouse_area_at(input, x, y);
  input.pointer.image =
      area && area->bitmap != 0 ? PointerImage{area->bitmap, area->bitmap_serial} : PointerImage{};
}

void clamp_mouse_position(Player& player, int64_t x, int64_t y, int32_t* out_x, int32_t* out_y) {
  InputState& input = input_state(player);
  const d::Display* display = d::window_display();
  const int64_t screen_w = display ? display->width : 0;
  const int64_t screen_h = display ? display->height : 0;
  int32_t w = 0, h = 0;
  pointer_size(player, input.pointer.image, &w, &h);
  const int64_t max_x = w > 0 ? screen_w - w : screen_w - 1;
  const int64_t max_y = h > 0 ? screen_h - h : screen_h - 1;
  // A pointer wider or higher than the screen sits at the left or top edge.
  *out_x = int32_t(std::max<int64_t>(0, std::min(x, max_x)));
  *out_y = int32_t(std::max<int64_t>(0, std::min(y, max_y)));
}

void draw_pointer(Player& player) {
  InputState& input = input_state(player);
  PointerState& pointer = input.pointer;
  d::Display* display = d::window_display();
  if (!display) {
    pointer.drawn = false;
    return;
  }
  if (input.mouse_x == -1 && input.mouse_y == -1) return;
  const ImagePixels image = image_pixels(player, pointer);
  if (pointer.drawn && pointer.display_generation == d::screen().display_generation &&
      pointer.x == input.mouse_x && pointer.y == input.mouse_y &&
      pointer.drawn_image == pointer.image &&
      (pointer.image.bitmap != 0 || pointer.drawn_palette_changes == pointer.palette_changes))
    return;
  remove_pointer(player);

  // Only the part of the image on the screen is saved and drawn.
  const int64_t x0 = std::max<int64_t>(input.mouse_x, 0);
  const int64_t y0 = std::max<int64_t>(input.mouse_y, 0);
  const int64_t x1 = std::min<int64_t>(int64_t{input.mouse_x} + image.width, display->width);
  const int64_t y1 = std::min<int64_t>(int64_t{input.mouse_y} + image.height, display->height);
  pointer.x = input.mouse_x;
  pointer.y = input.mouse_y;
  pointer.drawn_image = pointer.image;
  pointer.drawn_palette_changes = pointer.palette_changes;
  pointer.display_generation = d::screen().display_generation;
  if (x1 <= x0 || y1 <= y0) {
    pointer.saved.clear();
    pointer.saved_x = pointer.saved_y = pointer.saved_w = pointer.saved_h = 0;
    pointer.drawn = true;
    return;
  }
  pointer.saved_x = int32_t(x0);
  pointer.saved_y = int32_t(y0);
  pointer.saved_w = int32_t(x1 - x0);
  pointer.saved_h = int32_t(y1 - y0);
  pointer.saved.assign(std::size_t(pointer.saved_w) * std::size_t(pointer.saved_h), 0);
  for (int32_t row = 0; row < pointer.saved_h; ++row) {
    uint8_t* screen_row = d::display_row(*display, pointer.saved_y + row) + pointer.saved_x;
    std::copy_n(screen_row, std::size_t(pointer.saved_w),
                &pointer.saved[std::size_t(row) * std::size_t(pointer.saved_w)]);
    const int64_t image_row = pointer.saved_y + row - int64_t{input.mouse_y};
    const uint8_t* from =
        image.pixels + image_row * image.width + (int64_t{pointer.saved_x} - input.mouse_x);
    for (int32_t i = 0; i < pointer.saved_w; ++i)
      if (from[i] != image.key) screen_row[i] = from[i];
  }
  pointer.drawn = true;
  show(*display, pointer.saved_x, pointer.saved_y, pointer.saved_w, pointer.saved_h);
}

}  // namespace glint::player
