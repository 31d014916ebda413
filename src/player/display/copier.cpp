#include "player/display/copier.h"

#include <algorithm>
#include <cstring>

#include "orxutil/glint.h"

namespace glint::player::display {
namespace {

struct Span {
  uint8_t* dest;  // output of the rectangle's first source pixel
  int64_t dest_pitch;
  const uint8_t* source;  // the rectangle's first source pixel
  int64_t source_pitch;
  int32_t w, h;
};

// 8-bit, 1x: rows as they are.
void copy8(const Copier&, const Span& s) {
  for (int32_t j = 0; j < s.h; ++j)
    std::memcpy(s.dest + j * s.dest_pitch, s.source + j * s.source_pitch, size_t(s.w));
}

// Doubles one row into `out`: four source pixels a step, then the tail.
void double_row8(const uint8_t* in, uint8_t* out, int32_t w) {
  int32_t i = 0;
  for (; i + 4 <= w; i += 4) {
    const uint8_t a = in[i], b = in[i + 1], c = in[i + 2], d = in[i + 3];
    uint8_t* o = out + 2 * i;
    o[0] = a, o[1] = a, o[2] = b, o[3] = b, o[4] = c, o[5] = c, o[6] = d, o[7] = d;
  }
  for (; i < w; ++i) out[2 * i] = out[2 * i + 1] = in[i];
}

void copy8_double(const Copier&, const Span& s) {
  for (int32_t j = 0; j < s.h; ++j) {
    uint8_t* even = s.dest + 2 * j * s.dest_pitch;
    double_row8(s.source + j * s.source_pitch, even, s.w);
    std::memcpy(even + s.dest_pitch, even, size_t(s.w) * 2);
  }
}

// The odd output lines are never written.
void copy8_interlaced(const Copier&, const Span& s) {
  for (int32_t j = 0; j < s.h; ++j)
    double_row8(s.source + j * s.source_pitch, s.dest + 2 * j * s.dest_pitch, s.w);
}

uint16_t* row16(uint8_t* base, int64_t pitch, int64_t line) {
  return reinterpret_cast<uint16_t*>(base + line * pitch);
}

void copy16(const Copier& c, const Span& s) {
  const uint16_t* colours = c.colours.data();
  for (int32_t j = 0; j < s.h; ++j) {
    const uint8_t* in = s.source + j * s.source_pitch;
    uint16_t* out = row16(s.dest, s.dest_pitch, j);
    for (int32_t i = 0; i < s.w; ++i) out[i] = colours[in[i]];
  }
}

void double_row16(const uint16_t* colours, const uint8_t* in, uint16_t* out, int32_t w) {
  for (int32_t i = 0; i < w; ++i) out[2 * i] = out[2 * i + 1] = colours[in[i]];
}

void copy16_double(const Copier& c, const Span& s) {
  for (int32_t j = 0; j < s.h; ++j) {
    uint16_t* even = row16(s.dest, s.dest_pitch, 2 * j);
    double_row16(c.colours.data(), s.source + j * s.source_pitch, even, s.w);
    std::memcpy(row16(s.dest, s.dest_pitch, 2 * j + 1), even, size_t(s.w) * 4);
  }
}

void copy16_interlaced(const Copier& c, const Span& s) {
  for (int32_t j = 0; j < s.h; ++j)
    double_row16(c.colours.data(), s.source + j * s.source_pitch,
                 row16(s.dest, s.dest_pitch, 2 * j), s.w);
}

// Smoothing: each source pixel P becomes four outputs looked up from the
// pair table with its left (L) and upper (U) neighbours inside the
// rectangle; at the rectangle's first column or row the pixel stands in.
template <typename Pixel, bool kSixteen>
void copy_smoothed(const Pixel* pairs, const Span& s) {
  for (int32_t j = 0; j < s.h; ++j) {
    const uint8_t* in = s.source + j * s.source_pitch;
    const uint8_t* above = j == 0 ? in : in - s.source_pitch;
    Pixel* top = reinterpret_cast<Pixel*>(s.dest + 2 * j * s.dest_pitch);
    Pixel* bottom = reinterpret_cast<Pixel*>(s.dest + (2 * j + 1) * s.dest_pitch);
    for (int32_t i = 0; i < s.w; ++i) {
      const unsigned p = in[i];
      const unsigned l = i == 0 ? p : in[i - 1];
      const unsigned u = above[i];
      top[2 * i] = pairs[l << 8 | u];
      top[2 * i + 1] = pairs[p << 8 | u];
      bottom[2 * i] = pairs[l << 8 | p];
      if constexpr (kSixteen)
        bottom[2 * i + 1] = pairs[p << 8 | p];
      else
        bottom[2 * i + 1] = Pixel(p);
    }
  }
}

void copy8_smoothed(const Copier& c, const Span& s) {
  copy_smoothed<uint8_t, false>(c.pairs8.data(), s);
}
void copy16_smoothed(const Copier& c, const Span& s) {
  copy_smoothed<uint16_t, true>(c.pairs16.data(), s);
}

using CopyFunction = void (*)(const Copier&, const Span&);

struct TypeInfo {
  const char* description;
  CopyFunction copy;
  bool has_wide_form;  // described as using MMX when that is on
};

// Indexed by copy type; 4 and 5 do not exist.
constexpr TypeInfo kTypes[10] = {
    {"8-bit 1x", copy8, false},
    {"8-bit 2x", copy8_double, true},
    {"8-bit 2x Interlaced", copy8_interlaced, true},
    {"8-bit 2x Smoothing", copy8_smoothed, false},
    {nullptr, nullptr, false},
    {nullptr, nullptr, false},
    {"16-bit 1x", copy16, false},
    {"16-bit 2x", copy16_double, true},
    {"16-bit 2x Interlaced", copy16_interlaced, true},
    {"16-bit 2x Smoothing", copy16_smoothed, false},
};

bool sixteen_bit(const Copier& c) { return c.type >= kCopy16; }
bool smoothing(const Copier& c) { return c.type == kCopy8Smoothed || c.type == kCopy16Smoothed; }

void build_pairs16(const Rgb768& pal, uint32_t flags, uint16_t* table) {
  for (unsigned i = 0; i < 256; ++i)
    for (unsigned j = 0; j < 256; ++j) {
      uint8_t mean[3];
      for (int k = 0; k < 3; ++k)
        mean[k] = uint8_t(((pal[i * 3 + k] & 0xFE) + (pal[j * 3 + k] & 0xFE)) / 2);
      table[i << 8 | j] = colour16(mean[0], mean[1], mean[2], flags);
    }
}

void rebuild(Copier& c) {
  if (sixteen_bit(c) && c.colours_built_at != c.change_count) {
    for (unsigned i = 0; i < 256; ++i)
      c.colours[i] =
          colour16(c.palette[i * 3], c.palette[i * 3 + 1], c.palette[i * 3 + 2], c.flags);
    c.colours_built_at = c.change_count;
  }
  const int kind = sixteen_bit(c) ? 16 : 8;
  if (smoothing(c) && (c.pairs_built_at != c.change_count || c.pairs_kind != kind)) {
    if (c.service) c.service();
    if (kind == 8)
      build_pairs8(c.palette, c.pairs8.data());
    else
      build_pairs16(c.palette, c.flags, c.pairs16.data());
    if (c.service) c.service();
    c.pairs_built_at = c.change_count;
    c.pairs_kind = kind;
  }
}

}  // namespace

uint16_t colour16(uint8_t r, uint8_t g, uint8_t b, uint32_t flags) {
  if ((flags & kCopierFormatMask) == kCopier565)
    return uint16_t((r / 8) * 2048 + (g / 4) * 32 + b / 8);
  return uint16_t((r / 8) * 1024 + (g / 8) * 32 + b / 8);
}

void build_pairs8(const Rgb768& pal, uint8_t* table) {
  // The search walks the entries sorted by red (then index), so the walk can
  // skip or stop on the red distance alone.
  std::array<uint8_t, 256> order;
  for (unsigned i = 0; i < 256; ++i) order[i] = uint8_t(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](uint8_t a, uint8_t b) { return pal[a * 3] < pal[b * 3]; });
  for (unsigned i = 0; i < 256; ++i) {
    table[i << 8 | i] = uint8_t(i);
    for (unsigned j = i + 1; j < 256; ++j) {
      const int mr = (pal[i * 3] + pal[j * 3]) / 2;
      const int mg = (pal[i * 3 + 1] + pal[j * 3 + 1]) / 2;
      const int mb = (pal[i * 3 + 2] + pal[j * 3 + 2]) / 2;
      int best = 1 << 30;
      uint8_t nearest = 0;
      for (uint8_t e : order) {
        const int dr = pal[e * 3] - mr;
        if (dr * dr >= best) {
          if (pal[e * 3] >= mr) break;
          continue;
        }
        const int dg = pal[e * 3 + 1] - mg;
        const int db = pal[e * 3 + 2] - mb;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best) {
          best = distance;
          nearest = e;
        }
      }
      table[i << 8 | j] = table[j << 8 | i] = nearest;
    }
  }
}

