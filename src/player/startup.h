// glintscr from start to end: the command line, the global defaults, the
// top-level script inside the one recovery point, shutdown and the boxes.
#pragma once

#include <string>
#include <vector>

#include "player/command_line.h"
#include "player/player.h"

namespace glint::player {

inline constexpr const char* kSyntaxText = " Syntax:  GlintScr  <Glinter Script[.gs]>";
inline constexpr const char* kSyntaxCaption = "GlintScript V 4.1e  Portable presentation player";
inline constexpr const char* kAboutCaption = "GlintScript - V4.1e";
inline constexpr const char* kAboutText =
    "GlintScript plays presentations written as Glinter scripts: animations\r\n"
    "with sound, bitmaps, text and mouse areas, all driven line by line.\r\n"
    "It is part of the Glinter compression tools; their documentation says\r\n"
    "how to reach the people who make them.";
inline constexpr const char* kDefaultScript = "autoexec.gs";

// Exit status of a run.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;

// Sets the start-up defaults (random seed from the millisecond timer).
void start_player(Player& player);

// Runs the top-level script named on the command line and shuts the run
// down. Returns the exit status: failed when an error report ended the run
// or a switch was not understood.
int run_command_line(Player& player, const CommandLine& command_line);

// The program: argv in, exit status out.
int glintscr_main(int argc, char** argv);

}  // namespace glint::player
