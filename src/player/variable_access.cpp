#include "player/variable_access.h"

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

}  // namespace glint::player
