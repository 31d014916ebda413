#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "orxutil/glint.h"
#include "player/display/copier.h"
#include "player/display/palette_format.h"

namespace d = glint::player::display;

namespace {

d::Rgb768 random_palette(uint32_t seed, bool with_duplicates) {
  std::mt19937 rng(seed);
  d::Rgb768 pal{};
  for (auto& c : pal) c = uint8_t(rng());
  if (with_duplicates)  // equal colours and equal reds make the tie-break matter
    for (int i = 0; i < 256; i += 7) {
      pal[i * 3] = pal[(i / 2) * 3];
      if (i % 14 == 0) std::memcpy(&pal[i * 3], &pal[(i / 3) * 3], 3);
    }
  return pal;
}

// Nearest entry to a colour: least squared distance, ties to the lower red,
// then the lower index (the order the table's search walks).
uint8_t nearest_oracle(const d::Rgb768& pal, int r, int g, int b) {
  int best = -1;
  long best_distance = 0;
  for (int e = 0; e < 256; ++e) {
    const long dr = pal[e * 3] - r, dg = pal[e * 3 + 1] - g, db = pal[e * 3 + 2] - b;
    const long distance = dr * dr + dg * dg + db * db;
    if (best < 0 || distance < best_distance ||
        (distance == best_distance && pal[e * 3] < pal[best * 3])) {
      best = e;
      best_distance = distance;
    }
  }
  return uint8_t(best);
}

uint32_t pair_oracle(const d::Copier& c, unsigned i, unsigned j) {
  const auto& p = c.palette;
  if (c.type == d::kCopy8Smoothed) {
    if (i == j) return i;
    return nearest_oracle(p, (p[i * 3] + p[j * 3]) / 2, (p[i * 3 + 1] + p[j * 3 + 1]) / 2,
                          (p[i * 3 + 2] + p[j * 3 + 2]) / 2);
  }
  uint8_t m[3];
  for (int k = 0; k < 3; ++k) m[k] = uint8_t(((p[i * 3 + k] & 0xFE) + (p[j * 3 + k] & 0xFE)) / 2);
  return d::colour16(m[0], m[1], m[2], c.flags);
}

uint32_t colour_of(const d::Copier& c, unsigned index) {
  if (c.type < d::kCopy16) return index;
  const auto& p = c.palette;
  const bool six = (c.flags & d::kCopierFormatMask) == d::kCopier565;
  const unsigned r = p[index * 3], g = p[index * 3 + 1], b = p[index * 3 + 2];
  return six ? (r >> 3) << 11 | (g >> 2) << 5 | b >> 3 : (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
}

// What output pixel (ox, oy) of a copied rectangle holds, or -1 when the
// copy leaves it alone.
int64_t expected(const d::Copier& c, const std::vector<uint8_t>& src, int pitch, int sx, int sy,
                 int ox, int oy) {
  const int t = c.type % 6;
  if (t == 0) return colour_of(c, src[size_t((sy + oy) * pitch + sx + ox)]);
  const int i = ox / 2, j = oy / 2, a = ox % 2, b = oy % 2;
  auto at = [&](int x, int y) -> unsigned { return src[size_t((sy + y) * pitch + sx + x)]; };
  const unsigned p = at(i, j);
  if (t == 1) return colour_of(c, p);
  if (t == 2) return b ? -1 : int64_t(colour_of(c, p));
  const unsigned l = i == 0 ? p : at(i - 1, j);
  const unsigned u = j == 0 ? p : at(i, j - 1);
  if (!a && !b) return pair_oracle(c, l, u);
  if (a && !b) return pair_oracle(c, p, u);
  if (!a && b) return pair_oracle(c, l, p);
  return c.type == d::kCopy8Smoothed ? p : pair_oracle(c, p, p);
}

TEST(Copier, TypesAndDescriptions) {
  struct Case {
    uint32_t flags;
    int type;
    const char* description;
    bool wide_suffix;
  };
  const Case cases[] = {
      {0, 0, "8-bit 1x", false},
      {d::kCopierOneX, 0, "8-bit 1x", false},
      {d::kCopierDouble, 1, "8-bit 2x", true},
      {d::kCopierInterlace | d::kCopierDouble, 2, "8-bit 2x Interlaced", true},
      {d::kCopierSmooth | d::kCopierInterlace, 3, "8-bit 2x Smoothing", false},
      {d::kCopier555, 6, "16-bit 1x", false},
      {d::kCopier565 | d::kCopierDouble, 7, "16-bit 2x", true},
      {d::kCopier555 | d::kCopierInterlace, 8, "16-bit 2x Interlaced", true},
      {d::kCopier565 | d::kCopierSmooth | d::kCopierDouble, 9, "16-bit 2x Smoothing", false},
  };
  for (const Case& k : cases) {
    auto c = d::copier_open(k.flags);
    ASSERT_EQ(c->type, k.type) << k.flags;
    EXPECT_EQ(d::copier_describe(*c, false), k.description);
    EXPECT_EQ(d::copier_describe(*c, true),
              std::string(k.description) + (k.wide_suffix ? " using MMX" : ""));
  }
  // Without a flag the decoder's switch decides.
  const int was = GlintEnableMMX(2);
  auto c = d::copier_open(d::kCopierDouble);
  GlintEnableMMX(1);
  EXPECT_EQ(d::copier_describe(*c), "8-bit 2x using MMX");
  GlintEnableMMX(0);
  EXPECT_EQ(d::copier_describe(*c), "8-bit 2x");
  GlintEnableMMX(was);
}

// Every type over a rectangle inside a larger picture, into a destination
// filled with a sentinel: each written pixel matches the reference and
// nothing outside the rectangle's output (or on an interlaced odd line) changes.
TEST(Copier, EveryTypeMatchesTheReference) {
  const uint32_t flag_sets[] = {0, d::kCopierDouble, d::kCopierInterlace, d::kCopierSmooth};
  const uint32_t formats[] = {0, d::kCopier555, d::kCopier565};
  const int pw = 23, ph = 13, sx = 3, sy = 2, w = 17, h = 9, x = 2, y = 1;
  std::mt19937 rng(7);
  std::vector<uint8_t> src(size_t(pw) * ph);
  for (auto& v : src) v = uint8_t(rng() % 24);  // few colours: many equal neighbours
  for (uint32_t format : formats)
    for (uint32_t flags : flag_sets) {
      auto c = d::copier_open(flags | format);
      const auto pal = random_palette(11, true);
      ASSERT_NE(d::copier_set_palette(*c, pal.data(), 0), 0);
      const int scale = d::copier_scale(*c), bytes = d::copier_pixel_bytes(*c);
      const int dw = (x + w) * scale + 3, dh = (y + h) * scale + 2;
      std::vector<uint8_t> dest(size_t(dw) * dh * bytes, 0xA5);
      d::copier_copy(*c, dest.data(), dw * bytes, x, y, src.data(), pw, sx, sy, w, h);
      for (int oy = 0; oy < dh; ++oy)
        for (int ox = 0; ox < dw; ++ox) {
          const uint8_t* px = &dest[size_t(oy * dw + ox) * bytes];
          const uint32_t got = bytes == 1 ? px[0] : uint32_t(px[0] | px[1] << 8);
          const int rx = ox - x * scale, ry = oy - y * scale;
          int64_t want = -1;
          if (rx >= 0 && ry >= 0 && rx < w * scale && ry < h * scale)
            want = expected(*c, src, pw, sx, sy, rx, ry);
          const uint32_t sentinel = bytes == 1 ? 0xA5u : 0xA5A5u;
          ASSERT_EQ(got, want < 0 ? sentinel : uint32_t(want))
              << d::copier_describe(*c, false) << " at " << ox << "," << oy;
        }
    }
}

TEST(Copier, PairTables) {
  // Black and white among black entries: the mean grey is nearest to the
  // first black entry in red order, entry 0.
  d::Rgb768 pal{};
  pal[3] = pal[4] = pal[5] = 255;
  auto c = d::copier_open(d::kCopierSmooth);
  d::copier_set_palette(*c, pal.data(), 0);
  EXPECT_EQ(c->pairs8[0 << 8 | 1], 0);
  EXPECT_EQ(c->pairs8[1 << 8 | 0], 0);
  EXPECT_EQ(c->pairs8[1 << 8 | 1], 1);
  // White's own pair in 5-5-5 drops each component's low bit first.
  auto c16 = d::copier_open(d::kCopierSmooth | d::kCopier555);
  d::copier_set_palette(*c16, pal.data(), 0);
  EXPECT_EQ(c16->pairs16[1 << 8 | 1], 0x7FFF);
  // A random palette with ties against the exhaustive search.
  const auto random = random_palette(3, true);
  std::vector<uint8_t> table(65536);
  d::build_pairs8(random, table.data());
  auto probe = d::copier_open(d::kCopierSmooth);
  probe->palette = random;
  for (unsigned i = 0; i < 256; i += 3)
    for (unsigned j = 0; j < 256; j += 5) {
      ASSERT_EQ(table[i << 8 | j], pair_oracle(*probe, i, j)) << i << "," << j;
      ASSERT_EQ(table[i << 8 | j], table[j << 8 | i]);
    }
}

TEST(Copier, OnePixelWideSmoothingUsesThePixelAsItsLeft) {
  d::Rgb768 pal{};
  for (int i = 0; i < 256; ++i) pal[i * 3] = pal[i * 3 + 1] = pal[i * 3 + 2] = uint8_t(i);
  auto c = d::copier_open(d::kCopierSmooth);
  d::copier_set_palette(*c, pal.data(), 0);
  const uint8_t column[2] = {40, 100};  // U = 40 above P = 100
  uint8_t out[4][2] = {};
  d::copier_copy(*c, &out[0][0], 2, 0, 0, column, 1, 0, 0, 1, 2);
  const uint8_t a = c->pairs8[100 << 8 | 40];
  EXPECT_EQ(a, 70);
  EXPECT_EQ(out[2][0], a);
  EXPECT_EQ(out[2][1], a);
  EXPECT_EQ(out[3][0], 100);
  EXPECT_EQ(out[3][1], 100);
  // The rectangle's first row has no row above: the pixel stands in.
  EXPECT_EQ(out[0][0], 40);
  EXPECT_EQ(out[1][1], 40);
}

TEST(Copier, RebuildsOnlyWhenThePaletteChanges) {
  static int services = 0;
  auto c = d::copier_open(d::kCopierSmooth | d::kCopier565);
  c->service = [] { ++services; };
  d::Rgb768 pal{};  // all black, equal to the empty stored palette: still built once
  EXPECT_EQ(d::copier_set_palette(*c, pal.data(), 0), 16);
  EXPECT_EQ(services, 2);
  EXPECT_EQ(d::copier_set_palette(*c, pal.data(), 0), 0);
  // The same colours in the display's four-byte blue-first layout change nothing.
  pal[0] = 200;
  EXPECT_EQ(d::copier_set_palette(*c, pal.data(), 0), 16);
  std::vector<uint8_t> quad(1024, 0);
  quad[2] = 200;
  EXPECT_EQ(d::copier_set_palette(*c, quad.data(), d::kPaletteFour | d::kPaletteBgr), 0);
  EXPECT_EQ(services, 4);
  EXPECT_EQ(c->colours[0], d::colour16(200, 0, 0, d::kCopier565));
  auto plain = d::copier_open(0);
  EXPECT_EQ(d::copier_set_palette(*plain, pal.data(), 0), 8);
}

TEST(PaletteFormat, EveryLayout) {
  struct Case {
    unsigned format;
    unsigned stride;
    int red, green, blue;  // byte offsets
  };
  const Case cases[] = {
      {0, 3, 0, 1, 2},   {0x2, 3, 2, 1, 0}, {0x4, 4, 0, 1, 2}, {0x6, 4, 2, 1, 0}, {0xC, 4, 1, 2, 3},
      {0xE, 4, 3, 2, 1}, {0x1, 6, 0, 2, 4}, {0x7, 8, 4, 2, 0}, {0xD, 8, 2, 4, 6},
  };
  for (const Case& k : cases) {
    ASSERT_EQ(d::palette_bytes(k.format), k.stride * 256);
    std::vector<uint8_t> bytes(k.stride * 256, 0xEE);
    for (unsigned i = 0; i < 256; ++i) {
      bytes[i * k.stride + k.red] = uint8_t(i);
      bytes[i * k.stride + k.green] = uint8_t(i + 1);
      bytes[i * k.stride + k.blue] = uint8_t(i + 2);
    }
    const auto rgb = d::read_palette(bytes.data(), k.format);
    for (unsigned i = 0; i < 256; ++i) {
      ASSERT_EQ(rgb[i * 3], uint8_t(i)) << k.format;
      ASSERT_EQ(rgb[i * 3 + 1], uint8_t(i + 1));
      ASSERT_EQ(rgb[i * 3 + 2], uint8_t(i + 2));
    }
  }
}

}  // namespace
