// The decoder's allocator: blocks aligned to 32 bytes, with the offset back to
// the raw block stored in the byte just before the returned address.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace glint::glinter {

// Null for a size of 0 or of all ones, or when the heap is exhausted.
void* aligned_alloc32(uint64_t size);
// Zero-filled block.
void* aligned_calloc32(uint64_t size);
void aligned_free32(void* block);

struct AlignedDeleter {
  void operator()(void* block) const { aligned_free32(block); }
};
using AlignedBytes = std::unique_ptr<uint8_t[], AlignedDeleter>;

inline AlignedBytes make_aligned_bytes(uint64_t size) {
  return AlignedBytes(static_cast<uint8_t*>(aligned_calloc32(size)));
}

}  // namespace glint::glinter
