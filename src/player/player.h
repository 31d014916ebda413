// The player's state: everything the script engine and the command handlers
// share. One Player lives for one run of glintscr (tests and the fuzz target
// make a fresh one per run); handlers receive it instead of reaching for
// process-wide globals.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "orxutil/orxutil.h"
#include "player/variables.h"

namespace glint::player {

// Longest line the loader keeps; the rest of a longer physical line is read
// as the next line.
inline constexpr std::size_t kLineMax = 767;
inline constexpr std::size_t kMaxLabels = 512;
inline constexpr std::size_t kLabelNameMax = 31;
// GOSUB return positions and the end entry of every running script share it.
inline constexpr std::size_t kReturnStackMax = 64;
inline constexpr std::size_t kFileSlots = 64;
inline constexpr uint8_t kNoDebugFile = 255;
inline constexpr int32_t kScriptFileBuffer = 3072;

// How the line loop goes on after a handler.
enum class RunState : uint8_t {
  kCarryOn = 0,
  kInterpret = 1,    // run the line buffer as a command line
  kLeaveScript = 2,  // EXIT, or RETURN with nothing to return to
  kEndRun = 3,       // END: every enclosing script leaves too
};

struct CompiledLine {
  uint32_t line_number = 0;
  uint8_t command = 0;
  std::string parameters;  // for a text line, the whole line
  // A line of a TEXTBEGIN block, up to its TEXTEND: printed by TEXTBEGIN,
  // passed over when execution reaches it otherwise.
  bool text = false;
};

struct CompiledScript {
  std::vector<CompiledLine> lines;
};

struct Label {
  std::string name;
  std::size_t position = 0;  // index of the compiled line after the label
};

// A position to go back to. `level` is the nesting depth of the script that
// owns the position, so a script can never return into its caller's block.
struct ReturnEntry {
  uint32_t level = 0;
  std::size_t position = 0;
};

struct Player;
struct AnimationTable;  // the animation commands' table (animation_table.h)
struct InputState;      // mouse areas, levels and the software pointer (input_state.h)
struct SystemState;     // print job, sound output choice, date anchor (commands_system_state.h)
struct FileSearch;      // FILEFIND's snapshot of matches (file_find.cpp)
struct BitmapTable;     // the bitmap commands' table (bitmaps.h)
struct ScreenSettings;  // next window's settings, adjustment, text cursor, font (commands_screen.h)

// Services the engine calls but does not own. A null hook does nothing; the
// display and sound output fill theirs in when they are built.
struct PlayerHooks {
  // Window messages and the sound output's service call, between lines.
  void (*service)(Player&) = nullptr;
  // True while auto-pause should hold the script (window without focus).
  bool (*window_lacks_focus)(Player&) = nullptr;
  // Closes the presentation window and releases the display.
  void (*screen_destroy)(Player&) = nullptr;
  bool (*has_window)(const Player&) = nullptr;
  // One line of screen text output (as TEXT prints it).
  void (*print_line)(Player&, const std::string& text) = nullptr;
  int (*message_box)(const char* caption, const char* text, unsigned style) = nullptr;
  // Reads a whole script file; false when it cannot be opened.
  bool (*read_script)(Player&, const std::string& path, std::string& bytes) = nullptr;
  // Creates (or empties) a file for writing, as DEBUGFILE needs it.
  ORXFile* (*create_file)(const char* name) = nullptr;
  // Puts the desktop back in its own display mode at the end of a run.
  void (*restore_display_mode)(Player&) = nullptr;
};

struct Player {
  PlayerHooks hooks;

  // Line execution.
  RunState run_state = RunState::kCarryOn;
  std::string line_buffer;  // command name, one blank, parameters: error detail
  std::string parameters;   // what the handler has not consumed yet
  uint32_t line_number = 0;
  std::string script_path;
  std::string script_arguments;  // the command line after the script name

  // Scripts being run, outermost first in the C++ call stack.
  const CompiledScript* script = nullptr;
  std::size_t position = 0;
  uint32_t level = 0;
  std::vector<Label> labels;
  std::size_t first_visible_label = 0;
  std::vector<ReturnEntry> return_stack;

  VariableStore variables;
  VariableStack variable_stack;

  // Debug trace.
  std::string indentation;
  uint8_t debug_slot = kNoDebugFile;
  bool commit_debug_writes = true;  // DEBUGTEXT and VARLIST force the file to disk

  std::array<ORXFile*, kFileSlots> files{};

  uint32_t random_seed = 0;

  // State of later command families, made on first use by the family.
  std::shared_ptr<AnimationTable> animations;
  std::shared_ptr<InputState> input;
  // Mutable: made on first use, also by queries through a const Player
  // (FILEFINDNEXT, whether a print job is open, looking a bitmap up).
  mutable std::shared_ptr<SystemState> system;
  mutable std::shared_ptr<FileSearch> file_search;
  mutable std::shared_ptr<BitmapTable> bitmaps;
  mutable std::shared_ptr<ScreenSettings> screen;

  // Settings initialised at start-up for the families that use them.
  std::string window_title = "GlintScript";
  uint8_t text_color = 7;
  uint8_t text_back_color = 0;
  uint8_t text_trans_color = 128;
  std::array<uint8_t, 256> palette_locks{};
  int32_t fade_speed = 15;
  int32_t auto_pause = 0;
  int32_t parent_window = 0;
  bool about_at_exit = true;

  // A bound on handler calls (0: none), so arbitrary scripts always end.
  uint64_t step_limit = 0;
  uint64_t steps = 0;
};

// A player with the default hooks (real files, the platform's message box).
void init_player(Player& player);

// The first free slot of the file table, or -1.
int free_file_slot(const Player& player);

// Closes every open file of the table (buffered output is written first).
void close_all_files(Player& player);

// Resets the text defaults the error report and shutdown restore.
void reset_text_defaults(Player& player);

void screen_destroy(Player& player);
void restore_display_mode(Player& player);
bool has_window(const Player& player);
void service_between_lines(Player& player);
int show_message_box(Player& player, const char* caption, const char* text, unsigned style);

}  // namespace glint::player