int copier_type_for(uint32_t flags) {
  int type = kCopy8;
  if (flags & kCopierSmooth)
    type = kCopy8Smoothed;
  else if (flags & kCopierInterlace)
    type = kCopy8Interlaced;
  else if (flags & kCopierDouble)
    type = kCopy8Double;
  if (flags & kCopier555) type += 6;  // both 16-bit formats have the top bit
  return type;
}

std::unique_ptr<Copier> copier_open(uint32_t flags) {
  auto c = std::make_unique<Copier>();
  c->flags = flags;
  c->type = copier_type_for(flags);
  if (sixteen_bit(*c)) c->colours.assign(256, 0);
  if (c->type == kCopy8Smoothed) c->pairs8.assign(65536, 0);
  if (c->type == kCopy16Smoothed) c->pairs16.assign(65536, 0);
  return c;
}

int copier_set_palette(Copier& c, const uint8_t* entries, unsigned format) {
  const Rgb768 rgb = read_palette(entries, format);
  if (rgb == c.palette && !c.rebuild_pending) return 0;
  c.palette = rgb;
  c.rebuild_pending = false;
  ++c.change_count;
  rebuild(c);
  return sixteen_bit(c) ? 16 : 8;
}

std::string copier_describe(const Copier& c, bool wide) {
  const TypeInfo& info = kTypes[c.type];
  std::string text = info.description;
  if (wide && info.has_wide_form) text += " using MMX";
  return text;
}

std::string copier_describe(const Copier& c) { return copier_describe(c, GlintEnableMMX(2) == 1); }

int copier_scale(const Copier& c) { return c.type == kCopy8 || c.type == kCopy16 ? 1 : 2; }
int copier_pixel_bytes(const Copier& c) { return sixteen_bit(c) ? 2 : 1; }

void copier_copy(const Copier& c, uint8_t* dest, int64_t dest_pitch, int32_t x, int32_t y,
                 const uint8_t* source, int64_t source_pitch, int32_t sx, int32_t sy, int32_t w,
                 int32_t h) {
  if (w <= 0 || h <= 0 || !dest || !source) return;
  const int scale = copier_scale(c);
  const Span span{
      dest + int64_t{y} * scale * dest_pitch + int64_t{x} * scale * copier_pixel_bytes(c),
      dest_pitch,
      source + int64_t{sy} * source_pitch + sx,
      source_pitch,
      w,
      h};
  kTypes[c.type].copy(c, span);
}

}  // namespace glint::player::display
