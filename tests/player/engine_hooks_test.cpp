// The services the engine calls between lines, for the display and sound
// output to plug into.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "player/startup.h"
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

// The end of a run in order: the syntax box (if any), the desktop's own
// display mode back, then the about box.
std::vector<std::string> g_ending;

int log_box(const char* caption, const char*, unsigned) {
  g_ending.emplace_back(caption);
  return 1;
}

void log_restore(Player&) { g_ending.emplace_back("restore"); }

void log_ending(Player& player) {
  player.hooks.message_box = log_box;
  player.hooks.restore_display_mode = log_restore;
}

TEST(EngineHooks, DisplayModeIsRestoredBeforeTheAboutBox) {
  const struct {
    std::map<std::string, std::string> scripts;
    const char* command_line;
    std::vector<std::string> ending;
  } cases[] = {
      {{{"main.gs", "VARSET A 1\n"}}, "main", {"restore", kAboutCaption}},
      {{{"main.gs", "FOO\n"}}, "main", {"Error", "restore", kAboutCaption}},
      {{{"main.gs", "END\n"}}, "main /x", {kSyntaxCaption, "restore", kAboutCaption}},
      {{}, "", {kSyntaxCaption, "restore", kAboutCaption}},
      {{{"main.gs", "END\n"}}, "/#5 main", {"restore"}},
  };
  for (const auto& c : cases) {
    g_ending.clear();
    run_scripts(c.scripts, c.command_line, log_ending);
    EXPECT_EQ(g_ending, c.ending) << c.command_line;
  }
}

}  // namespace
}  // namespace glint::player
