#include "player/file_copy.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "orxutil/orxutil.h"
#include "player/file_names.h"
#include "player/file_sandbox.h"
#include "player/file_wildcards.h"
#include "util/orxfile_share.h"

namespace glint::player {
namespace {

constexpr uint32_t kCopyBlock = 4096;

bool write_all(int fd, const uint8_t* data, std::size_t count) {
  while (count > 0) {
    const ssize_t done = write(fd, data, count);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    data += done;
    count -= static_cast<std::size_t>(done);
  }
  return true;
}

// Source bytes into the open temporary file; false on a short read before
// the end or a failed write.
bool copy_bytes(ORXFile* in, int out) {
  uint64_t left = ORXFileSize(in);
  std::array<uint8_t, kCopyBlock> block;
  while (left > 0) {
    const uint32_t want = left < kCopyBlock ? static_cast<uint32_t>(left) : kCopyBlock;
    if (ORXFileGetNB(in, block.data(), want) != want) return false;
    if (!write_all(out, block.data(), want)) return false;
    left -= want;
  }
  return true;
}

std::string directory_of(const std::string& host_path) {
  const std::size_t slash = host_path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : host_path.substr(0, slash);
}

// What a newly created file would get. Reading the umask means setting it
// for a moment; the player runs its commands on one thread.
mode_t new_file_mode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool copy_file(const std::string& source_name, const std::string& target_name) {
  const std::string source = without_trailing_dots(source_name);
  const std::string target = without_trailing_dots(target_name);
  if (strcasecmp(source.c_str(), target.c_str()) == 0) return false;
  const std::string source_host = host_of(source);
  std::string target_host = host_of(target);
  if (source_host.empty() || target_host.empty()) return false;
  // A target that is a symbolic link is written through, as opening it
  // would: the file it points to is replaced, the link stays.
  struct stat link {};
  if (lstat(target_host.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    char* real = realpath(target_host.c_str(), nullptr);
    if (!real) return false;
    target_host = real;
    std::free(real);
  }

  struct stat from {};
  if (stat(source_host.c_str(), &from) != 0 || !S_ISREG(from.st_mode)) return false;
  mode_t mode = new_file_mode();
  struct stat to {};
  if (stat(target_host.c_str(), &to) == 0) {
    // The same file under another name: creating the target would empty it.
    if (to.st_dev == from.st_dev && to.st_ino == from.st_ino) return false;
    // Read-only by its permission bits (whoever runs the player).
    if (!S_ISREG(to.st_mode) || (to.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    // Open in a slot: Windows would refuse to replace it, so do we.
    if (orxfile::share_in_use(to.st_dev, to.st_ino)) return false;
    mode = to.st_mode & 07777;
  }
  if (!file_change_allowed(target_host)) return false;

  ORXFile* in = ORXFileOpen(0, source.c_str(), ORXFILE_READ);
  if (!in) return false;
  std::string temporary = directory_of(target_host) + "/.glint-copy-XXXXXX";
  const int out = mkstemp(temporary.data());
  if (out < 0) {
    ORXFileClose(in);
    return false;
  }
  bool ok = copy_bytes(in, out);
  ORXFileClose(in);
  const struct timespec times[2] = {from.st_atim, from.st_mtim};
  ok = ok && fchmod(out, mode) == 0 && futimens(out, times) == 0;
  ok = close(out) == 0 && ok;
  ok = ok && std::rename(temporary.c_str(), target_host.c_str()) == 0;
  if (!ok) unlink(temporary.c_str());
  return ok;
}

}  // namespace glint::player
