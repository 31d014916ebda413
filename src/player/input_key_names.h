// The names the wait commands give key codes: "ENTER", "SHIFT F3", "PAGEUP"
// and so on, or the one-character text of any other code.
#pragma once

#include <cstdint>
#include <string>

namespace glint::player {

std::string key_name(uint8_t code);

}  // namespace glint::player
