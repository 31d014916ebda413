// examples/menu.gs runs headless with scripted clicks, keys and answers:
// each button plays the ball, the question keeps or ends the run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "glintscr_harness.h"

namespace glint::player::test {
namespace {

TEST(MenuExample, ClicksPlayTheBallAndTheQuestionEndsTheRun) {
  GLINT_REQUIRE_GLINTSCR();
  glint::test::TempDir dir;
  const std::filesystem::path examples = std::string(GLINT_SOURCE_DIR) + "/examples";
  ASSERT_TRUE(std::filesystem::exists(examples / "menu.gs")) << "examples/menu.gs is missing";
  std::filesystem::copy(examples, dir.file("examples"), std::filesystem::copy_options::recursive);
  std::filesystem::create_directories(dir.file("build"));
  std::filesystem::create_directories(dir.file("snapshots"));
  // The ball takes a few virtual seconds; the next choices come well after it.
  dir.write("input.txt",
            "@100 move 60 70\n@150 snapshot\n@200 click 60 70\n"
            "@20000 click 60 100\n@40000 char q\n@41000 move 100 140\n@41100 snapshot\n"
            "@41200 click 100 140\nanswer no\nanswer yes\n");
  setenv("GLINT_INPUT", dir.file("input.txt").c_str(), 1);
  setenv("GLINT_SNAPSHOT_DIR", dir.file("snapshots").c_str(), 1);
  setenv("GLINT_HEADLESS_SCREEN", "640x480x32,surface=none", 1);
  const GlintscrRun run = run_glintscr(dir, {"examples/menu.gs"});
  unsetenv("GLINT_INPUT");
  unsetenv("GLINT_SNAPSHOT_DIR");
  unsetenv("GLINT_HEADLESS_SCREEN");
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(run.standard_error.find("[Error]"), std::string::npos) << run.standard_error;

  // The choices in order, each play finished, the first answer kept the menu.
  const std::string trace = dir.read("build/menu-trace.txt");
  size_t at = 0;
  for (const char* step :
       {"Choice: once", "ANIMATIONPLAY gave 1", "Choice: twice", "ANIMATIONPLAY gave 1",
        "Choice: q", "Leave? 8", "Choice: quit", "Leave? 4", "The end"}) {
    const size_t found = trace.find(step, at);
    ASSERT_NE(found, std::string::npos) << step << "\n" << trace;
    at = found + 1;
  }
  EXPECT_NE(run.standard_error.find(headless_box("GlintScr menu", "Leave the menu?")),
            std::string::npos);

  // The menu with the arrow over the first button, then with the Quit
  // button's own pointer (a frame in colour 63; its inside shows through).
  const auto pixel = [&](int number, int x, int y) {
    const std::string ppm = dir.read("snapshots/snapshot-000" + std::to_string(number) + ".ppm");
    const std::string head = "P6\n320 200\n255\n";
    EXPECT_EQ(ppm.rfind(head, 0), 0u);
    const size_t i = head.size() + (size_t(y) * 320 + size_t(x)) * 3;
    if (ppm.size() < i + 3) return std::string("short");
    return ppm.substr(i, 3);
  };
  const std::string blue(std::string("\0\0\x88", 3)), grey(3, '\x3F');
  EXPECT_EQ(pixel(1, 45, 65), blue);                          // the first button
  EXPECT_EQ(pixel(1, 60, 70), std::string(3, '\0'));          // the arrow's tip
  EXPECT_EQ(pixel(1, 61, 72), grey);                          // its fill
  EXPECT_EQ(pixel(2, 100, 140), grey);                        // the frame pointer's corner
  EXPECT_EQ(pixel(2, 104, 144), std::string("\x24\0\0", 3));  // the button through it
}

}  // namespace
}  // namespace glint::player::test
