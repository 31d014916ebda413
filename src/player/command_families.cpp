// The list of command families. A new family adds its registration function
// here; its handlers live in its own commands_<family>.cpp.
#include "player/command_table.h"
#include "player/commands_animation.h"
#include "player/commands_bitmap.h"
#include "player/commands_screen.h"
#include "player/commands_files.h"
#include "player/commands_input.h"
#include "player/commands_strings.h"
#include "player/commands_system.h"
#include "player/error_report.h"

namespace glint::player {
namespace {

using Registration = void (*)(CommandTable&);

constexpr Registration kFamilies[] = {
    register_flow_commands,
    register_variable_commands,
    register_arithmetic_commands,
    register_debug_commands,
    register_file_commands,
    register_string_commands,
    register_system_commands,
    register_screen_commands,
    register_text_commands,
    register_bitmap_commands,
    register_input_commands,
    register_animation_commands,
};

CommandTable build_table() {
  CommandTable table;
  table.handlers.fill(command_not_available);
  for (Registration registration : kFamilies) registration(table);
  return table;
}

}  // namespace

const CommandTable& command_table() {
  static const CommandTable table = build_table();
  return table;
}

void command_not_available(Player& player) { report_line_error(player, kNotAvailable); }

}  // namespace glint::player
