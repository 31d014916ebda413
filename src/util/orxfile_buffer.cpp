// The byte layer under every ORXFile operation: the one buffer, its fills
// and flushes, mode switches, completing output and seeking.
//
// The record's OS position doubles as the OS file pointer: every transfer is
// a positioned read or write at it, so nothing else has to be kept in step.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "util/orxfile_record.h"

namespace glint::orxfile {
namespace {

// One transfer is split into pieces of this size so that every count fits
// the OS call comfortably.
constexpr uint64_t kMaxTransfer = uint64_t{1} << 30;
constexpr uint64_t kMaxOffset = static_cast<uint64_t>(std::numeric_limits<off_t>::max());

// Reads up to `count` bytes at `offset`; fewer at the end of the file or on
// an error.
uint32_t os_read(ORXFile* f, uint64_t offset, uint8_t* destination, uint32_t count) {
  uint32_t done = 0;
  while (done < count) {
    uint64_t at = offset + done;
    if (at > kMaxOffset) break;
    size_t piece = static_cast<size_t>(std::min<uint64_t>(count - done, kMaxTransfer));
    ssize_t got = pread(f->handle, destination + done, piece, static_cast<off_t>(at));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<uint32_t>(got);
  }
  return done;
}

// Writes `count` bytes at `offset`. A short write sets the write-failed flag.
// Everything that reaches the file raises a known size, so the cached size
// always covers the data written since it was asked.
uint32_t os_write(ORXFile* f, uint64_t offset, const uint8_t* source, uint32_t count) {
  uint32_t done = 0;
  while (done < count) {
    uint64_t at = offset + done;
    if (at > kMaxOffset) break;
    size_t piece = static_cast<size_t>(std::min<uint64_t>(count - done, kMaxTransfer));
    ssize_t put = pwrite(f->handle, source + done, piece, static_cast<off_t>(at));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    done += static_cast<uint32_t>(put);
  }
  if (done < count) f->write_failed = 1;
  if (done > 0 && f->known_size != kSizeUnknown) {
    f->known_size = std::max(f->known_size, offset + done);
  }
  return done;
}

// The buffer is allocated by the first transfer that needs it. Without
// memory the record goes on unbuffered.
void ensure_buffer(ORXFile* f) {
  if (f->buffer != nullptr || f->buffer_size == 0) return;
  f->buffer = static_cast<uint8_t*>(utilmalloc(f->buffer_size));
  if (f->buffer == nullptr) {
    f->buffer_size = 0;
    f->valid = 0;
    f->index = 0;
  }
}

void flush_buffer(ORXFile* f) {
  uint32_t written = os_write(f, f->os_position, f->buffer, f->index);
  f->os_position += written;
  f->index = 0;
}

// Puts one byte at the write cursor: into the buffer when it has room.
void write_byte(ORXFile* f, uint8_t byte) {
  if (f->buffer != nullptr && f->index < f->buffer_size) {
    f->buffer[f->index++] = byte;
    return;
  }
  write_raw(f, &byte, 1);
}

}  // namespace

void begin_reading(ORXFile* f) {
  if (f->mode == kReading) return;
  uint64_t position = logical_position(f);
  complete_output(f);
  f->mode = kReading;
  f->valid = f->buffer_size;
  f->index = f->valid;  // nothing buffered
  f->os_position = position;
  f->bit_count = 0;
  f->bit_byte = 0;
}

// Every reader turns into a writer on its first write, buffered or not: a
// partly read byte is dropped and writing starts at that byte, never after
// it with the read bits mixed in.
void begin_writing(ORXFile* f) {
  if (f->mode == kWriting) return;
  uint64_t position = logical_position(f);
  f->mode = kWriting;
  f->valid = f->buffer_size;
  f->index = 0;
  f->os_position = position;
  f->bit_count = 0;
  f->bit_byte = 0;
}

uint32_t read_raw(ORXFile* f, uint8_t* destination, uint32_t count) {
  ensure_buffer(f);
  uint32_t total = 0;
  uint32_t left = count;
  for (;;) {
    uint32_t take = std::min(left, f->valid - f->index);
    if (take > 0) {
      std::memcpy(destination + total, f->buffer + f->index, take);
      f->index += take;
      total += take;
      left -= take;
    }
    if (left == 0) return total;
    // A request at least as large as the last fill goes past the buffer.
    if (left >= f->valid) break;
    uint32_t got = os_read(f, f->os_position, f->buffer, f->buffer_size);
    f->valid = got;
    f->os_position += got;
    f->index = 0;
  }
  uint32_t got = os_read(f, f->os_position, destination + total, left);
  f->os_position += got;
  return total + got;
}

uint32_t write_raw(ORXFile* f, const uint8_t* source, uint32_t count) {
  ensure_buffer(f);
  uint32_t total = 0;
  uint32_t left = count;
  for (;;) {
    uint32_t room = f->buffer_size - f->index;
    // Into the buffer when it already collects bytes or all the rest fits.
    if (room > 0 && (f->index > 0 || left <= room)) {
      uint32_t take = std::min(left, room);
      std::memcpy(f->buffer + f->index, source + total, take);
      f->index += take;
      total += take;
      left -= take;
    }
    if (left == 0) return total;
    if (f->index > 0) flush_buffer(f);
    if (left >= f->buffer_size) break;
  }
  uint32_t written = os_write(f, f->os_position, source + total, left);
  f->os_position += written;
  return total + written;
}

bool complete_output(ORXFile* f) {
  if (f->mode == kWriting && f->bit_count != 0) {
    write_byte(f, static_cast<uint8_t>(f->bit_byte & ((1u << f->bit_count) - 1)));
  }
  f->bit_count = 0;
  f->bit_byte = 0;
  if (f->mode == kWriting && f->index > 0) {
    flush_buffer(f);
    return true;
  }
  return false;
}

uint64_t seek(ORXFile* f, uint64_t position) {
  uint64_t current = logical_position(f);
  if (position == current) return current;
  if (f->mode == kWriting) {
    complete_output(f);
  } else if (f->index < f->valid && f->os_position >= f->valid) {
    uint64_t span_start = f->os_position - f->valid;
    if (position >= span_start && position < f->os_position) {
      // Inside the buffered bytes: only the index moves. The partial byte
      // belongs to the old place, so it goes too.
      f->index = static_cast<uint32_t>(position - span_start);
      f->bit_count = 0;
      f->bit_byte = 0;
      return current;
    }
  }
  if (f->mode == kReading) f->index = f->valid;  // drop the buffered bytes
  f->os_position = position;
  f->bit_count = 0;
  f->bit_byte = 0;
  return current;
}

uint64_t file_size(ORXFile* f) {
  if (f->known_size == kSizeUnknown) {
    struct stat st {};
    f->known_size =
        fstat(f->handle, &st) == 0 && st.st_size > 0 ? static_cast<uint64_t>(st.st_size) : 0;
  }
  return std::max(f->known_size, logical_position(f));
}

}  // namespace glint::orxfile
