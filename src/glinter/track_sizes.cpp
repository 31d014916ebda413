#include "glinter/track_sizes.h"

#include <algorithm>

namespace glint::glinter {

namespace {
uint64_t round_up(uint64_t value, uint64_t step) { return (value + step - 1) / step * step; }
}  // namespace

TrackSizes track_sizes(uint32_t format, uint32_t period_10us, uint32_t frames) {
  TrackSizes sizes;
  const uint64_t channels = (format >> 28) & 1 ? 2 : 1;
  const uint64_t sample_bytes = (format >> 29) & 1 ? 2 : 1;
  const uint64_t rate = format & 0xFFFFFF;
  sizes.byte_rate = rate * channels * sample_bytes;
  sizes.frame_bytes_q10 = (sizes.byte_rate * period_10us << 10) / 100000;
  const uint64_t frame_bytes = sizes.frame_bytes_q10 >> 10;
  sizes.ring_bytes = std::max<uint64_t>(round_up(2 * frame_bytes + sizes.byte_rate, 4096), 8192);
  const uint64_t whole = round_up(sizes.byte_rate * period_10us * frames / 100000, 4);
  sizes.start_threshold =
      std::min({sizes.ring_bytes, round_up(frame_bytes + sizes.byte_rate, 4), whole});
  return sizes;
}

}  // namespace glint::glinter
