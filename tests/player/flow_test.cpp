#include <gtest/gtest.h>

#include "player/comparison.h"
#include "script_runner.h"

namespace glint::player {
namespace {

using test::error_at;
using test::run_script_text;
using test::run_scripts;

struct CompareCase {
  const char* left;
  const char* op;
  const char* right;
  bool result;
};

class Comparison : public ::testing::TestWithParam<CompareCase> {};

TEST_P(Comparison, FollowsNumberAndTextRules) {
  const CompareCase& c = GetParam();
  EXPECT_EQ(compare_values(c.left, c.op, c.right), c.result)
      << c.left << " " << c.op << " " << c.right;
}

INSTANTIATE_TEST_SUITE_P(Cases, Comparison,
                         ::testing::Values(CompareCase{"10", ">", "9", true},  // numbers, not texts
                                           CompareCase{"-3", "<", "2", true},
                                           CompareCase{" 5", "=", "5", true},  // one leading blank
                                           CompareCase{"-", "=", "0", true},   // a lone minus is 0
                                           CompareCase{"abc", "@=", "ABC", false},
                                           CompareCase{"abc", "=", "ABC", true},
                                           CompareCase{"abc", "<>", "abd", true},
                                           CompareCase{"b", ">=", "B", true},
                                           CompareCase{"B", "@>", "a", false},  // bytes: 'B' < 'a'
                                           CompareCase{"a", "<=", "a", true},
                                           CompareCase{"10", "<", "9x", true},  // texts: "1" < "9"
                                           CompareCase{"\xE9", "@>", "z", true},  // unsigned bytes
                                           CompareCase{"1", "=>", "1", false},  // unknown operator
                                           CompareCase{"1", "==", "1", false}));

// IF runs the rest of the line as a command, and skips it (';' chains
// included) when false.
TEST(Flow, IfAndSemicolonChains) {
  const struct {
    const char* line;
    const char* a;
    const char* b;
  } cases[] = {
      {"VARSET A 1; VARSET B 2", "1", "2"},
      {"IF 1 = 2 VARSET A 1; VARSET B 2", "", ""},
      {"IF 1 = 1 VARSET A 1; VARSET B 2", "1", "2"},
      {"IF \"10\" > \"9\" VARSET A 1", "1", ""},
      {"VARSET A 1;", "1", ""},
      {"VARSET A 1; # note", "1", ""},
      {"VARSET A 1 # note", "1", ""},
      {"INTERPRET \"VARSET A 3\"", "3", ""},
      {"IF 1 = 1 IF 2 = 2 VARSET B 4", "", "4"},
      {"IF 1 = 1", "", ""},
  };
  for (const auto& c : cases) {
    const auto run = run_script_text(std::string(c.line) + "\n");
    EXPECT_EQ(run.status, 0) << c.line << ": " << run.error();
    EXPECT_EQ(run.var("A"), c.a) << c.line;
    EXPECT_EQ(run.var("B"), c.b) << c.line;
  }
}

TEST(Flow, IfsetNeedsBothValues) {
  const auto run = run_script_text(
      "IFSET 2 > 1 R \"yes\" \"no\"\n"
      "IFSET \"a\" @= \"A\" S \"yes\" \"no\"\n"
      "IFSET 1 = 1 T \"only\"\n");
  EXPECT_EQ(run.var("R"), "yes");
  EXPECT_EQ(run.var("S"), "no");
  EXPECT_EQ(run.error(),
            error_at(" Needed a parameter in command:\r\n    IFSET 1 = 1 T \"only\"\r\n", 3));
}

TEST(Flow, LabelsAreUpperCasedAndTheLaterOneWins) {
  const auto run = run_script_text(
      "goto \"loop\"\n"
      "VARSET A \"skipped\"\n"
      "  :Loop   # the first\n"
      "VARSET A \"first\"\n"
      "END\n"
      ":LOOP\n"
      "VARSET A \"second\"\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.var("A"), "second");
}

TEST(Flow, LabelKeepsBlanksAfterTheColon) {
  const auto run = run_script_text(": start\nGOTO \"START\"\n");
  EXPECT_EQ(run.error(), error_at(" Label not found:\r\n    START\r\n", 2));
  const auto found = run_script_text("GOTO \" start\"\nVARSET A 1\n: start\n");
  EXPECT_EQ(found.status, 0) << found.error();
  EXPECT_EQ(found.var("A"), "");
}

TEST(Flow, LongLabelsAreCutTheSameWayWhenDefinedAndLookedUp) {
  const std::string name(40, 'L');
  const auto run = run_script_text("GOTO \"" + name + "X\"\nEND\n:" + name + "\nVARSET A 1\n");
  EXPECT_EQ(run.status, 0) << run.error();
  EXPECT_EQ(run.var("A"), "1");
}

TEST(Flow, GotoWithAnUnsetVariableNeedsANonEmptyParameter) {
  const auto run = run_script_text(":loop\nGOTO loop\n");
  EXPECT_EQ(run.error(),
            error_at(" Needed a non-empty parameter in command:\r\n    GOTO loop\r\n", 2));
}

TEST(Flow, GosubNestsUpTo63Levels) {
  // The script's own end entry takes one of the 64 places.
  auto nested = [](int depth) {
    return "VARSET N 0\n:down\nCOMPUTE N = N + 1\nIF N < " + std::to_string(depth) +
           " GOSUB \"down\"\nVARSET LAST N\n";
  };
  const auto ok = run_script_text(nested(64));
  EXPECT_EQ(ok.status, 0) << ok.error();
  EXPECT_EQ(ok.var("N"), "64");
  const auto too_deep = run_script_text(nested(65));
  EXPECT_EQ(too_deep.error(), error_at(" Too many GOSUBs.", 4));
}

TEST(Flow, ReturnGoesBackAfterTheGosub) {
  const auto run = run_script_text(
      "GOSUB \"sub\"\n"
      "VARSET B A\n"
      "VARSET C 3\n"
      "END\n"
      ":sub\n"
      "VARSET A 1\n"
      "RETURN\n");
  EXPECT_EQ(run.var("B"), "1");
  EXPECT_EQ(run.var("C"), "3");
}

TEST(Flow, ReturnWithoutGosubEndsTheScript) {
  const auto top = run_script_text("VARSET A 1\nRETURN\nVARSET A 2\n");
  EXPECT_EQ(top.status, 0);
  EXPECT_EQ(top.var("A"), "1");
  EXPECT_TRUE(top.player.indentation.empty());

  const auto called = run_scripts({{"main.gs", "CALL \"sub\"\nVARSET AFTER 1\n"},
                                   {"sub.gs", "VARSET S 1\nRETURN\nVARSET S 2\n"}},
                                  "main");
  EXPECT_EQ(called.status, 0) << called.error();
  EXPECT_EQ(called.var("S"), "1");
  EXPECT_EQ(called.var("AFTER"), "1");
}

TEST(Flow, ChainedReturnsNeverLeaveTheCalledScript) {
  const auto run = run_scripts(
      {{"main.gs", "GOSUB \"s\"\nVARSET AFTER 1\nEND\n:s\nCALL \"sub\"\nVARSET BACK 1\nRETURN\n"},
       {"sub.gs", "RETURN ; RETURN ; VARSET S 1\n"}},
      "main");
  EXPECT_EQ(run.status, 0) << run.error();
  EXPECT_EQ(run.var("BACK"), "1");
  EXPECT_EQ(run.var("AFTER"), "1");
}

TEST(Flow, CallRunsAScriptWithItsOwnLabelsAndKeepsTheCallersLine) {
  const auto run = run_scripts(
      {{"main.gs", ":top\nCALL \"sub.gs\"; VARSET AFTER S\nGOTO \"end\"\n:end\nVARSET DONE 1\n"},
       {"sub.gs", "GOTO \"end\"\n:top\nVARSET S \"wrong\"\n:end\nVARSET S \"sub\"\n"}},
      "main");
  EXPECT_EQ(run.status, 0) << run.error();
  EXPECT_EQ(run.var("AFTER"), "sub");
  EXPECT_EQ(run.var("DONE"), "1");
}

TEST(Flow, CallerLabelsAreNotVisibleInTheCalledScript) {
  const auto run =
      run_scripts({{"main.gs", "CALL \"sub\"\n:mine\n"}, {"sub.gs", "GOTO \"mine\"\n"}}, "main");
  EXPECT_EQ(run.error(), error_at(" Label not found:\r\n    MINE\r\n", 1, "sub.gs"));
}

TEST(Flow, CallAndGosubStartsAtTheLabelAndReturns) {
  const auto run = run_scripts(
      {{"main.gs", "CALLANDGOSUB \"lib\" \"second\"\nVARSET BACK 1\n"},
       {"lib.gs", "VARSET WHICH 1\nRETURN\n:second\nVARSET WHICH 2\nRETURN\nVARSET WHICH 3\n"}},
      "main");
  EXPECT_EQ(run.status, 0) << run.error();
  EXPECT_EQ(run.var("WHICH"), "2");
  EXPECT_EQ(run.var("BACK"), "1");

  const auto missing =
      run_scripts({{"main.gs", "CALLANDGOSUB \"lib\" \"nope\"\n"}, {"lib.gs", "END\n"}}, "main");
  // Reported once lib.gs is loaded: the line count has passed its last line.
  EXPECT_EQ(missing.error(), error_at(" Label not found:\r\n    NOPE\r\n", 2, "lib.gs"));
}

TEST(Flow, ExitLeavesOnlyTheCalledScriptAndEndLeavesAll) {
  const auto run = run_scripts({{"main.gs", "CALL \"a\"\nVARSET M 1\nCALL \"b\"\nVARSET M 2\n"},
                                {"a.gs", "EXIT\nVARSET A 1\n"},
                                {"b.gs", "END extra words\nVARSET B 1\n"}},
                               "main");
  EXPECT_EQ(run.status, 0) << run.error();
  EXPECT_EQ(run.var("M"), "1");
  EXPECT_EQ(run.var("A"), "");
  EXPECT_EQ(run.var("B"), "");
}

TEST(Flow, RecursiveCallIsStoppedLikeDeepGosub) {
  const auto run = run_scripts(
      {{"main.gs", "VARSET N 0\nCALL \"r\"\n"}, {"r.gs", "COMPUTE N = N + 1\nCALL \"r\"\n"}},
      "main");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.var("N"), "63");  // main's end entry and 63 of r's fill the stack
  EXPECT_EQ(run.error(), error_at(" Too many GOSUBs.", 2, "r.gs"));
}

TEST(Flow, CallOfAMissingScriptNamesTheCallingLine) {
  const auto run = run_script_text("VARSET A 1\nCALL \"nothere\"\n");
  EXPECT_EQ(run.error(),
            error_at(" Error opening script in command:\r\n    CALL \"nothere\"\r\n", 2));
}

TEST(Flow, ErrorAfterACallNamesTheCallersLine) {
  const auto run = run_scripts(
      {{"main.gs", "\n\nCALL \"sub\"; FROB\n"}, {"sub.gs", "\n\n\n\n\nVARSET X 1\n"}}, "main");
  EXPECT_EQ(run.error(), error_at(" Bad script command:\r\n    FROB\r\n", 3));
}

TEST(Flow, OnlyCommentsAndLabelsRunAndEnd) {
  const auto run = run_script_text("# nothing\n\n:a\n   # more\n:b\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.error().empty());
}

}  // namespace
}  // namespace glint::player
