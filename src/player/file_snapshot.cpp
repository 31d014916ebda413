#include "player/file_snapshot.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "player/file_names.h"
#include "player/file_wildcards.h"

namespace glint::player {
namespace {

std::string folded(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool is_dot_entry(std::string_view name) { return name == "." || name == ".."; }

// A drive's root ("C:\") has no "." and ".." entries on Windows.
bool is_drive_root(std::string_view directory) {
  return directory.size() <= 3 && directory.size() >= 2 && directory[1] == ':';
}

}  // namespace

std::vector<DirectoryEntry> matching_entries(std::string_view full_pattern) {
  std::vector<DirectoryEntry> entries;
  const NamePieces pieces = split_name(full_pattern);
  const std::string pattern = std::string(pieces.name) + std::string(pieces.extension);
  if (pattern.empty()) return entries;
  std::string host_directory = host_of(pieces.directory.empty() ? "." : pieces.directory);
  if (host_directory.empty()) return entries;
  if (host_directory.back() != '/') host_directory += '/';

  const std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(host_directory.c_str()), closedir);
  if (!directory) return entries;
  const bool with_dot_entries = !is_drive_root(pieces.directory);
  while (const dirent* entry = readdir(directory.get())) {
    const std::string_view name = entry->d_name;
    if (is_dot_entry(name) && !with_dot_entries) continue;
    if (!wildcard_match(pattern, name)) continue;
    struct stat st {};
    const std::string host = host_directory + entry->d_name;
    const bool is_directory = stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    entries.push_back(DirectoryEntry{std::string(name), is_directory});
  }
  std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
    const bool a_dot = is_dot_entry(a.name);
    const bool b_dot = is_dot_entry(b.name);
    if (a_dot != b_dot) return a_dot;
    const std::string fa = folded(a.name);
    const std::string fb = folded(b.name);
    return fa != fb ? fa < fb : a.name < b.name;
  });
  return entries;
}

}  // namespace glint::player
