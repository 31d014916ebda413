// File names: FILEDELETE, FILERENAME and FILECOPY (with wildcards and
// target patterns), FILEFIND, FILEFINDNEXT, FILEFULLPATH, FILEPIECES,
// FILETEMP, FILEGETATTRIB and FILESETATTRIB.
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <ctime>
#include <string>

#include "platform/paths.h"
#include "player/commands_files.h"
#include "player/file_attributes.h"
#include "player/file_copy.h"
#include "player/file_find.h"
#include "player/file_names.h"
#include "player/file_sandbox.h"
#include "player/file_snapshot.h"
#include "player/file_wildcards.h"
#include "player/parameters.h"
#include "player/script_text.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

using Operation = bool (*)(const std::string& source, const std::string& target);

// A read-only file stays, as on Windows (the directory's permissions alone
// would let it go).
bool delete_one(const std::string& source, const std::string&) {
  const std::string name = without_trailing_dots(source);
  const std::string host = host_of(name);
  if (!file_change_allowed(host)) return false;
  if (attributes_of(host, "") & kAttributeReadOnly) return false;
  return ORXFileErase(name.c_str()) == 0;
}

bool rename_one(const std::string& source, const std::string& target) {
  const std::string from = without_trailing_dots(source);
  const std::string to = without_trailing_dots(target);
  if (!file_change_allowed(host_of(from)) || !file_change_allowed(host_of(to))) return false;
  return ORXFileRename(to.c_str(), from.c_str()) == 0;
}

// The operation on the source, or on every match of its wildcards, each
// with its target made from the target pattern. The matches are taken
// before anything changes; the first failure ends the run.
bool for_each_source(const std::string& source_text, std::string target_text, Operation operation) {
  trim(target_text);
  if (target_text.empty()) target_text = "*.*";
  const std::string source = full_form_of(source_text);
  const std::string target = full_form_of(target_text);
  if (source.empty() || target.empty()) return false;
  if (!has_wildcards(source)) return operation(source, target_name(source, target));

  const std::string directory(split_name(source).directory);
  for (const DirectoryEntry& entry : matching_entries(source)) {
    if (entry.name == "." || entry.name == "..") continue;
    std::string full = directory + entry.name;
    // A name without extension gets a trailing dot, so that a target
    // pattern's extension has an empty one to copy.
    if (split_name(full).extension.empty()) full += '.';
    if (!operation(full, target_name(full, target))) return false;
  }
  return true;
}

void result(Player& player, const std::string& variable, bool ok) {
  set_variable(player, variable, ok ? "1" : "0");
}

void command_filedelete(Player& player) {
  const std::string variable = read_variable(player);
  const std::string name = read_nonempty_text(player);
  result(player, variable, for_each_source(name, "", delete_one));
}

void command_filerename(Player& player) {
  const std::string variable = read_variable(player);
  const std::string source = read_nonempty_text(player);
  const std::string target = read_nonempty_text(player);
  result(player, variable, for_each_source(source, target, rename_one));
}

void command_filecopy(Player& player) {
  const std::string variable = read_variable(player);
  const std::string source = read_nonempty_text(player);
  const std::string target = read_nonempty_text(player);
  result(player, variable, for_each_source(source, target, copy_file));
}

void command_filefind(Player& player) {
  const std::string variable = read_variable(player);
  const std::string pattern = read_text(player);
  set_variable(player, variable, find_first(player, pattern));
}

void command_filefindnext(Player& player) {
  const std::string variable = read_variable(player);
  set_variable(player, variable, find_next(player));
}

void command_filefullpath(Player& player) {
  const std::string variable = read_variable(player);
  const std::string name = read_nonempty_text(player);
  const std::string full = platform::full_path(name);
  // An unmapped drive has no full form; the name stays as it was.
  set_variable(player, variable, full.empty() ? name : full);
}

void command_filepieces(Player& player) {
  const std::string variable = read_variable(player);
  // A flag counts by its low byte.
  const bool drive = (read_number(player) & 0xFF) != 0;
  const bool directory = (read_number(player) & 0xFF) != 0;
  const bool name = (read_number(player) & 0xFF) != 0;
  const bool extension = (read_number(player) & 0xFF) != 0;
  const std::string path = read_nonempty_text(player);
  set_variable(player, variable,
               file_pieces(path, drive, directory, name, extension).value_or(path));
}

// Six letters and digits that no other call of this process gives, and
// that differ between processes started at the same time.
std::string unique_part(uint32_t attempt) {
  static std::atomic<uint32_t> counter{0};
  uint64_t value = (static_cast<uint64_t>(getpid()) << 20) ^
                   (static_cast<uint64_t>(std::time(nullptr)) << 8) ^ (counter++ * 7919u) ^ attempt;
  constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string out;
  for (int i = 0; i < 6; ++i) {
    out += kDigits[value % 36];
    value /= 36;
  }
  return out;
}

// The path's drive and directory, the first two characters of its file
// name, then a part no existing file has, with the extension ".tmp".
void command_filetemp(Player& player) {
  const std::string variable = read_variable(player);
  const std::string path = read_nonempty_text(player);
  const std::optional<std::string> directory = file_pieces(path, true, true, false, false);
  const std::optional<std::string> name = file_pieces(path, false, false, true, false);
  std::string temporary;
  if (directory && name) {
    for (uint32_t attempt = 0; attempt < 100; ++attempt) {
      const std::string candidate = *directory + name->substr(0, 2) + unique_part(attempt) + ".tmp";
      struct stat st {};
      const std::string host = host_of(candidate);
      if (host.empty() || lstat(host.c_str(), &st) != 0) {
        temporary = candidate;
        break;
      }
    }
  }
  set_variable(player, variable, temporary);
}

// The attributes of the first match of the name.
void command_filegetattrib(Player& player) {
  const std::string variable = read_variable(player);
  const std::string name = read_nonempty_text(player);
  const std::string full = full_form_of(name);
  uint32_t attributes = 0;
  if (!full.empty()) {
    const std::vector<DirectoryEntry> entries = matching_entries(full);
    if (!entries.empty()) {
      const std::string entry_path = std::string(split_name(full).directory) + entries[0].name;
      attributes = attributes_of(host_of(entry_path), entries[0].name);
    }
  }
  set_variable(player, variable, int32_to_text(static_cast<int32_t>(attributes)));
}

void command_filesetattrib(Player& player) {
  const std::string name = read_nonempty_text(player);
  const int32_t attributes = read_number(player);
  const std::string host = host_of(full_form_of(name));
  if (host.empty() || !file_change_allowed(host)) return;
  set_attributes(host, static_cast<uint32_t>(attributes));
}

}  // namespace

void register_file_name_commands(CommandTable& table) {
  register_command(table, "FILECOPY", command_filecopy);
  register_command(table, "FILEDELETE", command_filedelete);
  register_command(table, "FILEFIND", command_filefind);
  register_command(table, "FILEFINDNEXT", command_filefindnext);
  register_command(table, "FILEFULLPATH", command_filefullpath);
  register_command(table, "FILEGETATTRIB", command_filegetattrib);
  register_command(table, "FILEPIECES", command_filepieces);
  register_command(table, "FILERENAME", command_filerename);
  register_command(table, "FILESETATTRIB", command_filesetattrib);
  register_command(table, "FILETEMP", command_filetemp);
}

}  // namespace glint::player
