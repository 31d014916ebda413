// The debug trace: a file chosen by DEBUGFILE that records every executed
// line, every variable store, every comparison and every error.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "player/player.h"

namespace glint::player {

bool tracing(const Player& player);

// Appends bytes to the debug file; nothing when none is open. Write errors
// are ignored: the trace never stops a script.
void trace(Player& player, std::string_view bytes);

// Forces the debug file to disk (DEBUGTEXT, VARLIST).
void trace_commit(Player& player);

// A listing (ANIMATIONLIST, BITMAPLIST): into the trace after an empty line
// while tracing, else a line each through the screen text output.
void print_listing(Player& player, const std::vector<std::string>& lines);

// "12:" left-aligned in a field of seven characters, cut to seven.
std::string line_number_field(uint32_t line_number);

// Before a compiled line: indentation, number field, line buffer.
void trace_line_head(Player& player);
// Before an interpreted line (IF, INTERPRET, ';'): indentation, " -> ",
// number field, the interpreted text.
void trace_interpreted_head(Player& player);
void trace_line_end(Player& player);

// Opens (or, with an empty name, only closes) the debug file.
void open_debug_file(Player& player, const std::string& name);
void close_debug_file(Player& player);

// Debug indentation: two blanks per script level and per GOSUB.
void indent(Player& player);
void outdent(Player& player);

}  // namespace glint::player
