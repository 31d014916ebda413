#include "glinter/track_sizes.h"

#include <algorithm>

namespace glint::glinter {

namespace {
uint64_t round_up(uint64_t value, uint64_t step) { return (value + step - 1) / step * step; }

// Products of a damaged header can pass 64 bits: they saturate instead,
// so that the sizes come out too large to allocate rather than small.
constexpr uint64_t kSaturated = uint64_t(1) << 60;
uint64_t scaled(uint64_t a, uint64_t b, uint64_t c, uint64_t divisor) {
  const unsigned __int128 value = (unsigned __int128)a * b * c / divisor;
  return value > kSaturated ? kSaturated : uint64_t(value);
}
}  // namespace

TrackSizes track_sizes(uint32_t format, uint32_t period_10us, uint32_t frames) {
  TrackSizes sizes;
  const uint64_t channels = (format >> 28) & 1 ? 2 : 1;
  const uint64_t sample_bytes = (format >> 29) & 1 ? 2 : 1;
  const uint64_t rate = format & 0xFFFFFF;
  sizes.byte_rate = rate * channels * sample_bytes;
  sizes.frame_bytes_q10 = scaled(sizes.byte_rate, period_10us, 1024, 100000);
  const uint64_t frame_bytes = sizes.frame_bytes_q10 >> 10;
  sizes.ring_bytes = std::max<uint64_t>(round_up(2 * frame_bytes + sizes.byte_rate, 4096), 8192);
  const uint64_t whole = round_up(scaled(sizes.byte_rate, period_10us, frames, 100000), 4);
  sizes.start_threshold =
      std::min({sizes.ring_bytes, round_up(frame_bytes + sizes.byte_rate, 4), whole});
  return sizes;
}

}  // namespace glint::glinter
