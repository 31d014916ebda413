// Positions, size, alignment and flushing.
#include <unistd.h>

#include <algorithm>

#include "util/orxfile_record.h"

using namespace glint::orxfile;

extern "C" {

ORX_API uint64_t ORXFileGetPos(ORXFile* file) { return is_open(file) ? logical_position(file) : 0; }

ORX_API uint64_t ORXFileSetPos(ORXFile* file, uint64_t position) {
  return is_open(file) ? seek(file, position) : 0;
}

ORX_API uint64_t ORXFileSize(ORXFile* file) { return is_open(file) ? file_size(file) : 0; }

ORX_API int ORXFileAtEnd(ORXFile* file) {
  if (!is_open(file)) return 1;
  return logical_position(file) >= file_size(file) ? 1 : 0;
}

ORX_API int ORXFileIsInBuffer(ORXFile* file, uint64_t position) {
  if (!is_open(file) || file->mode != kReading || file->index >= file->valid) return 0;
  if (file->os_position < file->valid) return 0;
  uint64_t span_start = file->os_position - file->valid;
  return position >= span_start && position < file->os_position ? 1 : 0;
}

ORX_API void ORXFileByteAlign(ORXFile* file) {
  if (is_open(file)) complete_output(file);
}

ORX_API void ORXFileAlign(ORXFile* file, uint32_t n) {
  if (!is_open(file)) return;
  complete_output(file);
  if (n == 0) return;
  uint64_t position = logical_position(file);
  uint64_t remainder = position % n;
  if (remainder == 0) return;
  uint64_t target = position + (n - remainder);
  if (target < position) return;  // no such place
  uint64_t size = file_size(file);
  if (target <= size) {
    seek(file, target);
    return;
  }
  // Past the end the gap is filled with zero bytes.
  seek(file, size);
  begin_writing(file);
  static constexpr uint8_t kZeros[4096] = {};
  for (uint64_t left = target - size; left > 0;) {
    uint32_t n_now = static_cast<uint32_t>(std::min<uint64_t>(left, sizeof kZeros));
    write_raw(file, kZeros, n_now);
    left -= n_now;
  }
}

ORX_API void ORXFileFlush(ORXFile* file, int commit) {
  if (!is_open(file)) return;
  bool wrote = complete_output(file);
  if (commit != 0 && wrote) fsync(file->handle);
}

}  // extern "C"
