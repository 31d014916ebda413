// Splits script text into lines the way the buffered line reader does: a
// line ends after a line feed or after kLineMax bytes, whichever comes
// first; line ends at its end are dropped.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace glint::player {

struct ScriptLineReader {
  std::string_view bytes;
  std::size_t position = 0;
};

// False at the end of the text.
bool next_script_line(ScriptLineReader& reader, std::string& line);

}  // namespace glint::player
