#include <gtest/gtest.h>

#include "orxutil/orxutil.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "util/timer_state.h"

namespace p = glint::platform;
namespace h = glint::platform::headless;

TEST(Timer, CountsFromTheFirstCallOnTheVirtualClock) {
  glint::util::timer_reset_for_tests();
  h::advance_micros(123456789);
  EXPECT_EQ(ORXTimerRead(), 0u);
  p::sleep_ms(40);
  EXPECT_EQ(ORXTimerRead(), 40u);
  h::advance_micros(999);  // less than a millisecond more
  EXPECT_EQ(ORXTimerRead(), 40u);
  h::advance_micros(1);
  EXPECT_EQ(ORXTimerRead(), 41u);
  p::sleep_ms(3600u * 1000u * 24u);  // a day later
  EXPECT_EQ(ORXTimerRead(), 41u + 86400000u);
}

TEST(Timer, TickCountWinsWhenTheCounterJumps) {
  glint::util::timer_reset_for_tests();
  EXPECT_EQ(ORXTimerRead(), 0u);
  p::sleep_ms(100);
  // The ticks ran 500 ms further than the counter (the machine slept): the
  // result follows the ticks and keeps that correction afterwards.
  h::skew_ticks(500);
  EXPECT_EQ(ORXTimerRead(), 600u);
  p::sleep_ms(10);
  EXPECT_EQ(ORXTimerRead(), 610u);
  // A disagreement of up to 200 ms is the counter's to keep.
  h::skew_ticks(150);
  p::sleep_ms(10);
  EXPECT_EQ(ORXTimerRead(), 620u);
}

TEST(Timer, NeverRunsBackwards) {
  glint::util::timer_reset_for_tests();
  EXPECT_EQ(ORXTimerRead(), 0u);
  p::sleep_ms(1000);
  EXPECT_EQ(ORXTimerRead(), 1000u);
  // The ticks fall back by 900 ms: the correction would take the result below
  // the last one, so the last result stays.
  h::skew_ticks(-1900);
  p::sleep_ms(100);
  uint32_t t = ORXTimerRead();
  EXPECT_GE(t, 1000u);
  uint32_t previous = t;
  for (int i = 0; i < 100; ++i) {
    p::yield();
    uint32_t now = ORXTimerRead();
    EXPECT_GE(now, previous);
    previous = now;
  }
}
