// The "waveOut" output: each track streams through two half-buffers of a
// quarter second. A half-buffer is done once the device has consumed it;
// when both are done the track has run dry. Only the real bytes of a
// half-buffer go to the device (the rest of it would be silence, which the
// device plays by itself).
//
// The position is what the device consumed, or, when the clock says more,
// the done half-buffers plus the part of the playing one that its time
// covers: a half-buffer's clock starts when it can start playing (not while
// the other still plays) and runs over its real bytes only, so the position
// never passes the bytes written even while the device reports nothing.
#include <algorithm>
#include <vector>

#include "glinter/glint_track.h"
#include "glinter/sound/sound_output.h"
#include "platform/audio.h"
#include "platform/platform.h"

namespace glint::glinter {
namespace {

// A device that has not started within this time is unusable.
constexpr uint32_t kStartTimeoutMs = 1000;

struct HalfBuffer {
  bool in_use = false;       // written and not yet known to be done
  uint64_t end = 0;          // device byte count at which it has been consumed
  uint64_t length = 0;       // its real bytes
  uint64_t start_micros = 0;  // when it starts playing by the clock
};

struct WaveOutTrack {
  GlintTrack* track = nullptr;
  platform::AudioHandle handle = 0;
  uint64_t half_size = 0;
  HalfBuffer halves[2];
  unsigned next = 0;            // the half to write when both are done
  uint64_t queued = 0;          // device byte count after the last write
  uint64_t origin = 0;          // device byte count where the counting restarted
  uint64_t played_before = 0;   // bytes played on earlier devices since the last reset
  uint64_t clock_end_micros = 0;  // when the last half-buffer written ends by the clock
  std::vector<uint8_t> buffer;  // for copying out of the ring (grows to a half-buffer at most)
};

std::vector<WaveOutTrack*> open_tracks;

WaveOutTrack* state_of(GlintTrack* track) {
  return track ? static_cast<WaveOutTrack*>(track->device) : nullptr;
}

platform::AudioFormat format_of(const GlintTrack& track) {
  return platform::AudioFormat{track.sample_rate, track.channels, track.bits};
}

// Opens the device and checks that it runs; the half-buffers start done.
bool open_device(WaveOutTrack& w) {
  const platform::AudioDriver& audio = platform::audio();
  const platform::AudioHandle handle = audio.open(format_of(*w.track), static_cast<int>(w.track->number));
  if (!handle) {
    sound_detail::log(*w.track, "WaveOut open failed - error #: " +
                                    std::to_string(sound_detail::kDeviceError) + "\r\n");
    return false;
  }
  if (!audio.wait_started(handle, kStartTimeoutMs)) {
    audio.clear(handle);
    audio.close(handle);
    return false;
  }
  w.handle = handle;
  w.halves[0] = w.halves[1] = HalfBuffer{};
  w.next = 0;
  w.clock_end_micros = 0;
  w.queued = w.origin = audio.played(handle);
  sound_detail::log(*w.track, "Using standard waveOut\r\n");
  return true;
}

// Drops what is queued and closes the device, keeping the count of what played.
void close_device(WaveOutTrack& w) {
  if (!w.handle) return;
  const platform::AudioDriver& audio = platform::audio();
  w.played_before += audio.played(w.handle) - w.origin;
  audio.clear(w.handle);
  audio.close(w.handle);
  w.handle = 0;
  w.halves[0] = w.halves[1] = HalfBuffer{};
}

void service_track(WaveOutTrack& w) {
  if (!w.handle) return;
  const platform::AudioDriver& audio = platform::audio();
  GlintTrack& track = *w.track;
  const uint64_t played = audio.played(w.handle);
  bool done[2];
  for (int i = 0; i < 2; ++i) {
    if (w.halves[i].in_use && played >= w.halves[i].end) w.halves[i].in_use = false;
    done[i] = !w.halves[i].in_use;
  }
  if (done[0] && done[1]) track.ran_dry.store(true, std::memory_order_relaxed);
  const uint64_t waiting = track_waiting(track);
  if (waiting < 4 || (!done[0] && !done[1])) return;
  const unsigned which = done[w.next] ? w.next : w.next ^ 1;
  uint64_t count = std::min(w.half_size, waiting);
  count -= count % std::max<uint32_t>(1, track.block_align);
  if (count == 0) return;
  if (w.buffer.size() < count) w.buffer.resize(count);  // never more than the ring holds
  const uint64_t taken = track_take(track, std::span<uint8_t>(w.buffer.data(), count));
  if (!audio.queue(w.handle, w.buffer.data(), taken)) return;  // lost, as a failed write would be
  w.queued += taken;
  const uint64_t now = platform::micros();
  const uint64_t start = std::max(now, w.clock_end_micros);
  w.clock_end_micros = start + taken * 1'000'000 / track.byte_rate;
  w.halves[which] = HalfBuffer{true, w.queued, taken, start};
  w.next = which ^ 1;
}

void service() {
  for (WaveOutTrack* w : open_tracks) service_track(*w);
}

bool open_track(GlintTrack* track, uint32_t /*open_flags*/) {
  if (!track || track->byte_rate == 0) return false;
  auto* w = new WaveOutTrack;
  w->track = track;
  w->half_size = wave_out_half_size(track->byte_rate);
  if (!open_device(*w)) {
    delete w;
    return false;
  }
  track->device = w;
  open_tracks.push_back(w);
  return true;
}

void close_track(GlintTrack* track) {
  WaveOutTrack* w = state_of(track);
  if (!w) return;
  close_device(*w);
  std::erase(open_tracks, w);
  delete w;
  track->device = nullptr;
}

// Where the device stands by the clock: every byte before the oldest
// half-buffer still playing, and of the playing ones the part their time
// covers.
uint64_t clock_count(const WaveOutTrack& w, uint64_t byte_rate) {
  const uint64_t now = platform::micros();
  uint64_t base = w.queued;
  uint64_t covered = 0;
  for (const HalfBuffer& h : w.halves) {
    if (!h.in_use) continue;
    base = std::min(base, h.end - h.length);
    const uint64_t elapsed = now - std::min(now, h.start_micros);
    const uint64_t duration = h.length * 1'000'000 / byte_rate;
    covered += elapsed >= duration ? h.length : elapsed * byte_rate / 1'000'000;
  }
  return std::min(w.queued, base + covered);
}

uint64_t position(GlintTrack* track) {
  WaveOutTrack* w = state_of(track);
  if (!w) return 0;
  service();
  uint64_t played = w->played_before;
  if (w->handle) {
    const uint64_t device = std::max(platform::audio().played(w->handle), clock_count(*w, track->byte_rate));
    played += device - std::min(device, w->origin);
  }
  return std::min(played, track->written.load(std::memory_order_acquire));
}

void reset(GlintTrack* track) {
  WaveOutTrack* w = state_of(track);
  if (!w) return;
  w->played_before = 0;
  if (!w->handle) return;
  const platform::AudioDriver& audio = platform::audio();
  audio.clear(w->handle);
  w->queued = w->origin = audio.played(w->handle);
  w->halves[0] = w->halves[1] = HalfBuffer{};
  w->clock_end_micros = 0;
  w->next = 0;
}

void stop(GlintTrack* track) {
  if (WaveOutTrack* w = state_of(track)) close_device(*w);
}

bool start(GlintTrack* track) {
  WaveOutTrack* w = state_of(track);
  if (!w) return false;
  return w->handle || open_device(*w);
}

const SoundSystem kWaveOut{open_track, close_track, position, reset, stop, start, service};

}  // namespace

const SoundSystem* wave_out_sound_system() { return &kWaveOut; }

}  // namespace glint::glinter
