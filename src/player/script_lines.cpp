#include "player/script_lines.h"

#include <algorithm>

#include "player/player.h"

namespace glint::player {

bool next_script_line(ScriptLineReader& reader, std::string& line) {
  const std::string_view bytes = reader.bytes;
  if (reader.position >= bytes.size()) return false;
  const std::size_t limit = std::min(bytes.size(), reader.position + kLineMax);
  std::size_t end = reader.position;
  while (end < limit) {
    if (bytes[end++] == '\n') break;
  }
  line.assign(bytes.substr(reader.position, end - reader.position));
  reader.position = end;
  // The line was a C string: a NUL byte ends it.
  const std::size_t nul = line.find('\0');
  if (nul != std::string::npos) line.resize(nul);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return true;
}

}  // namespace glint::player
