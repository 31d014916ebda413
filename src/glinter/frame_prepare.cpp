// Preparing a frame: find its palette, audio and video chunks inside the
// record and decode its palette.
#include <cstring>

#include "glinter/glint_record.h"
#include "glinter/palette_decode.h"

namespace glint::glinter {

namespace {

FrameChunks locate_chunks(const uint8_t* record, uint64_t size, uint8_t type) {
  FrameChunks chunks;
  uint64_t at = 0;
  if (type & 1) {
    uint64_t length = size > 0 ? uint64_t(record[0]) * 4 : 0;
    if (length == 0 || length > size) {
      chunks.damaged = true;
      return chunks;
    }
    chunks.palette = {record + 1, static_cast<size_t>(length - 1)};
    at = length;
  }
  for (unsigned k = 0; k < GLINT_TRACKS; ++k) {
    if (!(type & (2u << k))) continue;
    uint64_t length = at + 4 <= size ? read_le32(record + at) : 0;
    if (length < 4 || length > size - at) {
      chunks.damaged = true;
      return chunks;
    }
    chunks.audio[k] = {record + at, static_cast<size_t>(length)};
    at += length;
  }
  chunks.video = {record + at, static_cast<size_t>(size - at)};
  return chunks;
}

}  // namespace

void prepare_frame(Glint* glint, uint32_t frame) {
  GlintState& state = *state_of(glint);
  glint->current_frame = frame;
  state.timing.released = false;
  if (frame == 0) std::memset(glint->palette, 0, sizeof glint->palette);

  if (frame >= state.entry_count || !state.frame) {
    state.chunks = FrameChunks{};
    state.chunks.damaged = true;
    glint->frame_bytes = glint->side_bytes = 0;
    glint->palette_updated = 0;
    return;
  }
  uint64_t size = state.offsets[frame + 1] - state.offsets[frame];
  glint->frame_bytes = static_cast<uint32_t>(size);
  state.chunks = locate_chunks(state.frame, size, state.types[frame]);
  glint->side_bytes = static_cast<uint32_t>(
      state.chunks.video.data() ? state.chunks.video.data() - state.frame : 0);
  glint->palette_updated = 0;
  if (state.chunks.damaged || !(state.types[frame] & 1)) return;

  std::array<uint8_t, 768> palette;
  std::memcpy(palette.data(), glint->palette, 768);
  decode_palette(state.chunks.palette, palette);
  std::memcpy(glint->palette, palette.data(), 768);
  glint->palette_updated = int64_t(frame) == state.palette_taken_frame ? 0 : 1;
}

}  // namespace glint::glinter
