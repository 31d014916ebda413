#include "player/command_line.h"

#include <gtest/gtest.h>

#include "player/startup.h"
#include "script_runner.h"

namespace glint::player {
namespace {

using test::run_scripts;

TEST(CommandLine, ParentSwitchesAreTakenAndOtherSwitchesFlagged) {
  const struct {
    std::vector<std::string> words;
    const char* text;
    bool has_switch;
    bool parent_given;
    int32_t parent;
  } cases[] = {
      {{"show.gs", "a", "b"}, "show.gs a b", false, false, 0},
      {{"/#123", "show"}, "show", false, true, 123},
      {{"show", "/#-5"}, "show", false, true, -5},
      {{"/#", "show"}, "show", false, false, 0},  // removed, but names no window
      {{"/#0", "show"}, "show", false, false, 0},  // window 0 is none
      {{"/#7", "/#", "show"}, "show", false, true, 7},
      {{"show", "/x"}, "show /x", true, false, 0},
      {{"/#x"}, "/#x", true, false, 0},
      {{"demos/show.gs"}, "demos/show.gs", false, false, 0},
      {{"/home/me/show.gs", "arg"}, "/home/me/show.gs arg", false, false, 0},
      {{"/"}, "/", false, false, 0},  // the root exists: a path
      {{"my show.gs", "one", "two"}, "\"my show.gs\" one two", false, false, 0},
      {{}, "", false, false, 0},
  };
  for (const auto& c : cases) {
    const CommandLine line = parse_command_line(c.words);
    EXPECT_EQ(line.text, c.text);
    EXPECT_EQ(line.has_switch, c.has_switch) << c.text;
    EXPECT_EQ(line.parent_given, c.parent_given) << c.text;
    EXPECT_EQ(line.parent_window, c.parent) << c.text;
  }
}

TEST(CommandLine, ScriptNameAndArguments) {
  const struct {
    const char* text;
    const char* name;
    const char* arguments;
  } cases[] = {
      {"show.gs a  b", "show.gs", "a  b"},
      {"\"my show.gs\" one two", "my show.gs", "one two"},
      {"\"open ended", "\"open ended", ""},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    std::string name;
    std::string arguments;
    split_script_name(c.text, name, arguments);
    EXPECT_EQ(name, c.name) << c.text;
    EXPECT_EQ(arguments, c.arguments) << c.text;
  }
}

TEST(Startup, NoArgumentsAndNoAutoexecShowsSyntaxThenAbout) {
  const auto run = run_scripts({}, "");
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.boxes.size(), 2u);
  EXPECT_EQ(run.boxes[0].caption, kSyntaxCaption);
  EXPECT_EQ(run.boxes[0].text, kSyntaxText);
  EXPECT_EQ(run.boxes[1].caption, kAboutCaption);
}

TEST(Startup, AutoexecRunsWhenPresent) {
  const auto run = run_scripts({{"autoexec.gs", "VARSET A 1\n"}}, "");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.var("A"), "1");
  ASSERT_EQ(run.boxes.size(), 1u);  // only the about box
}

TEST(Startup, BadSwitchShowsSyntaxAndFails) {
  const auto run = run_scripts({{"main.gs", "VARSET A 1\n"}}, "main.gs /x");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.var("A"), "");
  EXPECT_EQ(run.box(kSyntaxCaption), kSyntaxText);
}

TEST(Startup, MissingScriptNamesTheExtendedName) {
  const auto run = run_scripts({}, "show");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.error(), " Error opening:\r\n    show.gs\r\n");
}

TEST(Startup, ExtensionRule) {
  const struct {
    const char* name;
    const char* opened;
  } cases[] = {{"show", "show.gs"},
               {"show.txt", "show.txt"},
               {"dir.v2/show", "dir.v2/show.gs"},
               {"dir.v2\\show", "dir.v2\\show.gs"},
               {"c:show", "c:show.gs"}};
  for (const auto& c : cases) {
    const auto run = run_scripts({{c.opened, "VARSET OK 1\n"}}, c.name);
    EXPECT_EQ(run.var("OK"), "1") << c.name;
  }
}

TEST(Startup, ParentSwitchOnlySilencesTheAboutBox) {
  const auto run = run_scripts({{"main.gs", "VARSET A 1\n"}}, "/#42 main");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.var("A"), "1");
  EXPECT_TRUE(run.boxes.empty());
  // Without a window handle there is no front-end to hand the end over to.
  for (const char* line : {"/# main", "/#0 main"}) {
    const auto without = run_scripts({{"main.gs", "VARSET A 1\n"}}, line);
    EXPECT_EQ(without.status, 0) << line;
    EXPECT_EQ(without.var("A"), "1") << line;
    ASSERT_EQ(without.boxes.size(), 1u) << line;
    EXPECT_EQ(without.boxes[0].caption, kAboutCaption) << line;
  }
}

TEST(Startup, ScriptArgumentsAreKept) {
  const auto run = run_scripts({{"main.gs", "END\n"}}, "main one two");
  EXPECT_EQ(run.player.script_arguments, "one two");
  // Far longer than a 256-byte command line or 128-byte argument buffer.
  const std::string many(2000, 'w');
  const auto long_run = run_scripts({{"main.gs", "END\n"}}, "main " + many + " " + many);
  EXPECT_EQ(long_run.player.script_arguments, many + " " + many);
}

}  // namespace
}  // namespace glint::player
