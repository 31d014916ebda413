// The system commands run as script lines inside the test: waiting on the
// headless clock, the date, the environment, the queries, starting programs
// and the print job.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "player/command_table.h"
#include "player/commands_system.h"
#include "player/startup.h"
#include "display_fixture.h"
#include "script_runner.h"
#include "support/temp_dir.h"

namespace glint::player {
namespace {

using test::error_at;
using test::run_script_text;

int64_t number(const test::ScriptRun& run, const char* name) {
  return std::strtoll(run.var(name).c_str(), nullptr, 10);
}

TEST(SystemTiming, WaitsEndAtTheirTargetAndNeverHang) {
  const struct {
    const char* wait;  // runs between two SYSTEMTIMER readings
    int64_t at_least;
    int64_t below;
  } cases[] = {
      {"DELAY 0", 0, 50},
      {"DELAY -5", 0, 50},
      {"DELAY -2147483647", 0, 50},
      {"DELAYUNTIL 0", 0, 50},  // long passed
      {"COMPUTE T = A - 100000\nDELAYUNTIL T", 0, 50},
      {"DELAY 500", 500, 1000},
      {"COMPUTE T = A + 300\nDELAYUNTIL T", 300, 800},
      {"SOUND 440 200", 200, 700},
      {"SOUND 440 -1", 0, 50},
  };
  for (const auto& c : cases) {
    const test::ScriptRun run =
        run_script_text(std::string("SYSTEMTIMER A\n") + c.wait + "\nSYSTEMTIMER B\n");
    ASSERT_EQ(run.error(), "") << c.wait;
    const int64_t waited = number(run, "B") - number(run, "A");
    EXPECT_GE(waited, c.at_least) << c.wait;
    EXPECT_LT(waited, c.below) << c.wait;
  }
}

TEST(SystemTiming, DateOnTheFixedVirtualDate) {
  setenv("GLINT_DATE", "2003-07-01 14:05:09", 1);
  const test::ScriptRun run = run_script_text(
      "SYSTEMDATETIME X \"^Y-^m-^d\"\n"
      "SYSTEMDATETIME Y \"^A ^q ^#d\"\n");
  unsetenv("GLINT_DATE");
  EXPECT_EQ(run.error(), "");
  EXPECT_EQ(run.var("X"), "2003-07-01");
  EXPECT_EQ(run.var("Y"), "Tuesday ^q 1");

  // Without a fixed date it is today's: at least the year has four digits.
  const test::ScriptRun today = run_script_text("SYSTEMDATETIME X \"^Y\"\n");
  EXPECT_EQ(today.var("X").size(), 4u);
}

TEST(SystemEnvironment, SetThenGetUpperCasesTheName) {
  unsetenv("GLINTTESTENV");
  const test::ScriptRun run = run_script_text(
      "ENVGET BEFORE glinttestenv\n"
      "ENVSET glinttestenv \"c:\\x y\"\n"
      "ENVGET X GlintTestEnv\n"
      "ENVGET Q \"glinttestenv\"\n");
  EXPECT_EQ(run.error(), "");
  EXPECT_EQ(run.var("BEFORE"), "");
  EXPECT_EQ(run.var("X"), "c:\\x y");
  EXPECT_EQ(run.var("Q"), "c:\\x y");
  ASSERT_NE(std::getenv("GLINTTESTENV"), nullptr);
  EXPECT_STREQ(std::getenv("GLINTTESTENV"), "c:\\x y");

  // An empty value removes it; a name the system cannot hold changes nothing.
  const test::ScriptRun removed =
      run_script_text("ENVSET glinttestenv \"\"\nENVGET X glinttestenv\nENVSET \"a=b\" \"v\"\n");
  EXPECT_EQ(removed.error(), "");
  EXPECT_EQ(removed.var("X"), "");
  EXPECT_EQ(std::getenv("GLINTTESTENV"), nullptr);
  EXPECT_EQ(std::getenv("A"), nullptr);

  EXPECT_EQ(run_script_text("ENVGET X \"\"").error(),
            error_at(" Needed a non-empty parameter in command:\r\n    ENVGET X \"\"\r\n", 1));
  EXPECT_EQ(run_script_text("ENVSET").error(),
            error_at(" Needed a parameter in command:\r\n    ENVSET \r\n", 1));
}

TEST(SystemQueries, AnswersAndSwitches) {
  const test::ScriptRun run = run_script_text(
      "SYSTEMPLATFORM P\n"
      "SYSTEMOSMAJOR MA\n"
      "SYSTEMOSMINOR MI\n"
      "SYSTEMMEMORY M\n"
      "SYSTEMCOLORS C\n"
      "SYSTEMDISPLAYRESOLUTION 2\n"
      "SYSTEMUSEDIRECTSOUND\n"
      "SYSTEMUSEMMX U0 0\n"
      "SYSTEMUSEMMX U2 2\n"
      "SYSTEMUSEMMX U1 1\n"
      "SYSTEMUSEMMX U7 7\n"
      "MCISENDSTRING R \"nonsense\"\n"
      "SYSTEMCURRENTSCRIPT S\n");
  ASSERT_EQ(run.error(), "");
  EXPECT_EQ(run.var("P"), "Win32");
  EXPECT_GE(number(run, "MA"), 1);
  EXPECT_GE(number(run, "MI"), 0);
  EXPECT_GT(number(run, "M"), 0);
  EXPECT_LE(number(run, "M"), 2147483647);
  EXPECT_EQ(run.var("C"), "16777216");
  // 2 and 7 only ask: each reports the state the one before left.
  EXPECT_EQ(run.var("U0"), "0");
  EXPECT_EQ(run.var("U2"), "0");
  EXPECT_EQ(run.var("U1"), "1");
  EXPECT_EQ(run.var("U7"), "1");
  EXPECT_EQ(run.var("R").rfind("Error: ", 0), 0u) << run.var("R");
  const std::string script = run.var("S");
  EXPECT_EQ(script.substr(script.size() - 8), "\\main.gs") << script;
}

TEST(SystemPrograms, ExecuteStartsWithoutWaiting) {
  glint::test::TempDir dir;
  const std::string marker = dir.file("started");
  const test::ScriptRun run = run_script_text("EXECUTE X 'sh -c \"echo started > " + marker +
                                              "\"'\n"
                                              "EXECUTE M \"glint-no-such-program\"\n"
                                              "EXECUTE P \"no\\such\\dir\\prog.exe\"\n"
                                              "EXECUTE F '\"" +
                                              dir.path() + "\" x'\n");
  ASSERT_EQ(run.error(), "");
  EXPECT_EQ(run.var("X"), "33");  // started: above 31
  EXPECT_EQ(run.var("M"), "2");   // not found
  EXPECT_EQ(run.var("P"), "2");
  EXPECT_EQ(run.var("F"), "5");  // a directory is no program
  // The program runs on its own; give it a few real seconds.
  for (int i = 0; i < 500 && dir.read("started").empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(dir.read("started"), "started\n");

  EXPECT_EQ(run_script_text("EXECUTE X \"\"").error(),
            error_at(" Needed a non-empty parameter in command:\r\n    EXECUTE X \"\"\r\n", 1));
}

// A small run of print commands on one player, with text output written
// through the hook that TEXT uses.
struct PrintRun {
  Player player;
  PrintRun() {
    init_player(player);
    start_player(player);
  }
  ~PrintRun() { close_all_files(player); }
  void command(const char* name, const std::string& parameters) {
    player.parameters = parameters;
    player.line_buffer = std::string(name) + " " + parameters;
    ++player.steps;
    command_table().handlers[*find_command(name)](player);
  }
};

TEST(PrintJob, TextGoesToTheJobFileUntilItEnds) {
  glint::test::TempDir dir;
  const std::string file = dir.file("job.txt");
  PrintRun run;
  EXPECT_FALSE(print_job_write(run.player, "lost\r\n"));
  run.command("PRINTEND", "");      // no job: nothing happens
  run.command("PRINTPAGEADV", "");  // nor here
  run.command("PRINTBEGIN", "\"" + file + "\"");
  ASSERT_TRUE(print_job_open(run.player));
  run.command("PRINTBEGIN", "\"" + dir.file("other.txt") + "\"");  // one job at a time
  EXPECT_TRUE(print_job_write(run.player, "x\r\n"));
  run.command("PRINTPAGEADV", "  ");
  EXPECT_EQ(run.player.parameters, "");
  EXPECT_TRUE(print_job_write(run.player, "y"));
  run.command("PRINTEND", "");
  EXPECT_FALSE(print_job_open(run.player));
  EXPECT_FALSE(print_job_write(run.player, "after\r\n"));
  EXPECT_EQ(dir.read("job.txt"), "x\r\n\fy");
  EXPECT_EQ(dir.read("other.txt"), "");
  for (ORXFile* slot : run.player.files) EXPECT_EQ(slot, nullptr);
}

TEST(PrintJob, NoFreeSlotOrNoFileOpensNoJob) {
  glint::test::TempDir dir;
  PrintRun full;
  int filler = 0;
  for (ORXFile*& slot : full.player.files)
    slot = ORXFileCreate(64, dir.file("filler" + std::to_string(filler++)).c_str());
  full.command("PRINTBEGIN", "\"" + dir.file("job.txt") + "\"");
  EXPECT_FALSE(print_job_open(full.player));

  PrintRun missing_dir;
  missing_dir.command("PRINTBEGIN", "\"" + dir.file("no/such/dir/job.txt") + "\"");
  EXPECT_FALSE(print_job_open(missing_dir.player));
  for (ORXFile* slot : missing_dir.player.files) EXPECT_EQ(slot, nullptr);
}

TEST(PrintJob, AJobWhoseSlotWasClosedIsGone) {
  glint::test::TempDir dir;
  PrintRun run;
  run.command("PRINTBEGIN", "\"" + dir.file("job.txt") + "\"");
  ASSERT_TRUE(print_job_open(run.player));
  // FILECLOSE of the slot, or the end of the run, closes the file.
  close_all_files(run.player);
  EXPECT_FALSE(print_job_open(run.player));
  run.command("PRINTEND", "");  // must not touch the empty slot
  run.command("PRINTBEGIN", "\"" + dir.file("second.txt") + "\"");
  EXPECT_TRUE(print_job_open(run.player));
}

TEST(SystemCommands, EveryCommandOfTheFamilyIsAvailable) {
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    const std::string_view name = kCommandNames[i];
    const bool ours = name.rfind("SYSTEM", 0) == 0 || name.rfind("PRINT", 0) == 0 ||
                      name.rfind("DELAY", 0) == 0 || name.rfind("ENV", 0) == 0 ||
                      name == "EXECUTE" || name == "MCISENDSTRING" || name == "SOUND";
    if (!ours) continue;
    EXPECT_NE(command_table().handlers[i], &command_not_available) << name;
  }
}

}  // namespace
}  // namespace glint::player

namespace glint::test {
namespace {

TEST_F(DisplayTest, SystemColorsFollowsTheDesktopDepth) {
  struct Case {
    int bits;
    const char* colours;
  };
  for (const Case c : {Case{8, "256"}, Case{16, "65536"}, Case{24, "16777216"},
                       Case{32, "16777216"}}) {
    set_caps(c.bits, platform::kSurface565);
    const auto run = player::test::run_script_text("SYSTEMCOLORS C\n");
    EXPECT_EQ(run.var("C"), c.colours) << c.bits;
  }
}

}  // namespace
}  // namespace glint::test
