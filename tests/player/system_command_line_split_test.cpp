// Splitting an EXECUTE command line as the Windows runtime does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/execute_command_line.h"

namespace glint::player {
namespace {

using Words = std::vector<std::string>;

TEST(WindowsCommandLine, ArgumentsFollowTheRuntimeRules) {
  const struct {
    const char* line;
    Words expected;
  } cases[] = {
      {"prog \"a b c\" d e", {"prog", "a b c", "d", "e"}},
      {"prog \"ab\\\"c\" \"\\\\\" d", {"prog", "ab\"c", "\\", "d"}},
      {"prog a\\\\\\b d\"e f\"g h", {"prog", "a\\\\\\b", "de fg", "h"}},
      {"prog a\\\\\\\"b c d", {"prog", "a\\\"b", "c", "d"}},
      {"prog a\\\\\\\\\"b c\" d e", {"prog", "a\\\\b c", "d", "e"}},
      {"prog a\"b\"\" c d", {"prog", "ab\" c d"}},
      {"prog \"\"", {"prog", ""}},
      {"prog\ta\t\tb  ", {"prog", "a", "b"}},
      {"prog \"unclosed arg", {"prog", "unclosed arg"}},
      {"  prog", {"prog"}},
      {"", {}},
      {" \t ", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(split_windows_command_line(c.line), c.expected) << c.line;
}

TEST(WindowsCommandLine, ProgramNameKeepsBackslashes) {
  const struct {
    const char* line;
    Words expected;
  } cases[] = {
      {"\"C:\\Program Files\\x.exe\" arg", {"C:\\Program Files\\x.exe", "arg"}},
      {"c:\\dir\\prog.exe a", {"c:\\dir\\prog.exe", "a"}},
      {"\"c:\\dir\\\" a", {"c:\\dir\\", "a"}},  // no escaping in the name
      {"\"unclosed name", {"unclosed name"}},
      {"pro\"g x\" y", {"pro\"g", "x y"}},  // a quote inside the name is plain
  };
  for (const auto& c : cases) EXPECT_EQ(split_windows_command_line(c.line), c.expected) << c.line;
}

}  // namespace
}  // namespace glint::player
