// The demonstration that `make demo` runs must keep running to its end,
// play its animations and show its window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "glintscr_harness.h"

namespace glint::player::test {
namespace {

TEST(Demo, RunsToTheEndAndShowsItsWindow) {
  GLINT_REQUIRE_GLINTSCR();
  glint::test::TempDir dir;
  // The demo runs from the top of the tree: its files under examples/, its
  // trace in build/.
  const std::filesystem::path examples = std::string(GLINT_SOURCE_DIR) + "/examples";
  ASSERT_TRUE(std::filesystem::exists(examples / "demo.gs")) << "examples/demo.gs is missing";
  std::filesystem::copy(examples, dir.file("examples"), std::filesystem::copy_options::recursive);
  std::filesystem::create_directories(dir.file("build"));
  const std::string snapshots = dir.file("snapshots");
  std::filesystem::create_directories(snapshots);
  setenv("GLINT_SNAPSHOT_DIR", snapshots.c_str(), 1);
  GlintscrRun run = run_glintscr(dir, {"examples/demo.gs"});
  unsetenv("GLINT_SNAPSHOT_DIR");
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(run.standard_error.find("[Error]"), std::string::npos) << run.standard_error;
  const std::string trace = dir.read("build/demo-trace.txt");
  EXPECT_NE(trace.find("ANIMATIONPLAY gave 1"), std::string::npos) << trace;
  EXPECT_NE(trace.find("Stepping through the 48 frames of the ball"), std::string::npos) << trace;
  const std::string picture = dir.read("snapshots/snapshot-0001.ppm");
  EXPECT_EQ(picture.rfind("P6\n320 200\n255\n", 0), 0u) << "no snapshot of the window";
}

}  // namespace
}  // namespace glint::player::test
