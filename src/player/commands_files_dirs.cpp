// Directories and drives: DIRCURRENT, DIREXISTS, DIRCHANGE, DIRMAKE,
// DIRREMOVE, DRIVEAVAIL, DRIVESIZE, FILECDROM, FILEREMOTE and FILEREMOVABLE.
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "orxutil/orxutil.h"
#include "platform/paths.h"
#include "player/commands_files.h"
#include "player/file_drives.h"
#include "player/file_names.h"
#include "player/file_sandbox.h"
#include "player/parameters.h"
#include "player/script_text.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

void flag(Player& player, const std::string& variable, bool value) {
  set_variable(player, variable, value ? "1" : "0");
}

// The directory helper works in a buffer of the full-path size; a longer
// path is no directory it could enter.
bool is_directory(const std::string& path, bool stay) {
  if (path.size() >= ORX_PATH_MAX) return false;
  char buffer[ORX_PATH_MAX] = {};
  path.copy(buffer, path.size());
  return IsDirectory(buffer, stay ? 1 : 0) != 0;
}

void command_dircurrent(Player& player) {
  const std::string variable = read_variable(player);
  const char drive = platform::current_drive();
  set_variable(player, variable, drive ? platform::drive_directory(drive) : std::string());
}

void command_direxists(Player& player) {
  const std::string variable = read_variable(player);
  flag(player, variable, is_directory(read_nonempty_text(player), false));
}

void command_dirchange(Player& player) {
  const std::string variable = read_variable(player);
  flag(player, variable, is_directory(read_nonempty_text(player), true));
}

void command_dirmake(Player& player) {
  const std::string variable = read_variable(player);
  const std::string host = host_of(full_form_of(read_nonempty_text(player)));
  flag(player, variable,
       !host.empty() && file_change_allowed(host) && mkdir(host.c_str(), 0777) == 0);
}

// The current directory stays: Windows cannot remove a directory in use.
bool remove_directory(const std::string& host) {
  struct stat target {};
  struct stat current {};
  if (host.empty() || !file_change_allowed(host) || stat(host.c_str(), &target) != 0) return false;
  if (stat(".", &current) == 0 && current.st_dev == target.st_dev &&
      current.st_ino == target.st_ino)
    return false;
  return rmdir(host.c_str()) == 0;
}

void command_dirremove(Player& player) {
  const std::string variable = read_variable(player);
  flag(player, variable, remove_directory(host_of(full_form_of(read_nonempty_text(player)))));
}

// Free and total bytes: 64-bit products, shown as at most 2,147,483,647.
void space_command(Player& player, bool total) {
  const std::string variable = read_variable(player);
  const std::string host = host_of(full_form_of(read_nonempty_text(player)));
  const std::optional<DriveSpace> space = host.empty() ? std::nullopt : drive_space(host);
  const uint64_t bytes = !space ? 0 : total ? space->total : space->available;
  set_variable(player, variable, int32_to_text(clamp_to_number(bytes)));
}

void command_driveavail(Player& player) { space_command(player, false); }
void command_drivesize(Player& player) { space_command(player, true); }

void kind_command(Player& player, DriveKind kind) {
  const std::string variable = read_variable(player);
  const std::string host = host_of(full_form_of(read_nonempty_text(player)));
  flag(player, variable, !host.empty() && drive_kind(host) == kind);
}

void command_filecdrom(Player& player) { kind_command(player, DriveKind::kOptical); }
void command_fileremote(Player& player) { kind_command(player, DriveKind::kRemote); }
void command_fileremovable(Player& player) { kind_command(player, DriveKind::kRemovable); }

}  // namespace

void register_directory_commands(CommandTable& table) {
  register_command(table, "DIRCHANGE", command_dirchange);
  register_command(table, "DIRCURRENT", command_dircurrent);
  register_command(table, "DIREXISTS", command_direxists);
  register_command(table, "DIRMAKE", command_dirmake);
  register_command(table, "DIRREMOVE", command_dirremove);
  register_command(table, "DRIVEAVAIL", command_driveavail);
  register_command(table, "DRIVESIZE", command_drivesize);
  register_command(table, "FILECDROM", command_filecdrom);
  register_command(table, "FILEREMOTE", command_fileremote);
  register_command(table, "FILEREMOVABLE", command_fileremovable);
}

}  // namespace glint::player
