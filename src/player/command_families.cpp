// The list of command families. A new family adds its registration function
// here; its handlers live in its own commands_<family>.cpp.
#include "player/command_table.h"
#include "player/error_report.h"

namespace glint::player {
namespace {

using Registration = void (*)(CommandTable&);

constexpr Registration kFamilies[] = {
    register_flow_commands,
    register_variable_commands,
    register_arithmetic_commands,
    register_debug_commands,
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
