// Fractions, 32-bit decimals, frame rates and thousands separators.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "orxutil/orxutil.h"

namespace {

struct FractionCase {
  std::string text;
  int32_t numerator, denominator;
  size_t read;
};

TEST(Atofr, ParsesReducedFractions) {
  const FractionCase cases[] = {
      {"29.97", 2997, 100, 5},
      {"-29.97", -2997, 100, 6},
      {".5", 1, 2, 2},
      {"x", 0, 1, 0},
      {"", 0, 1, 0},
      {"+5", 0, 1, 0},
      {"30;1.001", 30000, 1001, 8},
      {"30000;1001 rest", 30000, 1001, 10},
      {"1.5;2.5", 3, 5, 7},
      {"5;0", 5, 1, 3},  // a zero denominator becomes 1
      {"5;", 5, 1, 1},   // ';' without a digit is not read
      {"5;.5", 5, 1, 1},
      {"-5;-2", -5, 1, 2},
      {"3;7;2", 3, 7, 3},
      {"-", 0, 1, 1},
      {"12.", 12, 1, 3},
      {"0.000", 0, 1000, 5},  // zero is not reduced
      {"25/2", 25, 1, 2},
      {"4294967297", 1, 1, 10},  // 32-bit arithmetic wraps
      {"1.0000000000", 1, 1, 12},
  };
  for (const auto& c : cases) {
    int32_t numerator = 77, denominator = 77;
    const char* end = atofr(c.text.c_str(), &numerator, &denominator);
    EXPECT_EQ(numerator, c.numerator) << c.text;
    EXPECT_EQ(denominator, c.denominator) << c.text;
    EXPECT_EQ(end, c.text.c_str() + c.read) << c.text;
  }
}

TEST(Atofr, DenominatorIsNeverZero) {
  // 10^32 is 0 modulo 2^32: the scale wraps to zero and is replaced by 1.
  const std::string text = "1." + std::string(32, '0');
  int32_t numerator = 0, denominator = 0;
  atofr(text.c_str(), &numerator, &denominator);
  EXPECT_NE(denominator, 0);
}

TEST(GCDNums, DividesByTheCommonDivisorKeepingSigns) {
  struct Case {
    int32_t a, b, reduced_a, reduced_b;
  };
  const Case cases[] = {
      {12, 18, 2, 3},
      {-12, 18, -2, 3},
      {12, -18, 2, -3},
      {-4, -6, -2, -3},
      {7, 13, 7, 13},
      {0, 5, 0, 5},
      {5, 0, 5, 0},
      {30000, 1000, 30, 1},
      {INT32_MIN, INT32_MIN, -1, -1},
      {INT32_MIN, 6, -(1 << 30), 3},
  };
  for (const auto& c : cases) {
    int32_t a = c.a, b = c.b;
    GCDNums(&a, &b);
    EXPECT_EQ(a, c.reduced_a) << c.a << "/" << c.b;
    EXPECT_EQ(b, c.reduced_b) << c.a << "/" << c.b;
  }
  GCDNums(nullptr, nullptr);
}

TEST(U32toa, WritesTheSignedDecimalAndReturnsTheEnd) {
  const std::pair<uint32_t, std::string> cases[] = {
      {0, "0"},
      {7, "7"},
      {1234567890, "1234567890"},
      {2147483647u, "2147483647"},
      {2147483648u, "-2147483648"},
      {4294967295u, "-1"},
  };
  for (const auto& [value, text] : cases) {
    char out[12];
    std::memset(out, 'x', sizeof out);
    char* end = U32toa(out, value);
    EXPECT_STREQ(out, text.c_str());
    EXPECT_EQ(end, out + text.size());
  }
}

TEST(AtoU32, ParsesLikeAtoiWrappingTo32Bits) {
  const std::pair<std::string, uint32_t> cases[] = {
      {"123", 123},
      {"  -5", 4294967291u},
      {"+7x", 7},
      {"\t\n\v\f\r 42", 42},
      {"", 0},
      {"abc", 0},
      {" - 5", 0},
      {"\xA0\x35", 0},  // 0xA0 and "5": 0xA0 is no space to atoi
      {"4294967295", 4294967295u},
      {"4294967296", 0},
      {"-2147483648", 2147483648u},
      {"99999999999999999999", 1661992959u},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(atoU32(text.c_str()), value) << text;
}

TEST(Findchar, BehavesLikeStrchr) {
  const char text[] = "abc\xE9";
  EXPECT_EQ(findchar(text, 'b'), text + 1);
  EXPECT_EQ(findchar(text, 'z'), nullptr);
  EXPECT_EQ(findchar(text, 0), text + 4);
  EXPECT_EQ(findchar(text, 0xE9), text + 3);
  EXPECT_EQ(findchar(text, static_cast<char>(0xE9)), text + 3);
  EXPECT_EQ(findchar(nullptr, 'a'), nullptr);
}

TEST(MakeFrameRate, ConvertsRatesAndPeriodsToTenMicrosecondUnits) {
  const std::pair<int32_t, int32_t> cases[] = {
      {0, 0},
      {15, 6666},
      {1, 100000},
      {30000, 5},
      {100000, 5},
      {200000, 5},  // never 0 for a real rate
      {INT32_MAX, 5},
      {-1, 100},
      {-66, 6600},
      {-1500, 150000},
      {-1501, 1501},
      {-6666, 6666},
      {-INT32_MAX, INT32_MAX},
      {INT32_MIN, INT32_MAX},  // one past the largest period: held at the largest
  };
  for (const auto& [rate, period] : cases) EXPECT_EQ(MakeFrameRate(rate), period) << rate;
}

TEST(CommaNum, GroupsThousands) {
  const std::pair<uint64_t, std::string> cases[] = {
      {0, "0"},
      {999, "999"},
      {1000, "1,000"},
      {100000, "100,000"},
      {1234567, "1,234,567"},
      {UINT64_MAX, "18,446,744,073,709,551,615"},
  };
  for (const auto& [value, text] : cases) {
    char out[27];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(CommaNum(out, value), out);
    EXPECT_STREQ(out, text.c_str());
  }
}

}  // namespace
