// Opening, creating and closing ORXFile records.
//
// Names are Windows-style and go through the platform's path mapper; the
// record keeps the name as it was passed. Sharing between the records of
// this process follows the Windows rules (see orxfile_share.h): a create
// checks them before it empties the file, so a refused create destroys
// nothing.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <new>
#include <string>

#include "platform/paths.h"
#include "util/orxfile_record.h"
#include "util/orxfile_share.h"

using namespace glint::orxfile;

namespace {

enum class Kind { kOpenRead, kOpenReadWrite, kCreate, kCreateWithRead };

uint32_t magnitude(int32_t size) {
  return size < 0 ? 0u - static_cast<uint32_t>(size) : static_cast<uint32_t>(size);
}

ORXFile* open_record(int32_t buffer_size, const char* name, Kind kind) {
  if (name == nullptr || strnlen(name, ORXFILE_NAME_MAX) >= ORXFILE_NAME_MAX) return nullptr;
  std::string host = glint::platform::host_path(name);
  if (host.empty()) return nullptr;

  void* memory = utilmalloc(sizeof(ORXFile));
  if (memory == nullptr) return nullptr;
  ORXFile* f = new (memory) ORXFile{};
  f->handle = -1;
  std::memcpy(f->name, name, std::strlen(name) + 1);

  bool create = kind == Kind::kCreate || kind == Kind::kCreateWithRead;
  int flags = O_CLOEXEC;
  flags |= kind == Kind::kOpenRead ? O_RDONLY : O_RDWR;
  if (create) flags |= O_CREAT;  // emptied below, once sharing allows it
  uint32_t access = kind == Kind::kOpenRead ? kShareRead : kShareRead | kShareWrite;
  uint32_t share = kind == Kind::kCreate ? 0 : kShareRead;

  int fd = open(host.c_str(), flags, 0666);
  struct stat st {};
  bool ok = fd >= 0 && fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
  bool registered = false;
  if (ok && S_ISREG(st.st_mode)) {
    registered = share_acquire(f, st.st_dev, st.st_ino, access, share);
    ok = registered;
    if (ok && create) ok = ftruncate(fd, 0) == 0;
  }
  if (!ok) {
    if (registered) share_release(f);
    if (fd >= 0) close(fd);
    utilfree(f);
    return nullptr;
  }
  posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);

  f->handle = fd;
  f->buffer_size = magnitude(buffer_size);
  f->valid = f->buffer_size;
  f->index = create ? 0 : f->buffer_size;  // reading: an empty, consumed buffer
  f->os_position = 0;
  f->known_size = kSizeUnknown;
  f->mode = create ? kWriting : kReading;
  return f;
}

}  // namespace

extern "C" {

ORX_API ORXFile* ORXFileOpen(int32_t buffer_size, const char* name, int32_t access) {
  if (access != ORXFILE_READ && access != ORXFILE_READWRITE) return nullptr;
  return open_record(buffer_size, name,
                     access == ORXFILE_READ ? Kind::kOpenRead : Kind::kOpenReadWrite);
}

ORX_API ORXFile* ORXFileCreate(int32_t buffer_size, const char* name) {
  return open_record(buffer_size, name, Kind::kCreate);
}

ORX_API ORXFile* ORXFileCreateWithRead(int32_t buffer_size, const char* name) {
  return open_record(buffer_size, name, Kind::kCreateWithRead);
}

ORX_API void ORXFileClose(ORXFile* file) {
  if (file == nullptr) return;
  if (file->handle >= 0) {
    complete_output(file);
    close(file->handle);
    file->handle = -1;
    share_release(file);
  }
  utilfree(file->buffer);
  utilfree(file);
}

ORX_API const char* ORXFileGetName(ORXFile* file, char* destination) {
  if (!is_open(file)) return nullptr;
  if (destination != nullptr) std::memcpy(destination, file->name, std::strlen(file->name) + 1);
  return file->name;
}

}  // extern "C"
