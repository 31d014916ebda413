#include "player/file_attributes.h"

#include <sys/stat.h>

namespace glint::player {
namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

}  // namespace

uint32_t attributes_of(const std::string& host_path, std::string_view name) {
  struct stat st {};
  // A link counts as what it points to; a dangling one as a plain file.
  if (stat(host_path.c_str(), &st) != 0 && lstat(host_path.c_str(), &st) != 0) return 0;
  uint32_t attributes = 0;
  if ((st.st_mode & kWriteBits) == 0) attributes |= kAttributeReadOnly;
  if (!name.empty() && name[0] == '.' && name != "." && name != "..")
    attributes |= kAttributeHidden;
  if (S_ISDIR(st.st_mode))
    attributes |= kAttributeDirectory;
  else if (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))
    attributes |= kAttributeArchive;
  else
    attributes |= kAttributeSystem;
  return attributes;
}

bool set_attributes(const std::string& host_path, uint32_t attributes) {
  struct stat st {};
  if (stat(host_path.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  if (attributes & kAttributeReadOnly)
    mode &= ~kWriteBits;
  else if ((mode & kWriteBits) == 0)
    mode |= S_IWUSR;
  if (mode == (st.st_mode & 07777)) return true;
  return chmod(host_path.c_str(), mode) == 0;
}

}  // namespace glint::player
