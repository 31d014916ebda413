#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "glinter/encoder/glint_encoder.h"
#include "platform/paths.h"

namespace glint::glinter {

bool write_file_atomically(const std::string& name, const std::vector<uint8_t>& bytes,
                           std::string& error) {
  std::string path = glint::platform::host_path(name);
  if (path.empty()) {
    error = "cannot write " + name;
    return false;
  }
  std::string temporary = path + ".tmp" + std::to_string(getpid());
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = "cannot create " + temporary + ": " + std::strerror(errno);
    return false;
  }
  const uint8_t* at = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t written = write(fd, at, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) break;
    at += written;
    left -= size_t(written);
  }
  bool ok = left == 0 && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  error = "cannot write " + name + ": " + std::strerror(errno);
  std::remove(temporary.c_str());
  return false;
}

}  // namespace glint::glinter
