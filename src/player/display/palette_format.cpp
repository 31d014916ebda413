#include "player/display/palette_format.h"

namespace glint::player::display {
namespace {

struct Layout {
  unsigned stride;
  unsigned red, green, blue;
};

Layout layout_of(unsigned format) {
  Layout l{3, 0, 1, 2};
  if (format & kPaletteFour) {
    l.stride = 4;
    if (format & kPaletteSkipOne) l = Layout{4, 1, 2, 3};
  }
  if (format & kPaletteBgr) {
    const unsigned first = l.red;
    l.red = l.blue;
    l.blue = first;
  }
  if (format & kPaletteWide) {
    l.stride *= 2;
    l.red *= 2;
    l.green *= 2;
    l.blue *= 2;
  }
  return l;
}

}  // namespace

unsigned palette_bytes(unsigned format) { return layout_of(format).stride * 256; }

Rgb768 read_palette(const uint8_t* entries, unsigned format) {
  const Layout l = layout_of(format);
  Rgb768 out{};
  for (unsigned i = 0; i < 256; ++i) {
    const uint8_t* e = entries + i * l.stride;
    out[i * 3] = e[l.red];
    out[i * 3 + 1] = e[l.green];
    out[i * 3 + 2] = e[l.blue];
  }
  return out;
}

}  // namespace glint::player::display
