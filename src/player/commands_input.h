// The mouse and input commands: INPUTCHAR, INPUTCHARORDELAY, INPUTSTR,
// INPUTSTRWIN, INPUTMSGWIN and the MOUSE commands.
#pragma once

#include "player/command_table.h"

namespace glint::player {

void register_input_commands(CommandTable& table);

// The INPUTSTRWIN and INPUTMSGWIN half (commands_input_boxes.cpp).
void register_input_box_commands(CommandTable& table);

// INPUTMSGWIN's message box style for its flags, and its result for an answer.
unsigned message_box_style_for(int32_t flags);
int32_t message_box_result(int answer);

}  // namespace glint::player
