// Trimming, word taking and quote handling on caller-owned strings.
#include <cstring>

#include "orxutil/orxutil.h"
#include "util/text_blank.h"

using glint::util::is_blank;

namespace {

unsigned char byte_at(const char* text, size_t index) {
  return static_cast<unsigned char>(text[index]);
}

// Moves the tail starting at `from` (with its NUL) to the start of `text`.
void pull_to_start(char* text, const char* from) {
  if (from != text) std::memmove(text, from, std::strlen(from) + 1);
}

void trim_right(char* text) {
  size_t length = std::strlen(text);
  while (length > 0 && is_blank(byte_at(text, length - 1))) --length;
  text[length] = '\0';
}

// Copies `count` bytes to `destination` and ends it there. The ranges may
// touch when a caller hands in overlapping buffers, so this moves, not copies.
void put_text(char* destination, const char* source, size_t count) {
  if (destination == nullptr) return;
  std::memmove(destination, source, count);
  destination[count] = '\0';
}

}  // namespace

extern "C" {

ORX_API void TrimL(char* text) {
  if (text == nullptr) return;
  size_t start = 0;
  while (is_blank(byte_at(text, start))) ++start;
  pull_to_start(text, text + start);
}

ORX_API void Trim(char* text) {
  if (text == nullptr) return;
  TrimL(text);
  trim_right(text);
}

ORX_API void TrimAscii(char* text) { Trim(text); }

ORX_API void GetAndRemoveFirst(char* destination, char* text) {
  if (text == nullptr) {
    put_text(destination, "", 0);
    return;
  }
  TrimL(text);
  size_t word_end = 0;
  while (text[word_end] != '\0' && !is_blank(byte_at(text, word_end))) ++word_end;
  // The blanks after the word go with it, and so does a comma that follows
  // them, so that "a , b" hands out "a ," as one argument.
  size_t taken = word_end;
  while (is_blank(byte_at(text, taken))) ++taken;
  if (text[taken] == ',') ++taken;
  put_text(destination, text, taken);
  pull_to_start(text, text + taken);
  Trim(destination);
  TrimL(text);
}

ORX_API void GetAndRemoveFirstQuoted(char* destination, char* text) {
  if (text == nullptr) {
    put_text(destination, "", 0);
    return;
  }
  TrimL(text);
  if (text[0] == '"') {
    const char* closing = std::strchr(text + 1, '"');
    if (closing != nullptr) {
      put_text(destination, text + 1, static_cast<size_t>(closing - (text + 1)));
      pull_to_start(text, closing + 1);
    } else {
      // An unclosed quote: everything, the quote included, is the word.
      put_text(destination, text, std::strlen(text));
      text[0] = '\0';
    }
  } else {
    GetAndRemoveFirst(destination, text);
  }
  Trim(destination);
  Trim(text);
}

ORX_API void RemoveQuotes(char* text) {
  if (text == nullptr) return;
  Trim(text);
  const size_t length = std::strlen(text);
  if (length >= 2 && text[0] == '"' && text[length - 1] == '"') {
    std::memmove(text, text + 1, length - 2);
    text[length - 2] = '\0';
  }
}

ORX_API void AddBackslash(char* path) {
  if (path == nullptr) return;
  Trim(path);
  const size_t length = std::strlen(path);
  if (length == 0) return;
  const char last = path[length - 1];
  // A forward slash already ends a directory on the host.
  if (last == ':' || last == '\\' || last == '/') return;
  path[length] = '\\';
  path[length + 1] = '\0';
}

}  // extern "C"
