// The scripted-input reader and the headless pump on arbitrary text: every
// parsed event is delivered to a window, whose key and mouse messages then
// run through the presentation window's procedure.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/headless/headless_video.h"
#include "platform/input_script.h"
#include "platform/platform.h"
#include "player/display/screen.h"

namespace p = glint::platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> errors;
  const auto events = p::parse_input_script(text, errors);
  if (events.size() > 4096) return 0;

  p::select_backend("headless");
  p::headless::reset_video();
  p::headless::clear_answers();
  glint::player::display::screen() = glint::player::display::Screen{};
  if (!glint::player::display::screen_create(16, 8, 0, 0, 0, "fuzz")) return 0;
  p::headless::load_input(text);
  // Enough pumps for every event; timed ones come due as the clock moves.
  for (size_t i = 0; i < events.size() * 2 + 2 && glint::player::display::screen_has_window();
       ++i) {
    glint::player::display::pump_messages();
    p::headless::advance_micros(1000000);
  }
  glint::player::display::screen_destroy();
  p::headless::clear_answers();
  return 0;
}
