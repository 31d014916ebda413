// Number parsing and printing on arbitrary text: atofr's fractions are
// reduced and never have a zero denominator; short decimals come out exact;
// the 32-bit decimal and thousands formats read back to the value.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "orxutil/orxutil.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

uint32_t gcd(uint32_t a, uint32_t b) {
  while (b) {
    const uint32_t r = a % b;
    a = b;
    b = r;
  }
  return a;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// For text that is only "[-]digits[.digits]" with at most 9 digits in all,
// the exact value as digits / 10^decimals.
bool short_decimal(const char* text, size_t length, int64_t* digits, int64_t* scale) {
  size_t at = text[0] == '-' ? 1 : 0;
  int64_t value = 0, ten = 1;
  int count = 0;
  bool dot = false;
  for (; at < length; ++at) {
    if (text[at] == '.' && !dot) {
      dot = true;
    } else if (is_digit(text[at]) && ++count <= 9) {
      value = value * 10 + (text[at] - '0');
      if (dot) ten *= 10;
    } else {
      return false;
    }
  }
  *digits = text[0] == '-' ? -value : value;
  *scale = ten;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const char* bytes = reinterpret_cast<const char*>(data);
  const size_t length = strnlen(bytes, size);
  std::vector<char> text(bytes, bytes + length);
  text.push_back('\0');
  text.shrink_to_fit();

  int32_t numerator = 0, denominator = 0;
  const char* end = atofr(text.data(), &numerator, &denominator);
  require(end >= text.data() && end <= text.data() + length);
  require(denominator != 0);
  const bool negative = text[0] == '-';
  const uint32_t magnitude =
      negative ? 0u - static_cast<uint32_t>(numerator) : static_cast<uint32_t>(numerator);
  if (magnitude != 0 && static_cast<uint32_t>(denominator) != 1)
    require(gcd(magnitude, static_cast<uint32_t>(denominator)) == 1);

  int64_t digits = 0, scale = 1;
  if (length > 0 && static_cast<size_t>(end - text.data()) == length &&
      short_decimal(text.data(), length, &digits, &scale) && digits != 0)
    require(int64_t{numerator} * scale == digits * int64_t{denominator});

  // The first four bytes as a value: printed and read back.
  uint32_t value = 0;
  std::memcpy(&value, data, size < 4 ? size : 4);
  char decimal[12];
  char* decimal_end = U32toa(decimal, value);
  require(decimal_end == decimal + std::strlen(decimal) && atoU32(decimal) == value);

  uint64_t wide = 0;
  std::memcpy(&wide, data, size < 8 ? size : 8);
  char grouped[27];
  CommaNum(grouped, wide);
  std::string plain;
  for (const char* c = grouped; *c; ++c)
    if (*c != ',') plain += *c;
  require(plain == std::to_string(wide));

  int32_t a = static_cast<int32_t>(value), b = numerator;
  GCDNums(&a, &b);
  if (a != 0 && b != 0) {
    const auto mag = [](int32_t v) {
      return v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
    };
    require(gcd(mag(a), mag(b)) == 1);
  }
  MakeFrameRate(static_cast<int32_t>(value));
  return 0;
}
