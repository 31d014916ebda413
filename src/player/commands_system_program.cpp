// EXECUTE and MCISENDSTRING.
#include <cstddef>
#include <cstdint>
#include <string>

#include "player/commands_system.h"
#include "player/execute_command_line.h"
#include "player/parameters.h"
#include "player/script_text.h"
#include "player/variable_access.h"

// Defined by libFuzzer programs only.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) __attribute__((weak));

namespace glint::player {
namespace {

// There is no multimedia command interpreter on this system; every string
// gets the interpreter's error form so scripts can tell it failed.
constexpr std::string_view kNoInterpreterReply = "Error: no multimedia command interpreter";

void command_execute(Player& player) {
  const std::string name = read_variable(player);
  const std::string command_line = read_nonempty_text(player);
  // A fuzz program runs scripts nobody wrote: they never start programs and
  // see every program as missing.
  const int result =
      LLVMFuzzerTestOneInput != nullptr ? kFileNotFound : start_program(command_line);
  set_variable(player, name, int32_to_text(result));
  // The started program may have drawn over the text settings.
  reset_text_defaults(player);
}

void command_mcisendstring(Player& player) {
  const std::string name = read_variable(player);
  (void)read_text(player);
  set_variable(player, name, kNoInterpreterReply);
}

}  // namespace

void register_system_program_commands(CommandTable& table) {
  register_command(table, "EXECUTE", command_execute);
  register_command(table, "MCISENDSTRING", command_mcisendstring);
}

}  // namespace glint::player
