#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace p = glint::platform;

TEST(VirtualClock, SleepAndYieldAdvanceInstantlyAndExactly) {
  ASSERT_TRUE(p::is_headless());
  uint64_t start = p::micros();
  uint32_t ticks = p::ticks();
  p::sleep_ms(5000);  // five virtual seconds, no real wait
  EXPECT_EQ(p::micros() - start, 5000000u);
  EXPECT_EQ(p::ticks() - ticks, 5000u);
  p::yield();
  EXPECT_EQ(p::micros() - start, 5000000u + p::headless::kYieldMicros);
  p::sleep_micros(7);
  EXPECT_EQ(p::micros() - start, 5000007u + p::headless::kYieldMicros);
  // Reading the clock never moves it.
  EXPECT_EQ(p::micros(), p::micros());
}

TEST(Backend, SelectionByName) {
  EXPECT_TRUE(p::select_backend("HEADLESS"));
  EXPECT_STREQ(p::backend().name, "headless");
  EXPECT_FALSE(p::select_backend("no-such-backend"));
  EXPECT_STREQ(p::backend().name, "headless");
}

TEST(MessageBox, DefaultButtonAndQueuedAnswers) {
  struct Case {
    unsigned style;
    int answer;
  };
  const Case cases[] = {
      {p::kMbOk, p::kIdOk},
      {p::kMbYesNo, p::kIdYes},
      {p::kMbYesNo | p::kMbDefButton2, p::kIdNo},
      {p::kMbYesNoCancel | p::kMbDefButton3, p::kIdCancel},
      {p::kMbYesNo | p::kMbDefButton3, p::kIdYes},  // no third button: the first
      {p::kMbOkCancel | p::kMbDefButton2 | p::kMbIconError, p::kIdCancel},
      {p::kMbAbortRetryIgnore | p::kMbDefButton2, p::kIdRetry},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    EXPECT_EQ(p::message_box("Caption", "Text", c.style), c.answer);
  }
  unsigned before = p::headless::boxes_shown();
  p::headless::queue_answer(p::kIdNo);
  testing::internal::CaptureStderr();
  EXPECT_EQ(p::message_box("Question", "Go on?", p::kMbYesNo), p::kIdNo);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "[Question]\nGo on?\n");
  EXPECT_EQ(p::message_box("Question", "Go on?", p::kMbYesNo), p::kIdYes);
  EXPECT_EQ(p::headless::boxes_shown() - before, 2u);
}
