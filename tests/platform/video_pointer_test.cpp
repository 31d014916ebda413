// The system pointer in the headless video service: where mouse messages
// leave it, leaving the window, moving it, and the end of scripted input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_video.h"
#include "platform/input_script.h"
#include "platform/platform.h"
#include "platform/video.h"

namespace p = glint::platform;
namespace h = glint::platform::headless;

namespace {

class HeadlessPointer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(p::is_headless());
    h::reset_video();
  }
  void TearDown() override { h::reset_video(); }
  static void drain() {
    p::Message m;
    while (p::video().poll_message(&m)) {
    }
  }
};

TEST_F(HeadlessPointer, FollowsMouseMessagesUntilItLeaves) {
  const p::VideoDriver& v = p::video();
  const p::WindowHandle w = v.create_window("t", 0, 0, 100, 50, p::kStyleCaption);
  int32_t x = -5, y = -5;
  EXPECT_FALSE(v.pointer_position(w, &x, &y));  // no mouse message yet
  h::load_input("move 10 20\n+1 click 99 49 right\n+1 leave\n+1 move 100 10\n");
  drain();
  ASSERT_TRUE(v.pointer_position(w, &x, &y));
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 20);
  drain();
  ASSERT_TRUE(v.pointer_position(w, &x, &y));
  EXPECT_EQ(x, 99);
  EXPECT_EQ(y, 49);
  EXPECT_FALSE(v.input_ended());
  drain();
  EXPECT_FALSE(v.pointer_position(w, &x, &y));
  drain();
  EXPECT_FALSE(v.pointer_position(w, &x, &y));  // past the right edge
  EXPECT_TRUE(v.input_ended());
  EXPECT_FALSE(v.pointer_position(w + 1, &x, &y));
}

TEST_F(HeadlessPointer, WarpingMovesItAndTellsTheWindow) {
  const p::VideoDriver& v = p::video();
  const p::WindowHandle w = v.create_window("t", 0, 0, 100, 50, p::kStyleCaption);
  v.warp_pointer(w, 30, 40);
  int32_t x = 0, y = 0;
  ASSERT_TRUE(v.pointer_position(w, &x, &y));
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 40);
  EXPECT_FALSE(v.input_ended());  // the move message waits
  p::Message m;
  ASSERT_TRUE(v.poll_message(&m));
  EXPECT_EQ(m.message, p::kWmMouseMove);
  EXPECT_EQ(m.x, 30);
  EXPECT_EQ(m.y, 40);
  EXPECT_TRUE(v.input_ended());
  v.warp_pointer(0, 1, 1);  // no such window: nothing happens
  EXPECT_TRUE(v.input_ended());
}

TEST(InputScript, LeaveVerb) {
  std::vector<std::string> errors;
  const auto events = p::parse_input_script("leave\n+2 leave now\n", errors);
  ASSERT_EQ(events.size(), 1u);
  ASSERT_EQ(events[0].messages.size(), 1u);
  EXPECT_EQ(events[0].messages[0].message, p::kWmMouseLeave);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("extra words"), std::string::npos);
}

}  // namespace
