// The ORXFile record and the byte layer shared by the file operations.
//
// One buffer serves reading and writing. Reading: the buffer holds
// `valid` bytes that end at `os_position`, `index` is the next one to hand
// out. Writing: the buffer collects bytes that belong at `os_position`,
// `index` of them so far. Bit fields go through `bit_count`/`bit_byte`:
// reading, `bit_byte` is the raw byte whose low `bit_count` bits are used;
// writing, it holds the `bit_count` low bits not yet written.
//
// Invariants every operation keeps: index <= valid <= buffer_size, and
// buffer != nullptr whenever a byte is copied to or from it.
#pragma once

#include <cstdint>

#include "orxutil/orxutil.h"

struct ORXFile {
  int handle;                   // OS descriptor; -1 once closed
  int32_t write_failed;         // a write transferred fewer bytes than asked; never cleared
  char name[ORXFILE_NAME_MAX];  // as passed to open or create
  uint8_t* buffer;              // null until first needed
  uint32_t buffer_size;         // 0: unbuffered
  uint32_t valid;               // reading: bytes of the last fill; writing: buffer_size
  uint32_t index;               // next byte in the buffer
  uint64_t os_position;  // reading: just after the buffered bytes; writing: where buffer[0] belongs
  uint64_t known_size;   // kSizeUnknown until first asked
  uint32_t bit_count;    // 0..7
  uint32_t bit_byte;     // the partial byte
  int32_t mode;          // kReading or kWriting
};

namespace glint::orxfile {

inline constexpr int32_t kReading = 0;
inline constexpr int32_t kWriting = 1;
inline constexpr uint64_t kSizeUnknown = ~uint64_t{0};

inline bool is_open(const ORXFile* f) { return f != nullptr && f->handle >= 0; }

// The position the caller sees. Reading, a partly used byte has not been
// read yet; writing, the pending bits are not in the file yet.
inline uint64_t logical_position(const ORXFile* f) {
  if (f->mode == kWriting) return f->os_position + f->index;
  return f->os_position - f->valid + f->index - (f->bit_count != 0 ? 1 : 0);
}

// Turns a writer into a reader (or the reverse) at the same logical
// position. Cheap no-ops when the record is already in that mode.
void begin_reading(ORXFile* f);
void begin_writing(ORXFile* f);

// Raw bytes from the logical byte cursor, ignoring the bit cursor. The
// record must be reading. Returns the bytes obtained (fewer at the end).
uint32_t read_raw(ORXFile* f, uint8_t* destination, uint32_t count);
// Raw bytes to the file at the byte cursor. The record must be writing.
uint32_t write_raw(ORXFile* f, const uint8_t* source, uint32_t count);

// Pads a pending partial byte with zeros (writing) or drops it (reading),
// then writes the buffered bytes. True when there were buffered bytes.
bool complete_output(ORXFile* f);

// Moves the logical position; returns the position before the move.
uint64_t seek(ORXFile* f, uint64_t position);

// The larger of the file's size and the logical position.
uint64_t file_size(ORXFile* f);

}  // namespace glint::orxfile
