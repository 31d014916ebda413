// Erasing and renaming files by name.
//
// A file that a record of this process holds open is neither erased nor
// renamed, as the share modes of the open records do not allow it.
#include "util/orxfile_names.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "orxutil/orxutil.h"
#include "platform/paths.h"
#include "util/orxfile_share.h"

namespace glint::orxfile {
namespace {

bool acceptable_name(const char* name) {
  return name != nullptr && strnlen(name, ORXFILE_NAME_MAX) < ORXFILE_NAME_MAX;
}

bool missing(int error) { return error == ENOENT || error == ENOTDIR; }

// The last resort where neither an atomic rename nor a hard link exists:
// look first, then rename.
int rename_checked(const char* from, const char* to) {
  struct stat st {};
  if (lstat(to, &st) == 0 || !missing(errno)) return kFileFailed;
  return std::rename(from, to) == 0 ? kFileDone : kFileFailed;
}

}  // namespace

int rename_by_link(const char* from, const char* to) {
  struct stat st {};
  if (lstat(from, &st) != 0) return missing(errno) ? kFileMissing : kFileFailed;
  if (S_ISDIR(st.st_mode)) return rename_checked(from, to);  // directories have no links
  if (link(from, to) != 0) {
    if (errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP || errno == EMLINK) {
      return rename_checked(from, to);
    }
    return kFileFailed;
  }
  if (unlink(from) != 0) {
    unlink(to);  // back to one name
    return kFileFailed;
  }
  return kFileDone;
}

int rename_no_replace(const char* from, const char* to) {
  if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return kFileDone;
  int error = errno;
  if (error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP) {
    return rename_by_link(from, to);
  }
  if (missing(error)) {
    struct stat st {};
    if (lstat(from, &st) != 0 && missing(errno)) return kFileMissing;
  }
  return kFileFailed;
}

}  // namespace glint::orxfile

using namespace glint::orxfile;

extern "C" {

ORX_API int ORXFileErase(const char* name) {
  if (!acceptable_name(name)) return kFileFailed;
  std::string host = glint::platform::host_path(name);
  if (host.empty()) return kFileFailed;
  struct stat st {};
  if (lstat(host.c_str(), &st) != 0) return missing(errno) ? kFileMissing : kFileFailed;
  if (share_in_use(st.st_dev, st.st_ino)) return kFileFailed;
  if (unlink(host.c_str()) == 0) return kFileDone;
  return missing(errno) ? kFileMissing : kFileFailed;
}

ORX_API int ORXFileRename(const char* new_name, const char* existing_name) {
  if (!acceptable_name(new_name) || !acceptable_name(existing_name)) return kFileFailed;
  std::string from = glint::platform::host_path(existing_name);
  std::string to = glint::platform::host_path(new_name);
  if (from.empty() || to.empty()) return kFileFailed;
  struct stat st {};
  if (lstat(from.c_str(), &st) != 0) return missing(errno) ? kFileMissing : kFileFailed;
  if (share_in_use(st.st_dev, st.st_ino)) return kFileFailed;
  return rename_no_replace(from.c_str(), to.c_str());
}

}  // extern "C"
