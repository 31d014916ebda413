// The headless back-end: a virtual clock and message boxes on standard error.
// Nothing here waits for real time or for a person.
#include "platform/headless/headless.h"

#include <atomic>
#include <deque>
#include <mutex>

#include "platform/audio_drivers.h"
#include "platform/backends.h"
#include "platform/video_drivers.h"

namespace glint::platform {
namespace {

std::atomic<uint64_t> virtual_micros{0};
std::atomic<int64_t> tick_skew_ms{0};
std::mutex answers_mutex;
std::deque<int> answers;
std::atomic<unsigned> shown{0};

uint64_t clock_micros() { return virtual_micros.load(std::memory_order_relaxed); }
uint32_t clock_ticks() {
  return static_cast<uint32_t>(static_cast<int64_t>(clock_micros() / 1000) +
                               tick_skew_ms.load(std::memory_order_relaxed));
}
void clock_sleep(uint64_t duration) { virtual_micros.fetch_add(duration, std::memory_order_relaxed); }
void clock_yield() { clock_sleep(headless::kYieldMicros); }

int box(const char* caption, const char* text, unsigned style) {
  print_message_box(caption, text);
  shown.fetch_add(1, std::memory_order_relaxed);
  std::lock_guard lock(answers_mutex);
  if (!answers.empty()) {
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return default_answer(style);
}

bool always() { return true; }

const ClockDriver kClock{clock_micros, clock_ticks, clock_sleep, clock_yield};
const DialogDriver kDialog{box};

}  // namespace

const Backend headless_backend{"headless", always, &kClock, &kDialog, &headless_video,
                               &headless_audio};

namespace headless {
void advance_micros(uint64_t duration) { clock_sleep(duration); }
void skew_ticks(int64_t milliseconds) { tick_skew_ms.fetch_add(milliseconds); }
void queue_answer(int answer) {
  std::lock_guard lock(answers_mutex);
  answers.push_back(answer);
}
void clear_answers() {
  std::lock_guard lock(answers_mutex);
  answers.clear();
}
unsigned boxes_shown() { return shown.load(); }
}  // namespace headless

}  // namespace glint::platform
