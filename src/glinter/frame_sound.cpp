// A frame's sound: each open track's chunk into its ring (raw copy or the
// compressed-chunk decoder), the silence pre-roll after the output ran dry,
// and the begin and late marks that time the frames by the sound.
#include <algorithm>
#include <cstring>

#include "glinter/audio_chunk.h"
#include "glinter/glint_record.h"
#include "glinter/sound_hook.h"

namespace glint::glinter {

namespace {

constexpr uint32_t kCompressedBit = 1u << 31;

uint64_t round_down(uint64_t value, uint64_t step) { return step > 1 ? value / step * step : value; }

uint64_t half_second_q10(const GlintTrack& track) { return uint64_t(track.byte_rate) * 512; }

// Copies `count` bytes (or writes `count` silence bytes when `from` is null)
// at the write position, wrapping at the ring's end.
void ring_put(GlintTrack& track, const uint8_t* from, uint64_t count) {
  uint64_t pos = track.write_pos;
  while (count > 0) {
    const uint64_t piece = std::min(count, track.ring_size - pos);
    if (from) {
      std::memcpy(track.ring.get() + pos, from, piece);
      from += piece;
    } else {
      std::memset(track.ring.get() + pos, track_silence(track), piece);
    }
    count -= piece;
    pos = (pos + piece) % track.ring_size;
  }
}

// Makes `count` bytes written at the write position visible to the output.
void ring_commit(GlintTrack& track, uint64_t count) {
  track.write_pos = (track.write_pos + count) % track.ring_size;
  track.written.fetch_add(count, std::memory_order_release);
}

// The bytes of PCM that a chunk announces: its second field (compressed),
// its length - 4 (raw), 0 without a chunk.
uint64_t announced_bytes(std::span<const uint8_t> chunk, bool compressed) {
  if (chunk.size() < 4) return 0;
  if (!compressed) return chunk.size() - 4;
  return chunk.size() >= 8 ? read_le32(chunk.data() + 4) : 0;
}

void decode_track(TrackSlot& slot, std::span<const uint8_t> chunk) {
  GlintTrack& track = *slot.track;
  const bool compressed = track.format & kCompressedBit;
  const uint64_t align = std::max<uint32_t>(1, track.block_align);
  // Whole sample frames only: a stray byte would shift every later sample.
  uint64_t size = round_down(announced_bytes(chunk, compressed), align);
  const uint64_t waiting = track_waiting(track);
  const uint64_t free = round_down(track.ring_size - std::min(waiting, track.ring_size), align);
  if (size > free) {
    ++slot.overflows;
    size = free;
  }

  if (slot.dry_seen) {
    slot.dry_seen = false;
    track.ran_dry.store(false, std::memory_order_relaxed);
  } else if (size > 0 && track.ran_dry.load(std::memory_order_relaxed)) {
    // A frame without sound leaves the report to the frame that brings
    // some: silence before nothing would only delay the frames after it.
    slot.dry_seen = true;
    if (size < slot.start_threshold && slot.had_data) {
      uint64_t silence = slot.start_threshold - size;
      if (track.ring_size < waiting + slot.start_threshold) silence = free - size;
      silence = round_down(silence, align);
      if (silence > 0) {
        ring_put(track, nullptr, silence);
        ring_commit(track, silence);
        ++slot.prerolls;
        slot.preroll_bytes += silence;
      }
    }
  }
  if (size == 0) return;

  uint64_t done = 0;
  if (!compressed) {
    ring_put(track, chunk.data() + 4, size);
    done = size;
  } else {
    done = decode_audio_chunk(chunk.subspan(8), size, audio_scratch(),
                              RingSpan{track.ring.get(), track.ring_size}, track.write_pos);
  }
  if (done == 0) return;
  ring_commit(track, done);
  slot.had_data = true;
}

const SoundSystem* table() { return sound_system(); }

GlintTrack* timing_track(GlintState& state) {
  return state.timing_track >= 0 ? state.tracks[state.timing_track].track.get() : nullptr;
}

}  // namespace

void decode_frame_sound(Glint* glint) {
  GlintState& state = *state_of(glint);
  GlintTrack* timing = timing_track(state);
  if (!timing || state.sound.paused) return;
  const TrackSlot& timing_slot = state.tracks[state.timing_track];
  state.sound.begin_q10 += state.sound.pending_q10;
  state.sound.late_q10 += state.sound.pending_q10;
  state.sound.pending_q10 = timing_slot.frame_bytes_q10;

  for (unsigned k = 0; k < GLINT_TRACKS; ++k) {
    TrackSlot& slot = state.tracks[k];
    if (slot.track) decode_track(slot, state.chunks.audio[k]);
  }

  // The sound ran short of the frames (a file whose sound ends early):
  // the begin mark never passes what was written, or the frames would wait
  // for sound that never comes.
  const uint64_t written_q10 = timing->written.load(std::memory_order_relaxed) << 10;
  // Less than half of the last frame's share came (rounding never loses that much).
  state.sound.ran_short = written_q10 < state.sound.begin_q10 + state.sound.pending_q10 / 2;
  if (written_q10 < state.sound.begin_q10) {
    state.sound.late_q10 = state.sound.late_q10 - state.sound.begin_q10 + written_q10;
    state.sound.begin_q10 = written_q10;
  }
}

bool sound_frame_late(Glint* glint) {
  GlintState& state = *state_of(glint);
  GlintTrack* timing = timing_track(state);
  const SoundSystem* sound = table();
  if (!timing || !sound || !sound->position || state.sound.paused || state.timing.period_10us == 0)
    return false;
  return (sound->position(timing) << 10) >= state.sound.late_q10;
}

int sound_check_wait(Glint* glint) {
  GlintState& state = *state_of(glint);
  GlintTrack* timing = timing_track(state);
  const SoundSystem* sound = table();
  if (state.sound.paused || state.sound.found_due || !sound || !sound->position) return 0;
  if (state.sound.ran_short) return -1;  // no sound to wait for: the clock decides
  if ((sound->position(timing) + 8) << 10 >= state.sound.begin_q10) {
    state.sound.found_due = true;
    return 0;
  }
  read_ahead(glint);
  return 1;
}

void rewind_sound(Glint* glint) {
  GlintState& state = *state_of(glint);
  GlintTrack* timing = timing_track(state);
  if (!timing) return;
  const SoundSystem* sound = table();
  for (TrackSlot& slot : state.tracks) {
    if (!slot.track) continue;
    GlintTrack& track = *slot.track;
    if (sound && sound->reset) sound->reset(&track);
    // The output has stopped and emptied its side: both ends of the ring
    // start again.
    track.write_pos = track.read_pos = 0;
    track.written.store(0, std::memory_order_relaxed);
    track.taken.store(0, std::memory_order_relaxed);
    track.ran_dry.store(false, std::memory_order_relaxed);
    std::memset(track.ring.get(), track_silence(track), track.ring_size);
    slot.had_data = slot.dry_seen = false;
  }
  state.sound.begin_q10 = state.sound.pending_q10 = 0;
  state.sound.late_q10 = half_second_q10(*timing);
  state.sound.found_due = state.sound.ran_short = false;
}

int sound_switch(Glint* glint, int on) {
  GlintState& state = *state_of(glint);
  GlintTrack* timing = timing_track(state);
  const SoundSystem* sound = table();
  if (!timing || !sound) return 1;
  if (!on) {
    if (state.sound.paused) return 1;
    state.sound.paused = true;
    state.sound.paused_frame = glint->current_frame;
    for (TrackSlot& slot : state.tracks)
      if (slot.track && sound->stop) sound->stop(slot.track.get());
    return 1;
  }
  if (!state.sound.paused) return 1;
  for (unsigned k = 0; k < GLINT_TRACKS; ++k) {
    TrackSlot& slot = state.tracks[k];
    if (!slot.track) continue;
    GlintTrack& track = *slot.track;
    const uint64_t played = sound->position ? sound->position(&track) : 0;
    const bool is_timing = int(k) == state.timing_track;
    if (glint->current_frame == 0) {
      if (is_timing) {
        state.sound.begin_q10 = state.sound.pending_q10 = 0;
        state.sound.late_q10 = half_second_q10(track);
      }
    } else {
      // Stopping dropped what the device held and had not played. The read
      // side goes back to the play position, so those bytes play after all
      // and the position keeps counting each written byte once (the marks
      // stay valid). Bytes that newer data overwrote cannot come back. The
      // output is stopped, so its end of the ring may move here.
      const uint64_t written = track.written.load(std::memory_order_relaxed);
      const uint64_t taken = track.taken.load(std::memory_order_relaxed);
      const uint64_t oldest = written > track.ring_size ? written - track.ring_size : 0;
      const uint64_t from = std::min(taken, std::max(played, oldest));
      track.taken.store(from, std::memory_order_relaxed);
      track.read_pos = (track.read_pos + track.ring_size - (taken - from) % track.ring_size) %
                       track.ring_size;
      if (glint->current_frame != state.sound.paused_frame) {
        // The sound before the pause no longer leads to this frame.
        uint64_t pos = track.read_pos;
        for (uint64_t left = written - from; left > 0;) {
          const uint64_t piece = std::min(left, track.ring_size - pos);
          std::memset(track.ring.get() + pos, track_silence(track), piece);
          left -= piece;
          pos = (pos + piece) % track.ring_size;
        }
      }
    }
    if (sound->start && !sound->start(&track)) return 0;
    sound_service();
    track.ran_dry.store(false, std::memory_order_relaxed);
    slot.dry_seen = false;
  }
  state.sound.paused = false;
  state.sound.found_due = false;
  return 1;
}

}  // namespace glint::glinter
