#include "player/variable_access.h"

#include <algorithm>

#include "player/script_text.h"
#include "player/trace.h"

namespace glint::player {

std::string get_variable(const Player& player, std::string_view name) {
  return std::string(store_get(player.variables, normalize_name(name)));
}

void set_variable(Player& player, std::string_view name, std::string_view value) {
  const std::string key = normalize_name(name);
  if (tracing(player)) {
    std::string entry = "  ***";
    entry += key;
    entry += "=\"";
    entry += value;
    entry += '"';
    trace(player, entry);
  }
  store_set(player.variables, key, value);
}

void store_number(Player& player, std::string_view name, int64_t value) {
  set_variable(player, name,
               int32_to_text(int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX))));
}

}  // namespace glint::player
