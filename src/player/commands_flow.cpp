// Flow control: GOTO, GOSUB, RETURN, IF, IFSET, END, EXIT, INTERPRET, CALL
// and CALLANDGOSUB.
#include <optional>
#include <string>

#include "player/command_table.h"
#include "player/comparison.h"
#include "player/engine.h"
#include "player/error_report.h"
#include "player/parameters.h"
#include "player/script_text.h"
#include "player/trace.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

void command_goto(Player& player) { jump_to_label(player, read_nonempty_text(player)); }

void command_gosub(Player& player) {
  if (player.return_stack.size() >= kReturnStackMax) report_plain_error(player, kTooManyGosubs);
  indent(player);
  player.return_stack.push_back(ReturnEntry{player.level, player.position});
  jump_to_label(player, read_nonempty_text(player));
}

void command_return(Player& player) {
  trim_left(player.parameters);
  // Only this script's own entries: its end entry is the last one it may
  // pop, so a chained second RETURN can never land in the caller's block.
  if (!player.return_stack.empty() && player.return_stack.back().level == player.level) {
    player.position = player.return_stack.back().position;
    player.return_stack.pop_back();
    outdent(player);
  } else {
    player.run_state = RunState::kLeaveScript;
  }
  trace_line_end(player);
}

bool read_condition(Player& player) {
  const std::string left = read_text(player);
  const std::string op = read_nonempty_text(player);
  const std::string right = read_text(player);
  return compare_values(left, op, right);
}

void trace_condition(Player& player, bool result) {
  trace(player, result ? "  ***True " : "  ***False");
}

void command_if(Player& player) {
  const bool result = read_condition(player);
  trace_condition(player, result);
  if (result) {
    player.line_buffer = player.parameters;
    player.run_state = RunState::kInterpret;
  } else {
    // The rest of the line, ';' chains included, is skipped.
    player.parameters.clear();
  }
}

void command_ifset(Player& player) {
  const bool result = read_condition(player);
  trace_condition(player, result);
  const std::string variable = read_variable(player);
  const std::string if_true = read_text(player);
  const std::string if_false = read_text(player);
  set_variable(player, variable, result ? if_true : if_false);
}

void command_end(Player& player) {
  trim_left(player.parameters);
  player.run_state = RunState::kEndRun;
}

void command_exit(Player& player) {
  trim_left(player.parameters);
  player.run_state = RunState::kLeaveScript;
}

void command_interpret(Player& player) {
  player.line_buffer = read_nonempty_text(player);
  player.run_state = RunState::kInterpret;
}

// The caller's line survives the nested run, so a ';' chain after the CALL
// still runs and a later error names the caller's line.
void call_script(Player& player, std::string name, const std::optional<std::string>& label) {
  const std::string saved_path = player.script_path;
  const std::string saved_line = player.line_buffer;
  const std::string saved_parameters = player.parameters;
  const uint32_t saved_number = player.line_number;
  if (!run_script(player, name, label)) report_line_error(player, kErrorOpeningScript);
  player.script_path = saved_path;
  player.line_buffer = saved_line;
  player.parameters = saved_parameters;
  player.line_number = saved_number;
}

void command_call(Player& player) { call_script(player, read_nonempty_text(player), std::nullopt); }

void command_call_and_gosub(Player& player) {
  std::string name = read_nonempty_text(player);
  std::string label = read_nonempty_text(player);
  call_script(player, std::move(name), label);
}

}  // namespace

void register_flow_commands(CommandTable& table) {
  register_command(table, "CALL", command_call);
  register_command(table, "CALLANDGOSUB", command_call_and_gosub);
  register_command(table, "END", command_end);
  register_command(table, "EXIT", command_exit);
  register_command(table, "GOSUB", command_gosub);
  register_command(table, "GOTO", command_goto);
  register_command(table, "IF", command_if);
  register_command(table, "IFSET", command_ifset);
  register_command(table, "INTERPRET", command_interpret);
  register_command(table, "RETURN", command_return);
}

}  // namespace glint::player
