#include "player/display/display_palette.h"

#include "player/display/display_blit.h"

namespace glint::player::display {

int display_set_palette(Display& d, const uint8_t* entries, unsigned format) {
  d.palette_changed = true;
  if (d.palette_size < 256 || !entries) return 0;
  const Rgb768 asked = read_palette(entries, format);
  for (int i = 0; i < 256; ++i) {
    const size_t c = size_t(i) * 3;
    uint8_t r = d.system_colours[c], g = d.system_colours[c + 1], b = d.system_colours[c + 2];
    if (i >= d.static_low && i < d.static_high) {
      r = asked[c];
      g = asked[c + 1];
      b = asked[c + 2];
      // A colour equal to one the system keeps at the top would be merged
      // with it on a palette screen; one step of red keeps it apart.
      for (int k = d.static_high; k < 256; ++k) {
        const size_t s = size_t(k) * 3;
        if (d.system_colours[s] == r && d.system_colours[s + 1] == g &&
            d.system_colours[s + 2] == b) {
          r = (r & 3) == 3 ? uint8_t(r - 1) : uint8_t(r + 1);
          break;
        }
      }
    }
    d.palette[size_t(i) * 4] = b;
    d.palette[size_t(i) * 4 + 1] = g;
    d.palette[size_t(i) * 4 + 2] = r;
    d.palette[size_t(i) * 4 + 3] = 0;
  }
  if (d.copier) return copier_set_palette(*d.copier, d.palette.data(), kPaletteFour | kPaletteBgr);
  return 0;
}

int display_realize_palette(Display& d) {
  int changed = 0;
  for (int i = 0; i < 256; ++i) {
    const uint8_t r = d.palette[size_t(i) * 4 + 2], g = d.palette[size_t(i) * 4 + 1],
                  b = d.palette[size_t(i) * 4];
    uint8_t* shown = &d.shown[size_t(i) * 3];
    if (shown[0] != r || shown[1] != g || shown[2] != b) {
      ++changed;
      shown[0] = r;
      shown[1] = g;
      shown[2] = b;
    }
  }
  if (d.palette_changed) {
    d.palette_changed = false;
    if (changed) d.redraw_all = true;
  }
  return changed;
}

void display_update_screen(Display& d) {
  display_realize_palette(d);
  if (d.redraw_all) display_blit(d, 0, 0, 0, 0, d.width, d.height);
}

}  // namespace glint::player::display
