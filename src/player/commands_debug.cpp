// Debugging: DEBUGFILE and DEBUGTEXT.
#include <string>

#include "player/command_table.h"
#include "player/parameters.h"
#include "player/trace.h"

namespace glint::player {
namespace {

void command_debugfile(Player& player) {
  close_debug_file(player);
  open_debug_file(player, read_text(player));
}

void command_debugtext(Player& player) {
  const std::string text = read_text(player);
  if (!tracing(player)) return;
  trace(player, "\r\n" + text + "\r\n");
  trace_commit(player);
}

}  // namespace

void register_debug_commands(CommandTable& table) {
  register_command(table, "DEBUGFILE", command_debugfile);
  register_command(table, "DEBUGTEXT", command_debugtext);
}

}  // namespace glint::player
