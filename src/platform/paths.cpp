#include "platform/paths.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

namespace glint::platform {
namespace {

std::mutex drives_mutex;
// The remembered current directory of each drive that is not current, in
// Windows form ("D:\dir"); drives never visited are at their root.
std::map<char, std::string> other_drive_dirs;

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string configured_root(char letter) {
  std::string var = "GLINT_DRIVE_";
  var += letter;
  const char* v = std::getenv(var.c_str());
  if (!v || !*v) return {};
  std::string root = v;
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return root;
}

// The current working directory of the process ("" if it cannot be read).
std::string host_cwd() {
  std::vector<char> buf(4096);
  while (!getcwd(buf.data(), buf.size())) {
    if (errno != ERANGE || buf.size() > (1u << 20)) return {};
    buf.resize(buf.size() * 2);
  }
  return buf.data();
}

// Splits a host absolute path into the drive whose root holds it (the
// longest root wins) and the rest below that root, in Windows form.
std::pair<char, std::string> to_windows(const std::string& host) {
  char best = 0;
  size_t best_len = 0;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    std::string root = drive_root(letter);
    if (root.empty()) continue;
    bool inside = root == "/" || host == root ||
                  (host.compare(0, root.size(), root) == 0 && host.size() > root.size() &&
                   host[root.size()] == '/');
    if (inside && (best == 0 || root.size() > best_len)) {
      best = letter;
      best_len = root == "/" ? 0 : root.size();
    }
  }
  std::string rest = best ? host.substr(best_len) : host;
  if (!best) best = 'C';
  for (char& c : rest)
    if (c == '/') c = '\\';
  if (rest.empty() || rest[0] != '\\') rest.insert(rest.begin(), '\\');
  return {best, rest};
}

std::string windows_form(char letter, const std::string& rest) {
  std::string out(1, letter);
  out += ':';
  out += rest.empty() ? std::string("\\") : rest;
  return out;
}

// Resolves each component that does not exist as spelled to a directory
// entry that matches it without regard to case. Components after the first
// one that matches nothing keep their spelling.
std::string resolve_case(const std::string& host) {
  if (host.empty()) return host;
  struct stat st {};
  if (lstat(host.c_str(), &st) == 0) return host;
  std::string out = host[0] == '/' ? "/" : "";
  size_t pos = host[0] == '/' ? 1 : 0;
  bool resolving = true;
  while (pos <= host.size()) {
    size_t next = host.find('/', pos);
    if (next == std::string::npos) next = host.size();
    std::string comp = host.substr(pos, next - pos);
    pos = next + 1;
    if (comp.empty()) {
      if (next == host.size() && !out.empty() && out.back() != '/') out += '/';
      continue;
    }
    std::string dir = out.empty() ? "." : out;
    std::string candidate = out + comp;
    if (resolving && lstat(candidate.c_str(), &st) != 0) {
      std::string found;
      if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
          if (!strcasecmp(e->d_name, comp.c_str()) && (found.empty() || found > e->d_name))
            found = e->d_name;  // the first in byte order, so the choice is repeatable
        }
        closedir(d);
      }
      if (found.empty())
        resolving = false;
      else
        candidate = out + found;
    }
    out = candidate;
    if (next < host.size()) out += '/';
  }
  return out;
}

char current_drive_locked() { return to_windows(host_cwd()).first; }

std::string drive_directory_locked(char letter) {
  letter = upper(letter);
  if (drive_root(letter).empty()) return {};
  auto [cur, rest] = to_windows(host_cwd());
  if (letter == cur) return windows_form(cur, rest);
  auto it = other_drive_dirs.find(letter);
  return it != other_drive_dirs.end() ? it->second : windows_form(letter, "\\");
}

std::string host_of_full(const std::string& full) {
  if (full.size() < 2 || full[1] != ':') return {};
  std::string root = drive_root(full[0]);
  if (root.empty()) return {};
  std::string rest = full.substr(2);
  for (char& c : rest)
    if (c == '\\') c = '/';
  std::string host;
  if (root != "/") host.append(root);
  host.append(rest);
  if (host.empty()) host.push_back('/');
  return resolve_case(host);
}

