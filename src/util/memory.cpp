// The aligned allocator: every block the library hands out or takes back.
#include <cstdint>
#include <cstdlib>

#include "orxutil/orxutil.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t kAlign = 32;

void out_of_memory_box() {
  glint::platform::message_box("Memory Error", "Error: ran out of memory!",
                               glint::platform::kMbOk | glint::platform::kMbIconError);
}

}  // namespace

extern "C" {

ORX_API void* utilmalloc(uint32_t size) {
  if (size == 0 || size == UINT32_MAX) return nullptr;
  // A block and its alignment slack must stay addressable in 32 bits, as
  // they were for every caller that sized it: a size this close to 4 GiB is
  // a corrupt count, not a real request.
  if (size > UINT32_MAX - kAlign) {
    out_of_memory_box();
    return nullptr;
  }
  auto* raw = static_cast<uint8_t*>(std::malloc(uint64_t{size} + kAlign));
  if (!raw) {
    out_of_memory_box();
    return nullptr;
  }
  uint32_t d = kAlign - static_cast<uint32_t>(reinterpret_cast<uintptr_t>(raw) % kAlign);
  raw[d - 1] = static_cast<uint8_t>(d);
  return raw + d;
}

ORX_API void utilfree(void* block) {
  if (!block) return;
  auto* p = static_cast<uint8_t*>(block);
  std::free(p - p[-1]);
}

}  // extern "C"
