// Where decoded pictures go: the caller's 8-bit buffer as GlintSetOutput
// describes it, and the change map of the last decoded frame.
#pragma once

#include <cstdint>
#include <vector>

namespace glint::glinter {

struct OutputDescriptor {
  uint8_t* buffer = nullptr;
  int64_t pitch = 0;
  uint32_t buffer_height = 0;
  uint32_t dest_x = 0;
  uint32_t dest_y = 0;
  bool bottom_up = false;

  uint32_t blocks_per_row = 0;
  uint32_t block_rows = 0;
  bool interlaced = false;  // coded rows go to every other line
  bool doubled = false;     // each coded row goes to two lines
  bool version4 = false;    // "GNT4": full blocks carry the extra form bits

  // The whole picture fits the buffer: blocks are stored without checks.
  bool fits = false;
  uint8_t* start = nullptr;    // picture's first pixel (fast path)
  int64_t coded_row_step = 0;  // from one coded row to the next
  int64_t duplicate_step = 0;  // doubled pictures: to the second copy of a row

  // One byte per 16 blocks in raster order, plus slack for the end mark.
  std::vector<uint8_t> change_map;
};

// Fills the geometry fields and decides between the fast and clipping paths.
void configure_output(OutputDescriptor& out, uint32_t width, uint32_t coded_height, bool interlaced,
                      bool doubled, bool version4);

}  // namespace glint::glinter
