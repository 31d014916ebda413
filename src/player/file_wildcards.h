// Windows file-name patterns: matching directory entries against `*` and
// `?`, and making a target name from a source name and a target pattern.
#pragma once

#include <string>
#include <string_view>

namespace glint::player {

bool has_wildcards(std::string_view name);

// A Windows name split into "C:\dir\" (drive and directory, with the
// separator), "name" and ".ext" (from the last dot of the last component).
struct NamePieces {
  std::string_view directory;
  std::string_view name;
  std::string_view extension;
};
NamePieces split_name(std::string_view path);

// Matches one directory entry name against the last component of a
// pattern, the way the Windows directory search does, without regard to
// letter case:
//   `*` any run of characters; `*.*` every name, with or without a dot;
//   `?` one character, or none at the end of the name or before a dot;
//   `*.ext` only names whose last extension is ext;
//   `name.*` also "name" without extension; `*.` names without a dot.
bool wildcard_match(std::string_view pattern, std::string_view name);

// The target for one source (both full forms): the target pattern's drive
// and directory, and its name and extension with every `?` taking the
// source's character at the same position and a `*` the rest of the
// source's name or extension from there on.
std::string target_name(std::string_view source, std::string_view target_pattern);

// Windows ignores dots at the end of a file name ("readme." is "readme");
// the host file system does not, so they are dropped before a name is used.
std::string without_trailing_dots(std::string name);

}  // namespace glint::player
