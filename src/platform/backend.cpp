#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/backends.h"
#include "platform/platform.h"

namespace glint::platform {
namespace {

// The back-ends in order of preference for automatic selection.
const Backend* const kBackends[] = {
#if defined(GLINT_HAVE_SDL)
    &sdl_backend,
#endif
    &headless_backend,
};

std::atomic<const Backend*> selected{nullptr};
std::mutex select_mutex;

const Backend* find(const char* name) {
  for (const Backend* b : kBackends)
    if (!strcasecmp(b->name, name)) return b;
  return nullptr;
}

const Backend* choose() {
  const char* wanted = std::getenv("GLINT_PLATFORM");
  if (wanted && *wanted) {
    if (const Backend* b = find(wanted); b && b->available()) return b;
    debug_output("platform: GLINT_PLATFORM names no usable back-end; running headless\n");
    return &headless_backend;
  }
  for (const Backend* b : kBackends)
    if (b->available()) return b;
  return &headless_backend;
}

}  // namespace

const Backend& backend() {
  const Backend* b = selected.load(std::memory_order_acquire);
  if (b) return *b;
  std::lock_guard lock(select_mutex);
  b = selected.load(std::memory_order_relaxed);
  if (!b) {
    b = choose();
    selected.store(b, std::memory_order_release);
  }
  return *b;
}

bool select_backend(const char* name) {
  const Backend* b = name ? find(name) : nullptr;
  if (!b || !b->available()) return false;
  std::lock_guard lock(select_mutex);
  selected.store(b, std::memory_order_release);
  return true;
}

bool is_headless() { return &backend() == &headless_backend; }

uint64_t micros() { return backend().clock->micros(); }
uint32_t millis() { return static_cast<uint32_t>(micros() / 1000); }
uint32_t ticks() { return backend().clock->ticks(); }
void sleep_micros(uint64_t microseconds) { backend().clock->sleep_micros(microseconds); }
void sleep_ms(uint32_t milliseconds) { sleep_micros(uint64_t{milliseconds} * 1000); }
void yield() { backend().clock->yield(); }

int message_box(const char* caption, const char* text, unsigned style) {
  return backend().dialog->message_box(caption ? caption : "", text ? text : "", style);
}

int default_answer(unsigned style) {
  // The buttons of each box kind, left to right.
  static constexpr int kButtons[6][3] = {
      {kIdOk, 0, 0},           {kIdOk, kIdCancel, 0},  {kIdAbort, kIdRetry, kIdIgnore},
      {kIdYes, kIdNo, kIdCancel}, {kIdYes, kIdNo, 0}, {kIdRetry, kIdCancel, 0},
  };
  unsigned kind = style & kMbButtonMask;
  if (kind > 5) kind = 0;
  unsigned which = (style & kMbDefButtonMask) >> 8;
  if (which > 2 || kButtons[kind][which] == 0) which = 0;
  return kButtons[kind][which];
}

}  // namespace glint::platform
