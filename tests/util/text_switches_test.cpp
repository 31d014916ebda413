// The switch readers: which "/X" they take, what they return and what stays.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "orxutil/orxutil.h"

namespace {

std::vector<char> buffer(const std::string& text) {
  std::vector<char> out(text.begin(), text.end());
  out.push_back('\0');
  return out;
}

struct PlainCase {
  std::string line;
  int letter;
  int found;
  std::string rest;
};

TEST(GetSwitch, TakesTheFirstPlainSwitch) {
  const PlainCase cases[] = {
      {"/W2 /W", 'W', 1, "/W2 "},
      {"a /w b", 'W', 1, "a  b"},  // lower case in the text matches
      {"/W", 'W', 1, ""},
      {"/W/X", 'W', 1, "/X"},          // "/" may follow the letter
      {"/W!x", 'W', 1, "!x"},          // and so may "!" to "/"
      {"/W\xA0z", 'W', 1, "\xA0z"},    // a high byte is a blank
      {"/Wa /W0", 'W', 0, "/Wa /W0"},  // a word byte or digit makes it another form
      {"/W:", 'W', 0, "/W:"},          // ':' is above '/'
      {"/X /W /W", 'W', 1, "/X  /W"},  // only the first goes
      {"/w", 'w', 0, "/w"},            // the caller's letter is not upper-cased
      {"//W", 'W', 1, "/"},
      {"", 'W', 0, ""},
      {"/", 'W', 0, "/"},
      {"/W", 'W' + 0x100, 1, ""},  // only the low byte of the letter counts
      {"/", 0, 0, "/"},            // the NUL is never a letter
  };
  for (const auto& c : cases) {
    auto line = buffer(c.line);
    EXPECT_EQ(GetSwitch(line.data(), c.letter), c.found) << c.line;
    EXPECT_EQ(std::string(line.data()), c.rest) << c.line;
  }
}

struct StringCase {
  std::string line;
  int found;
  std::string value, rest;
};

TEST(GetSwitchStr, TakesAValueOrGivesTheDefault) {
  const StringCase cases[] = {
      {"/O\"c:\\a b\\x.avi\" rest", 1, "c:\\a b\\x.avi", " rest"},
      {"in /oout.avi /L5", 1, "out.avi", "in  /L5"},
      {"/Oa/b", 1, "a", "/b"},  // an unquoted value ends at '/'
      {"/O\"a/b\"c", 1, "a/b", "c"},
      {"/O\"open to the end", 1, "open to the end", ""},
      {"/O\"\" x", 1, "", " x"},
      {"/O x /Oval", 1, "val", "/O x "},  // "/O" and a blank is passed over
      {"/O", 0, "dflt", "/O"},
      {"/P x", 0, "dflt", "/P x"},
      {"/Ox\xA0y", 1, "x", "\xA0y"},  // a high byte ends the value
  };
  for (const auto& c : cases) {
    auto line = buffer(c.line);
    std::vector<char> value(c.line.size() + 8, 'x');
    EXPECT_EQ(GetSwitchStr(line.data(), 'O', value.data(), "dflt"), c.found) << c.line;
    EXPECT_EQ(std::string(value.data()), c.value) << c.line;
    EXPECT_EQ(std::string(line.data()), c.rest) << c.line;
  }
}

TEST(GetSwitchStr, NullDefaultGivesAnEmptyValue) {
  auto line = buffer("none");
  char value[8] = "xxxxxxx";
  EXPECT_EQ(GetSwitchStr(line.data(), 'O', value, nullptr), 0);
  EXPECT_STREQ(value, "");
}

struct NumberCase {
  std::string line;
  int32_t value;
  std::string rest;
};

TEST(GetSwitchNum, ReadsASignedNumberOrGivesTheDefault) {
  const NumberCase cases[] = {
      {"x /Lx /L-3y", -3, "x /Lx y"},
      {"no switch here", 9, "no switch here"},
      {"/L5.2", 5, ".2"},
      {"/l12 /L7", 12, " /L7"},
      {"/L- /L-", 9, "/L- /L-"},  // a sign alone is not a number
      {"/L+4", 9, "/L+4"},
      {"/L007", 7, ""},
      {"/L2147483647", INT32_MAX, ""},
      {"/L-2147483648", INT32_MIN, ""},
      {"/L4294967297", 1, ""},   // wraps modulo 2^32
      {"/L21474836487", 7, ""},  // 5 * 2^32 + 7
  };
  for (const auto& c : cases) {
    auto line = buffer(c.line);
    EXPECT_EQ(GetSwitchNum(line.data(), 'L', 9), c.value) << c.line;
    EXPECT_EQ(std::string(line.data()), c.rest) << c.line;
  }
}

struct FractionCase {
  std::string line;
  int32_t numerator, denominator;
  std::string rest;
};

TEST(GetSwitchFractional, ReadsAFractionOrGivesTheDefaults) {
  const FractionCase cases[] = {
      {"in /F30;1.001 out", 30000, 1001, "in  out"},
      {"/f29.97", 2997, 100, ""},
      {"/F-12.5x", -25, 2, "x"},
      {"/F5;0", 5, 1, ""},
      {"/F5;x", 5, 1, ";x"},           // a ';' without a digit stays
      {"/F.5 /Fz", 7, 3, "/F.5 /Fz"},  // neither is in number form
      {"none", 7, 3, "none"},
  };
  for (const auto& c : cases) {
    auto line = buffer(c.line);
    int32_t numerator = 0, denominator = 0;
    GetSwitchFractional(line.data(), 'F', &numerator, &denominator, 7, 3);
    EXPECT_EQ(numerator, c.numerator) << c.line;
    EXPECT_EQ(denominator, c.denominator) << c.line;
    EXPECT_EQ(std::string(line.data()), c.rest) << c.line;
  }
}

TEST(RemoveMinusSwitches, CancelsEarlierSwitchesOfTheLetter) {
  const std::pair<std::string, std::string> cases[] = {
      {"/L5 /-L /L7", "  /L7"},
      {"/l5 /L\"a b\" x /-l", "  x "},  // quoted values go with both quotes
      {"/L /-L", " "},                  // "/L" and a blank: only two bytes
      {"/La/b /-L", "/b "},             // a bare value ends at '/'
      {"a /-", "a "},                   // a bare "/-" cuts the line
      {"/-L /L1", " /L1"},
      {"/L1 /X2 /-L /-X", "   "},
      {"/L\"unclosed /-L tail", " tail"},  // a value never reaches into the negation
      {"/L\"a /-L b\"", " b\""},
      {"/-/ /-", " "},
      {"x//-L", "x/"},
      {"a//-/ b", "a/ b"},  // the negation's own '/' is no earlier switch
      {"plain text", "plain text"},
  };
  for (const auto& [in, out] : cases) {
    auto line = buffer(in);
    RemoveMinusSwitches(line.data());
    EXPECT_EQ(std::string(line.data()), out) << in;
  }
}

TEST(Switches, ALineTakenApartLeavesThePlainWords) {
  auto line = buffer("input.gnt out.avi /L5 /F30;1.001 /-L /Q /O\"x y.txt\"");
  RemoveMinusSwitches(line.data());
  EXPECT_EQ(GetSwitchNum(line.data(), 'L', -1), -1);
  int32_t n = 0, d = 0;
  GetSwitchFractional(line.data(), 'F', &n, &d, 15, 1);
  EXPECT_EQ(n, 30000);
  EXPECT_EQ(d, 1001);
  EXPECT_EQ(GetSwitch(line.data(), 'Q'), 1);
  char value[32];
  EXPECT_EQ(GetSwitchStr(line.data(), 'O', value, ""), 1);
  EXPECT_STREQ(value, "x y.txt");
  char word[32];
  GetAndRemoveFirstQuoted(word, line.data());
  EXPECT_STREQ(word, "input.gnt");
  GetAndRemoveFirstQuoted(word, line.data());
  EXPECT_STREQ(word, "out.avi");
  EXPECT_STREQ(line.data(), "");
}

TEST(Switches, NullLinesGiveTheDefaults) {
  EXPECT_EQ(GetSwitch(nullptr, 'X'), 0);
  EXPECT_EQ(GetSwitchNum(nullptr, 'X', 4), 4);
  int32_t n = 0, d = 0;
  GetSwitchFractional(nullptr, 'X', &n, &d, 2, 3);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(d, 3);
  char value[4];
  EXPECT_EQ(GetSwitchStr(nullptr, 'X', value, "d"), 0);
  EXPECT_STREQ(value, "d");
  RemoveMinusSwitches(nullptr);
}

}  // namespace
