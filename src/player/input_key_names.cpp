#include "player/input_key_names.h"

namespace glint::player {

std::string key_name(uint8_t code) {
  switch (code) {
    case 8:
    case 127:
      return "BACKSPACE";
    case 9:
      return "TAB";
    case 10:
    case 13:
      return "ENTER";
    case 27:
      return "ESCAPE";
    case 32:
      return "SPACE";
    case 137:
      return "BACKTAB";
    case 173:
      return "INSERT";
    case 174:
      return "DELETE";
    default:
      break;
  }
  static constexpr const char* kMovement[] = {"PAGEUP", "PAGEDOWN", "END",   "HOME",
                                              "LEFT",   "UP",       "RIGHT", "DOWN"};
  if (code >= 161 && code <= 168) return kMovement[code - 161];
  static constexpr const char* kPrefixes[] = {"F", "SHIFT F", "CONTROL F", "ALT F"};
  if (code >= 208 && code <= 247) {
    const int group = (code - 208) / 10;
    return std::string(kPrefixes[group]) + std::to_string((code - 208) % 10 + 1);
  }
  if (code == 0) return {};  // a one-character text of NUL is empty
  return std::string(1, char(code));
}

}  // namespace glint::player
