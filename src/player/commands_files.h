// The file, directory and drive commands, registered in three groups.
#pragma once

#include "player/command_table.h"

namespace glint::player {

// Open files and line I/O: FILEOPEN ... FILELIST (commands_files.cpp).
void register_file_slot_commands(CommandTable& table);
// Names and searches: FILEDELETE ... FILESETATTRIB (commands_files_names.cpp).
void register_file_name_commands(CommandTable& table);
// Directories and drives: DIR..., DRIVE..., FILECDROM ... (commands_files_dirs.cpp).
void register_directory_commands(CommandTable& table);

// All of them; the entry in the list of families.
void register_file_commands(CommandTable& table);

}  // namespace glint::player
