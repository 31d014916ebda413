#include "glinter/aligned_alloc.h"

#include <gtest/gtest.h>

#include <cstring>

namespace glint::glinter {
namespace {

TEST(AlignedAlloc, BlocksAreAlignedWithTheOffsetStoredInFront) {
  for (uint64_t size : {1u, 7u, 32u, 1000u, 65536u}) {
    auto* block = static_cast<uint8_t*>(aligned_alloc32(size));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 32, 0u);
    EXPECT_GE(block[-1], 33);  // at least 33 bytes in front of the block
    EXPECT_EQ(block[-2], 0);
    std::memset(block, 0xAB, size);  // the whole size is usable
    aligned_free32(block);
  }
}

TEST(AlignedAlloc, SizesZeroAndAllOnesFail) {
  EXPECT_EQ(aligned_alloc32(0), nullptr);
  EXPECT_EQ(aligned_alloc32(UINT32_MAX), nullptr);
  EXPECT_EQ(aligned_alloc32(UINT64_MAX), nullptr);
  aligned_free32(nullptr);
  AlignedBytes zeroed = make_aligned_bytes(100);
  ASSERT_TRUE(zeroed);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(zeroed[i], 0);
}

}  // namespace
}  // namespace glint::glinter
