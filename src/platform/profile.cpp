// The user profile: a small INI file standing in for the per-user profile.
#include <strings.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace glint::platform {
namespace {

struct Entry {
  std::string section, key, value;
};

struct Cache {
  std::string path;
  timespec mtime{};
  off_t size = -1;
  std::vector<Entry> entries;
};

std::mutex cache_mutex;
Cache cache;

std::string profile_path() {
  if (const char* p = std::getenv("GLINT_PROFILE"); p && *p) return p;
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x)
    return std::string(x) + "/glinter/profile.ini";
  if (const char* h = std::getenv("HOME"); h && *h) return std::string(h) + "/.config/glinter/profile.ini";
  return {};
}

std::string trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

std::vector<Entry> parse(const std::string& path) {
  std::vector<Entry> out;
  std::ifstream in(path, std::ios::binary);
  std::string line, section;
  while (std::getline(in, line)) {
    line = trimmed(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      size_t close = line.find(']');
      section = trimmed(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
      continue;
    }
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    out.push_back({section, trimmed(line.substr(0, eq)), trimmed(line.substr(eq + 1))});
  }
  return out;
}

// The file is read again only when its name, size or time changes.
void refresh() {
  std::string path = profile_path();
  struct stat st {};
  bool exists = !path.empty() && stat(path.c_str(), &st) == 0;
  if (path == cache.path && exists && cache.size == st.st_size &&
      cache.mtime.tv_sec == st.st_mtim.tv_sec && cache.mtime.tv_nsec == st.st_mtim.tv_nsec)
    return;
  cache = Cache{};
  cache.path = path;
  if (!exists) return;
  cache.mtime = st.st_mtim;
  cache.size = st.st_size;
  cache.entries = parse(path);
}

}  // namespace

int profile_int(const char* section, const char* key, int default_value) {
  if (!section || !key) return default_value;
  std::lock_guard lock(cache_mutex);
  refresh();
  for (const Entry& e : cache.entries) {
    if (strcasecmp(e.section.c_str(), section) || strcasecmp(e.key.c_str(), key)) continue;
    // As the profile reader always did: the leading decimal digits count, a
    // value that does not start with one is 0, and negative values read as 0.
    uint32_t v = 0;
    const char* p = e.value.c_str();
    if (*p == '-') return 0;
    if (*p == '+') ++p;
    for (; *p >= '0' && *p <= '9'; ++p) v = v * 10u + uint32_t(*p - '0');
    return v > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(v);
  }
  return default_value;
}

}  // namespace glint::platform
