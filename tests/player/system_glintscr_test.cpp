// The system commands in the glintscr program: its command line and file
// names, the print file, and programs started with the environment it set.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "glintscr_harness.h"

namespace glint::player::test {
namespace {

using glint::test::TempDir;

TEST(GlintscrSystem, CommandLineAndNames) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  dir.write("my show.gs",
            "DEBUGFILE \"trace.txt\"\nSYSTEMCOMMANDLINE C\nSYSTEMCURRENTSCRIPT S\n"
            "SYSTEMCURRENTEXE E\n" +
                show("C") + show("S") + show("E"));
  const GlintscrRun run = run_glintscr(dir, {"my show.gs", "one two", "three"});
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(shown(dir, "C"), "\"one two\" three");
  const std::string script = shown(dir, "S");
  EXPECT_NE(script.find(":\\"), std::string::npos) << script;  // a full Windows path
  EXPECT_EQ(script.substr(script.size() - 11), "\\my show.gs") << script;
  const std::string exe = shown(dir, "E");
  EXPECT_EQ(exe.substr(exe.size() - 9), "\\glintscr") << exe;

  TempDir bare;
  bare.write("show.gs",
             "DEBUGFILE \"trace.txt\"\nVARSET C kept\nSYSTEMCOMMANDLINE C\n" + show("C"));
  EXPECT_EQ(run_glintscr(bare, {"show"}).exit_status, 0);
  EXPECT_EQ(shown(bare, "C"), "");  // nothing after the name: C is removed
}

TEST(GlintscrSystem, PrintJobWritesTheDefaultFile) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  // A second PRINTBEGIN while the job is open changes nothing.
  dir.write("show.gs",
            "PRINTBEGIN\nPRINTPAGEADV\nPRINTBEGIN \"other\"\nPRINTPAGEADV\nPRINTEND\nPRINTEND\n");
  const GlintscrRun run = run_glintscr(dir, {"show.gs"});
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(dir.read("lpt1"), "\f\f");
  EXPECT_EQ(dir.read("other"), "");

  // A job left open is written out when the run ends.
  TempDir open;
  open.write("show.gs", "PRINTBEGIN \"job.prn\"\nPRINTPAGEADV\n");
  EXPECT_EQ(run_glintscr(open, {"show.gs"}).exit_status, 0);
  EXPECT_EQ(open.read("job.prn"), "\f");
}

TEST(GlintscrSystem, StartedProgramsInheritTheEnvironment) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  dir.write("show.gs",
            "DEBUGFILE \"trace.txt\"\n"
            "ENVSET glintmarker \"inherited value\"\n"
            "EXECUTE R 'sh -c \"echo $GLINTMARKER > env.txt\"'\n" +
                show("R"));
  const GlintscrRun run = run_glintscr(dir, {"show.gs"});
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(shown(dir, "R"), "33");
  for (int i = 0; i < 500 && dir.read("env.txt").empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(dir.read("env.txt"), "inherited value\n");
}

TEST(GlintscrSystem, DateAndTimerOnTheVirtualClock) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  dir.write("show.gs",
            "DEBUGFILE \"trace.txt\"\n"
            "SYSTEMDATETIME D \"^Y-^m-^d ^H:^M:^S\"\n"
            "DELAY 61000\n"
            "SYSTEMTIMER T\n"
            "SYSTEMDATETIME L \"^H:^M:^S\"\n" +
                show("D") + show("T") + show("L"));
  setenv("GLINT_DATE", "2003-07-01 23:59:30", 1);
  const GlintscrRun run = run_glintscr(dir, {"show.gs"});
  unsetenv("GLINT_DATE");
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(shown(dir, "D"), "2003-07-01 23:59:30");
  EXPECT_GE(std::atoi(shown(dir, "T").c_str()), 61000);
  EXPECT_EQ(shown(dir, "L"), "00:00:31");  // the date moves with the clock
}

}  // namespace
}  // namespace glint::player::test

namespace glint::player::test {
namespace {

TEST(GlintscrSystem, TextGoesToTheOpenPrintJobInsteadOfTheScreen) {
  GLINT_REQUIRE_GLINTSCR();
  glint::test::TempDir dir;
  dir.write("show.gs",
            "SCREENGRAPHICS OK 64 32\nSCREENCLEAR 3\nPRINTBEGIN\nTEXT \"x\"\nTEXTNOCR \"y\"\n"
            "PRINTEND\nSCREENGETPIXEL P 0 0\nFILECREATE R \"result\"\nFILEWRITE R \"%P%\"\n"
            "FILECLOSE R\n");
  const GlintscrRun run = run_glintscr(dir, {"show.gs"});
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(dir.read("lpt1").substr(0, 4), "x\r\ny");
  EXPECT_EQ(dir.read("result"), "3\r\n");  // the screen stays as it was
}

}  // namespace
}  // namespace glint::player::test
