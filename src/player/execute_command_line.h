// Starting a program from a Windows-style command line, without a shell and
// without waiting for it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace glint::player {

// Splits a command line into arguments as the Windows runtime does:
// - the program name runs to the first blank or tab, or, when it starts
//   with a double quote, to the next one (backslashes are plain there);
// - later arguments are separated by blanks and tabs outside quotes; double
//   quotes group and are removed, "" inside quotes is one literal quote;
//   2n backslashes before a quote become n and the quote groups, 2n+1 become
//   n and a literal quote; other backslashes are kept.
std::vector<std::string> split_windows_command_line(std::string_view line);

// Result codes as the system reported them: above 31 means started.
inline constexpr int kProgramStarted = 33;
inline constexpr int kOutOfResources = 0;
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kAccessDenied = 5;
inline constexpr int kBadFormat = 11;

// Starts the program named by the command line's first argument (searched
// along PATH when it has no directory part; a Windows-style path is mapped
// to the host's) with the rest as its arguments, and the environment of this
// process. The child is reaped in the background once it exits.
int start_program(std::string_view command_line);

}  // namespace glint::player
