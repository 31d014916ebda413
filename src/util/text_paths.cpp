// File names: extensions, full forms, drives, directory tests and pieces.
//
// The full-path helpers work on buffers of ORX_PATH_MAX bytes. A result that
// would not fit there (with its NUL) is refused: the caller's path is left as
// it was, never cut short. `/` separates components like `\`.
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "orxutil/orxutil.h"
#include "platform/paths.h"
#include "util/text_blank.h"

namespace platform = glint::platform;
using glint::util::is_blank;
using glint::util::to_upper_ascii;

namespace {

bool is_separator(char c) { return c == '\\' || c == '/'; }

bool fits_path_buffer(const std::string& text) { return text.size() < ORX_PATH_MAX; }

void store(char* path, const std::string& text) {
  std::memcpy(path, text.c_str(), text.size() + 1);
}

std::string trimmed(std::string_view text) {
  size_t start = 0;
  size_t end = text.size();
  while (start < end && is_blank(static_cast<unsigned char>(text[start]))) ++start;
  while (end > start && is_blank(static_cast<unsigned char>(text[end - 1]))) --end;
  return std::string(text.substr(start, end - start));
}

// AddBackslash on a string that is already trimmed.
void add_backslash(std::string& path) {
  if (!path.empty() && path.back() != ':' && !is_separator(path.back())) path += '\\';
}

// The full form, as the full-path routine gives it. An empty name stands for
// the current directory. Empty when the name cannot be made full.
std::string full_form(std::string_view name) {
  if (name.empty()) {
    const char drive = platform::current_drive();
    return drive ? platform::drive_directory(drive) : std::string();
  }
  return platform::full_path(name);
}

// The full form of a name with "\*" appended, the way IsDirectory resolves
// it: a name that ends in ":" or a separator comes out like one that does not.
std::string pattern_form(std::string_view name) {
  std::string work = trimmed(name);
  add_backslash(work);
  work += '*';
  return full_form(work);
}

// The pattern form without its "*" and the separator before it, except at a
// root, which keeps its backslash ("C:\").
std::string directory_of_pattern(std::string pattern) {
  pattern.resize(pattern.size() > 4 ? pattern.size() - 2 : pattern.size() - 1);
  return pattern;
}

// Tries to enter `directory` (a directory form). Unless `stay`, the drive and
// directory that were current, and the directory the tested drive had, are
// put back afterwards.
bool enter_directory(const std::string& directory, bool stay) {
  const char home_drive = platform::current_drive();
  const std::string home_directory = home_drive ? platform::drive_directory(home_drive) : "";
  const char drive = static_cast<char>(to_upper_ascii(static_cast<unsigned char>(directory[0])));
  bool entered = false;
  if (platform::set_current_drive(drive)) {
    const std::string drive_directory = platform::drive_directory(drive);
    if (platform::change_directory(directory)) {
      if (stay) return true;
      platform::change_directory(drive_directory);
      entered = true;
    }
  }
  if (home_drive) {
    platform::set_current_drive(home_drive);
    platform::change_directory(home_directory);
  }
  return entered;
}

// The pieces of a Windows full form: "C:", "\a\b\", "name", ".ext".
struct PathPieces {
  std::string_view drive;
  std::string_view directory;
  std::string_view name;
  std::string_view extension;
};

PathPieces split_path(std::string_view path) {
  PathPieces pieces;
  if (path.size() >= 2 && path[1] == ':') {
    pieces.drive = path.substr(0, 2);
    path.remove_prefix(2);
  }
  size_t file_start = 0;
  for (size_t i = path.size(); i > 0; --i) {
    if (is_separator(path[i - 1])) {
      file_start = i;
      break;
    }
  }
  pieces.directory = path.substr(0, file_start);
  const std::string_view file = path.substr(file_start);
  const size_t dot = file.rfind('.');
  pieces.name = dot == std::string_view::npos ? file : file.substr(0, dot);
  pieces.extension = dot == std::string_view::npos ? std::string_view() : file.substr(dot);
  return pieces;
}

}  // namespace

extern "C" {

ORX_API char* HasExtension(const char* file_name) {
  if (file_name == nullptr) return nullptr;
  for (size_t i = std::strlen(file_name); i > 0; --i) {
    const char c = file_name[i - 1];
    if (c == '.') return const_cast<char*>(file_name + i - 1);
    if (c == ':' || is_separator(c)) return nullptr;
  }
  return nullptr;
}

ORX_API void ExpandFileName(char* path) {
  if (path == nullptr) return;
  try {
    const std::string full = full_form(path);
    if (!full.empty() && fits_path_buffer(full)) store(path, full);
  } catch (...) {
    // Out of memory: the path stays as it was.
  }
}

ORX_API int GetDrive(char* path) {
  if (path == nullptr) return 0;
  try {
    const std::string full = full_form(path);
    if (full.empty() || !fits_path_buffer(full)) return 0;
    store(path, full);
    return to_upper_ascii(static_cast<unsigned char>(full[0]));
  } catch (...) {
    return 0;
  }
}

ORX_API int IsDirectory(char* path, int stay) {
  if (path == nullptr) return 0;
  try {
    // The work is done in the caller's buffer, so the name with "\*" and
    // its full form both have to fit.
    std::string work = trimmed(path);
    add_backslash(work);
    if (!fits_path_buffer(work + '*')) return 0;
    const std::string pattern = pattern_form(path);
    if (pattern.empty() || !fits_path_buffer(pattern)) return 0;
    const std::string directory = directory_of_pattern(pattern);
    store(path, directory);
    return enter_directory(directory, stay != 0) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

ORX_API void GetFilePieces(char* path, int want_drive, int want_directory, int want_name,
                           int want_extension) {
  if (path == nullptr) return;
  try {
    const std::string name = trimmed(path);
    if (name.empty()) {
      path[0] = '\0';
      return;
    }
    std::string full = full_form(name);
    if (full.empty() || !fits_path_buffer(full)) return;
    const std::string pattern = pattern_form(full);
    const bool is_directory =
        !pattern.empty() && enter_directory(directory_of_pattern(pattern), false);
    if (is_directory) {
      // A directory is split as its "all files" pattern, so that its whole
      // path is the directory piece.
      add_backslash(full);
      full += "*.*";
      if (!fits_path_buffer(full)) return;
    }
    const PathPieces pieces = split_path(full);
    std::string rebuilt;
    if (want_drive) rebuilt += pieces.drive;
    if (want_directory) rebuilt += pieces.directory;
    if (!is_directory) {
      if (want_name) rebuilt += pieces.name;
      if (want_extension) rebuilt += pieces.extension;
    }
    store(path, rebuilt);
  } catch (...) {
    // Out of memory: the path stays as it was.
  }
}

}  // extern "C"
