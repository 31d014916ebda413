// Byte classes shared by the text helpers and the script parser.
#pragma once

namespace glint::util {

// A blank is any byte that reads as at most 32 when taken as a signed 8-bit
// number: the controls and space (0x01-0x20) and every byte from 0x80 up.
// NUL ends a string and is never a blank.
constexpr bool is_blank(unsigned char byte) {
  return byte != 0 && static_cast<signed char>(byte) <= 32;
}

// Upper case as the "C" locale has it: only a-z change, so the answer never
// depends on the user's locale or code page.
constexpr unsigned char to_upper_ascii(unsigned char byte) {
  return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - ('a' - 'A')) : byte;
}

constexpr bool is_digit(unsigned char byte) { return byte >= '0' && byte <= '9'; }

}  // namespace glint::util
