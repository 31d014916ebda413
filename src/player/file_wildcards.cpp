#include "player/file_wildcards.h"

#include <vector>

namespace glint::player {
namespace {

bool is_separator(char c) { return c == '\\' || c == '/'; }

char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The pattern elements the directory search works with. A `?` becomes
// kOneOrNone, a `.` before `*`, `?` or the end becomes kDotOrEnd, and a `*`
// before a `.` becomes kStarToLastDot; everything else is literal.
enum class Element : char {
  kLiteral,
  kStar,           // any run
  kStarToLastDot,  // any run that stops at or before the name's last dot
  kOneOrNone,      // one character, none at a dot or the end
  kDotOrEnd,       // a dot, or nothing at the end of the name
};

struct PatternItem {
  Element element;
  char literal;
};

std::vector<PatternItem> compile(std::string_view pattern) {
  std::vector<PatternItem> items;
  items.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (c == '?') {
      items.push_back({Element::kOneOrNone, 0});
    } else if (c == '*') {
      items.push_back({next == '.' ? Element::kStarToLastDot : Element::kStar, 0});
    } else if (c == '.' && (next == '*' || next == '?' || next == '\0')) {
      items.push_back({Element::kDotOrEnd, 0});
    } else {
      items.push_back({Element::kLiteral, fold(c)});
    }
  }
  return items;
}

// Dynamic programming over (pattern item, name position), one pass over
// the name per item, so no pattern of stars can make matching slow.
bool match_items(const std::vector<PatternItem>& items, std::string_view name) {
  const std::size_t n = name.size();
  const std::size_t last_dot = name.rfind('.');
  // reach[j]: the items so far can match name[0, j).
  std::vector<char> reach(n + 1, 0);
  std::vector<char> next(n + 1, 0);
  reach[0] = 1;
  for (const PatternItem& item : items) {
    std::fill(next.begin(), next.end(), 0);
    bool run = false;  // a star's run reaches this position
    for (std::size_t j = 0; j <= n; ++j) {
      switch (item.element) {
        case Element::kLiteral:
          if (reach[j] && j < n && fold(name[j]) == item.literal) next[j + 1] = 1;
          break;
        case Element::kStar:
          run = run || reach[j];
          next[j] = run;
          break;
        case Element::kStarToLastDot:
          // A run that starts at or before the last dot stops there; one
          // that starts after it (or without a dot) takes everything.
          if (last_dot != std::string_view::npos && j == last_dot + 1) run = false;
          run = run || reach[j];
          next[j] = next[j] || run;
          break;
        case Element::kOneOrNone:
          if (!reach[j]) break;
          if (j == n || name[j] == '.')
            next[j] = 1;
          else
            next[j + 1] = 1;
          break;
        case Element::kDotOrEnd:
          if (!reach[j]) break;
          if (j < n && name[j] == '.') next[j + 1] = 1;
          if (j == n) next[j] = 1;
          break;
      }
    }
    reach.swap(next);
  }
  return reach[n] != 0;
}

// One piece (name or extension) of a target from the pattern's piece.
std::string fill_piece(std::string_view pattern, std::string_view source) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '?') {
      if (i < source.size()) out += source[i];
    } else if (c == '*') {
      if (i < source.size()) out += source.substr(i);
      // What follows the star is kept after the source's rest ("*_old").
      for (std::size_t k = i + 1; k < pattern.size(); ++k)
        if (pattern[k] != '*' && pattern[k] != '?') out += pattern[k];
      break;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

bool has_wildcards(std::string_view name) {
  return name.find_first_of("*?") != std::string_view::npos;
}

NamePieces split_name(std::string_view path) {
  std::size_t file_start = 0;
  for (std::size_t i = path.size(); i > 0; --i) {
    if (is_separator(path[i - 1]) || (i == 2 && path[1] == ':')) {
      file_start = i;
      break;
    }
  }
  NamePieces pieces;
  pieces.directory = path.substr(0, file_start);
  const std::string_view file = path.substr(file_start);
  const std::size_t dot = file.rfind('.');
  pieces.name = dot == std::string_view::npos ? file : file.substr(0, dot);
  pieces.extension = dot == std::string_view::npos ? std::string_view() : file.substr(dot);
  return pieces;
}

bool wildcard_match(std::string_view pattern, std::string_view name) {
  return match_items(compile(pattern), name);
}

std::string target_name(std::string_view source, std::string_view target_pattern) {
  const NamePieces from = split_name(source);
  const NamePieces pattern = split_name(target_pattern);
  std::string target(pattern.directory);
  target += fill_piece(pattern.name, from.name);
  target += fill_piece(pattern.extension, from.extension);
  return target;
}

std::string without_trailing_dots(std::string name) {
  const std::size_t separator = name.find_last_of("\\/:");
  const std::size_t start = separator == std::string::npos ? 0 : separator + 1;
  // A last component of dots only ("." and "..") names a directory.
  if (name.find_first_not_of('.', start) == std::string::npos) return name;
  while (name.size() > start && name.back() == '.') name.pop_back();
  return name;
}

}  // namespace glint::player
