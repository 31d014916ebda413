#include <cstdio>
#include <cstring>
#include <ctime>
#include <thread>

#include "platform/backends.h"
#include "platform/platform.h"

namespace glint::platform {

void debug_output(const char* text) {
  if (!text) return;
  std::fputs(text, stderr);
  std::fflush(stderr);
}

void print_message_box(const char* caption, const char* text) {
  std::fprintf(stderr, "[%s]\n%s\n", caption, text);
  std::fflush(stderr);
}

uint64_t real_micros() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return uint64_t(ts.tv_sec) * 1000000u + uint64_t(ts.tv_nsec) / 1000u;
}

uint32_t real_ticks() {
  // Counts on while the machine is suspended, like the tick count the
  // millisecond timer checks its counter against.
  timespec ts{};
  clock_gettime(CLOCK_BOOTTIME, &ts);
  return static_cast<uint32_t>(uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u);
}

void real_sleep_micros(uint64_t duration) {
  timespec ts{static_cast<time_t>(duration / 1000000u), static_cast<long>(duration % 1000000u) * 1000};
  while (nanosleep(&ts, &ts) != 0) {
  }
}

void real_yield() { std::this_thread::yield(); }

}  // namespace glint::platform
