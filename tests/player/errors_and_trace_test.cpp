#include <gtest/gtest.h>

#include "player/command_table.h"
#include "player/error_report.h"
#include "player/trace.h"
#include "script_runner.h"

namespace glint::player {
namespace {

using test::error_at;
using test::run_script_text;
using test::run_scripts;

TEST(ErrorReport, BoxLayoutNamesFileAndLine) {
  std::string script;
  for (int i = 1; i < 12; ++i) script += "VARSET A " + std::to_string(i) + "\n";
  script += "FOO 1 2\n";
  const auto run = run_scripts({{"show.gs", script}}, "show");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(
      run.error(),
      " Bad script command:\r\n    FOO 1 2\r\n  In script file: show.gs  At line number: 12.\r\n");
  EXPECT_EQ(run.var("A"), "");  // reported while loading, before line 1 ran
}

TEST(ErrorReport, MessagesWithoutDetail) {
  std::string labels;
  for (int i = 0; i < 513; ++i) labels += ":L" + std::to_string(i) + "\n";
  EXPECT_EQ(run_script_text(labels).error(), error_at(" Too many labels.", 513));
  EXPECT_EQ(run_script_text("VARLIST\n").error(),
            error_at(" A window hasn't been created yet (use ScreenGraphics first).\r\n", 1));
}

// Called directly: no command of the table reports it any more.
std::string g_not_available_box;

int keep_box(const char*, const char* text, unsigned) {
  g_not_available_box = text;
  return 1;
}

TEST(ErrorReport, CommandsOfLaterFamiliesEndTheRunNamingTheCommand) {
  Player player;
  player.hooks.message_box = keep_box;
  player.script_path = "main.gs";
  player.line_number = 2;
  player.line_buffer = "ANIMATIONPLAY 3000";
  player.parameters = "3000";
  EXPECT_THROW(command_not_available(player), ScriptAbort);
  EXPECT_EQ(g_not_available_box,
            error_at(" Command not available in this player yet:\r\n    ANIMATIONPLAY 3000\r\n", 2));
}

TEST(ErrorReport, EveryCommandOfTheTableHasItsHandler) {
  // The not-available report stays for a table entry nobody registered;
  // every one of the 188 names has its family now.
  for (std::size_t i = 0; i < kCommandCount; ++i)
    EXPECT_NE(command_table().handlers[i], &command_not_available) << kCommandNames[i];
}

TEST(ErrorReport, UnusedParametersAndCommaRules) {
  const struct {
    const char* line;
    const char* detail;
  } cases[] = {
      {"END", nullptr},
      {"VARSET A 1 # fine", nullptr},
      {"VARSET, A 1", "VARSET, A 1"},  // a comma right after the word belongs to it
      {"VARSET , A 1", "VARSET , A 1"},
      {"VARPOP extra", "VARPOP extra"},
      {"RETURN extra", "RETURN extra"},
  };
  for (const auto& c : cases) {
    const auto run = run_script_text(std::string(c.line) + "\n");
    if (c.detail) {
      EXPECT_EQ(run.error(),
                error_at(std::string(" Bad script command:\r\n    ") + c.detail + "\r\n", 1))
          << c.line;
    } else {
      EXPECT_EQ(run.error(), "") << c.line;
    }
  }
}

TEST(ErrorReport, BoxTextIsCutAt2047Bytes) {
  Player player;
  player.script_path = "x.gs";
  const std::string text = error_box_text(player, kBadCommand, std::string(5000, 'd'), true);
  EXPECT_EQ(text.size(), kBoxTextMax);
}

TEST(ErrorReport, ErrorIsCopiedIntoTheTrace) {
  const auto run = run_script_text("DEBUGFILE \"trace\"\nGOTO \"nowhere\"\n");
  const std::string tail = "\r\n  Label not found:\r\n    NOWHERE\r\n\r\n";
  ASSERT_GE(run.trace.size(), tail.size());
  EXPECT_EQ(run.trace.substr(run.trace.size() - tail.size()), tail);
}

TEST(Trace, LineFormat) {
  const auto run = run_script_text(
      "DEBUGFILE \"trace\"\n"
      "VARSET A 1\n"
      "IF A = 1 VARSET B 2; VARSET C 3\n"
      "IF A = 2 VARSET B 9\n"
      "GOSUB \"s\"\n"
      "DEBUGTEXT \"note %A%\"\n"
      "END\n"
      ":s\n"
      "RETURN\n");
  EXPECT_EQ(run.trace,
            "\r\n"
            "  2:     VARSET A 1  ***A=\"1\"\r\n"
            "  3:     IF A = 1 VARSET B 2; VARSET C 3  ***True \r\n"
            "   -> 3:     VARSET B 2; VARSET C 3  ***B=\"2\"\r\n"
            "   -> 3:     VARSET C 3  ***C=\"3\"\r\n"
            "  4:     IF A = 2 VARSET B 9  ***False\r\n"
            "  5:     GOSUB \"s\"\r\n"
            "\r\n"
            "    9:     RETURN \r\n"
            "\r\n"
            "  6:     DEBUGTEXT \"note %A%\"\r\nnote 1\r\n\r\n"
            "  7:     END \r\n"
            "\r\n");
}

// The comparison is traced as soon as it is made, before the rest of the
// parameters are read.
TEST(Trace, IfsetTracesItsConditionBeforeAMissingValue) {
  const auto run = run_script_text("DEBUGFILE \"trace\"\nIFSET 1 = 1 T \"only\"\n");
  EXPECT_EQ(run.trace,
            "\r\n"
            "  2:     IFSET 1 = 1 T \"only\"  ***True "
            "\r\n  Needed a parameter in command:\r\n    IFSET 1 = 1 T \"only\"\r\n\r\n");
}

TEST(Trace, NumberFieldIsSevenWide) {
  EXPECT_EQ(line_number_field(1), "1:     ");
  EXPECT_EQ(line_number_field(123456), "123456:");
  EXPECT_EQ(line_number_field(12345678), "1234567");
}

TEST(Trace, DebugfileWithAnEmptyNameStopsTracing) {
  const auto run = run_script_text("DEBUGFILE \"trace\"\nVARSET A 1\nDEBUGFILE \"\"\nVARSET B 2\n");
  EXPECT_EQ(run.trace, "\r\n  2:     VARSET A 1  ***A=\"1\"\r\n  3:     DEBUGFILE \"\"");
  const auto missing = run_script_text("DEBUGFILE\n");
  EXPECT_EQ(missing.error(), error_at(" Needed a parameter in command:\r\n    DEBUGFILE \r\n", 1));
}

TEST(Trace, LineNumbersAreNotKeptModulo65536) {
  const auto run = run_script_text(std::string(70000, '\n') + "FOO\n");
  EXPECT_EQ(run.error(), error_at(" Bad script command:\r\n    FOO \r\n", 70001));
}

TEST(Loader, LongLinesContinueAsTheNextLine) {
  // 767 bytes stay on line 1; the remaining 33 form line 2.
  const std::string line = "VARSET A \"" + std::string(756, 'a') + std::string(33, 'b') + "\"";
  ASSERT_EQ(line.size(), 800u);
  const auto run = run_script_text(line + "\n");
  EXPECT_EQ(run.error(),
            error_at(" Bad script command:\r\n    " + std::string(32, 'B') + "\" \r\n", 2));
}

TEST(Loader, AnEndWithoutLineFeedRuns) {
  const auto run = run_scripts({{"main.gs", "VARSET A 1\r\nEND"}}, "main");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.var("A"), "1");
}

}  // namespace
}  // namespace glint::player
