// PRINTBEGIN, PRINTPAGEADV and PRINTEND: a print job is a file in a slot of
// the file table that text output goes to while it is open. Without a
// printer port the default job "lpt1" is a plain file of that name.
#include <algorithm>
#include <string>

#include "platform/paths.h"
#include "player/commands_system.h"
#include "player/commands_system_state.h"
#include "player/file_sandbox.h"
#include "player/script_text.h"
#include "player/token_reader.h"

namespace glint::player {
namespace {

constexpr const char* kDefaultPrinter = "lpt1";
constexpr char kFormFeed = '\f';

void command_printbegin(Player& player) {
  // The name is taken even while a job is open, so a second PRINTBEGIN with
  // a name is ignored instead of leaving its name as a bad parameter.
  std::string name;
  read_token(player, name, false);
  if (!print_job_file(player)) {
    if (name.empty()) name = kDefaultPrinter;
    raise_fuzz_fence();
    const int slot = free_file_slot(player);
    // No free slot, a name the file layer refuses or a place files may not
    // change: no job is open.
    const bool allowed = slot >= 0 && name.find('\0') == std::string::npos &&
                         file_change_allowed(platform::host_path(name));
    ORXFile* file = allowed ? ORXFileCreate(kScriptFileBuffer, name.c_str()) : nullptr;
    if (file) {
      player.files[static_cast<std::size_t>(slot)] = file;
      SystemState& state = system_state(player);
      state.print_slot = static_cast<uint8_t>(slot);
      state.print_file = file;
    }
  }
  trim_left(player.parameters);
}

void command_printpageadv(Player& player) {
  print_job_write(player, std::string_view(&kFormFeed, 1));
  trim_left(player.parameters);
}

void command_printend(Player& player) {
  if (ORXFile* file = print_job_file(player)) {
    SystemState& state = system_state(player);
    player.files[state.print_slot] = nullptr;
    state.print_slot = kNoPrintJob;
    state.print_file = nullptr;
    ORXFileClose(file);  // writes what is still buffered
  }
  trim_left(player.parameters);
}

}  // namespace

bool print_job_open(const Player& player) { return print_job_file(player) != nullptr; }

bool print_job_write(Player& player, std::string_view bytes) {
  ORXFile* file = print_job_file(player);
  if (!file) return false;
  while (!bytes.empty()) {
    const uint32_t chunk = static_cast<uint32_t>(std::min<std::size_t>(bytes.size(), 1u << 20));
    if (ORXFilePut(file, bytes.data(), chunk) != chunk) break;  // a full disk drops the rest
    bytes.remove_prefix(chunk);
  }
  return true;
}

void register_print_commands(CommandTable& table) {
  register_command(table, "PRINTBEGIN", command_printbegin);
  register_command(table, "PRINTEND", command_printend);
  register_command(table, "PRINTPAGEADV", command_printpageadv);
}

}  // namespace glint::player
