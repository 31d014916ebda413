#include "player/command_line.h"

#include <filesystem>
#include <optional>

#include "player/script_text.h"

namespace glint::player {
namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }

// "/#" followed by a number (optionally negative): the parent window.
bool take_parent_number(std::string& word, int32_t& value) {
  if (word.size() < 3 || word[0] != '/' || word[1] != '#') return false;
  std::size_t i = 2;
  if (word[i] == '-') ++i;
  if (i >= word.size() || !digit(word[i])) return false;
  while (i < word.size() && digit(word[i])) ++i;
  value = text_to_int32(std::string_view(word).substr(2, i - 2));
  word.erase(0, i);
  return true;
}

// "/#" at the end of the word or before a byte below '0'.
bool take_bare_parent(std::string& word) {
  if (word.size() < 2 || word[0] != '/' || word[1] != '#') return false;
  if (word.size() > 2 && static_cast<signed char>(word[2]) >= '0') return false;
  word.erase(0, 2);
  return true;
}

bool is_switch(const std::string& word) {
  if (word.empty() || word[0] != '/') return false;
  if (word.find('/', 1) != std::string::npos) return false;
  std::error_code error;
  return !std::filesystem::exists(word, error);
}

bool contains_blank(const std::string& word) {
  for (char c : word) {
    if (blank(c)) return true;
  }
  return false;
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& input) {
  CommandLine line;
  std::vector<std::string> words = input;
  for (std::string& word : words) {
    if (take_parent_number(word, line.parent_window)) break;
  }
  // A window handle of 0 is no window, and a bare "/#" names none: only
  // the switch is removed then.
  line.parent_given = line.parent_window != 0;
  for (std::string& word : words) {
    if (take_bare_parent(word)) break;
  }
  for (const std::string& word : words) {
    if (is_switch(word)) line.has_switch = true;
    if (word.empty()) continue;
    if (!line.text.empty()) line.text += ' ';
    if (contains_blank(word)) {
      line.text += '"' + word + '"';
    } else {
      line.text += word;
    }
  }
  trim(line.text);
  return line;
}

void split_script_name(const std::string& text, std::string& name, std::string& arguments) {
  std::string rest = text;
  trim_left(rest);
  if (!rest.empty() && rest.front() == '"') {
    const std::size_t close = rest.find('"', 1);
    if (close == std::string::npos) {
      // No closing quote: everything, the opening quote included.
      name = rest;
      arguments.clear();
    } else {
      name = rest.substr(1, close - 1);
      arguments = rest.substr(close + 1);
    }
  } else {
    std::string word;
    split_command_word(rest, word, arguments);
    name = word;
  }
  trim(name);
  trim(arguments);
}

}  // namespace glint::player
