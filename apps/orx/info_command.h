// orx info FILE.gnt: header, tracks, frame count and rate, size statistics.
#pragma once

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "orxutil/glint.h"

namespace orx {

inline void print_track(unsigned k, uint32_t format) {
  uint32_t rate = format & 0xFFFFFF;
  bool present = ((format >> 30) & 1 || (format >> 26) & 1) && rate != 0;
  if (!present) return;
  const char* coding = (format >> 31) & 1
                           ? ((format >> 26) & 3 ? "transform coded" : "Huffman/delta coded")
                           : "raw PCM";
  std::printf("track %u:        %u Hz, %s, %s, %s\n", k, rate,
              (format >> 29) & 1 ? "16-bit" : "8-bit", (format >> 28) & 1 ? "stereo" : "mono",
              coding);
}

inline int info_command(const char* name) {
  Glint* glint = GlintOpen(name, 0, 0);
  if (!glint) {
    std::fprintf(stderr, "orx: %s is not a readable Glinter file\n", name);
    return 1;
  }
  const bool ring = glint->header_flags & GLINT_HEADER_RING;
  const char* geometry = glint->mode_flags & GLINT_INTERLACED ? ", interlaced"
                         : glint->mode_flags & GLINT_DOUBLED  ? ", line-doubled"
                                                              : "";
  std::printf("file:           %s\n", name);
  std::printf("version:        %.4s\n", glint->magic);
  std::printf("picture:        %u x %u%s\n", glint->width, glint->height, geometry);
  std::printf("frames:         %u%s\n", glint->frame_count, ring ? " (plus a ring frame)" : "");
  const int32_t period = glint->frame_period;
  if (period == 0) {
    std::printf("frame period:   none (no frame timing)\n");
  } else {
    double ms = period > 0 ? double(period) : -double(period) / 100.0;
    std::printf("frame period:   %.2f ms (%.3f frames/s)\n", ms, 1000.0 / ms);
  }
  for (unsigned k = 0; k < GLINT_TRACKS; ++k) print_track(k, glint->track_format[k]);
  uint64_t total = 0, palettes = 0;
  uint32_t entry = 0, type = 0, count = 0;
  for (uint32_t f = 0; GlintFrameInfo(glint, f, &entry, &type); ++f, ++count) {
    total += entry & ~3u;
    palettes += type & 1;
  }
  std::printf("frame data:     %" PRIu64 " bytes, %" PRIu64 " palette changes\n", total, palettes);
  std::printf("average frame:  %" PRIu64 " bytes\n", count ? total / count : 0);
  std::printf("largest frame:  %u bytes\n", glint->largest_frame_bytes);
  std::printf("peak second:    %u bytes from frame %u\n", glint->peak_second_bytes,
              glint->peak_second_frame);
  GlintClose(glint);
  return 0;
}

}  // namespace orx
