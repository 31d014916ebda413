// Turning key presses into the messages a Windows message loop would see:
// the key-down (a system key-down with Alt, and for F10), the characters the
// key translates to, and the key-up.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/video.h"

namespace glint::platform {

// The character a key gives with these modifiers, or -1: letters (upper case
// with Shift), digits, space, and the control characters of Enter (13),
// Escape (27), Backspace (8), Tab (9) and Ctrl+letter (1-26). With
// `printable` false only the control characters are given (the SDL back-end
// takes printable characters from text input instead).
int key_character(uint32_t virtual_key, uint32_t modifiers, bool printable);

// Appends the messages of one press and release of the key.
void key_messages(WindowHandle window, uint32_t virtual_key, uint32_t modifiers, bool printable,
                  std::vector<Message>& out);

// The Windows ANSI (code page 1252) byte of a Unicode character, or -1.
int ansi_from_unicode(uint32_t code_point);

// Appends one WM_CHAR per character of UTF-8 text that has an ANSI byte.
void text_messages(WindowHandle window, std::string_view utf8, uint32_t modifiers,
                   std::vector<Message>& out);

// The virtual key of a name ("F3", "PageUp", "Enter", "a", ...; without
// regard to case), or 0.
uint32_t virtual_key_from_name(std::string_view name);

}  // namespace glint::platform
