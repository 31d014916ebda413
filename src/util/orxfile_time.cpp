// File times as 32-bit stamps: the high half of the last-write time counted
// in 100-nanosecond units since 1601-01-01.
#include <sys/stat.h>

#include <cstdint>

#include "util/orxfile_record.h"

using namespace glint::orxfile;

namespace {

constexpr int64_t kUnitsPerSecond = 10'000'000;
constexpr int64_t kSecondsFrom1601To1970 = 11'644'473'600;

uint64_t units_since_1601(const struct timespec& t) {
  int64_t seconds = static_cast<int64_t>(t.tv_sec) + kSecondsFrom1601To1970;
  if (seconds < 0) return 0;
  return static_cast<uint64_t>(seconds) * kUnitsPerSecond + static_cast<uint64_t>(t.tv_nsec) / 100;
}

struct timespec timespec_from_units(uint64_t units) {
  struct timespec t {};
  t.tv_sec =
      static_cast<time_t>(static_cast<int64_t>(units / kUnitsPerSecond) - kSecondsFrom1601To1970);
  t.tv_nsec = static_cast<long>(units % kUnitsPerSecond) * 100;
  return t;
}

}  // namespace

extern "C" {

ORX_API uint32_t ORXFileGetTime(ORXFile* file) {
  if (!is_open(file)) return 0;
  struct stat st {};
  if (fstat(file->handle, &st) != 0) return 0;
  return static_cast<uint32_t>(units_since_1601(st.st_mtim) >> 32);
}

// There is no creation time to set here; access and modification times get
// the stamp.
ORX_API void ORXFileSetTime(ORXFile* file, uint32_t stamp) {
  if (!is_open(file)) return;
  complete_output(file);
  struct timespec t = timespec_from_units(uint64_t{stamp} << 32);
  struct timespec times[2] = {t, t};
  futimens(file->handle, times);
}

}  // extern "C"
