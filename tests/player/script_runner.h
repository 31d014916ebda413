// Runs scripts inside the test process: scripts come from memory, message
// boxes are collected instead of shown, and the debug file is written into a
// temporary directory.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "player/player.h"
#include "support/temp_dir.h"

namespace glint::player::test {

struct Box {
  std::string caption;
  std::string text;
};

struct ScriptRun {
  int status = 0;
  std::vector<Box> boxes;  // in the order shown (the about box last)
  std::string trace;       // the file named by DEBUGFILE "trace" ("" if none)
  Player player;           // the state after the run

  // The text of the first box with this caption ("" if none).
  std::string box(const std::string& caption) const;
  std::string error() const { return box("Error"); }
  std::string var(const std::string& name) const;
};

// Scripts by name; the run starts with `command_line` (by default the first
// script's name). DEBUGFILE names become files in a temporary directory.
// `configure` may set further hooks before the run starts.
ScriptRun run_scripts(const std::map<std::string, std::string>& scripts,
                      const std::string& command_line, void (*configure)(Player&) = nullptr);

// One script called main.gs.
ScriptRun run_script_text(const std::string& text);

// The box text of an error on a line of main.gs.
std::string error_at(const std::string& message_and_detail, unsigned line,
                     const std::string& script = "main.gs");

}  // namespace glint::player::test
