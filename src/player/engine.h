// The script engine: loads a script file, compiles its lines against the
// command table, resolves labels and runs the lines one by one. It is
// re-entered for nested scripts (CALL, CALLANDGOSUB).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "player/player.h"

namespace glint::player {

// Appends ".gs" unless the last path component has an extension.
void add_default_extension(std::string& path);

// Loads and runs a script. False only when the file cannot be opened; true
// once it has ended (by running off its end, EXIT, RETURN on its own level
// or END). Errors unwind through the report instead. `path` receives the
// added extension. With a start label, execution begins there.
bool run_script(Player& player, std::string& path,
                const std::optional<std::string>& start_label = std::nullopt);

// Compiles script text, appending its labels to the label table. Errors are
// reported with the offending line's number.
CompiledScript compile_script(Player& player, std::string_view bytes);

// True when the first word of a line is TEXTEND (without regard to case).
bool is_text_block_end(const std::string& line);

// Looks a label up among the running script's labels; the later of two
// labels with the same name wins.
std::optional<std::size_t> find_label(const Player& player, std::string name);

// Moves the execution position to a label ("Label not found" otherwise).
void jump_to_label(Player& player, const std::string& label);

// Runs the line buffer as a command line (IF, INTERPRET, ';' chains).
void interpret_line_buffer(Player& player);

}  // namespace glint::player
