#include "script_runner.h"

#include <sstream>

#include "player/startup.h"
#include "player/variables.h"

namespace glint::player::test {
namespace {

// The hooks are plain function pointers, so the run's context lives here.
const std::map<std::string, std::string>* g_scripts = nullptr;
std::vector<Box>* g_boxes = nullptr;
const glint::test::TempDir* g_dir = nullptr;

int collect_box(const char* caption, const char* text, unsigned) {
  g_boxes->push_back(Box{caption, text});
  return 1;
}

bool read_from_memory(Player&, const std::string& path, std::string& bytes) {
  const auto found = g_scripts->find(path);
  if (found == g_scripts->end()) return false;
  bytes = found->second;
  return true;
}

ORXFile* create_in_temp_dir(const char* name) {
  return ORXFileCreate(kScriptFileBuffer, g_dir->file(name).c_str());
}

std::vector<std::string> split_words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

}  // namespace

std::string ScriptRun::box(const std::string& caption) const {
  for (const Box& b : boxes) {
    if (b.caption == caption) return b.text;
  }
  return "";
}

std::string ScriptRun::var(const std::string& name) const {
  return std::string(store_get(player.variables, normalize_name(name)));
}

ScriptRun run_scripts(const std::map<std::string, std::string>& scripts,
                      const std::string& command_line, void (*configure)(Player&)) {
  glint::test::TempDir dir;
  ScriptRun run;
  g_scripts = &scripts;
  g_boxes = &run.boxes;
  g_dir = &dir;

  init_player(run.player);
  run.player.hooks.message_box = collect_box;
  run.player.hooks.read_script = read_from_memory;
  run.player.hooks.create_file = create_in_temp_dir;
  if (configure) configure(run.player);
  start_player(run.player);
  run.player.random_seed = 0;
  run.status = run_command_line(run.player, parse_command_line(split_words(command_line)));
  run.trace = dir.read("trace");

  g_scripts = nullptr;
  g_boxes = nullptr;
  g_dir = nullptr;
  return run;
}

ScriptRun run_script_text(const std::string& text) {
  return run_scripts({{"main.gs", text}}, "main.gs");
}

std::string error_at(const std::string& message_and_detail, unsigned line,
                     const std::string& script) {
  return message_and_detail + "  In script file: " + script +
         "  At line number: " + std::to_string(line) + ".\r\n";
}

}  // namespace glint::player::test
