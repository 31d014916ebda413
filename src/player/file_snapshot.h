// A snapshot of the directory entries that match a pattern. Every wildcard
// operation works on one, taken before it changes anything, so renaming or
// creating files while going through the matches never revisits an entry
// or picks up a new one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace glint::player {

struct DirectoryEntry {
  std::string name;  // as spelled on disk
  bool is_directory = false;
};

// The entries of the directory of `full_pattern` (a Windows full form such
// as "C:\dir\*.txt") whose names match its last component, in a fixed
// order: "." and ".." first (they exist below a drive's root only, as on
// Windows), then by name without regard to case. Empty when the directory
// cannot be read.
std::vector<DirectoryEntry> matching_entries(std::string_view full_pattern);

}  // namespace glint::player
