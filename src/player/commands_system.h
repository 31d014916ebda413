// The system commands: waiting and the clock, the date, the program's and
// the script's names, the environment, starting programs, multimedia
// command strings, the print job, the beep and the system queries.
#pragma once

#include <string_view>

#include "player/command_table.h"

namespace glint::player {

void register_system_commands(CommandTable& table);

// The families inside it, one file each.
void register_system_time_commands(CommandTable& table);
void register_system_info_commands(CommandTable& table);
void register_system_program_commands(CommandTable& table);
void register_print_commands(CommandTable& table);

// Waits until the millisecond timer reaches `target`, servicing the window
// and the sound output meanwhile. A target already passed (by the signed
// difference) returns at once.
void wait_until(Player& player, uint32_t target);

// Text output while a print job is open goes into the job's file instead of
// onto the screen: TEXT calls this with its line and "\r\n", TEXTNOCR
// without the line end. False (and nothing written) when no job is open.
bool print_job_write(Player& player, std::string_view bytes);
bool print_job_open(const Player& player);

// SYSTEMUSEDIRECTSOUND was run: SCREENGRAPHICS hands the new window to the
// DirectSound-style output.
bool direct_sound_requested(const Player& player);

}  // namespace glint::player
