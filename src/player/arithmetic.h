// Integer arithmetic and the random generator of the script language. All
// operations wrap modulo 2^32 and never trap.
#pragma once

#include <cstdint>
#include <optional>

namespace glint::player {

// a op b for the operators + - * / % & | ^; nullopt for any other operator.
// Division truncates toward zero; dividing by 0 gives 0, and so does the
// remainder; INT32_MIN / -1 wraps to INT32_MIN with remainder 0.
std::optional<int32_t> compute(int32_t a, char op, int32_t b);

// |n|, where |INT32_MIN| wraps to INT32_MIN.
int32_t absolute_value(int32_t n);

// The square root rounded to the nearest integer; 0 for negative numbers.
int32_t rounded_square_root(int32_t n);

// One step of the generator: 0 to 32767.
uint32_t draw_random(uint32_t& seed);

// A drawn value scaled to 0..max as RANDOM does.
int32_t scale_random(uint32_t drawn, int32_t max);

}  // namespace glint::player
