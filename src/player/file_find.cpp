#include "player/file_find.h"

#include <optional>
#include <vector>

#include "player/file_names.h"
#include "player/file_snapshot.h"
#include "player/script_text.h"

namespace glint::player {
namespace {

struct Search {
  bool active = false;
  std::string prefix;  // the pattern's drive and directory
  std::vector<DirectoryEntry> entries;
  std::size_t next = 0;
};

struct OwnedSearch {
  const Player* owner = nullptr;
  uint64_t last_steps = 0;
  Search search;
};

Search& search_of(const Player& player) {
  static OwnedSearch owned;
  if (owned.owner != &player || player.steps < owned.last_steps) {
    owned = OwnedSearch{};
    owned.owner = &player;
  }
  owned.last_steps = player.steps;
  return owned.search;
}

std::string take_next(Search& search) {
  if (!search.active || search.next >= search.entries.size()) {
    search = Search{};
    return {};
  }
  return search.prefix + search.entries[search.next++].name;
}

}  // namespace

std::string find_first(const Player& player, std::string_view pattern_text) {
  Search& search = search_of(player);
  search = Search{};
  std::string pattern(pattern_text);
  if (pattern.empty()) pattern = "*.*";
  const std::optional<std::string> file_part = file_pieces(pattern, false, false, true, true);
  if (!file_part) return {};
  if (file_part->empty()) {
    trim(pattern);
    if (!pattern.empty() && pattern.back() != ':' && pattern.back() != '\\') pattern += '\\';
    pattern += "*.*";
  }
  const std::optional<std::string> prefix = file_pieces(pattern, true, true, false, false);
  const std::string full = full_form_of(pattern);
  if (!prefix || full.empty()) return {};
  search.active = true;
  search.prefix = *prefix;
  search.entries = matching_entries(full);
  return take_next(search);
}

std::string find_next(const Player& player) { return take_next(search_of(player)); }

}  // namespace glint::player
