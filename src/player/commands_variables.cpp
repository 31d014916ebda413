// Variables: VARSET, VARFREE, VARPUSH, VARPOP and VARLIST.
#include <string>

#include "player/command_table.h"
#include "player/error_report.h"
#include "player/parameters.h"
#include "player/script_text.h"
#include "player/trace.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

void command_varset(Player& player) {
  const std::string name = read_variable(player);
  std::string value = read_text(player);
  if (value == "=") value = read_text(player);
  set_variable(player, name, value);
}

void command_varfree(Player& player) {
  do {
    set_variable(player, read_variable(player), "");
  } while (!parameters_done(player));
}

void command_varpush(Player& player) {
  const bool group_started = stack_push_group(player.variable_stack);
  do {
    std::string name = normalize_name(read_variable(player));
    std::string value = get_variable(player, name);
    if (group_started) stack_push(player.variable_stack, std::move(name), std::move(value));
  } while (!parameters_done(player));
}

void command_varpop(Player& player) {
  const std::vector<ScriptVar> group = stack_pop_group(player.variable_stack);
  for (auto it = group.rbegin(); it != group.rend(); ++it)
    set_variable(player, it->name, it->value);
  trim_left(player.parameters);
}

void command_varlist(Player& player) {
  if (!has_window(player)) report_plain_error(player, kNoWindow);
  if (tracing(player)) {
    trace(player, "\r\n");
    for (const ScriptVar& var : player.variables.entries) {
      trace(player, var.name + "=" + var.value + "\r\n");
      trace_commit(player);
    }
  } else if (player.hooks.print_line) {
    // Copied first: printing may not change the store, but stay safe.
    const std::vector<ScriptVar> entries = player.variables.entries;
    for (const ScriptVar& var : entries)
      player.hooks.print_line(player, var.name + "=" + var.value);
  }
  trim_left(player.parameters);
}

}  // namespace

void register_variable_commands(CommandTable& table) {
  register_command(table, "VARFREE", command_varfree);
  register_command(table, "VARLIST", command_varlist);
  register_command(table, "VARPOP", command_varpop);
  register_command(table, "VARPUSH", command_varpush);
  register_command(table, "VARSET", command_varset);
}

}  // namespace glint::player
