// STRLENGTH, STRUCASE, STRLCASE, STRTRIM, STRADDBACKSLASH, STRISNUMERIC,
// STRISLABEL, STRFIND, STRPIECE, STRLPAD, STRLPADZERO, STRRPAD, STRREPEAT
// and STRFIRST. Every result goes into the variable named first; widths,
// counts and positions are script numbers, so a negative one counts as 0
// (a position as 1), and no text a command builds grows past
// kStringResultMax bytes.
#include "player/commands_strings.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "player/engine.h"
#include "player/parameters.h"
#include "player/script_text.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

void store_result(Player& player, std::string_view name, std::string_view value) {
  set_variable(player, name, value.substr(0, kStringResultMax));
}

std::size_t non_negative(int32_t value) { return value < 0 ? 0 : static_cast<std::size_t>(value); }

char lower_ascii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

void command_strlength(Player& player) {
  const std::string name = read_variable(player);
  store_number(player, name, static_cast<int64_t>(read_text(player).size()));
}

void command_strucase(Player& player) {
  const std::string name = read_variable(player);
  std::string text = read_text(player);
  upper_case(text);
  store_result(player, name, text);
}

void command_strlcase(Player& player) {
  const std::string name = read_variable(player);
  std::string text = read_text(player);
  std::transform(text.begin(), text.end(), text.begin(), lower_ascii);
  store_result(player, name, text);
}

void command_strtrim(Player& player) {
  const std::string name = read_variable(player);
  std::string text = read_text(player);
  trim(text);
  store_result(player, name, text);
}

void command_straddbackslash(Player& player) {
  const std::string name = read_variable(player);
  std::string text = read_text(player);
  trim(text);
  // A drive ("c:") or a path that already ends in a separator stays as it is.
  if (!text.empty() && text.back() != ':' && text.back() != '\\') {
    // Cut first, so the separator is not the byte the cut removes.
    if (text.size() >= kStringResultMax) text.resize(kStringResultMax - 1);
    text += '\\';
  }
  store_result(player, name, text);
}

void command_strisnumeric(Player& player) {
  const std::string name = read_variable(player);
  set_variable(player, name, is_numeric_text(read_text(player)) ? "1" : "0");
}

void command_strislabel(Player& player) {
  const std::string name = read_variable(player);
  // find_label upper-cases and shortens the name as GOTO does.
  set_variable(player, name, find_label(player, read_text(player)) ? "1" : "0");
}

void command_strfind(Player& player) {
  const std::string name = read_variable(player);
  const bool ignore_case = read_number(player) != 0;
  std::string needle = read_text(player);
  std::string haystack = read_text(player);
  if (ignore_case) {
    upper_case(needle);
    upper_case(haystack);
  }
  const std::size_t at = haystack.find(needle);
  store_number(player, name, at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1);
}

void command_strpiece(Player& player) {
  const std::string name = read_variable(player);
  const int32_t start = read_number(player);
  const std::size_t count = non_negative(read_number(player));
  const std::string text = read_text(player);
  const std::size_t offset = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (offset >= text.size()) {
    set_variable(player, name, "");
    return;
  }
  store_result(player, name, std::string_view(text).substr(offset, count));
}

enum class PadSide { kFront, kBack };

void pad(Player& player, PadSide side, char fill) {
  const std::string name = read_variable(player);
  const std::size_t width = std::min(non_negative(read_number(player)), kStringResultMax);
  std::string text = read_text(player);
  if (text.size() < width) {
    const std::size_t missing = width - text.size();
    if (side == PadSide::kFront) {
      text.insert(0, missing, fill);
    } else {
      text.append(missing, fill);
    }
  }
  store_result(player, name, text);
}

void command_strlpad(Player& player) { pad(player, PadSide::kFront, ' '); }
void command_strlpadzero(Player& player) { pad(player, PadSide::kFront, '0'); }
void command_strrpad(Player& player) { pad(player, PadSide::kBack, ' '); }

// A numeric character parameter names a byte by its code. A lone '-' is
// numeric text, but it has no digits to give a code: it repeats itself.
bool names_a_code(std::string_view text) {
  return is_numeric_text(text) && text.find_first_of("0123456789") != std::string_view::npos;
}

void command_strrepeat(Player& player) {
  const std::string name = read_variable(player);
  const std::string character = read_nonempty_text(player);
  const std::size_t count = std::min(non_negative(read_number(player)), kStringResultMax);
  const char byte = names_a_code(character)
                        ? static_cast<char>(static_cast<uint8_t>(text_to_int32(character) & 0xFF))
                        : character.front();
  store_result(player, name, std::string(count, byte));
}

// Takes the value of `rest` apart at its first separator byte: what comes
// before goes into `first`, what follows stays in `rest`.
void command_strfirst(Player& player) {
  const std::string first_name = read_variable(player);
  const std::string rest_name = read_variable(player);
  const std::string separators = read_text(player);
  const std::string value = get_variable(player, rest_name);
  const std::size_t at = separators.empty() ? std::string::npos : value.find_first_of(separators);
  // Both parts come from a value the store already holds, so neither is cut:
  // cutting would lose list entries.
  if (at == std::string::npos) {
    set_variable(player, first_name, value);
    set_variable(player, rest_name, "");
    return;
  }
  set_variable(player, first_name, std::string_view(value).substr(0, at));
  set_variable(player, rest_name, std::string_view(value).substr(at + 1));
}

}  // namespace

void register_string_commands(CommandTable& table) {
  register_command(table, "STRADDBACKSLASH", command_straddbackslash);
  register_command(table, "STRFIND", command_strfind);
  register_command(table, "STRFIRST", command_strfirst);
  register_command(table, "STRISLABEL", command_strislabel);
  register_command(table, "STRISNUMERIC", command_strisnumeric);
  register_command(table, "STRLCASE", command_strlcase);
  register_command(table, "STRLENGTH", command_strlength);
  register_command(table, "STRLPAD", command_strlpad);
  register_command(table, "STRLPADZERO", command_strlpadzero);
  register_command(table, "STRPIECE", command_strpiece);
  register_command(table, "STRREPEAT", command_strrepeat);
  register_command(table, "STRRPAD", command_strrpad);
  register_command(table, "STRTRIM", command_strtrim);
  register_command(table, "STRUCASE", command_strucase);
}

}  // namespace glint::player
