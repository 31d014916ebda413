// glintscr as a program: exit status, the boxes on standard error and the
// trace file, for the command-line forms and the ends of a run.
#include <gtest/gtest.h>

#include "glintscr_harness.h"
#include "player/startup.h"

namespace glint::player::test {
namespace {

using glint::test::TempDir;

const std::string kScript =
    "DEBUGFILE \"trace.txt\"\n"
    "VARSET A 1\n"
    "COMPUTE A = A + 41\n"
    "DEBUGTEXT \"A is %A%\"\n";

const std::string kTrace =
    "\r\n"
    "  2:     VARSET A 1  ***A=\"1\"\r\n"
    "  3:     COMPUTE A = A + 41  ***A=\"42\"\r\n"
    "  4:     DEBUGTEXT \"A is %A%\"\r\nA is 42\r\n\r\n"
    "\r\n";

// The about box is the last thing every run without a parent switch shows.
bool ends_with_about_box(const std::string& err) {
  const std::string about = headless_box(kAboutCaption, kAboutText);
  return err.size() >= about.size() &&
         err.compare(err.size() - about.size(), about.size(), about) == 0;
}

TEST(Glintscr, RunsAScriptAndWritesTheTrace) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const GlintscrRun run = run_glintscr_script(dir, "show.gs", kScript);
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(dir.read("trace.txt"), kTrace);
  EXPECT_EQ(run.standard_error, headless_box(kAboutCaption, kAboutText));
}

TEST(Glintscr, NameForms) {
  GLINT_REQUIRE_GLINTSCR();
  const struct {
    const char* file;
    std::vector<std::string> arguments;
  } cases[] = {
      {"show.gs", {"show"}},                         // ".gs" is added
      {"my show.gs", {"my show.gs", "one", "two"}},  // a name with a blank
      {"dir.v2/show.gs", {"dir.v2/show"}},           // a directory with a dot
      {"sub/show.gs", {"sub/show.gs"}},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write(c.file, kScript);
    const GlintscrRun run = run_glintscr(dir, c.arguments);
    EXPECT_EQ(run.exit_status, 0) << c.file << ": " << run.standard_error;
    EXPECT_EQ(dir.read("trace.txt"), kTrace) << c.file;
  }
  TempDir dir;
  dir.write("abs.gs", kScript);
  const GlintscrRun run = run_glintscr(dir, {dir.file("abs.gs")});
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(dir.read("trace.txt"), kTrace);

  // Longer than the 127 bytes a file name could have.
  const std::string deep = std::string(100, 'd') + "/" + std::string(100, 'e') + "/show.gs";
  dir.write(deep, kScript);
  const GlintscrRun long_name = run_glintscr(dir, {dir.file(deep)});
  EXPECT_EQ(long_name.exit_status, 0) << long_name.standard_error;
  EXPECT_EQ(dir.read("trace.txt"), kTrace);
}

TEST(Glintscr, ScriptErrorShowsTheBoxAndFails) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  dir.write("show.gs", "DEBUGFILE \"trace.txt\"\nVARSET A 1\nCALL \"part\"\n");
  dir.write("part.gs", "# the called part\nGOTO \"missing\"\n");
  const GlintscrRun run = run_glintscr(dir, {"show.gs"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(
      run.standard_error.rfind(headless_box("Error",
                                            " Label not found:\r\n    MISSING\r\n"
                                            "  In script file: part.gs  At line number: 2.\r\n"),
                               0),
      0u)
      << run.standard_error;
  EXPECT_TRUE(ends_with_about_box(run.standard_error));
  const std::string trace = dir.read("trace.txt");
  const std::string tail = "\r\n  Label not found:\r\n    MISSING\r\n\r\n";
  ASSERT_GE(trace.size(), tail.size());
  EXPECT_EQ(trace.substr(trace.size() - tail.size()), tail);
}

TEST(Glintscr, UnknownCommandIsReportedBeforeTheFirstLineRuns) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  std::string script = "DEBUGFILE \"trace.txt\"\n";
  for (int i = 2; i < 40; ++i) script += "VARSET A 1\n";
  script += "FOO 1 2\n";
  dir.write("show.gs", script);
  const GlintscrRun run = run_glintscr(dir, {"show"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(
      run.standard_error.rfind(headless_box("Error",
                                            " Bad script command:\r\n    FOO 1 2\r\n"
                                            "  In script file: show.gs  At line number: 40.\r\n"),
                               0),
      0u)
      << run.standard_error;
  EXPECT_EQ(dir.read("trace.txt"), "");  // nothing ran
}

TEST(Glintscr, MissingScript) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const GlintscrRun run = run_glintscr(dir, {"show"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(
      run.standard_error.rfind(headless_box("Error", " Error opening:\r\n    show.gs\r\n"), 0), 0u)
      << run.standard_error;
}

TEST(Glintscr, SyntaxBox) {
  GLINT_REQUIRE_GLINTSCR();
  const std::string syntax = headless_box(kSyntaxCaption, kSyntaxText);
  {
    // No arguments and no autoexec.gs: syntax, then about; a normal end.
    TempDir dir;
    const GlintscrRun run = run_glintscr(dir, {});
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(run.standard_error.rfind(syntax, 0), 0u) << run.standard_error;
    EXPECT_TRUE(ends_with_about_box(run.standard_error));
  }
  {
    // A switch anywhere, the script's own arguments included: nothing runs.
    TempDir dir;
    dir.write("show.gs", kScript);
    const GlintscrRun run = run_glintscr(dir, {"show.gs", "arg", "/x"});
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(run.standard_error.rfind(syntax, 0), 0u) << run.standard_error;
    EXPECT_EQ(dir.read("trace.txt"), "");
  }
}

TEST(Glintscr, AutoexecRunsWithoutArguments) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  dir.write("autoexec.gs", kScript);
  const GlintscrRun run = run_glintscr(dir, {});
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(dir.read("trace.txt"), kTrace);
}

TEST(Glintscr, ParentSwitchSilencesTheAboutBox) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  dir.write("show.gs", kScript);
  const GlintscrRun run = run_glintscr(dir, {"/#1234", "show.gs"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.standard_error, "");
  EXPECT_EQ(dir.read("trace.txt"), kTrace);
  // A bare "/#" is removed but names no window: the about box stays.
  const GlintscrRun bare = run_glintscr(dir, {"/#", "show.gs"});
  EXPECT_EQ(bare.exit_status, 0);
  EXPECT_EQ(bare.standard_error, headless_box(kAboutCaption, kAboutText));
  EXPECT_EQ(dir.read("trace.txt"), kTrace);
}

}  // namespace
}  // namespace glint::player::test
