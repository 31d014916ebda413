// The text the file commands take apart: name patterns against entry
// names, target patterns, and the mount table. The input is split at the
// first two newlines into a pattern, a name and a mount table.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "player/file_drives.h"
#include "player/file_wildcards.h"

namespace {

bool never_removable(unsigned, unsigned) { return false; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t first = input.find('\n');
  const std::string_view pattern = input.substr(0, first);
  std::string_view rest =
      first == std::string_view::npos ? std::string_view() : input.substr(first + 1);
  const std::size_t second = rest.find('\n');
  const std::string_view name = rest.substr(0, second);
  const std::string_view table =
      second == std::string_view::npos ? std::string_view() : rest.substr(second + 1);

  using namespace glint::player;
  (void)wildcard_match(pattern, name);
  (void)has_wildcards(pattern);
  (void)target_name(name, pattern);
  (void)without_trailing_dots(std::string(name));
  const auto mounts = parse_mount_table(table);
  if (const MountEntry* mount = mount_holding(mounts, name))
    (void)kind_of_mount(*mount, never_removable);
  return 0;
}
