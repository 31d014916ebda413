// Opening and closing a record's audio tracks: the ring and the start
// threshold of each, the timing track, and the process-wide chunk scratch
// that all tracks share.
#include <cstring>
#include <new>

#include "glinter/audio_chunk.h"
#include "glinter/debug_log.h"
#include "glinter/glint_record.h"
#include "glinter/sound_hook.h"
#include "glinter/track_sizes.h"

namespace glint::glinter {

namespace {

constexpr uint32_t kTransformBits = 3u << 26;
constexpr uint32_t kTransformPresentBit = 1u << 26;
constexpr uint32_t kDataBit = 1u << 30;
constexpr uint32_t kCompressedBit = 1u << 31;
// A ring beyond this (over a minute and a half of 44.1 kHz 16-bit stereo)
// only comes from a damaged header: rate and period far outside any sound.
constexpr uint64_t kMaxRingBytes = uint64_t(16) << 20;

// Decoding runs on the caller's thread one chunk at a time, so one scratch
// serves every track of every record.
int g_track_count = 0;
AlignedBytes g_scratch;

bool track_present(uint32_t format) {
  return (format & (kDataBit | kTransformPresentBit)) && (format & 0xFFFFFF) != 0;
}

// Makes the track record and its ring; null when the track cannot play.
std::unique_ptr<GlintTrack> make_track(uint32_t number, uint32_t format, const TrackSizes& sizes) {
  std::unique_ptr<GlintTrack> track(new (std::nothrow) GlintTrack);
  if (!track) return nullptr;
  track->number = number;
  track->format = format;
  track->sample_rate = format & 0xFFFFFF;
  track->channels = (format >> 28) & 1 ? 2 : 1;
  track->bits = (format >> 29) & 1 ? 16 : 8;
  track->block_align = track->channels * track->bits / 8;
  track->byte_rate = static_cast<uint32_t>(sizes.byte_rate);
  track->debug = debug_enabled();
  track->ring = make_aligned_bytes(sizes.ring_bytes);
  if (!track->ring) return nullptr;
  track->ring_size = sizes.ring_bytes;
  // Silence from the start: a resume that rewinds the ring never plays
  // bytes that were not written.
  std::memset(track->ring.get(), track_silence(*track), sizes.ring_bytes);
  return track;
}

}  // namespace

std::span<uint32_t> audio_scratch() {
  if (!g_scratch) return {};
  return {reinterpret_cast<uint32_t*>(g_scratch.get()), kAudioScratchBytes / 4};
}

int open_track_count() { return g_track_count; }

void open_tracks(Glint* glint, uint32_t flags) {
  GlintState& state = *state_of(glint);
  for (uint32_t k = 0; k < GLINT_TRACKS; ++k) {
    if (!(flags & GLINT_TRACK(k))) continue;
    if (!sound_system()) install_sound_system(default_sound_system());
    const SoundSystem* sound = sound_system();
    const uint32_t format = glint->track_format[k];
    // Transform-coded tracks have no decoder here yet: they are dropped
    // (with bit 31 clear their chunks are raw PCM, whatever bits 26-27 say).
    const bool transform = (format & kTransformBits) && (format & kCompressedBit);
    if (!sound || !track_present(format) || transform) continue;
    const TrackSizes sizes = track_sizes(format, state.timing.period_10us, glint->frame_count);
    if (sizes.ring_bytes > kMaxRingBytes) continue;
    if (!g_scratch) {
      g_scratch = make_aligned_bytes(kAudioScratchBytes);
      if (!g_scratch) continue;
    }
    std::unique_ptr<GlintTrack> track = make_track(k, format, sizes);
    if (!track || !sound->open_track || !sound->open_track(track.get(), glint->mode_flags)) {
      if (g_track_count == 0) g_scratch.reset();
      continue;
    }
    TrackSlot& slot = state.tracks[k];
    slot = TrackSlot{};
    slot.track = std::move(track);
    slot.start_threshold = sizes.start_threshold;
    slot.frame_bytes_q10 = sizes.frame_bytes_q10;
    ++g_track_count;
    glint->mode_flags |= GLINT_TRACK(k);
    if (state.timing_track < 0) {
      state.timing_track = int(k);
      state.sound = SoundTiming{};
      state.sound.late_q10 = sizes.byte_rate * 512;  // half a second ahead
    }
  }
}

void close_tracks(GlintState& state) {
  const SoundSystem* sound = sound_system();
  for (TrackSlot& slot : state.tracks) {
    if (!slot.track) continue;
    if (sound && sound->close_track) sound->close_track(slot.track.get());
    slot = TrackSlot{};
    if (g_track_count > 0) --g_track_count;
  }
  state.timing_track = -1;
  if (g_track_count == 0) g_scratch.reset();
}

}  // namespace glint::glinter
