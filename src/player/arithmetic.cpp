#include "player/arithmetic.h"

#include <cmath>
#include <limits>

namespace glint::player {

std::optional<int32_t> compute(int32_t a, char op, int32_t b) {
  const auto ua = static_cast<uint32_t>(a);
  const auto ub = static_cast<uint32_t>(b);
  switch (op) {
    case '+':
      return static_cast<int32_t>(ua + ub);
    case '-':
      return static_cast<int32_t>(ua - ub);
    case '*':
      return static_cast<int32_t>(ua * ub);
    case '/':
      if (b == 0) return 0;
      if (b == -1) return static_cast<int32_t>(0u - ua);
      return a / b;
    case '%':
      if (b == 0 || b == -1) return 0;
      return a % b;
    case '&':
      return a & b;
    case '|':
      return a | b;
    case '^':
      return a ^ b;
    default:
      return std::nullopt;
  }
}

int32_t absolute_value(int32_t n) {
  const auto u = static_cast<uint32_t>(n);
  return static_cast<int32_t>(n < 0 ? 0u - u : u);
}

int32_t rounded_square_root(int32_t n) {
  if (n <= 0) return 0;
  return static_cast<int32_t>(std::llround(std::sqrt(static_cast<double>(n))));
}

uint32_t draw_random(uint32_t& seed) {
  seed = seed * 214013u + 2531011u;
  return (seed >> 16) & 0x7FFFu;
}

int32_t scale_random(uint32_t drawn, int32_t max) {
  const auto limit = static_cast<uint32_t>(max);
  uint32_t value = (drawn * (limit + 1u)) / 32767u;
  if (value > limit) value = limit;
  return static_cast<int32_t>(value);
}

}  // namespace glint::player
