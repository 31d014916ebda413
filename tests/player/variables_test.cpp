#include "player/variables.h"

#include <gtest/gtest.h>

#include "player/error_report.h"
#include "script_runner.h"

namespace glint::player {
namespace {

using test::error_at;
using test::run_script_text;

TEST(VariableStore, AccountsBytesAsThePackedAreaAndRefusesOverflow) {
  VariableStore store;
  // name + 2 + value per entry, two bytes always kept for the end mark.
  const std::string big(kVariableStoreBytes - 2 - 3 - 2, 'v');
  EXPECT_TRUE(store_set(store, "A", big));
  EXPECT_EQ(store.used, kVariableStoreBytes - 4);
  EXPECT_FALSE(store_set(store, "B", "1"));  // a new entry does not fit
  EXPECT_EQ(store_get(store, "B"), "");
  EXPECT_FALSE(store_set(store, "A", big + "xyz"));  // nor does a longer value
  EXPECT_EQ(store_get(store, "A"), big);
  EXPECT_TRUE(store_set(store, "A", big + "x"));  // the last byte that fits
  EXPECT_TRUE(store_set(store, "A", "short"));
  EXPECT_EQ(store.used, 1u + 2u + 5u);
  EXPECT_TRUE(store_set(store, "A", ""));
  EXPECT_EQ(store.used, 0u);
  EXPECT_TRUE(store.entries.empty());
}

TEST(VariableStore, KeepsMarkerBytesInNamesAndValues) {
  VariableStore store;
  const std::string value = "\xFF\xFE\xFFx\xFE";
  ASSERT_TRUE(store_set(store, "A", value));
  ASSERT_TRUE(store_set(store, "B", "2"));
  EXPECT_EQ(store_get(store, "A"), value);
  EXPECT_EQ(store_get(store, "B"), "2");
  ASSERT_TRUE(store_set(store, "A\xFE", "3"));
  EXPECT_EQ(store_get(store, "A\xFE"), "3");
  EXPECT_EQ(store_get(store, "A"), value);
}

TEST(VarCommands, MarkerBytesSurviveAScript) {
  const auto run = run_script_text("VARSET A \"x\xFF\xFEy\"\nVARSET B \"[%A%]\"\nVARSET C 1\n");
  EXPECT_EQ(run.var("A"), "x\xFF\xFEy");
  EXPECT_EQ(run.var("B"), "[x\xFF\xFEy]");
  EXPECT_EQ(run.var("C"), "1");
}

TEST(VariableStore, KeepsStoreOrderWhenReplacing) {
  VariableStore store;
  store_set(store, "A", "1");
  store_set(store, "B", "2");
  store_set(store, "A", "11");
  ASSERT_EQ(store.entries.size(), 2u);
  EXPECT_EQ(store.entries[0].name, "A");
  EXPECT_EQ(store.entries[1].name, "B");
}

TEST(VariableStack, IsBoundedAndCountsBytesBack) {
  VariableStack stack;
  ASSERT_TRUE(stack_push_group(stack));
  const std::string value(32000, 'v');
  std::size_t pushed = 0;
  while (stack_push(stack, "V", value)) ++pushed;
  EXPECT_EQ(pushed, (kVariableStackBytesMax - 3) / (1 + 2 + value.size()));
  EXPECT_EQ(stack_pop_group(stack).size(), pushed);
  EXPECT_EQ(stack.used, 0u);
  EXPECT_TRUE(stack_pop_group(stack).empty());
}

TEST(VarCommands, SetFreeAndTheirForms) {
  const auto run = run_script_text(
      "VARSET a 5\n"
      "VARSET b a\n"
      "VARSET c \"a\"\n"
      "VARSET d = \"%A%-%B%\"\n"
      "VARSET gone 1\n"
      "VARSET gone \"\"\n"
      "VARSET never \"\"\n"
      "VARSET e \"  lead\"\n"
      "VARSET f 1, g 2\n");
  EXPECT_EQ(run.var("B"), "5");
  EXPECT_EQ(run.var("C"), "a");
  EXPECT_EQ(run.var("D"), "5-5");
  EXPECT_EQ(run.var("E"), "  lead");
  EXPECT_TRUE(store_get(run.player.variables, "GONE").empty());
  EXPECT_EQ(run.var("F"), "1");  // stored before the unused "g 2" is noticed
  EXPECT_EQ(run.player.variables.entries.size(), 6u);
  EXPECT_EQ(run.error(), error_at(" Bad script command:\r\n    VARSET f 1, g 2\r\n", 9));
}

TEST(VarCommands, UnquotedPathTakesTheVariableAndLeavesTheRest) {
  const auto run = run_script_text("VARSET C \"drive\"\nVARSET x c:\\dir\n");
  EXPECT_EQ(run.var("X"), "drive");
  EXPECT_EQ(run.error(), error_at(" Bad script command:\r\n    VARSET x c:\\dir\r\n", 2));
}

TEST(VarCommands, VarfreeTakesAList) {
  const auto run = run_script_text("VARSET A 1\nVARSET B 2\nVARSET C 3\nVARFREE A, B # c\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.var("A"), "");
  EXPECT_EQ(run.var("B"), "");
  EXPECT_EQ(run.var("C"), "3");
}

TEST(VarCommands, PushAndPopRestoreTheMostRecentGroup) {
  const auto run = run_script_text(
      "VARSET A 1\n"
      "VARPUSH A B\n"
      "VARSET A 9\n"
      "VARSET B 8\n"
      "VARPUSH A\n"
      "VARSET A 7\n"
      "VARPOP\n"
      "VARSET SEEN A\n"
      "VARPOP\n"
      "VARPOP\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.var("SEEN"), "9");
  EXPECT_EQ(run.var("A"), "1");
  EXPECT_EQ(run.var("B"), "");  // absent when pushed
}

TEST(VarCommands, VariableStackGrowsPast8192Bytes) {
  std::string script = "VARSET V \"" + std::string(200, 'v') + "\"\n";
  for (int i = 0; i < 100; ++i) script += "VARPUSH V V V\n";
  script += "VARSET V 1\n";
  for (int i = 0; i < 100; ++i) script += "VARPOP\n";
  const auto run = run_script_text(script);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.var("V"), std::string(200, 'v'));
}

// A name that the word reader cannot take used to leave the list loop
// reading the same spot for ever.
TEST(VarCommands, ListsStopAtAnEmptyName) {
  const struct {
    const char* line;
    const char* detail;  // the line buffer: name, one blank, parameters
  } cases[] = {{"VARFREE MY_VAR", "VARFREE MY_VAR"},
               {"VARPUSH A.", "VARPUSH A."},
               {"VARFREE", "VARFREE "},
               {"VARSET \"A\" 1", "VARSET \"A\" 1"},
               {"VARFREE A, =B", "VARFREE A, =B"}};
  for (const auto& c : cases) {
    const auto run = run_script_text(std::string(c.line) + "\n");
    EXPECT_EQ(run.status, 1) << c.line;
    EXPECT_EQ(
        run.error(),
        error_at(" Needed a variable in command:\r\n    " + std::string(c.detail) + "\r\n", 1))
        << c.line;
  }
}

TEST(VarCommands, VarlistNeedsAWindow) {
  const auto run = run_script_text("VARSET A 1\nVARLIST\n");
  EXPECT_EQ(run.error(),
            error_at(" A window hasn't been created yet (use ScreenGraphics first).\r\n", 2));
}

TEST(VarCommands, MissingValueNeedsAParameter) {
  const auto run = run_script_text("VARSET A =\n");
  EXPECT_EQ(run.error(), error_at(" Needed a parameter in command:\r\n    VARSET A =\r\n", 1));
}

}  // namespace
}  // namespace glint::player
