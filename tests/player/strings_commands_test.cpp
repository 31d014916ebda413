// The string commands run as script lines: the documented cases, the
// blank set, and the bounds on widths, counts, positions and lengths.
#include <gtest/gtest.h>

#include <string>

#include "player/command_table.h"
#include "script_runner.h"

namespace glint::player {
namespace {

using test::error_at;
using test::run_script_text;

struct StringCase {
  const char* script;  // lines before; the result is X
  std::string expected;
};

void expect_cases(std::initializer_list<StringCase> cases) {
  for (const StringCase& c : cases) {
    const test::ScriptRun run = run_script_text(c.script);
    EXPECT_EQ(run.error(), "") << c.script;
    EXPECT_EQ(run.var("X"), c.expected) << c.script;
  }
}

TEST(StringCommands, LengthCaseTrimAndBackslash) {
  expect_cases({
      {"STRLENGTH X \"abc\"", "3"},
      {"STRLENGTH X \"\"", "0"},
      {"STRUCASE X \"abc-Z\xE9\"", "ABC-Z\xE9"},  // ASCII letters only
      {"STRLCASE X \"ABC-z\xC9\"", "abc-z\xC9"},
      {"STRTRIM X \"  a b \t\"", "a b"},
      // Bytes from 0x80 up are blanks too.
      {"STRTRIM X \"\x81\xFF"
       "a\x80\"",
       "a"},
      {"STRADDBACKSLASH X \"c:\"", "c:"},
      {"STRADDBACKSLASH X \" dir \"", "dir\\"},
      {"STRADDBACKSLASH X \"dir\\\"", "dir\\"},
      {"STRADDBACKSLASH X \"  \"", ""},
  });
}

TEST(StringCommands, NumericAndLabelTests) {
  expect_cases({
      {"STRISNUMERIC X \"-12\"", "1"},
      {"STRISNUMERIC X \" 7\"", "1"},
      {"STRISNUMERIC X \"-\"", "1"},
      {"STRISNUMERIC X \"1.5\"", "0"},
      {"STRISNUMERIC X \"  7\"", "0"},
      {"STRISNUMERIC X \"\"", "0"},
      {"STRISLABEL X \"here\"\n:HERE\n", "1"},
      {":here\nSTRISLABEL X \"Here\"", "1"},
      {":here\nSTRISLABEL X \"there\"", "0"},
  });
}

TEST(StringCommands, Find) {
  expect_cases({
      {"STRFIND X 0 \"b\" \"abcb\"", "2"},
      {"STRFIND X 0 \"B\" \"abcb\"", "0"},
      {"STRFIND X 1 \"B\" \"abcb\"", "2"},
      {"STRFIND X -1 \"CB\" \"abcb\"", "3"},
      {"STRFIND X 0 \"x\" \"abc\"", "0"},
      {"STRFIND X 0 \"abcd\" \"abc\"", "0"},
  });
}

TEST(StringCommands, PieceClampsStartAndCount) {
  expect_cases({
      {"STRPIECE X 2 3 \"abcdef\"", "bcd"},
      {"STRPIECE X 5 10 \"abcdef\"", "ef"},
      {"STRPIECE X 0 2 \"abc\"", "ab"},
      {"STRPIECE X 6 1 \"abcdef\"", "f"},
      // Beyond the end the result is empty, which removes X.
      {"VARSET X old\nSTRPIECE X 9 1 \"abc\"", ""},
      {"VARSET X old\nSTRPIECE X 4 1 \"abc\"", ""},
      {"STRPIECE X -4 2 \"abc\"", "ab"},
      {"VARSET X old\nSTRPIECE X 2 -1 \"abc\"", ""},
      {"STRPIECE X 2 2147483647 \"abc\"", "bc"},
  });
}

TEST(StringCommands, PaddingStaysWithinALine) {
  expect_cases({
      {"STRLPADZERO X 3 \"7\"", "007"},
      {"STRLPAD X 2 \"abc\"", "abc"},
      {"STRLPAD X 5 \"ab\"", "   ab"},
      {"STRRPAD X 4 \"ab\"", "ab  "},
      {"STRLPAD X -3 \"ab\"", "ab"},
      {"STRRPAD X 100000 \"ab\"", "ab" + std::string(765, ' ')},
      {"STRLPADZERO X 2147483647 \"1\"", std::string(766, '0') + "1"},
  });
}

TEST(StringCommands, RepeatTakesACharacterOrACode) {
  expect_cases({
      {"STRREPEAT X \"-\" 3", "---"},
      {"STRREPEAT X 65 3", "AAA"},
      {"STRREPEAT X \"5\" 3", "\x05\x05\x05"},
      {"STRREPEAT X 321 1", "A"},  // the code's low byte
      {"STRREPEAT X \"xy\" 2", "xx"},
      {"STRREPEAT X 0 2", std::string(2, '\0')},
      {"VARSET X old\nSTRREPEAT X \"*\" -2", ""},
      {"STRREPEAT X \"*\" 5000", std::string(767, '*')},
  });
}

TEST(StringCommands, ResultsOfLongTextsAreCutToALine) {
  const test::ScriptRun run = run_script_text(
      "STRREPEAT L \"a\" 700\n"
      "STRUCASE X \"%L%%L%\"\n"
      "STRLENGTH N \"%L%%L%\"\n"
      "STRADDBACKSLASH B \"%L%%L%\"\n");
  EXPECT_EQ(run.error(), "");
  EXPECT_EQ(run.var("X"), std::string(767, 'A'));
  EXPECT_EQ(run.var("N"), "1400");  // a count, not a text: nothing to cut
  const std::string b = run.var("B");
  ASSERT_EQ(b.size(), 767u);
  EXPECT_EQ(b.back(), '\\');
}

TEST(StringCommands, FirstWalksAList) {
  const test::ScriptRun run = run_script_text(
      "VARSET B \"x,y;z\"\n"
      "STRFIRST A B \",;\"\nVARSET A1 \"%A%\"\nVARSET B1 \"%B%\"\n"
      "STRFIRST A B \",;\"\nVARSET A2 \"%A%\"\nVARSET B2 \"%B%\"\n"
      "STRFIRST A B \",;\"\n");
  EXPECT_EQ(run.error(), "");
  EXPECT_EQ(run.var("A1"), "x");
  EXPECT_EQ(run.var("B1"), "y;z");
  EXPECT_EQ(run.var("A2"), "y");
  EXPECT_EQ(run.var("B2"), "z");
  EXPECT_EQ(run.var("A"), "z");
  EXPECT_EQ(run.var("B"), "");

  // An empty entry, and a value longer than a line loses nothing.
  const test::ScriptRun parts = run_script_text(
      "VARSET B \",tail\"\nSTRFIRST A B \",\"\n"
      "STRREPEAT L \"a\" 700\nVARSET C \"%L%%L%,end\"\nSTRFIRST D C \",\"\n");
  EXPECT_EQ(parts.var("A"), "");
  EXPECT_EQ(parts.var("B"), "tail");
  EXPECT_EQ(parts.var("D").size(), 1400u);
  EXPECT_EQ(parts.var("C"), "end");
}

TEST(StringCommands, MissingParametersAreReported) {
  const struct {
    const char* line;
    const char* message;
  } cases[] = {
      {"STRLENGTH", " Needed a variable in command:\r\n    "},
      {"STRUCASE X", " Needed a parameter in command:\r\n    "},
      {"STRPIECE X a 1 \"abc\"", " Needed a number in command:\r\n    "},
      {"STRFIND X 0 \"a\"", " Needed a parameter in command:\r\n    "},
      {"STRREPEAT X \"\" 3", " Needed a non-empty parameter in command:\r\n    "},
      {"STRREPEAT X \"-\"", " Needed a number in command:\r\n    "},
      {"STRFIRST A", " Needed a variable in command:\r\n    "},
  };
  for (const auto& c : cases) {
    const test::ScriptRun run = run_script_text(c.line);
    // The detail is the command word, one blank and the parameters.
    const std::string line = c.line;
    const std::string detail = line.find(' ') == std::string::npos ? line + " " : line;
    EXPECT_EQ(run.error(), error_at(c.message + detail + "\r\n", 1)) << c.line;
  }
}

TEST(StringCommands, EveryStringCommandIsAvailable) {
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    if (kCommandNames[i].substr(0, 3) != "STR") continue;
    EXPECT_NE(command_table().handlers[i], &command_not_available) << kCommandNames[i];
  }
}

}  // namespace
}  // namespace glint::player
