#include "player/engine.h"

#include <utility>

#include "platform/platform.h"
#include "player/command_table.h"
#include "player/error_report.h"
#include "player/script_lines.h"
#include "player/script_text.h"
#include "player/trace.h"

namespace glint::player {
namespace {

void call_handler(Player& player, uint8_t command) {
  if (player.step_limit != 0 && player.steps >= player.step_limit) {
    player.run_state = RunState::kEndRun;
    return;
  }
  ++player.steps;
  command_table().handlers[command](player);
}

void hold_while_paused(Player& player) {
  if (!player.hooks.window_lacks_focus) return;
  while (player.auto_pause == 1 && player.hooks.window_lacks_focus(player)) {
    platform::sleep_ms(1);
    service_between_lines(player);
  }
}

// What follows a handler: messages, auto-pause, the run state, ';' chains
// and the check that the command used all its parameters. False when the
// script is to be left.
bool after_command(Player& player) {
  for (;;) {
    service_between_lines(player);
    hold_while_paused(player);
    if (player.run_state == RunState::kInterpret) {
      player.run_state = RunState::kCarryOn;
      interpret_line_buffer(player);
      continue;
    }
    if (player.run_state == RunState::kLeaveScript) {
      player.run_state = RunState::kCarryOn;
      return false;
    }
    if (player.run_state == RunState::kEndRun) return false;

    std::string& params = player.parameters;
    if (!params.empty() && params.front() == ';') {
      std::string chained = params.substr(1);
      trim(chained);
      if (chained.empty() || chained.front() == '#') {
        // Nothing left to chain: the line is done (the ';' would otherwise
        // stay unconsumed for ever).
        params.clear();
        return true;
      }
      player.line_buffer = std::move(chained);
      interpret_line_buffer(player);
      continue;
    }
    if (!params.empty() && params.front() != '#') report_line_error(player, kBadCommand);
    return true;
  }
}

void execute(Player& player) {
  const CompiledScript& script = *player.script;
  while (player.position < script.lines.size() && player.run_state != RunState::kEndRun) {
    const CompiledLine& line = script.lines[player.position++];
    if (line.text) continue;
    player.line_number = line.line_number;
    player.parameters = line.parameters;
    player.line_buffer = std::string(kCommandNames[line.command]);
    player.line_buffer += ' ';
    player.line_buffer += line.parameters;
    trace_line_head(player);
    call_handler(player, line.command);
    trace_line_end(player);
    if (!after_command(player)) break;
  }
}

std::string label_name(std::string line) {
  const std::size_t comment = line.find('#');
  if (comment != std::string::npos) line.resize(comment);
  trim(line);
  upper_case(line);
  std::string name = line.substr(1);  // after the colon, blanks included
  if (name.size() > kLabelNameMax) name.resize(kLabelNameMax);
  return name;
}

}  // namespace

void add_default_extension(std::string& path) {
  for (std::size_t i = path.size(); i-- > 0;) {
    const char c = path[i];
    if (c == '.') return;
    if (c == ':' || c == '\\' || c == '/') break;
  }
  path += ".gs";
}

bool is_text_block_end(const std::string& line) {
  std::string word;
  std::string rest;
  split_command_word(line, word, rest);
  upper_case(word);
  return word == "TEXTEND";
}

CompiledScript compile_script(Player& player, std::string_view bytes) {
  static const uint8_t text_begin = *find_command("TEXTBEGIN");
  CompiledScript script;
  ScriptLineReader reader{bytes};
  std::string line;
  std::string word;
  std::string rest;
  bool in_text_block = false;
  for (player.line_number = 1; next_script_line(reader, line); ++player.line_number) {
    service_between_lines(player);
    trim_left(line);
    // After TEXTBEGIN every line up to and including the first TEXTEND is
    // text: blank lines, comments and label-like lines are printed too.
    if (in_text_block) {
      in_text_block = !is_text_block_end(line);
      script.lines.push_back(CompiledLine{player.line_number, text_begin, line, true});
      continue;
    }
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == ':') {
      if (player.labels.size() >= kMaxLabels) report_plain_error(player, kTooManyLabels);
      player.labels.push_back(Label{label_name(line), script.lines.size()});
      continue;
    }
    split_command_word(line, word, rest);
    upper_case(word);
    const std::optional<uint8_t> command = find_command(word);
    if (!command) report_error(player, kBadCommand, word + " " + rest, true);
    script.lines.push_back(CompiledLine{player.line_number, *command, rest});
    in_text_block = *command == text_begin;
  }
  return script;
}

std::optional<std::size_t> find_label(const Player& player, std::string name) {
  upper_case(name);
  if (name.size() > kLabelNameMax) name.resize(kLabelNameMax);
  for (std::size_t i = player.labels.size(); i-- > player.first_visible_label;) {
    if (player.labels[i].name == name) return player.labels[i].position;
  }
  return std::nullopt;
}

void jump_to_label(Player& player, const std::string& label) {
  const std::optional<std::size_t> position = find_label(player, label);
  if (!position) {
    std::string shown = label;
    upper_case(shown);
    report_error(player, kLabelNotFound, shown, true);
  }
  player.position = *position;
  trace_line_end(player);
}

void interpret_line_buffer(Player& player) {
  const std::string& line = player.line_buffer;
  if (line.empty() || line.front() == '#') return;
  std::string word;
  std::string rest;
  split_command_word(line, word, rest);
  player.parameters = rest.empty() ? std::string(" ") : rest;
  upper_case(word);
  const std::optional<uint8_t> command = find_command(word);
  if (!command) report_line_error(player, kBadCommand);
  trace_interpreted_head(player);
  call_handler(player, *command);
  trace_line_end(player);
}

bool run_script(Player& player, std::string& path, const std::optional<std::string>& start_label) {
  add_default_extension(path);
  std::string bytes;
  if (!player.hooks.read_script || !player.hooks.read_script(player, path, bytes)) return false;

  // Every running script keeps an end entry on the return stack; a CALL
  // that would not fit is refused like a GOSUB, naming the calling line.
  if (player.return_stack.size() >= kReturnStackMax) report_plain_error(player, kTooManyGosubs);

  indent(player);
  player.script_path = path;

  // The caller's context comes back when this script is left.
  const std::size_t caller_first_label = player.first_visible_label;
  const std::size_t caller_label_count = player.labels.size();
  const std::size_t caller_depth = player.return_stack.size();
  const CompiledScript* caller_script = player.script;
  const std::size_t caller_position = player.position;

  player.first_visible_label = caller_label_count;
  ++player.level;
  const CompiledScript script = compile_script(player, bytes);
  bytes = std::string();

  // Popping the end entry (RETURN without GOSUB) ends the script.
  player.return_stack.push_back(ReturnEntry{player.level, script.lines.size()});
  player.script = &script;
  player.position = 0;

  if (start_label) {
    const std::optional<std::size_t> position = find_label(player, *start_label);
    if (!position) {
      std::string shown = *start_label;
      upper_case(shown);
      report_error(player, kLabelNotFound, shown, true);
    }
    player.position = *position;
    trace_line_end(player);
  }

  execute(player);

  player.labels.resize(caller_label_count);
  player.first_visible_label = caller_first_label;
  if (player.return_stack.size() > caller_depth) player.return_stack.resize(caller_depth);
  player.script = caller_script;
  player.position = caller_position;
  --player.level;
  trace_line_end(player);
  outdent(player);
  return true;
}

}  // namespace glint::player
