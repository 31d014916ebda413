#include "player/command_table.h"

#include <cstdlib>

namespace glint::player {
namespace {

constexpr bool names_sorted() {
  for (std::size_t i = 1; i < kCommandNames.size(); ++i) {
    // string_view compares as unsigned bytes, the order the search needs.
    if (!(kCommandNames[i - 1] < kCommandNames[i])) return false;
  }
  return true;
}
static_assert(names_sorted(), "the command names must stay in ascending byte order");

}  // namespace

std::optional<uint8_t> find_command(std::string_view word) {
  int low = 0;
  int high = static_cast<int>(kCommandCount) - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const int order = word.compare(kCommandNames[static_cast<std::size_t>(middle)]);
    if (order == 0) return static_cast<uint8_t>(middle);
    if (order < 0) {
      high = middle - 1;
    } else {
      low = middle + 1;
    }
  }
  return std::nullopt;
}

void register_command(CommandTable& table, std::string_view name, CommandHandler handler) {
  const std::optional<uint8_t> index = find_command(name);
  // A misspelt registration is a programming error caught by the first run.
  if (!index) std::abort();
  table.handlers[*index] = handler;
}

}  // namespace glint::player
