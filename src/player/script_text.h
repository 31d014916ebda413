// Small text rules of the script language, on std::string so that no line,
// name or value is limited by a fixed buffer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "util/text_blank.h"

namespace glint::player {

inline bool blank(char c) { return util::is_blank(static_cast<unsigned char>(c)); }

void trim_left(std::string& text);
void trim(std::string& text);
void upper_case(std::string& text);

// Splits a command line into its word and the rest, as the first-word
// helper does: the word runs to the first blank; the blanks after it and one
// comma that follows them belong to the word (trimmed), so "GOTO ," is one
// word. The rest has no leading blanks.
void split_command_word(std::string_view line, std::string& word, std::string& rest);

// After at most one leading blank: an optional '-' then only digits, and
// not empty ("-" alone counts).
bool is_numeric_text(std::string_view text);

// Decimal text to a signed 32-bit number: leading white space, a sign, then
// digits up to the first other byte, accumulated modulo 2^32.
int32_t text_to_int32(std::string_view text);

std::string int32_to_text(int32_t value);

}  // namespace glint::player
