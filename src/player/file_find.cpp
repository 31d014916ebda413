#include "player/file_find.h"

#include <optional>
#include <vector>

#include "player/file_names.h"
#include "player/file_snapshot.h"
#include "player/script_text.h"

namespace glint::player {
namespace {

}  // namespace

struct FileSearch {
  bool active = false;
  std::string prefix;  // the pattern's drive and directory
  std::vector<DirectoryEntry> entries;
  std::size_t next = 0;
};

namespace {

using Search = FileSearch;

Search& search_of(const Player& player) {
  if (!player.file_search) player.file_search = std::make_shared<FileSearch>();
  return *player.file_search;
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
