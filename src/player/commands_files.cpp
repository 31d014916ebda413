// Open files and line I/O: FILEOPEN, FILECREATE, FILEAPPEND, FILECLOSE,
// FILEREAD, FILEWRITE, FILEEOF, FILESIZE, FILEEXISTS and FILELIST.
#include "player/commands_files.h"

#include <algorithm>
#include <string>

#include "player/error_report.h"
#include "player/file_names.h"
#include "player/file_sandbox.h"
#include "player/file_slots.h"
#include "player/file_wildcards.h"
#include "player/parameters.h"
#include "player/script_text.h"
#include "player/trace.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

constexpr int32_t kLargestNumber = 2147483647;

// Sizes past what a script number holds read as the largest number.
std::string size_text(uint64_t size) {
  return int32_to_text(static_cast<int32_t>(std::min<uint64_t>(size, kLargestNumber)));
}

ORXFile* open_for_reading(const std::string& name) {
  return ORXFileOpen(kFileBuffer, name.c_str(), ORXFILE_READ);
}

// Creating empties the file, so the fence is asked first.
ORXFile* create_for_writing(const std::string& name) {
  if (!file_change_allowed(host_of(name))) return nullptr;
  return ORXFileCreate(kFileBuffer, name.c_str());
}

// Read and write, at the end; a file that cannot be opened is created.
ORXFile* open_for_appending(const std::string& name) {
  if (!file_change_allowed(host_of(name))) return nullptr;
  ORXFile* file = ORXFileOpen(kFileBuffer, name.c_str(), ORXFILE_READWRITE);
  if (!file) return ORXFileCreate(kFileBuffer, name.c_str());
  ORXFileSetPos(file, ORXFileSize(file));
  return file;
}

void open_command(Player& player, ORXFile* (*open)(const std::string& name)) {
  const std::string variable = read_variable(player);
  // Windows ignores dots at the end of a name; the host would not.
  const std::string name = without_trailing_dots(read_nonempty_text(player));
  set_variable(player, variable, int32_to_text(open_in_free_slot(player, open, name)));
}

void command_fileopen(Player& player) { open_command(player, open_for_reading); }
void command_filecreate(Player& player) { open_command(player, create_for_writing); }
void command_fileappend(Player& player) { open_command(player, open_for_appending); }

void command_fileclose(Player& player) {
  const std::string variable = read_variable(player);
  const std::optional<std::size_t> slot = slot_of_number(player, get_variable(player, variable));
  if (!slot) report_line_error(player, kBadFile);
  close_slot(player, *slot);
  set_variable(player, variable, "");
}

void command_fileread(Player& player) {
  const std::string variable = read_variable(player);
  ORXFile* file = read_file_parameter(player);
  char line[kLineBytes + 1];
  ORXFileGetLine(file, line, sizeof line);
  set_variable(player, variable, line);
}

void command_filewrite(Player& player) {
  ORXFile* file = read_file_parameter(player);
  std::string text = read_text(player);
  text += "\r\n";
  // Put takes 32-bit counts; a text is far below that.
  ORXFilePut(file, text.data(), static_cast<uint32_t>(text.size()));
}

void command_fileeof(Player& player) {
  const std::string variable = read_variable(player);
  ORXFile* file = read_file_parameter(player);
  set_variable(player, variable, ORXFileAtEnd(file) ? "1" : "0");
}

// An open file's size includes what its buffer still holds; a name is
// opened (shared for reading) just to ask.
void command_filesize(Player& player) {
  const std::string variable = read_variable(player);
  const std::string name = read_nonempty_text(player);
  uint64_t size = 0;
  if (const std::optional<std::size_t> slot = slot_of_number(player, name)) {
    size = ORXFileSize(player.files[*slot]);
  } else if (ORXFile* file = ORXFileOpen(0, without_trailing_dots(name).c_str(), ORXFILE_READ)) {
    size = ORXFileSize(file);
    ORXFileClose(file);
  }
  set_variable(player, variable, size_text(size));
}

// Whether the file can be opened for reading. The test needs no slot of its
// own: a full table does not make existing files disappear.
void command_fileexists(Player& player) {
  const std::string variable = read_variable(player);
  const std::string name = read_nonempty_text(player);
  ORXFile* file = ORXFileOpen(0, without_trailing_dots(name).c_str(), ORXFILE_READ);
  ORXFileClose(file);
  set_variable(player, variable, file ? "1" : "0");
}

void command_filelist(Player& player) {
  if (!has_window(player)) report_plain_error(player, kNoWindow);
  if (tracing(player)) trace(player, "\r\n");
  for (std::size_t slot = 0; slot < kFileSlots; ++slot) {
    if (!player.files[slot]) continue;
    const std::string line = file_list_line(player, slot);
    if (tracing(player)) {
      trace(player, line + "\r\n");
      trace_commit(player);
    } else if (player.hooks.print_line) {
      player.hooks.print_line(player, line);
    }
  }
  trim_left(player.parameters);
}

}  // namespace

void register_file_slot_commands(CommandTable& table) {
  register_command(table, "FILEAPPEND", command_fileappend);
  register_command(table, "FILECLOSE", command_fileclose);
  register_command(table, "FILECREATE", command_filecreate);
  register_command(table, "FILEEOF", command_fileeof);
  register_command(table, "FILEEXISTS", command_fileexists);
  register_command(table, "FILELIST", command_filelist);
  register_command(table, "FILEOPEN", command_fileopen);
  register_command(table, "FILEREAD", command_fileread);
  register_command(table, "FILESIZE", command_filesize);
  register_command(table, "FILEWRITE", command_filewrite);
}

void register_file_commands(CommandTable& table) {
  raise_fuzz_fence();
  register_file_slot_commands(table);
  register_file_name_commands(table);
  register_directory_commands(table);
}

}  // namespace glint::player
