#include "player/startup.h"

#include "platform/platform.h"
#include "player/engine.h"
#include "player/error_report.h"

namespace glint::player {
namespace {

void show_syntax_box(Player& player) {
  show_message_box(player, kSyntaxCaption, kSyntaxText, platform::kMbOk);
}

void show_about_box(Player& player) {
  show_message_box(player, kAboutCaption, kAboutText,
                   platform::kMbOk | platform::kMbIconInformation);
}

// After an error the scripts that were running are gone; nothing may point
// into them any more.
void forget_running_scripts(Player& player) {
  player.script = nullptr;
  player.position = 0;
  player.level = 0;
  player.labels.clear();
  player.first_visible_label = 0;
  player.return_stack.clear();
  player.run_state = RunState::kCarryOn;
}

// The end of a run: every file still open is written out and closed, the
// window goes, the text defaults come back.
void shut_down_run(Player& player) {
  close_all_files(player);
  screen_destroy(player);
  reset_text_defaults(player);
}

}  // namespace

void start_player(Player& player) {
  player.indentation.clear();
  player.palette_locks.fill(0);
  player.random_seed = ORXTimerRead();
  reset_text_defaults(player);
  player.window_title = "GlintScript";
  player.files.fill(nullptr);
  player.debug_slot = kNoDebugFile;
  screen_destroy(player);
}

int run_command_line(Player& player, const CommandLine& command_line) {
  int status = kExitOk;
  bool syntax = command_line.has_switch;
  // No front-end window exists here: the parent switch only silences the
  // about box, as a front-end that recognised itself would.
  player.parent_window = command_line.parent_window;
  if (command_line.parent_given) player.about_at_exit = false;

  if (syntax) {
    status = kExitFailed;
  } else {
    std::string name;
    split_script_name(command_line.text, name, player.script_arguments);
    player.script_path.clear();
    try {
      const bool default_script = name.empty();
      if (default_script) name = kDefaultScript;
      if (!run_script(player, name)) {
        if (default_script) {
          syntax = true;
        } else {
          report_error(player, kErrorOpening, name, true);
        }
      }
    } catch (const ScriptAbort&) {
      status = kExitFailed;
      forget_running_scripts(player);
    }
    shut_down_run(player);
  }

  if (syntax) show_syntax_box(player);
  restore_display_mode(player);
  if (player.about_at_exit) show_about_box(player);
  return status;
}

int glintscr_main(int argc, char** argv) {
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) words.emplace_back(argv[i]);
  Player player;
  init_player(player);
  start_player(player);
  return run_command_line(player, parse_command_line(words));
}

}  // namespace glint::player
