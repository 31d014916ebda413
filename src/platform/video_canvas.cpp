#include "platform/video_canvas.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

namespace glint::platform {

Rect clip_rect(Rect r, int32_t width, int32_t height) {
  const int64_t x0 = std::max<int64_t>(r.x, 0);
  const int64_t y0 = std::max<int64_t>(r.y, 0);
  const int64_t x1 = std::min<int64_t>(int64_t{r.x} + std::max<int32_t>(r.w, 0), width);
  const int64_t y1 = std::min<int64_t>(int64_t{r.y} + std::max<int32_t>(r.h, 0), height);
  if (x1 <= x0 || y1 <= y0) return Rect{static_cast<int32_t>(x0), static_cast<int32_t>(y0), 0, 0};
  return Rect{static_cast<int32_t>(x0), static_cast<int32_t>(y0), static_cast<int32_t>(x1 - x0),
              static_cast<int32_t>(y1 - y0)};
}

void canvas_resize(Canvas& canvas, int32_t width, int32_t height) {
  canvas.width = std::max(width, 0);
  canvas.height = std::max(height, 0);
  const size_t count = size_t(canvas.width) * size_t(canvas.height);
  canvas.rgb.assign(count, 0);
  if (!canvas.surface.empty()) canvas.surface.assign(count, 0);
}

Rect canvas_present8(Canvas& canvas, const Picture8& picture, Rect src, Rect dst, Rect clip,
                     const uint8_t* palette_rgb) {
  if (!picture.top_row || !palette_rgb || picture.width <= 0 || picture.height <= 0) return {};
  // The scale comes from the rectangles as asked; only the pixels that fall
  // inside both the picture and the canvas are touched.
  if (src.w <= 0 || src.h <= 0 || dst.w <= 0 || dst.h <= 0) return {};
  Rect out = clip_rect(dst, canvas.width, canvas.height);
  // The clip rectangle, relative to the canvas, narrows it further.
  const int64_t cx1 =
      std::min<int64_t>(int64_t{out.x} + out.w, int64_t{clip.x} + std::max(clip.w, 0));
  const int64_t cy1 =
      std::min<int64_t>(int64_t{out.y} + out.h, int64_t{clip.y} + std::max(clip.h, 0));
  const int64_t cx0 = std::max<int64_t>(out.x, clip.x), cy0 = std::max<int64_t>(out.y, clip.y);
  if (cx1 <= cx0 || cy1 <= cy0) return {};
  out = Rect{int32_t(cx0), int32_t(cy0), int32_t(cx1 - cx0), int32_t(cy1 - cy0)};
  if (out.w == 0 || out.h == 0) return {};
  uint32_t colours[256];
  for (int i = 0; i < 256; ++i)
    colours[i] = uint32_t{palette_rgb[i * 3]} << 16 | uint32_t{palette_rgb[i * 3 + 1]} << 8 |
                 palette_rgb[i * 3 + 2];
  std::vector<int32_t> columns(size_t(out.w));
  for (int32_t i = 0; i < out.w; ++i) {
    const int64_t sx = int64_t{src.x} + (int64_t{out.x} + i - dst.x) * src.w / dst.w;
    columns[size_t(i)] = sx < 0 || sx >= picture.width ? -1 : static_cast<int32_t>(sx);
  }
  for (int32_t j = 0; j < out.h; ++j) {
    const int64_t sy = int64_t{src.y} + (int64_t{out.y} + j - dst.y) * src.h / dst.h;
    if (sy < 0 || sy >= picture.height) continue;
    const uint8_t* row = picture.top_row + sy * int64_t{picture.pitch};
    uint32_t* target = canvas.rgb.data() + size_t(out.y + j) * size_t(canvas.width) + size_t(out.x);
    for (int32_t i = 0; i < out.w; ++i)
      if (columns[size_t(i)] >= 0) target[i] = colours[row[columns[size_t(i)]]];
  }
  return out;
}

void canvas_fill_black(Canvas& canvas, Rect area) {
  const Rect r = clip_rect(area, canvas.width, canvas.height);
  const bool surface = canvas.surface.size() == canvas.rgb.size();
  for (int32_t j = 0; j < r.h; ++j) {
    const ptrdiff_t start = ptrdiff_t(size_t(r.y + j) * size_t(canvas.width) + size_t(r.x));
    std::fill_n(canvas.rgb.begin() + start, r.w, 0u);
    if (surface) std::fill_n(canvas.surface.begin() + start, r.w, uint16_t{0});
  }
}

Surface canvas_surface(Canvas& canvas, uint32_t format) {
  const size_t count = size_t(canvas.width) * size_t(canvas.height);
  if (canvas.surface.size() != count) canvas.surface.assign(count, 0);
  canvas.surface_format = format;
  return Surface{canvas.surface.data(), canvas.width * 2, canvas.width, canvas.height, format};
}

uint32_t rgb_from_16(uint16_t pixel, uint32_t format) {
  uint32_t r, g, b;
  if (format == kSurface555) {
    r = (pixel >> 10) & 31;
    g = (pixel >> 5) & 31;
    b = pixel & 31;
    g = (g << 3) | (g >> 2);
  } else {
    r = (pixel >> 11) & 31;
    g = (pixel >> 5) & 63;
    b = pixel & 31;
    g = (g << 2) | (g >> 4);
  }
  r = (r << 3) | (r >> 2);
  b = (b << 3) | (b >> 2);
  return r << 16 | g << 8 | b;
}

Rect canvas_surface_to_rgb(Canvas& canvas, Rect dirty) {
  const Rect r = clip_rect(dirty, canvas.width, canvas.height);
  if (canvas.surface.size() != canvas.rgb.size()) return {};
  for (int32_t j = 0; j < r.h; ++j) {
    const size_t base = size_t(r.y + j) * size_t(canvas.width) + size_t(r.x);
    for (int32_t i = 0; i < r.w; ++i)
      canvas.rgb[base + size_t(i)] =
          rgb_from_16(canvas.surface[base + size_t(i)], canvas.surface_format);
  }
  return r;
}

void canvas_read_rgb(const Canvas& canvas, uint8_t* rgb) {
  for (uint32_t pixel : canvas.rgb) {
    *rgb++ = uint8_t(pixel >> 16);
    *rgb++ = uint8_t(pixel >> 8);
    *rgb++ = uint8_t(pixel);
  }
}

bool write_ppm(const std::string& path, const Canvas& canvas) {
  const std::string temp = path + ".tmp";
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  std::vector<uint8_t> bytes(canvas.rgb.size() * 3);
  canvas_read_rgb(canvas, bytes.data());
  bool ok = std::fprintf(f, "P6\n%d %d\n255\n", canvas.width, canvas.height) > 0;
  ok = ok && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(temp.c_str());
  return ok;
}

}  // namespace glint::platform
