// The millisecond timer: counts from its first call, never runs backwards,
// and follows the tick count when the high-resolution counter jumps.
#include <cstdint>
#include <mutex>

#include "orxutil/orxutil.h"
#include "platform/platform.h"
#include "util/timer_state.h"

namespace {

constexpr uint64_t kCounterFrequency = 1000000;  // the platform counter runs in microseconds
constexpr int32_t kDriftLimitMs = 200;
constexpr uint32_t kBackwardsLimit = 3u << 30;

struct TimerState {
  bool first_call = true;
  uint64_t first_counter = 0;
  uint32_t last_ticks = 0;
  uint32_t last_result = 0;
  int64_t drift_ms = 0;
};

std::mutex timer_mutex;  // makes the first call safe between threads
TimerState timer;

}  // namespace

namespace glint::util {
void timer_reset_for_tests() {
  std::lock_guard lock(timer_mutex);
  timer = TimerState{};
}
}  // namespace glint::util

extern "C" ORX_API uint32_t ORXTimerRead(void) {
  std::lock_guard lock(timer_mutex);
  if (timer.first_call) {
    timer.first_call = false;
    timer.first_counter = glint::platform::micros();
    timer.last_ticks = glint::platform::ticks();
    timer.last_result = 0;
    return 0;
  }
  uint64_t counter = glint::platform::micros();
  uint32_t ticks = glint::platform::ticks();
  uint32_t t = static_cast<uint32_t>((counter - timer.first_counter) * 1000 / kCounterFrequency +
                                     static_cast<uint64_t>(timer.drift_ms));
  // How far the tick count and the counter disagree since the previous call.
  int32_t m = static_cast<int32_t>((ticks - timer.last_ticks) - (t - timer.last_result));
  if (m > kDriftLimitMs || m < -kDriftLimitMs) {
    timer.drift_ms += m;
    t += static_cast<uint32_t>(m);
  }
  if (static_cast<uint32_t>(t - timer.last_result) > kBackwardsLimit) return timer.last_result;
  timer.last_ticks = ticks;
  timer.last_result = t;
  return t;
}
