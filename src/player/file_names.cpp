#include "player/file_names.h"

#include "orxutil/orxutil.h"
#include "platform/paths.h"
#include "player/file_wildcards.h"
#include "player/script_text.h"

namespace glint::player {

std::string full_form_of(std::string_view name) {
  std::string trimmed(name);
  trim(trimmed);
  if (trimmed.empty()) return {};
  return platform::full_path(trimmed);
}

std::string host_of(std::string_view windows_name) {
  if (windows_name.empty()) return {};
  return platform::host_path(without_trailing_dots(std::string(windows_name)));
}

}  // namespace glint::player

namespace glint::player {

std::optional<std::string> file_pieces(std::string_view path, bool drive, bool directory, bool name,
                                       bool extension) {
  if (path.size() >= ORX_PATH_MAX) return std::nullopt;
  char buffer[ORX_PATH_MAX] = {};
  path.copy(buffer, path.size());
  GetFilePieces(buffer, drive, directory, name, extension);
  return std::string(buffer);
}

}  // namespace glint::player
