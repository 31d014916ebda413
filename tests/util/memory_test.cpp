#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "orxutil/orxutil.h"
#include "platform/headless/headless.h"

namespace h = glint::platform::headless;

TEST(UtilMalloc, BlocksAreAlignedWritableAndFreed) {
  for (uint32_t size : {1u, 2u, 31u, 32u, 33u, 4096u, 100000u}) {
    SCOPED_TRACE(size);
    void* blocks[8];
    for (void*& b : blocks) {
      b = utilmalloc(size);
      ASSERT_NE(b, nullptr);
      EXPECT_EQ(reinterpret_cast<uintptr_t>(b) % 32, 0u);
      std::memset(b, 0xA5, size);  // ASan checks that the whole size is ours
    }
    for (void* b : blocks) utilfree(b);  // ASan checks that the whole allocation goes back
  }
  utilfree(nullptr);
}

TEST(UtilMalloc, RefusedSizes) {
  unsigned boxes = h::boxes_shown();
  // 0 and all ones are refused without a word.
  EXPECT_EQ(utilmalloc(0), nullptr);
  EXPECT_EQ(utilmalloc(UINT32_MAX), nullptr);
  EXPECT_EQ(h::boxes_shown(), boxes);
  // Sizes whose slack would pass 4 GiB are out of memory: the box, then null.
  testing::internal::CaptureStderr();
  EXPECT_EQ(utilmalloc(UINT32_MAX - 1), nullptr);
  EXPECT_EQ(utilmalloc(UINT32_MAX - 31), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "[Memory Error]\nError: ran out of memory!\n[Memory Error]\nError: ran out of memory!\n");
  EXPECT_EQ(h::boxes_shown(), boxes + 2);
}
