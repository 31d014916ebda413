// The queries and switches: SYSTEMCOMMANDLINE, SYSTEMCURRENTSCRIPT,
// SYSTEMCURRENTEXE, SYSTEMPLATFORM, SYSTEMOSMAJOR, SYSTEMOSMINOR,
// SYSTEMMEMORY, SYSTEMCOLORS, SYSTEMDISPLAYRESOLUTION, SYSTEMUSEDIRECTSOUND,
// SYSTEMUSEMMX, ENVGET and ENVSET.
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "glinter/sound/sound_output.h"
#include "orxutil/glint.h"
#include "platform/paths.h"
#include "platform/video.h"
#include "player/display/screen.h"
#include "player/commands_system.h"
#include "player/commands_system_state.h"
#include "player/error_report.h"
#include "player/parameters.h"
#include "player/script_text.h"
#include "player/token_reader.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

// Sizes are printed as signed 32-bit numbers; anything larger reads as this.
constexpr int64_t kLargestSize = 2147483647;

// The desktop has no colour depth of its own to report here: it counts as
// true colour, which the command reports as 2 to the 24th.
constexpr int32_t kDesktopColors = 1 << 24;

void set_number(Player& player, std::string_view name, int64_t value) {
  set_variable(player, name,
               int32_to_text(static_cast<int32_t>(
                   std::clamp<int64_t>(value, -kLargestSize - 1, kLargestSize))));
}

void command_systemcommandline(Player& player) {
  set_variable(player, read_variable(player), player.script_arguments);
}

void command_systemcurrentscript(Player& player) {
  const std::string name = read_variable(player);
  set_variable(
      player, name,
      player.script_path.empty() ? std::string() : platform::full_path(player.script_path));
}

std::string program_file() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t got = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (got < 0) return {};
    if (static_cast<std::size_t>(got) < buffer.size()) {
      return std::string(buffer.data(), static_cast<std::size_t>(got));
    }
    if (buffer.size() >= (std::size_t{1} << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
}

void command_systemcurrentexe(Player& player) {
  const std::string name = read_variable(player);
  const std::string program = program_file();
  set_variable(player, name, program.empty() ? std::string() : platform::full_path(program));
}

// Scripts branch on the platform name, so it stays the one they know.
void command_systemplatform(Player& player) {
  set_variable(player, read_variable(player), "Win32");
}

// The running kernel's version: "6.1.0-18-amd64" gives 6 and 1.
void kernel_version(int64_t& major, int64_t& minor) {
  major = 0;
  minor = 0;
  utsname names{};
  if (uname(&names) != 0) return;
  const std::string release = names.release;
  std::size_t i = 0;
  auto number = [&](int64_t& out) {
    while (i < release.size() && util::is_digit(static_cast<unsigned char>(release[i]))) {
      out = std::min<int64_t>(out * 10 + (release[i] - '0'), kLargestSize);
      ++i;
    }
  };
  number(major);
  if (i < release.size() && release[i] == '.') {
    ++i;
    number(minor);
  }
}

void command_systemosmajor(Player& player) {
  const std::string name = read_variable(player);
  int64_t major = 0, minor = 0;
  kernel_version(major, minor);
  set_number(player, name, major);
}

void command_systemosminor(Player& player) {
  const std::string name = read_variable(player);
  int64_t major = 0, minor = 0;
  kernel_version(major, minor);
  set_number(player, name, minor);
}

// Memory the system could give without swapping: MemAvailable, else what
// the kernel counts as free.
int64_t available_memory() {
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  int64_t kilobytes = 0;
  std::string unit;
  while (meminfo >> key >> kilobytes) {
    std::getline(meminfo, unit);
    if (key == "MemAvailable:")
      return kilobytes > kLargestSize / 1024 ? kLargestSize : kilobytes * 1024;
  }
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long page_size = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || page_size <= 0) return 0;
  const int64_t bytes_limit_pages = kLargestSize / page_size;
  return pages > bytes_limit_pages ? kLargestSize : static_cast<int64_t>(pages) * page_size;
}

