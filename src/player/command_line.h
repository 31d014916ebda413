// glintscr's command line on POSIX. The program's words are joined into one
// command-line text (a word holding a blank is quoted). A word counts as a
// switch only when it begins with '/' and is not a path: it holds no
// further '/' and names no existing file or directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace glint::player {

struct CommandLine {
  std::string text;           // the words after the parent switches were taken
  bool has_switch = false;    // some other switch is left: show the syntax box
  bool parent_given = false;  // "/#n" with n not 0 (a bare "/#" gives none)
  int32_t parent_window = 0;
};

CommandLine parse_command_line(const std::vector<std::string>& words);

// Splits the text into the script name (the first word, or a text in double
// quotes) and the script arguments (the rest, trimmed).
void split_script_name(const std::string& text, std::string& name, std::string& arguments);

}  // namespace glint::player
