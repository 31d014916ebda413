// The demonstration that `make demo` runs must keep running to its end and
// show its window.
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
  std::ifstream in(std::string(GLINT_SOURCE_DIR) + "/examples/demo.gs", std::ios::binary);
  ASSERT_TRUE(in) << "examples/demo.gs is missing";
  dir.write("demo.gs", std::string(std::istreambuf_iterator<char>(in), {}));
  const std::string snapshots = dir.file("snapshots");
  std::filesystem::create_directories(snapshots);
  setenv("GLINT_SNAPSHOT_DIR", snapshots.c_str(), 1);
  GlintscrRun run = run_glintscr(dir, {"demo.gs"});
  unsetenv("GLINT_SNAPSHOT_DIR");
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(run.standard_error.find("[Error]"), std::string::npos) << run.standard_error;
  const std::string picture = dir.read("snapshots/snapshot-0001.ppm");
  EXPECT_EQ(picture.rfind("P6\n320 200\n255\n", 0), 0u) << "no snapshot of the window";
}

}  // namespace
}  // namespace glint::player::test
