// The decoder's debugger messages: written only when the profile key "Debug"
// of section "Glinter" is 1 (read once per process).
#pragma once

#include <string>

namespace glint::glinter {

bool debug_enabled();
// Writes the message when debugging is on.
void debug_message(const std::string& text);
// For tests: forget the cached switch so the profile is read again.
void debug_reset_for_tests();

}  // namespace glint::glinter