void command_systemmemory(Player& player) {
  const std::string name = read_variable(player);
  set_number(player, name, available_memory());
}

// 2 to the desktop's bits per pixel, at most 2^24.
void command_systemcolors(Player& player) {
  platform::VideoCaps caps;
  platform::video().capabilities(&caps);
  const int32_t bits = std::clamp(caps.bits_per_pixel, 0, 24);
  set_number(player, read_variable(player), bits >= 24 ? kDesktopColors : int32_t{1} << bits);
}

// Display modes are not changed by this player; the number is read so a
// script that passes one runs on.
void command_systemdisplayresolution(Player& player) {
  display::set_screen_resolution(read_number(player));
}

void command_systemusedirectsound(Player& player) {
  // Too late once a track has opened with the standard output; the switch
  // is remembered either way, as before.
  (void)glinter::install_direct_sound();
  system_state(player).direct_sound = true;
  trim_left(player.parameters);
}

void command_systemusemmx(Player& player) {
  const std::string name = read_variable(player);
  const int32_t mode = read_number(player);
  // 2 only asks; every other value than 0 and 1 must change nothing.
  const int in_use = GlintEnableMMX(mode == 0 || mode == 1 ? mode : 2);
  set_variable(player, name, in_use ? "1" : "0");
}

// An environment name: a word or a quoted text, not substituted, so that
// "ENVSET path ..." names PATH and not the value of a script variable.
std::string read_environment_name(Player& player) {
  std::string name;
  if (read_token(player, name, false) == TokenKind::kEnd) {
    report_line_error(player, kNeedParameter);
  }
  upper_case(name);
  return name;
}

void command_envget(Player& player) {
  const std::string variable = read_variable(player);
  const std::string name = read_environment_name(player);
  if (name.empty()) report_line_error(player, kNeedNonEmpty);
  const char* value = std::getenv(name.c_str());
  set_variable(player, variable, value ? value : "");
}

// Programs started later inherit the change. An empty value removes the
// variable, as setting "NAME=" did; a name the system cannot hold (empty,
// or with '=' or a NUL) changes nothing.
void command_envset(Player& player) {
  const std::string name = read_environment_name(player);
  const std::string value = read_text(player);
  if (name.empty() || name.find_first_of(std::string_view("=\0", 2)) != std::string::npos) return;
  if (value.empty()) {
    unsetenv(name.c_str());
  } else if (value.find('\0') == std::string::npos) {
    setenv(name.c_str(), value.c_str(), 1);
  }
}

}  // namespace

bool direct_sound_requested(const Player& player) { return system_state(player).direct_sound; }

void register_system_info_commands(CommandTable& table) {
  register_command(table, "ENVGET", command_envget);
  register_command(table, "ENVSET", command_envset);
  register_command(table, "SYSTEMCOLORS", command_systemcolors);
  register_command(table, "SYSTEMCOMMANDLINE", command_systemcommandline);
  register_command(table, "SYSTEMCURRENTEXE", command_systemcurrentexe);
  register_command(table, "SYSTEMCURRENTSCRIPT", command_systemcurrentscript);
  register_command(table, "SYSTEMDISPLAYRESOLUTION", command_systemdisplayresolution);
  register_command(table, "SYSTEMMEMORY", command_systemmemory);
  register_command(table, "SYSTEMOSMAJOR", command_systemosmajor);
  register_command(table, "SYSTEMOSMINOR", command_systemosminor);
  register_command(table, "SYSTEMPLATFORM", command_systemplatform);
  register_command(table, "SYSTEMUSEDIRECTSOUND", command_systemusedirectsound);
  register_command(table, "SYSTEMUSEMMX", command_systemusemmx);
}

}  // namespace glint::player
