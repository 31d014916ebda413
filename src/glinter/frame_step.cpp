// Playing a record: output, decode, stepping (with the ring frame), waiting
// by the clock, and the process-wide reader choice.
#include <atomic>
#include <cstring>
#include <new>

#include "glinter/glint_record.h"
#include "glinter/sound_hook.h"
#include "glinter/video_decode.h"

using namespace glint::glinter;

namespace {

// The 64-bit bit reader plays the role of the MMX path; it is always there.
std::atomic<bool> g_use_wide_reader{true};

uint32_t coded_height(const Glint* glint) {
  return (glint->mode_flags & (GLINT_INTERLACED | GLINT_DOUBLED)) ? glint->height / 2
                                                                  : glint->height;
}

// The millisecond timer extended to 64 bits, in units of 10 microseconds.
uint64_t now_10us(Timing& timing) {
  uint32_t reading = ORXTimerRead();
  if (!timing.clock_started) {
    timing.clock_started = true;
    timing.timer_ms = reading;
  } else {
    timing.timer_ms += uint32_t(reading - timing.last_timer);
  }
  timing.last_timer = reading;
  return timing.timer_ms * 100;
}

void go_to(Glint* glint, uint32_t frame) {
  GlintState& state = *state_of(glint);
  if (!load_frame(glint, frame)) state.frame = nullptr;
  if (frame == 0) rewind_sound(glint);
  prepare_frame(glint, frame);
}

}  // namespace

extern "C" ORX_API void GlintSetOutput(Glint* glint, uint32_t x, uint32_t y, int32_t pitch,
                                       uint32_t buffer_height, void* buffer,
                                       uint32_t format_flags) {
  GlintState* state = state_of(glint);
  if (!state) return;
  if (!buffer) {
    state->output.reset();
    return;
  }
  if (!state->output) state->output.reset(new (std::nothrow) OutputDescriptor);
  if (!state->output) return;
  OutputDescriptor& out = *state->output;
  out.buffer = static_cast<uint8_t*>(buffer);
  out.pitch = pitch;
  out.buffer_height = buffer_height;
  out.dest_x = x;
  out.dest_y = y;
  out.bottom_up = format_flags & GLINT_OUTPUT_BOTTOM_UP;
  glint->dest_x = x;
  glint->dest_y = y;
  try {
    configure_output(out, glint->width, coded_height(glint), glint->mode_flags & GLINT_INTERLACED,
                     glint->mode_flags & GLINT_DOUBLED, std::memcmp(glint->magic, "GNT4", 4) == 0);
  } catch (const std::bad_alloc&) {
    state->output.reset();  // no change map: no output
  }
  state->rects.clear();
  state->rects_fresh = false;
}

extern "C" ORX_API int GlintDecodeFrame(Glint* glint) {
  GlintState* state = state_of(glint);
  if (!state || glint->read_failed) return 0;
  if (glint->palette_updated) state->palette_taken_frame = glint->current_frame;
  ++state->stats.frames_decoded;
  decode_frame_sound(glint);
  state->sound.found_due = false;
  const bool late = sound_frame_late(glint);
  const bool skip = late && !(glint->mode_flags & GLINT_NO_SKIP);
  if (skip) ++state->stats.frames_skipped;
  if (state->output && !skip) {
    OutputDescriptor& out = *state->output;
    state->rects_fresh = true;
    state->rects.clear();
    state->decoded_palette_change = glint->palette_updated != 0;
    if (state->chunks.damaged)
      std::memset(out.change_map.data(), 0, out.change_map.size());
    else
      decode_video(state->chunks.video, state->trees, out, g_use_wide_reader.load());
  }
  sound_service();
  return late ? 1 : 0;
}

extern "C" ORX_API void GlintAdvanceFrame(Glint* glint) {
  GlintState* state = state_of(glint);
  if (!state) return;
  if (glint->read_failed) {
    ++glint->current_frame;
    return;
  }
  const uint32_t frames = glint->frame_count;
  const bool ring = glint->header_flags & GLINT_HEADER_RING;
  uint32_t next = glint->current_frame + 1;
  if (glint->current_frame >= frames)
    next = 1;  // from the ring frame on to frame 1
  else if (next == frames)
    next = ring ? frames : 0;
  if (next >= state->entry_count) next = 0;
  go_to(glint, next);
}

extern "C" ORX_API void GlintGotoFrame(Glint* glint, uint32_t frame) {
  GlintState* state = state_of(glint);
  if (!state || glint->read_failed) return;
  uint32_t target = frame == 0 ? 0 : frame - 1;
  if (target == glint->current_frame || target >= state->entry_count) return;
  go_to(glint, target);
}

extern "C" ORX_API int GlintCheckWait(Glint* glint) {
  GlintState* state = state_of(glint);
  if (!state || glint->read_failed) return 0;
  Timing& timing = state->timing;
  // A period of 0 means no frame timing.
  if (timing.period_10us == 0) return 0;
  if (state->timing_track >= 0) {
    const int sound_wait = sound_check_wait(glint);
    if (sound_wait >= 0) return sound_wait;
  }
  const uint64_t period = timing.period_10us;
  const uint64_t now = now_10us(timing);
  if (!timing.started) {
    timing.started = true;
    timing.due = now + period;
    read_ahead(glint);
    return 1;
  }
  if (timing.released) return 0;
  if (now < timing.due) {
    read_ahead(glint);
    return 1;
  }
  timing.due += period;
  if (now > timing.due && now - timing.due > period) timing.due = now + period;
  timing.released = true;
  return 0;
}

extern "C" ORX_API int GlintSoundSwitch(Glint* glint, int on) {
  if (!state_of(glint)) return 0;
  return sound_switch(glint, on);
}

extern "C" ORX_API int GlintEnableMMX(int mode) {
  if (mode == 0) g_use_wide_reader.store(false);
  if (mode == 1) g_use_wide_reader.store(true);
  return g_use_wide_reader.load() ? 1 : 0;
}

extern "C" ORX_API int GlintFrameInfo(Glint* glint, uint32_t frame, uint32_t* size_entry,
                                      uint32_t* type_byte) {
  GlintState* state = state_of(glint);
  if (!state || frame >= state->entry_count) return 0;
  if (size_entry) *size_entry = state->size_entries[frame];
  if (type_byte) *type_byte = state->types[frame];
  return 1;
}
