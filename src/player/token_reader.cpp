#include "player/token_reader.h"

#include <optional>

#include "player/script_text.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

bool separator(char c) { return blank(c) || c == ','; }

bool letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool digit(char c) { return c >= '0' && c <= '9'; }

std::size_t skip_separators(std::string_view text, std::size_t i) {
  while (i < text.size() && separator(text[i])) ++i;
  return i;
}

bool operator_byte(char c) {
  switch (c) {
    case '*':
    case '/':
    case '+':
    case '|':
    case '^':
    case '%':
    case '&':
      return true;
    default:
      return false;
  }
}

// The name of the first reference that qualifies, walking the text word by
// word as the first-word helper takes words: a word longer than two bytes
// with a '%', then after the run of '%' that starts there, a further '%'.
std::optional<std::string> first_reference(std::string_view text) {
  std::size_t i = 0;
  for (;;) {
    while (i < text.size() && blank(text[i])) ++i;
    if (i >= text.size()) return std::nullopt;
    const std::size_t start = i;
    while (i < text.size() && !blank(text[i])) ++i;
    std::size_t word_end = i;
    while (i < text.size() && blank(text[i])) ++i;
    if (i < text.size() && text[i] == ',') word_end = ++i;
    const std::string_view word = text.substr(start, word_end - start);
    if (word.size() <= 2) continue;
    const std::size_t first = word.find('%');
    if (first == std::string_view::npos) continue;
    std::size_t name_start = first;
    while (name_start < word.size() && word[name_start] == '%') ++name_start;
    const std::size_t name_end = word.find('%', name_start);
    if (name_end == std::string_view::npos) continue;
    return std::string(word.substr(name_start, name_end - name_start));
  }
}

}  // namespace

std::string substitute_references(const Player& player, std::string text) {
  for (int done = 0; done < kMaxSubstitutions && text.size() <= kMaxSubstitutedBytes; ++done) {
    const std::optional<std::string> name = first_reference(text);
    if (!name) break;
    const std::string reference = "%" + *name + "%";
    const std::size_t at = text.find(reference);
    if (at == std::string::npos) break;
    text.replace(at, reference.size(), get_variable(player, *name));
  }
  return text;
}

TokenKind read_token(Player& player, std::string& token, bool substitute) {
  std::string& params = player.parameters;
  std::size_t i = skip_separators(params, 0);
  token.clear();
  if (i >= params.size()) {
    params.clear();
    return TokenKind::kEnd;
  }

  TokenKind kind;
  const char c = params[i];
  const bool digit_follows = i + 1 < params.size() && digit(params[i + 1]);
  if (c == '"' || c == '\'') {
    const std::size_t close = params.find(c, i + 1);
    const std::size_t end = close == std::string::npos ? params.size() : close;
    token = substitute_references(player, params.substr(i + 1, end - i - 1));
    i = close == std::string::npos ? end : close + 1;
    kind = TokenKind::kString;
  } else if ((c == '@' && i + 1 < params.size() &&
              (params[i + 1] == '=' || params[i + 1] == '<' || params[i + 1] == '>')) ||
             c == '=' || c == '<' || c == '>') {
    for (char part : {'@', '<', '>', '='}) {
      if (i < params.size() && params[i] == part) token += params[i++];
    }
    kind = TokenKind::kCompare;
  } else if (operator_byte(c) || (c == '-' && !digit_follows)) {
    token = c;
    ++i;
    kind = TokenKind::kOperator;
  } else {
    // A word; at any other byte it is empty and nothing is consumed.
    const std::size_t start = i;
    if (c == '-') ++i;
    while (i < params.size() && (letter(params[i]) || digit(params[i]))) ++i;
    token = params.substr(start, i - start);
    if (!substitute) {
      kind = TokenKind::kWord;
    } else {
      if (letter(c)) token = get_variable(player, token);
      kind = is_numeric_text(token) ? TokenKind::kNumber : TokenKind::kString;
    }
  }
  i = skip_separators(params, i);
  params.erase(0, i);
  return kind;
}

}  // namespace glint::player
