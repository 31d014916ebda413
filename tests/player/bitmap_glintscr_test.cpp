// Bitmaps in the glintscr program: a script composes a picture off screen,
// puts it on the headless screen and reads it back; bad numbers end the run
// with the frame error.
#include <gtest/gtest.h>

#include <string>

#include "glintscr_harness.h"

namespace glint::player::test {
namespace {

using glint::test::TempDir;

TEST(GlintscrBitmaps, ComposeShowAndList) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const GlintscrRun run = run_glintscr_script(
      dir, "show.gs",
      "DEBUGFILE \"trace.txt\"\nSCREENGRAPHICS OK 64 48\nSCREENCLEAR 2\n"
      "BITMAPALLOC BACK 64 48\nBITMAPALLOC SPRITE 8 8\nBITMAPCLEAR BACK 3\n"
      "BITMAPFILLEDBOX SPRITE 2 2 4 4 9\nBITMAPTOBITMAPTRANS BACK SPRITE 10 10 0\n"
      "BITMAPTOSCREEN BACK 0 0\nBITMAPTOSCREEN SPRITE -5 0\nSCREENGETPIXEL IN 13 13\n"
      "SCREENGETPIXEL HOLE 10 10\nSCREENGETPIXEL LEFT 0 0\n"
      "BITMAPSETPALETTEVALUE SPRITE 1 197121\nBITMAPGETPALETTEVALUE PV SPRITE 1\n"
      "BITMAPLIST\n" +
          show("IN") + show("HOLE") + show("LEFT") + show("PV") + "BITMAPWIDTH W 9005\n");
  EXPECT_NE(run.exit_status, -1) << run.standard_error;
  EXPECT_EQ(shown(dir, "IN"), "9");
  EXPECT_EQ(shown(dir, "HOLE"), "3");
  EXPECT_EQ(shown(dir, "LEFT"), "3");
  EXPECT_EQ(shown(dir, "PV"), "197121");
  const std::string trace = dir.read("trace.txt");
  EXPECT_NE(trace.find("Number: 9000  Width: 64  Height: 48\r\nNumber: 9001  Width: 8  Height: 8"),
            std::string::npos)
      << trace;
  EXPECT_NE(run.standard_error.find("Bad frame parameter:"), std::string::npos)
      << run.standard_error;
}

}  // namespace
}  // namespace glint::player::test
