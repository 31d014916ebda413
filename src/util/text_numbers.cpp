// Numbers in and out of text: fractions, 32-bit decimals, frame rates and
// thousands separators.
#include <cstdint>
#include <cstring>

#include "orxutil/orxutil.h"
#include "util/text_blank.h"

using glint::util::is_digit;

namespace {

uint32_t gcd(uint32_t a, uint32_t b) {
  while (b != 0) {
    const uint32_t rest = a % b;
    a = b;
    b = rest;
  }
  return a;
}

// Divides both by their greatest common divisor; a zero leaves both alone.
void reduce(uint32_t& a, uint32_t& b) {
  if (a == 0 || b == 0) return;
  const uint32_t divisor = gcd(a, b);
  a /= divisor;
  b /= divisor;
}

// "29.97" read as 2997 over 100. Everything wraps modulo 2^32, as it always
// has: a value too long for 32 bits is the user's problem, not a fault.
struct Decimal {
  uint32_t value = 0;
  uint32_t scale = 1;
  const char* end = nullptr;
};

Decimal read_decimal(const char* text) {
  Decimal number;
  const char* at = text;
  while (is_digit(static_cast<unsigned char>(*at)))
    number.value = number.value * 10u + static_cast<uint32_t>(*at++ - '0');
  if (*at == '.') {
    ++at;
    while (is_digit(static_cast<unsigned char>(*at))) {
      number.value = number.value * 10u + static_cast<uint32_t>(*at++ - '0');
      number.scale *= 10u;
    }
  }
  number.end = at;
  return number;
}

bool is_c_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

extern "C" {

ORX_API char* atofr(const char* text, int32_t* numerator, int32_t* denominator) {
  int32_t top = 0;
  int32_t bottom = 1;
  const char* end = text;
  if (text != nullptr &&
      (is_digit(static_cast<unsigned char>(*text)) || *text == '.' || *text == '-')) {
    const bool negative = *text == '-';
    Decimal first = read_decimal(negative ? text + 1 : text);
    reduce(first.value, first.scale);
    end = first.end;
    // "a;b" is a over b, each of them possibly with decimals.
    if (end[0] == ';' && is_digit(static_cast<unsigned char>(end[1]))) {
      Decimal second = read_decimal(end + 1);
      reduce(second.value, second.scale);
      first.value *= second.scale;
      first.scale *= second.value;
      reduce(first.value, first.scale);
      end = second.end;
    }
    top = static_cast<int32_t>(negative ? 0u - first.value : first.value);
    bottom = first.scale == 0 ? 1 : static_cast<int32_t>(first.scale);
  }
  if (numerator != nullptr) *numerator = top;
  if (denominator != nullptr) *denominator = bottom;
  return const_cast<char*>(end);
}

ORX_API void GCDNums(int32_t* a, int32_t* b) {
  if (a == nullptr || b == nullptr || *a == 0 || *b == 0) return;
  // Euclid on the magnitudes; the signs stay where they were. The magnitude
  // of INT32_MIN fits in 32 unsigned bits, and dividing by a positive
  // divisor never overflows.
  const auto magnitude = [](int32_t v) {
    return v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
  };
  const int64_t divisor = gcd(magnitude(*a), magnitude(*b));
  *a = static_cast<int32_t>(*a / divisor);
  *b = static_cast<int32_t>(*b / divisor);
}

ORX_API char* U32toa(char* destination, uint32_t value) {
  if (destination == nullptr) return nullptr;
  // Written as the signed number it was stored from: 2^31 and up get a "-".
  uint32_t magnitude = value;
  if (static_cast<int32_t>(value) < 0) {
    *destination++ = '-';
    magnitude = 0u - value;
  }
  char digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10u);
    magnitude /= 10u;
  } while (magnitude != 0);
  while (count > 0) *destination++ = digits[--count];
  *destination = '\0';
  return destination;
}

ORX_API uint32_t atoU32(const char* text) {
  if (text == nullptr) return 0;
  while (is_c_space(*text)) ++text;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  uint32_t value = 0;
  while (is_digit(static_cast<unsigned char>(*text)))
    value = value * 10u + static_cast<uint32_t>(*text++ - '0');
  return negative ? 0u - value : value;
}

ORX_API char* findchar(const char* text, int character) {
  if (text == nullptr) return nullptr;
  return const_cast<char*>(std::strchr(text, character));
}

ORX_API int32_t MakeFrameRate(int32_t rate) {
  if (rate == 0) return 0;
  const int64_t r = rate;
  int64_t period;
  if (r < -1500) {
    period = -r;  // already in units of 10 microseconds
  } else if (r < 0) {
    period = -100 * r;  // milliseconds per frame
  } else {
    period = 100000 / r;  // frames per second
  }
  // No frame is shorter than 50 microseconds. -INT32_MIN is one past the
  // largest period the result can hold.
  if (period < 5) period = 5;
  if (period > INT32_MAX) period = INT32_MAX;
  return static_cast<int32_t>(period);
}

ORX_API char* CommaNum(char* destination, uint64_t value) {
  if (destination == nullptr) return nullptr;
  char reversed[27];
  size_t length = 0;
  size_t in_group = 0;
  do {
    if (in_group == 3) {
      reversed[length++] = ',';
      in_group = 0;
    }
    reversed[length++] = static_cast<char>('0' + value % 10u);
    value /= 10u;
    ++in_group;
  } while (value != 0);
  for (size_t i = 0; i < length; ++i) destination[i] = reversed[length - 1 - i];
  destination[length] = '\0';
  return destination;
}

}  // extern "C"
