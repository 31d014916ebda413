// A window's client area kept in memory: what the user sees as 0x00RRGGBB
// pixels, and the 16-bit surface that accelerated copies write into. Both
// back-ends keep one per window; the SDL back-end uploads it to textures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/video.h"

namespace glint::platform {

struct Canvas {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> rgb;      // width x height, top row first
  std::vector<uint16_t> surface;  // width x height once locked, top row first
  uint32_t surface_format = kSurfaceNone;
};

// The part of `r` inside a width x height area (w or h 0 when nothing is left).
Rect clip_rect(Rect r, int32_t width, int32_t height);

// Makes the canvas w x h (negative sizes count as 0), all black.
void canvas_resize(Canvas& canvas, int32_t width, int32_t height);

// Draws the part inside `clip` of the picture's `src` rectangle scaled onto
// `dst`: each output pixel takes the source pixel at the same relative
// position, truncated. Returns the part of the canvas that changed.
Rect canvas_present8(Canvas& canvas, const Picture8& picture, Rect src, Rect dst, Rect clip,
                     const uint8_t* palette_rgb);

// Blackens part of both the visible pixels and the 16-bit surface.
void canvas_fill_black(Canvas& canvas, Rect area);

// Allocates the 16-bit surface on first use.
Surface canvas_surface(Canvas& canvas, uint32_t format);
// Converts the `dirty` part of the surface into the visible pixels.
Rect canvas_surface_to_rgb(Canvas& canvas, Rect dirty);

// 0x00RRGGBB of a 16-bit pixel (components widened by repeating their top bits).
uint32_t rgb_from_16(uint16_t pixel, uint32_t format);

void canvas_read_rgb(const Canvas& canvas, uint8_t* rgb);

// Writes the canvas as a binary PPM; through a temporary file in the same
// directory, renamed on success. False on any failure.
bool write_ppm(const std::string& path, const Canvas& canvas);

}  // namespace glint::platform
