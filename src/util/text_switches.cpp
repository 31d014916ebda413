// Command-line switches: "/X" and a letter, found, read and cut out of the line.
#include <cstdint>
#include <cstring>

#include "orxutil/orxutil.h"
#include "util/text_blank.h"

using glint::util::is_blank;
using glint::util::is_digit;
using glint::util::to_upper_ascii;

namespace {

unsigned char byte_of(const char* p) { return static_cast<unsigned char>(*p); }

// Does the text after "/X" fit the switch form a reader wants?
using FormTest = bool (*)(const char* after_letter);

// Plain: the letter stands alone, followed by the end, a blank or one of
// "!" to "/" (anything whose signed value is at most 47).
bool plain_form(const char* after) { return static_cast<signed char>(*after) <= '/'; }

// String: a value follows directly.
bool string_form(const char* after) { return *after != '\0' && !is_blank(byte_of(after)); }

// Number and fraction: a digit, or "-" and a digit.
bool number_form(const char* after) {
  return is_digit(byte_of(after)) || (after[0] == '-' && is_digit(byte_of(after + 1)));
}

// The "/" of the first switch of `letter` in the form, or null. A "/" that
// does not fit is passed over and the search goes on right after it.
char* find_switch(char* line, int letter, FormTest fits) {
  const unsigned char wanted = static_cast<unsigned char>(letter & 0xFF);
  for (char* slash = std::strchr(line, '/'); slash != nullptr;
       slash = std::strchr(slash + 1, '/')) {
    const unsigned char found = byte_of(slash + 1);
    // The NUL is never a switch letter: what follows it is not ours to read.
    if (found == '\0') return nullptr;
    if (to_upper_ascii(found) == wanted && fits(slash + 2)) return slash;
  }
  return nullptr;
}

// Removes `count` bytes at `at`; count never reaches past the NUL.
void erase(char* at, size_t count) { std::memmove(at, at + count, std::strlen(at + count) + 1); }

// Length of the value that ends at a blank, a "/" or the end, at most `limit`.
size_t bare_value_length(const char* value, size_t limit) {
  size_t length = 0;
  while (length < limit && value[length] != '\0' && value[length] != '/' &&
         !is_blank(byte_of(value + length)))
    ++length;
  return length;
}

// The whole switch "/X..." at `slash` as RemoveMinusSwitches removes it,
// never running past `limit` bytes (where the negation stands).
size_t switch_length(const char* slash, size_t limit) {
  const char* after = slash + 2;
  if (*after == '"') {
    for (size_t i = 3; i < limit; ++i)
      if (slash[i] == '"') return i + 1;
    return limit;
  }
  if (is_blank(byte_of(after))) return 2;
  return 2 + bare_value_length(after, limit - 2);
}

void copy_text(char* destination, const char* source, size_t count) {
  if (destination == nullptr) return;
  std::memmove(destination, source, count);
  destination[count] = '\0';
}

// atol as a 32-bit platform has it for in-range values, wrapping beyond:
// an optional "-" and the digits. Returns the bytes read.
size_t read_long(const char* text, int32_t* value) {
  size_t at = 0;
  const bool negative = text[0] == '-';
  if (negative) ++at;
  uint32_t magnitude = 0;
  while (is_digit(byte_of(text + at)))
    magnitude = magnitude * 10u + static_cast<uint32_t>(text[at++] - '0');
  *value = static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
  return at;
}

}  // namespace

extern "C" {

ORX_API int GetSwitch(char* command_line, int letter) {
  if (command_line == nullptr) return 0;
  char* slash = find_switch(command_line, letter, plain_form);
  if (slash == nullptr) return 0;
  erase(slash, 2);
  return 1;
}

ORX_API int GetSwitchStr(char* command_line, int letter, char* destination,
                         const char* default_text) {
  char* slash = command_line ? find_switch(command_line, letter, string_form) : nullptr;
  if (slash == nullptr) {
    const char* fallback = default_text ? default_text : "";
    copy_text(destination, fallback, std::strlen(fallback));
    return 0;
  }
  const char* value = slash + 2;
  size_t removed;
  if (*value == '"') {
    // Quoted: blanks and "/" belong to the value; the closing quote goes too.
    const char* inside = value + 1;
    const char* closing = std::strchr(inside, '"');
    const size_t length = closing ? static_cast<size_t>(closing - inside) : std::strlen(inside);
    copy_text(destination, inside, length);
    removed = 3 + length + (closing ? 1 : 0);
  } else {
    const size_t length = bare_value_length(value, SIZE_MAX);
    copy_text(destination, value, length);
    removed = 2 + length;
  }
  erase(slash, removed);
  return 1;
}

ORX_API int32_t GetSwitchNum(char* command_line, int letter, int32_t default_value) {
  if (command_line == nullptr) return default_value;
  char* slash = find_switch(command_line, letter, number_form);
  if (slash == nullptr) return default_value;
  int32_t value = 0;
  const size_t read = read_long(slash + 2, &value);
  // Only the sign and digits go: "/L5.2" leaves ".2" behind.
  erase(slash, 2 + read);
  return value;
}

ORX_API void GetSwitchFractional(char* command_line, int letter, int32_t* numerator,
                                 int32_t* denominator, int32_t default_numerator,
                                 int32_t default_denominator) {
  int32_t top = default_numerator;
  int32_t bottom = default_denominator;
  char* slash = command_line ? find_switch(command_line, letter, number_form) : nullptr;
  if (slash != nullptr) {
    const char* end = atofr(slash + 2, &top, &bottom);
    erase(slash, static_cast<size_t>(end - slash));
  }
  if (numerator != nullptr) *numerator = top;
  if (denominator != nullptr) *denominator = bottom;
}

ORX_API void RemoveMinusSwitches(char* command_line) {
  if (command_line == nullptr) return;
  size_t search_from = 0;
  for (;;) {
    char* negation = std::strstr(command_line + search_from, "/-");
    if (negation == nullptr) return;
    if (negation[2] == '\0') {
      // A bare "/-" at the end: the line ends before it.
      *negation = '\0';
      return;
    }
    const unsigned char letter = to_upper_ascii(byte_of(negation + 2));
    size_t negation_at = static_cast<size_t>(negation - command_line);
    // Every earlier switch of the letter goes with its value. The letter must
    // stand before the negation, and no value may reach into the negation.
    size_t at = 0;
    while (at + 1 < negation_at) {
      if (command_line[at] == '/' && to_upper_ascii(byte_of(command_line + at + 1)) == letter) {
        const size_t length = switch_length(command_line + at, negation_at - at);
        erase(command_line + at, length);
        negation_at -= length;
      } else {
        ++at;
      }
    }
    erase(command_line + negation_at, 3);
    search_from = negation_at;
  }
}

}  // extern "C"
