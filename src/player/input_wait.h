// The waits for a person: INPUTCHAR's loop (keys, clicks, the mouse and the
// pointer, an optional time limit) and the line editor of INPUTSTR and
// INPUTSTRWIN.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "player/player.h"

namespace glint::player {

// The longest line the editor keeps: its position is an 8-bit number.
inline constexpr int32_t kLineLengthMax = 255;

// Waits until a key or click arrives, or until `limit_ms` milliseconds have
// passed ("DELAY"), and returns its name. Without a limit the wait also
// ends, as the window's close request does ("ALT F4"), when the window goes
// away or no input can come any more.
std::string wait_for_key_or_click(Player& player, std::optional<uint32_t> limit_ms);

// Step 4 of the wait: follows the system pointer into the mouse position,
// picks the pointer image and draws the pointer.
void track_mouse(Player& player);

// Reads a line of at most `length` characters (clamped to 0-255), echoing
// it through the screen text output at the text cursor. Escape, or Enter on
// an empty line, gives the empty default.
std::string read_line(Player& player, int32_t length);

}  // namespace glint::player
