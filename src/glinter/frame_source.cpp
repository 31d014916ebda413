// Reading frame records: straight from the whole-file buffer, or through the
// read-ahead ring, whose reads are 4,096-byte blocks at aligned positions.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "glinter/glint_record.h"
#include "glinter/sound_hook.h"

namespace glint::glinter {

namespace {

constexpr uint64_t kDirectPiece = 16384;

bool read_at(Glint* glint, uint64_t offset, uint8_t* destination, uint64_t count) {
  FrameSource& source = state_of(glint)->source;
  while (count > 0) {
    size_t piece = static_cast<size_t>(std::min<uint64_t>(count, 1u << 30));
    ssize_t got = pread(source.fd, destination, piece, static_cast<off_t>(source.base + offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      glint->read_failed = 1;
      return false;
    }
    destination += got;
    offset += static_cast<uint64_t>(got);
    count -= static_cast<uint64_t>(got);
  }
  return true;
}

// One read into the ring: up to the next 4,096 boundary or the end of the
// frame data. False when nothing could be read.
bool fill_block(Glint* glint) {
  FrameSource& source = state_of(glint)->source;
  if (source.window_end >= source.data_end) return false;
  uint64_t held = source.window_end - source.window_start;
  uint64_t length = kBlock - source.window_end % kBlock;
  length = std::min(length, source.data_end - source.window_end);
  if (source.ring_capacity - held < length) return false;
  uint8_t* at = source.ring.get() + source.window_end % source.ring_capacity;
  if (!read_at(glint, source.window_end, at, length)) return false;
  source.window_end += length;
  return true;
}

// Copies held bytes [offset, offset + count) out of the ring and drops
// everything before their end.
void take_from_ring(FrameSource& source, uint64_t offset, uint8_t* destination, uint64_t count) {
  while (count > 0) {
    uint64_t index = offset % source.ring_capacity;
    uint64_t piece = std::min(count, source.ring_capacity - index);
    std::memcpy(destination, source.ring.get() + index, piece);
    destination += piece;
    offset += piece;
    count -= piece;
  }
  source.window_start = offset;
}

bool fetch(Glint* glint, uint64_t offset, uint8_t* destination, uint64_t count) {
  FrameSource& source = state_of(glint)->source;
  if (offset < source.window_start || offset > source.window_end) {
    source.window_start = source.window_end = offset;  // a seek: the ring is emptied
  }
  source.window_start = offset;
  while (count > 0) {
    uint64_t held = source.window_end - offset;
    if (held > 0) {
      uint64_t piece = std::min(held, count);
      take_from_ring(source, offset, destination, piece);
      destination += piece;
      offset += piece;
      count -= piece;
      continue;
    }
    // The ring is empty: a large request reads straight into the
    // destination up to its last 4,096 boundary.
    uint64_t direct_end = (offset + count) / kBlock * kBlock;
    if (count > kBlock && direct_end > offset) {
      bool sound = state_of(glint)->timing_track >= 0;
      if (sound) sound_service();
      while (offset < direct_end) {
        uint64_t piece = std::min(direct_end - offset, kDirectPiece);
        if (!read_at(glint, offset, destination, piece)) return false;
        destination += piece;
        offset += piece;
        count -= piece;
        if (sound) sound_service();
      }
      source.window_start = source.window_end = offset;
      continue;
    }
    if (!fill_block(glint)) {
      glint->read_failed = 1;
      return false;
    }
  }
  return true;
}

}  // namespace

bool read_exact(Glint* glint, uint64_t offset, void* destination, uint64_t count) {
  return read_at(glint, offset, static_cast<uint8_t*>(destination), count);
}

bool load_frame(Glint* glint, uint32_t frame) {
  GlintState& state = *state_of(glint);
  FrameSource& source = state.source;
  if (frame >= state.entry_count) return false;  // a file without frames
  uint64_t begin = state.offsets[frame];
  uint64_t size = state.offsets[frame + 1] - begin;
  if (source.whole) {
    state.frame = source.whole.get() + begin;
    return true;
  }
  state.frame = source.frame_buffer.get();
  return fetch(glint, source.data_start + begin, source.frame_buffer.get(), size);
}

void read_ahead(Glint* glint) {
  GlintState& state = *state_of(glint);
  if (!state.source.whole && !glint->read_failed) fill_block(glint);
}

}  // namespace glint::glinter