std::string full_path_locked(std::string_view name) {
  if (name.empty()) return {};
  std::string s(name);
  // A name that starts with '/' is a host path: "/home/me/show.gs" means what
  // the shell means by it, seen through the drive that holds it.
  if (s[0] == '/' && !(s.size() > 1 && s[1] == '/')) {
    auto [letter, rest] = to_windows(s);
    s = windows_form(letter, rest);
  }
  for (char& c : s)
    if (c == '/') c = '\\';
  if (s.size() >= 2 && s[0] == '\\' && s[1] == '\\') return s;  // network names stay as given

  char letter;
  std::string base, rest;
  if (s.size() >= 2 && is_letter(s[0]) && s[1] == ':') {
    letter = s[0];
    rest = s.substr(2);
    if (rest.empty() || rest[0] != '\\') {
      std::string dir = drive_directory_locked(letter);
      base = dir.size() > 2 ? dir.substr(2) : "\\";
    }
  } else {
    letter = current_drive_locked();
    rest = s;
    if (rest[0] != '\\') {
      std::string dir = drive_directory_locked(letter);
      base = dir.size() > 2 ? dir.substr(2) : "\\";
    }
  }
  bool trailing = !rest.empty() && rest.back() == '\\';
  std::vector<std::string> parts;
  auto add = [&parts](const std::string& path) {
    size_t pos = 0;
    while (pos <= path.size()) {
      size_t next = path.find('\\', pos);
      if (next == std::string::npos) next = path.size();
      std::string comp = path.substr(pos, next - pos);
      pos = next + 1;
      if (comp.empty() || comp == ".") continue;
      if (comp == "..") {
        if (!parts.empty()) parts.pop_back();
        continue;
      }
      parts.push_back(comp);
    }
  };
  add(base);
  add(rest);
  std::string out(1, letter);
  out += ":\\";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += '\\';
    out += parts[i];
  }
  if (trailing && !parts.empty()) out += '\\';
  return out;
}

}  // namespace

std::string drive_root(char letter) {
  letter = upper(letter);
  if (letter < 'A' || letter > 'Z') return {};
  std::string root = configured_root(letter);
  if (!root.empty()) return root;
  if (letter == 'C') return "/";
  // When C: is moved elsewhere, Z: keeps the whole host file system reachable
  // (unless it is configured too).
  if (letter == 'Z') {
    std::string c = configured_root('C');
    if (!c.empty() && c != "/") return "/";
  }
  return {};
}

std::string full_path(std::string_view name) {
  std::lock_guard lock(drives_mutex);
  return full_path_locked(name);
}

std::string host_path(std::string_view name) {
  if (name.empty()) return {};
  std::lock_guard lock(drives_mutex);
  // Plain host names (no drive, no backslash) are used as they are, resolved
  // for case only; everything else goes through the Windows view.
  bool windows = name.find('\\') != std::string_view::npos ||
                 (name.size() >= 2 && is_letter(name[0]) && name[1] == ':');
  if (!windows) return resolve_case(std::string(name));
  return host_of_full(full_path_locked(name));
}

char current_drive() {
  std::lock_guard lock(drives_mutex);
  return current_drive_locked();
}

std::string drive_directory(char letter) {
  std::lock_guard lock(drives_mutex);
  return drive_directory_locked(letter);
}

bool set_current_drive(char letter) {
  letter = upper(letter);
  std::lock_guard lock(drives_mutex);
  if (drive_root(letter).empty()) return false;
  char cur = current_drive_locked();
  if (letter == cur) return true;
  std::string left_dir = drive_directory_locked(cur);
  std::string target = drive_directory_locked(letter);
  std::string host = host_of_full(target);
  if (host.empty() || chdir(host.c_str()) != 0) {
    target = windows_form(letter, "\\");
    host = host_of_full(target);
    if (host.empty() || chdir(host.c_str()) != 0) return false;
  }
  // The drive we left keeps its directory for when it becomes current again.
  other_drive_dirs[cur] = left_dir;
  other_drive_dirs.erase(letter);
  return true;
}

bool change_directory(std::string_view name) {
  std::lock_guard lock(drives_mutex);
  std::string full = full_path_locked(name);
  std::string host = host_of_full(full);
  if (host.empty()) return false;
  char before = current_drive_locked();
  std::string before_dir = drive_directory_locked(before);
  if (chdir(host.c_str()) != 0) return false;
  char after = current_drive_locked();
  if (after != before) other_drive_dirs[before] = before_dir;
  other_drive_dirs.erase(after);
  return true;
}

}  // namespace glint::platform
