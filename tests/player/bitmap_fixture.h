// Bitmap tests start from an empty bitmap table and a clean headless display.
#pragma once

#include <string>

#include "display_fixture.h"
#include "player/bitmaps.h"
#include "script_runner.h"

namespace glint::test {

class BitmapTest : public DisplayTest {
 protected:
  static player::test::ScriptRun run(const std::string& text) {
    return player::test::run_script_text(text);
  }
  static bool bad_frame(const player::test::ScriptRun& r) {
    return r.error().find("Bad frame parameter:") != std::string::npos;
  }
};

}  // namespace glint::test
