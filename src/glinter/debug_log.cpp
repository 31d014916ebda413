#include "glinter/debug_log.h"

#include <atomic>

#include "platform/platform.h"

namespace glint::glinter {

namespace {
// 0 = not read yet; otherwise the profile value with bit 0x1000 added, so a
// stored 0 can never be mistaken for "not read".
std::atomic<int> g_debug_switch{0};
}  // namespace

bool debug_enabled() {
  int value = g_debug_switch.load(std::memory_order_relaxed);
  if (value == 0) {
    value = glint::platform::profile_int("Glinter", "Debug", 0) | 0x1000;
    g_debug_switch.store(value, std::memory_order_relaxed);
  }
  return (value & 0xFF) == 1;
}

void debug_message(const std::string& text) {
  if (debug_enabled()) glint::platform::debug_output(text.c_str());
}

void debug_reset_for_tests() { g_debug_switch.store(0); }

}  // namespace glint::glinter
