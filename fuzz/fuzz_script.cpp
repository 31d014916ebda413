// Loads and runs arbitrary script text. The run is bounded by a step limit;
// scripts come from memory (a CALL of a name beginning with 'x' fails to
// open, every other name gets the same text again), boxes are silent and
// the debug trace goes to one file in a private temporary directory.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "player/player.h"
#include "player/startup.h"

namespace {

using glint::player::Player;

const std::string* g_text = nullptr;

int silent_box(const char*, const char*, unsigned) { return 1; }

bool read_from_input(Player&, const std::string& path, std::string& bytes) {
  const std::size_t slash = path.find_last_of("/\\:");
  const char first = path[slash == std::string::npos ? 0 : slash + 1];
  if (first == 'x' || first == 'X') return false;
  bytes = *g_text;
  return true;
}

std::string g_trace_dir;

void remove_trace_dir() {
  unlink((g_trace_dir + "/trace").c_str());
  rmdir(g_trace_dir.c_str());
}

const std::string& trace_path() {
  static const std::string path = [] {
    std::string dir = "/tmp/glint-fuzz-script-XXXXXX";
    if (mkdtemp(dir.data()) == nullptr) std::abort();
    g_trace_dir = dir;
    std::atexit(remove_trace_dir);
    return dir + "/trace";
  }();
  return path;
}

ORXFile* create_trace(const char*) { return ORXFileCreate(3072, trace_path().c_str()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  g_text = &text;

  Player player;
  glint::player::init_player(player);
  player.hooks.message_box = silent_box;
  player.hooks.read_script = read_from_input;
  player.hooks.create_file = create_trace;
  player.commit_debug_writes = false;
  player.step_limit = 1000;
  glint::player::start_player(player);
  player.random_seed = 0;
  glint::player::run_command_line(player, glint::player::parse_command_line({"fuzz.gs"}));

  g_text = nullptr;
  return 0;
}
