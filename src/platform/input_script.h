// Scripted input for runs without a person: a small text format read from
// GLINT_INPUT (documented in README.md, "Environment").
//
//   # comment
//   [@MS | +N] verb arguments
//
// An event is due at the first message pump at or after virtual time MS
// milliseconds (@MS), after N more pumps than the previous event (+N), or
// without a prefix at the next pump. Events come in file order, each once
// the one before it has been delivered, and only while a window exists.
// Verbs: key NAME [shift] [ctrl] [alt]; char TEXT; move X Y; click X Y [right];
// down X Y [right]; up X Y [right]; leave (the pointer leaves the window);
// focus on|off; close; quit; snapshot;
// answer ok|cancel|abort|retry|ignore|yes|no|N (message-box answers are
// queued when the input is read, in order, whatever their prefix).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/video.h"

namespace glint::platform {

struct ScriptedEvent {
  enum class Timing : uint8_t { kNextPump, kAtTime, kAfterPumps };
  enum class Kind : uint8_t { kMessages, kSnapshot, kAnswer };
  Timing timing = Timing::kNextPump;
  uint64_t value = 0;  // milliseconds for kAtTime, pumps for kAfterPumps
  Kind kind = Kind::kMessages;
  std::vector<Message> messages;  // window 0: the back-end fills in its window
  int answer = 0;
  uint32_t line = 0;
};

// Parses the whole text. Lines that cannot be read are left out and each
// gets one line of explanation in `errors`.
std::vector<ScriptedEvent> parse_input_script(std::string_view text,
                                              std::vector<std::string>& errors);

// The text behind GLINT_INPUT: a value beginning with '=' is the script
// itself with ';' separating lines; any other value names a file. Empty when
// unset or unreadable.
std::string read_input_setting(const char* value);

}  // namespace glint::platform
