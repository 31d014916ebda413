// Text lines through the bit cursor.
#include "util/orxfile_record.h"

using namespace glint::orxfile;

namespace {

// One byte through the cursor; false when the file has no whole byte left.
bool next_byte(ORXFile* f, uint8_t* byte) {
  if (f->mode == kReading && f->bit_count == 0 && f->index < f->valid) {
    *byte = f->buffer[f->index++];
    return true;
  }
  return ORXFileGet(f, byte, 1) == 1;
}

}  // namespace

extern "C" {

// Stores bytes up to and including a line feed, at most capacity - 1 of
// them, and drops the line feeds and carriage returns at the end. An empty
// line and the end of the file both give ""; ORXFileAtEnd tells them apart.
ORX_API char* ORXFileGetLine(ORXFile* file, char* destination, uint32_t capacity) {
  if (destination == nullptr || capacity == 0) return destination;
  uint32_t stored = 0;
  if (is_open(file)) {
    while (stored + 1 < capacity && logical_position(file) < file_size(file)) {
      uint8_t byte = 0;
      if (!next_byte(file, &byte)) break;
      destination[stored++] = static_cast<char>(byte);
      if (byte == '\n') break;
    }
  }
  while (stored > 0 && (destination[stored - 1] == '\n' || destination[stored - 1] == '\r')) {
    --stored;
  }
  destination[stored] = '\0';
  return destination;
}

}  // extern "C"
