// A fence for the commands that change files. Normally every path is
// allowed. A program that runs scripts it did not write (the fuzz target)
// confines changes to one directory, so no script can delete, rename,
// create or empty anything elsewhere.
//
// Linked into a libFuzzer program, the fence goes up by itself on first
// use: a fresh private temporary directory becomes the working directory
// and the only place where files may change, and it is removed at exit.
#pragma once

#include <string>

namespace glint::player {

// Puts the fence up now when this is a fuzz program (before any script
// runs, so that relative names start in the private directory).
void raise_fuzz_fence();

// Confines changes to the host directory (and below); empty lifts the fence.
void confine_file_changes(const std::string& host_directory);

// True when a command may create, change or remove the file or directory
// at this host path.
bool file_change_allowed(const std::string& host_path);

}  // namespace glint::player
