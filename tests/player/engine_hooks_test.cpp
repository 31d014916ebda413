// The services the engine calls between lines, for the display and sound
// output to plug into.
#include <gtest/gtest.h>

#include "script_runner.h"

namespace glint::player {
namespace {

using test::run_scripts;

int g_service_calls = 0;
int g_focus_questions = 0;
int g_screen_destroys = 0;

void count_service(Player&) { ++g_service_calls; }

// Without focus for the first three questions.
bool lacks_focus(Player&) { return ++g_focus_questions <= 3; }

void count_destroy(Player&) { ++g_screen_destroys; }

void install(Player& player) {
  player.hooks.service = count_service;
  player.hooks.window_lacks_focus = lacks_focus;
  player.hooks.screen_destroy = count_destroy;
}

TEST(EngineHooks, ServiceRunsForEveryLoadedLineAndAfterEveryCommand) {
  g_service_calls = 0;
  const auto run =
      run_scripts({{"main.gs", "VARSET A 1\n# note\nVARSET B 2; VARSET C 3\n"}}, "main", install);
  EXPECT_EQ(run.status, 0);
  // Three lines loaded; two compiled commands, one chained command, each
  // followed by the after-command step (which runs again after the chain).
  EXPECT_EQ(g_service_calls, 3 + 2 + 1);
}

TEST(EngineHooks, AutoPauseHoldsWhileTheWindowLacksFocus) {
  g_focus_questions = 0;
  const auto run = run_scripts({{"main.gs", "VARSET A 1\n"}}, "main", [](Player& player) {
    install(player);
    player.auto_pause = 1;
  });
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(g_focus_questions, 4);  // three held steps, then focus is back

  g_focus_questions = 0;
  run_scripts({{"main.gs", "VARSET A 1\n"}}, "main", install);  // auto-pause off
  EXPECT_EQ(g_focus_questions, 0);
}

TEST(EngineHooks, ErrorsAndShutdownCloseTheWindow) {
  g_screen_destroys = 0;
  const auto run = run_scripts({{"main.gs", "FOO\n"}}, "main", install);
  EXPECT_EQ(run.status, 1);
  // At start-up, in the error report (before the box), and at shutdown.
  EXPECT_EQ(g_screen_destroys, 3);
}

}  // namespace
}  // namespace glint::player
