#include "player/commands_system.h"

namespace glint::player {

void register_system_commands(CommandTable& table) {
  register_system_time_commands(table);
  register_system_info_commands(table);
  register_system_program_commands(table);
  register_print_commands(table);
}

}  // namespace glint::player
