// ORXFile under arbitrary call sequences: the input picks a buffer size and
// a list of operations, and its remaining bytes are the file's content.
//
//   byte 0       buffer size: bits 0-3 index kSizes, bit 6 opens for writing
//                too, bit 7 makes the size negative (its magnitude is used)
//   byte 1       number of operations n
//   2 n bytes    operations: kind, argument
//   the rest     the file
//
// The file is a memory file reached by its /proc/self/fd name, refilled for
// every input.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "orxutil/orxutil.h"

namespace {

constexpr int32_t kSizes[16] = {0, 1, 2, 3, 4, 5, 7, 8, 13, 16, 31, 64, 255, 1024, 4096, 16384};

int memory_file() {
  static int fd = memfd_create("fuzz_orxfile", 0);
  return fd;
}

void check(bool condition) {
  if (!condition) std::abort();
}

void run(ORXFile* f, const uint8_t* ops, size_t op_count, bool writable) {
  uint8_t scratch[272];
  for (size_t i = 0; i < op_count; ++i) {
    uint8_t kind = ops[2 * i];
    uint8_t arg = ops[2 * i + 1];
    switch (kind % 16) {
      case 0:
        ORXFileGetBits(f, arg);
        break;
      case 1:
        ORXFileGet8(f);
        break;
      case 2:
        ORXFileGet16(f);
        break;
      case 3:
        ORXFileGet32(f);
        break;
      case 4: {
        uint32_t capacity = arg % 65;
        std::memset(scratch, 'x', 80);
        ORXFileGetLine(f, reinterpret_cast<char*>(scratch), capacity);
        if (capacity > 0) check(strnlen(reinterpret_cast<char*>(scratch), capacity) < capacity);
        break;
      }
      case 5: {
        uint64_t to = arg < 192 ? arg : ORXFileSize(f) + (arg - 192);
        ORXFileSetPos(f, to);
        check(ORXFileGetPos(f) == to);
        break;
      }
      case 6:
        check(ORXFileGet(f, scratch, arg) <= arg);
        break;
      case 7:
        check(ORXFileGetNB(f, scratch, arg) <= arg);
        break;
      case 8:
        ORXFileIsInBuffer(f, arg);
        break;
      case 9:
        check(ORXFileAtEnd(f) == (ORXFileGetPos(f) >= ORXFileSize(f) ? 1 : 0));
        break;
      case 10:
        ORXFileByteAlign(f);
        break;
      case 11:
        ORXFileAlign(f, arg % 17);
        break;
      case 12:
        if (writable) ORXFilePutBits(f, arg * 0x01010101u, arg);
        break;
      case 13:
        std::memset(scratch, arg, arg);
        if (writable) ORXFilePutNB(f, scratch, arg);
        break;
      case 14:
        std::memset(scratch, arg ^ 0x5A, arg);
        if (writable) ORXFilePut(f, scratch, arg);
        break;
      default:
        ORXFileFlush(f, 0);
        break;
    }
    check(ORXFileBitPos(f) < 8);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  int fd = memory_file();
  if (fd < 0) return 0;
  uint8_t setup = data[0];
  size_t op_count = std::min<size_t>(data[1], (size - 2) / 2);
  const uint8_t* ops = data + 2;
  const uint8_t* content = ops + 2 * op_count;
  size_t content_size = size - 2 - 2 * op_count;

  if (ftruncate(fd, 0) != 0) return 0;
  if (content_size > 0 &&
      pwrite(fd, content, content_size, 0) != static_cast<ssize_t>(content_size)) {
    return 0;
  }

  int32_t buffer_size = kSizes[setup & 15];
  if (setup & 0x80) buffer_size = -buffer_size;
  bool writable = (setup & 0x40) != 0;
  std::string name = "/proc/self/fd/" + std::to_string(fd);
  ORXFile* f = ORXFileOpen(buffer_size, name.c_str(), writable ? ORXFILE_READWRITE : ORXFILE_READ);
  if (f == nullptr) std::abort();  // the memory file is always there
  run(f, ops, op_count, writable);
  ORXFileClose(f);
  return 0;
}
