// The raw frame file ("RAWB"): a header of frame count, width, height and
// frame period, then per frame 32-bit tags: 0 = a 768-byte palette follows
// (then another tag), 1 = the frame's pixels follow (ending the frame), any
// other tag ends the frame with the previous picture kept.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace orx {

struct RawFrames {
  uint32_t width = 0, height = 0;
  int32_t period = 0;  // > 0 units of 10 us; <= 0 magnitude in ms
  std::vector<std::vector<uint8_t>> pictures;
  std::vector<std::vector<uint8_t>> palettes;  // 768 bytes each
};

// The same period as a Glinter frame period (> 0 ms, < 0 units of 10 us).
inline int32_t glinter_period(int32_t raw_period) {
  if (raw_period > 0) return -raw_period;
  return raw_period == INT32_MIN ? INT32_MAX : -raw_period;
}

inline bool read_u32(FILE* file, uint32_t& value) {
  uint8_t b[4];
  if (std::fread(b, 1, 4, file) != 4) return false;
  value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
  return true;
}

// Reads the whole file; on failure returns false with a reason.
inline bool read_raw_frames(const char* name, RawFrames& out, std::string& error) {
  FILE* file = std::fopen(name, "rb");
  if (!file) {
    error = std::string("cannot open ") + name;
    return false;
  }
  struct Closer {
    FILE* f;
    ~Closer() { std::fclose(f); }
  } closer{file};
  char magic[4];
  uint32_t count = 0, period = 0;
  if (std::fread(magic, 1, 4, file) != 4 || std::memcmp(magic, "RAWB", 4) != 0) {
    error = std::string(name) + " is not a raw frame file (RAWB)";
    return false;
  }
  if (!read_u32(file, count) || !read_u32(file, out.width) || !read_u32(file, out.height) ||
      !read_u32(file, period)) {
    error = std::string(name) + ": header cut short";
    return false;
  }
  out.period = int32_t(period);
  const uint64_t pixels = uint64_t(out.width) * out.height;
  if (pixels == 0 || pixels > (uint64_t(1) << 28)) {
    error = std::string(name) + ": bad picture size";
    return false;
  }
  std::vector<uint8_t> picture(pixels, 0);
  std::vector<uint8_t> palette(768, 0);
  for (uint32_t f = 0; f < count; ++f) {
    for (;;) {
      uint32_t tag = 0;
      if (!read_u32(file, tag)) {
        error = std::string(name) + ": frame " + std::to_string(f + 1) + " cut short";
        return false;
      }
      if (tag == 0) {
        if (std::fread(palette.data(), 1, 768, file) != 768) {
          error = std::string(name) + ": palette cut short";
          return false;
        }
        continue;
      }
      if (tag == 1 && std::fread(picture.data(), 1, picture.size(), file) != picture.size()) {
        error = std::string(name) + ": pixels of frame " + std::to_string(f + 1) + " cut short";
        return false;
      }
      break;
    }
    out.pictures.push_back(picture);
    out.palettes.push_back(palette);
  }
  return true;
}

}  // namespace orx
