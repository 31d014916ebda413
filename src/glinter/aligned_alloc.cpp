#include "glinter/aligned_alloc.h"

#include <cstdlib>
#include <cstring>

namespace glint::glinter {

namespace {
// Room in front of the block for the stored offset and its zero guard byte,
// and behind it for rounding up to the alignment.
constexpr uint64_t kSlack = 64;
constexpr uintptr_t kAlign = 32;
constexpr uintptr_t kMinFront = 33;
}  // namespace

void* aligned_alloc32(uint64_t size) {
  if (size == 0 || size == UINT64_MAX || size == UINT32_MAX) return nullptr;
  if (size > SIZE_MAX - kSlack) return nullptr;
  auto* raw = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(size + kSlack)));
  if (!raw) return nullptr;
  uintptr_t address = reinterpret_cast<uintptr_t>(raw) + kMinFront;
  address = (address + kAlign - 1) & ~(kAlign - 1);
  auto* block = reinterpret_cast<uint8_t*>(address);
  block[-1] = static_cast<uint8_t>(block - raw);
  block[-2] = 0;
  return block;
}

void* aligned_calloc32(uint64_t size) {
  void* block = aligned_alloc32(size);
  if (block) std::memset(block, 0, static_cast<size_t>(size));
  return block;
}

void aligned_free32(void* block) {
  if (!block) return;
  auto* bytes = static_cast<uint8_t*>(block);
  std::free(bytes - bytes[-1]);
}

}  // namespace glint::glinter
