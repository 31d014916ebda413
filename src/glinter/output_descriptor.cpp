#include "glinter/output_descriptor.h"

namespace glint::glinter {

void configure_output(OutputDescriptor& out, uint32_t width, uint32_t coded_height, bool interlaced,
                      bool doubled, bool version4) {
  out.blocks_per_row = width / 4;
  out.block_rows = coded_height / 4;
  out.interlaced = interlaced;
  out.doubled = doubled;
  out.version4 = version4;

  uint64_t blocks = uint64_t(out.blocks_per_row) * out.block_rows;
  out.change_map.assign(blocks / 16 + 32, 0);

  const uint64_t coded_width = uint64_t(out.blocks_per_row) * 4;
  const uint64_t coded_rows = uint64_t(out.block_rows) * 4;
  // Lines from the first to the last one written, inclusive.
  uint64_t span = coded_rows;
  if (coded_rows && interlaced) span = 2 * coded_rows - 1;
  if (doubled) span = 2 * coded_rows;

  const int64_t sign = out.bottom_up ? -1 : 1;
  const int64_t line_step = out.pitch * sign;
  out.coded_row_step = (interlaced || doubled) ? 2 * line_step : line_step;
  out.duplicate_step = doubled ? line_step : 0;

  out.fits = out.buffer && out.pitch > 0 &&
             uint64_t(out.dest_x) + coded_width <= uint64_t(out.pitch) &&
             uint64_t(out.dest_y) + span <= out.buffer_height;
  out.start = nullptr;
  if (out.fits && span > 0) {
    uint64_t line = out.bottom_up ? out.buffer_height - out.dest_y - 1 : out.dest_y;
    out.start = out.buffer + line * uint64_t(out.pitch) + out.dest_x;
  }
}

}  // namespace glint::glinter
