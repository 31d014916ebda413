#include "player/display/fades.h"

#include <algorithm>

#include "platform/platform.h"
#include "player/display/display_palette.h"
#include "player/display/screen.h"

namespace glint::player::display {
namespace {

constexpr int kFadeSteps = 16;

uint64_t step_deadline(uint64_t start, int step, int32_t step_ms) {
  return start + uint64_t(step) * uint64_t(std::max(step_ms, 0)) * 1000;
}

}  // namespace

Rgb768 fade_in_step(const Rgb768& target, int step) {
  const int darker = 63 - 4 * (step - 1);
  Rgb768 dimmed;
  for (size_t i = 0; i < dimmed.size(); ++i) dimmed[i] = uint8_t(std::max(0, target[i] - darker));
  return dimmed;
}

void apply_screen_palette(const Rgb768& next, const PaletteLocks& locks) {
  Screen& s = screen();
  for (size_t i = 0; i < 256; ++i)
    if (!locks[i]) std::copy_n(&next[i * 3], 3, &s.palette[i * 3]);
  if (!s.display) return;
  display_set_palette(*s.display, s.palette.data(), 0);
  display_update_screen(*s.display);
}

void wait_dispatching(uint64_t deadline) {
  while (true) {
    if (pump_messages() != 0) return;
    const uint64_t now = platform::micros();
    if (now >= deadline) return;
    platform::sleep_micros(std::min<uint64_t>(deadline - now, 1000));
  }
}

uint32_t fade_in_palette(const Rgb768& target, const PaletteLocks& locks, int32_t step_ms) {
  const uint64_t start = platform::micros();
  for (int step = 1; step <= kFadeSteps; ++step) {
    apply_screen_palette(fade_in_step(target, step), locks);
    if (step_ms > 0) wait_dispatching(step_deadline(start, step, step_ms));
  }
  apply_screen_palette(target, locks);
  return ++screen().palette_changes;
}

void fade_out_palette(const PaletteLocks& locks, int32_t step_ms) {
  const uint64_t start = platform::micros();
  Rgb768 working = screen().palette;
  for (int step = 1; step <= kFadeSteps; ++step) {
    for (uint8_t& c : working) c = c < 4 ? 0 : uint8_t(c - 4);
    apply_screen_palette(working, locks);
    if (step_ms > 0) wait_dispatching(step_deadline(start, step, step_ms));
  }
  ++screen().palette_changes;
}

}  // namespace glint::player::display
