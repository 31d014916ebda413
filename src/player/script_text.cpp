#include "player/script_text.h"

namespace glint::player {

void trim_left(std::string& text) {
  std::size_t begin = 0;
  while (begin < text.size() && blank(text[begin])) ++begin;
  text.erase(0, begin);
}

void trim(std::string& text) {
  trim_left(text);
  std::size_t end = text.size();
  while (end > 0 && blank(text[end - 1])) --end;
  text.resize(end);
}

void upper_case(std::string& text) {
  for (char& c : text) c = static_cast<char>(util::to_upper_ascii(static_cast<unsigned char>(c)));
}

void split_command_word(std::string_view line, std::string& word, std::string& rest) {
  std::size_t i = 0;
  while (i < line.size() && blank(line[i])) ++i;
  const std::size_t start = i;
  while (i < line.size() && !blank(line[i])) ++i;
  std::size_t word_end = i;
  while (i < line.size() && blank(line[i])) ++i;
  if (i < line.size() && line[i] == ',') word_end = ++i;
  word.assign(line.substr(start, word_end - start));
  trim(word);
  rest.assign(line.substr(i));
  trim_left(rest);
}

bool is_numeric_text(std::string_view text) {
  if (!text.empty() && blank(text.front())) text.remove_prefix(1);
  if (text.empty()) return false;
  if (text.front() == '-') text.remove_prefix(1);
  for (char c : text) {
    if (!util::is_digit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

int32_t text_to_int32(std::string_view text) {
  std::size_t i = 0;
  auto space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < text.size() && space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  uint32_t value = 0;
  while (i < text.size() && util::is_digit(static_cast<unsigned char>(text[i]))) {
    value = value * 10u + static_cast<uint32_t>(text[i++] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

std::string int32_to_text(int32_t value) { return std::to_string(value); }

}  // namespace glint::player
