#include "player/arithmetic.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "script_runner.h"

namespace glint::player {
namespace {

using test::error_at;
using test::run_script_text;

struct ComputeCase {
  const char* line;  // run after VARSET A 10
  const char* x;     // X afterwards, or the error box's first lines
  bool error;
};

class ComputeCommand : public ::testing::TestWithParam<ComputeCase> {};

TEST_P(ComputeCommand, StoresTheResultOrReports) {
  const ComputeCase& c = GetParam();
  const auto run = run_script_text(std::string("VARSET A 10\n") + c.line + "\n");
  if (c.error) {
    EXPECT_EQ(run.error(), error_at(std::string(c.x) + "\r\n    " + c.line + "\r\n", 2)) << c.line;
  } else {
    EXPECT_EQ(run.error(), "") << c.line;
    EXPECT_EQ(run.var("X"), c.x) << c.line;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComputeCommand,
    ::testing::Values(
        ComputeCase{"COMPUTE X = 7 / 2", "3", false},
        ComputeCase{"COMPUTE X = -7 / 2", "-3", false},
        ComputeCase{"COMPUTE X = -7 % 2", "-1", false},
        ComputeCase{"COMPUTE X = 5 / 0", "0", false}, ComputeCase{"COMPUTE X = 5 % 0", "0", false},
        ComputeCase{"COMPUTE X 6 * 7", "42", false}, ComputeCase{"COMPUTE X = 12 & 10", "8", false},
        ComputeCase{"COMPUTE X = 12 | 3", "15", false},
        ComputeCase{"COMPUTE X = 12 ^ 10", "6", false}, ComputeCase{"COMPUTE X = A -1", "9", false},
        ComputeCase{"COMPUTE X = A - -1", "11", false},
        ComputeCase{"COMPUTE X = 2147483647 + 1", "-2147483648", false},
        ComputeCase{"COMPUTE X = 4294967297 + 0", "1", false},
        ComputeCase{"COMPUTE X = 65536 * 65536", "0", false},
        ComputeCase{"COMPUTE X = -2147483648 / -1", "-2147483648", false},
        ComputeCase{"COMPUTE X = -2147483648 % -1", "0", false},
        ComputeCase{"COMPUTEABS X -2147483648", "-2147483648", false},
        ComputeCase{"COMPUTEABS X -12", "12", false}, ComputeCase{"COMPUTESQRT X 10", "3", false},
        ComputeCase{"COMPUTESQRT X 2147483647", "46341", false},
        ComputeCase{"COMPUTESQRT X -4", "0", false},
        ComputeCase{"COMPUTE X B + 1", " Error in compute command:", true},
        ComputeCase{"COMPUTE X = B + 1", " Needed a number in command:", true},
        ComputeCase{"COMPUTE X = 5 < 3", " Unknown operator in command:", true},
        ComputeCase{"COMPUTE X = 5", " Needed a parameter in command:", true},
        ComputeCase{"COMPUTE X = 5 +", " Needed a number in command:", true},
        ComputeCase{"COMPUTE \"X\" = 5 + 1", " Needed a variable in command:", true},
        ComputeCase{"COMPUTEABS X", " Needed a number in command:", true},
        ComputeCase{"RANDOMIZE \"x\"", " Needed a number in command:", true}));

TEST(Random, GeneratorSequenceAndScaling) {
  uint32_t seed = 1;
  EXPECT_EQ(draw_random(seed), 41u);
  EXPECT_EQ(seed, 2745024u);
  EXPECT_EQ(scale_random(32767, 0), 0);
  EXPECT_EQ(scale_random(32767, 10), 10);  // clamped to the maximum
  EXPECT_EQ(scale_random(0, 10), 0);
  EXPECT_EQ(scale_random(16383, 131071), 65533);
}

TEST(Random, ScriptDrawsFromTheSeed) {
  const auto run = run_script_text("RANDOMIZE 1\nRANDOM X 32766\nRANDOM Z 0\nRANDOM Y 9\n");
  EXPECT_EQ(run.var("X"), "41");
  EXPECT_EQ(run.var("Z"), "0");
  // The third draw from seed 1.
  uint32_t seed = 1;
  draw_random(seed);
  draw_random(seed);
  EXPECT_EQ(run.var("Y"), std::to_string(scale_random(draw_random(seed), 9)));
}

TEST(Compute, WrapsInsteadOfTrapping) {
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(compute(kMin, '-', 1), kMax);
  EXPECT_EQ(compute(kMax, '*', 2), -2);
  EXPECT_EQ(compute(kMin, '/', -1), kMin);
  EXPECT_EQ(compute(7, '<', 1), std::nullopt);
  EXPECT_EQ(absolute_value(kMin), kMin);
  EXPECT_EQ(rounded_square_root(kMin), 0);
}

}  // namespace
}  // namespace glint::player
