#include "player/execute_command_line.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/paths.h"

extern char** environ;

namespace glint::player {
namespace {

bool separator(char c) { return c == ' ' || c == '\t'; }

// The program name: no backslash rules, a leading quote runs to the next.
std::size_t take_program_name(std::string_view line, std::string& name) {
  std::size_t i = 0;
  if (i < line.size() && line[i] == '"') {
    const std::size_t close = line.find('"', 1);
    const std::size_t end = close == std::string_view::npos ? line.size() : close;
    name.assign(line.substr(1, end - 1));
    return close == std::string_view::npos ? end : close + 1;
  }
  while (i < line.size() && !separator(line[i])) ++i;
  name.assign(line.substr(0, i));
  return i;
}

// A name with a directory part or a drive names a file; a bare name is
// looked for along PATH.
bool names_a_path(const std::string& name) {
  return name.find_first_of("/\\") != std::string::npos || (name.size() >= 2 && name[1] == ':');
}

int result_for_error(int error) {
  switch (error) {
    case ENOENT:
      return kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return kPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
      return kAccessDenied;
    case ENOEXEC:
      return kBadFormat;
    default:
      return kOutOfResources;
  }
}

}  // namespace

std::vector<std::string> split_windows_command_line(std::string_view line) {
  std::vector<std::string> arguments;
  std::size_t i = 0;
  while (i < line.size() && separator(line[i])) ++i;
  if (i >= line.size()) return arguments;
  std::string program;
  i += take_program_name(line.substr(i), program);
  arguments.push_back(std::move(program));

  for (;;) {
    while (i < line.size() && separator(line[i])) ++i;
    if (i >= line.size()) break;
    std::string argument;
    bool quoted = false;
    while (i < line.size() && (quoted || !separator(line[i]))) {
      if (line[i] == '\\') {
        std::size_t backslashes = 0;
        while (i < line.size() && line[i] == '\\') {
          ++backslashes;
          ++i;
        }
        if (i < line.size() && line[i] == '"') {
          argument.append(backslashes / 2, '\\');
          if (backslashes % 2 == 1) {
            argument += '"';
            ++i;
          }
          // An even run leaves the quote to group below.
        } else {
          argument.append(backslashes, '\\');
        }
        continue;
      }
      if (line[i] == '"') {
        if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          argument += '"';
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      argument += line[i++];
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

int start_program(std::string_view command_line) {
  std::vector<std::string> arguments = split_windows_command_line(command_line);
  if (arguments.empty() || arguments.front().empty()) return kFileNotFound;
  // Names are handed to the system as C strings: a NUL inside would start a
  // different program than the script named.
  for (const std::string& argument : arguments) {
    if (argument.find('\0') != std::string::npos) return kFileNotFound;
  }

  const bool is_path = names_a_path(arguments.front());
  const std::string program = is_path ? platform::host_path(arguments.front()) : arguments.front();
  if (program.empty()) return kPathNotFound;  // a drive that maps nowhere

  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  // The program gets standard input, output and error and nothing else of
  // ours, as programs started on Windows inherit no handles.
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return kOutOfResources;
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif
  pid_t child = 0;
  const int error =
      is_path ? posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ)
              : posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return result_for_error(error);

  // The player does not wait for the program; a thread of its own collects
  // the exit status so no zombie is left behind, and only this child's.
  std::thread([child] {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return kProgramStarted;
}

}  // namespace glint::player
