// The "DirectSound" output: each track keeps up to half a second in flight
// in a buffer of its own. The service refills the buffer once more than a
// quarter of it is free; when the ring has run empty it marks the end of the
// real data (the rest of the buffer counts as silence) and writes nothing
// more until playback has passed that mark. Then the track is dry, and the
// next data starts again from the beginning of the buffer. The position is
// what the buffer has played, extrapolated by the clock while the device
// reports no progress, never beyond the bytes written and never below an
// earlier answer since the last reset, stop or start.
//
// All of it runs on the main thread; the busy counter still makes a service
// that starts inside another operation return at once.
#include <algorithm>
#include <atomic>
#include <sstream>
#include <vector>

#include "glinter/glint_track.h"
#include "glinter/sound/sound_output.h"
#include "platform/audio.h"
#include "platform/platform.h"

namespace glint::glinter {
namespace {

// The service does its work at most this often.
constexpr uint64_t kServiceIntervalMicros = 10'000;

struct DirectSoundTrack {
  GlintTrack* track = nullptr;
  platform::AudioHandle handle = 0;  // the track's buffer on the device
  uint64_t size = 0;                 // buffer size S
  bool dry = true;
  bool end_mark = false;
  uint64_t end_at = 0;        // device byte count where the real data ends (with end_mark)
  uint64_t write_offset = 0;  // in the buffer, 0..S-1
  uint64_t free_space = 0;    // as of the last service
  uint64_t last_played = 0;   // device byte count at the last service
  uint64_t queued = 0;        // device byte count after the last write
  uint64_t written = 0;       // real bytes written to the buffer since the last reset
  // Position: the last value read from the buffer, when it was first read,
  // and the lowest answer allowed from now on.
  uint64_t last_raw = 0;
  uint64_t last_raw_millis = 0;
  uint64_t floor = 0;
  std::vector<uint8_t> scratch;
};

std::vector<DirectSoundTrack*> open_tracks;
std::atomic<int> busy{0};
uint64_t last_service_micros = 0;
bool serviced_once = false;
bool object_created = false;  // the output's device object (stands for the DirectSound object)
uint32_t window = 0;

// Raised around every operation that touches the buffers.
struct BusyScope {
  BusyScope() { busy.fetch_add(1, std::memory_order_acq_rel); }
  ~BusyScope() { busy.fetch_sub(1, std::memory_order_acq_rel); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
};

DirectSoundTrack* state_of(GlintTrack* track) {
  return track ? static_cast<DirectSoundTrack*>(track->device) : nullptr;
}

std::string hex(const void* address) {
  std::ostringstream out;
  out << address;
  return out.str();
}

bool any_buffer() {
  return std::any_of(open_tracks.begin(), open_tracks.end(),
                     [](const DirectSoundTrack* d) { return d->handle != 0; });
}

bool create_object(const GlintTrack& track) {
  if (object_created) return true;
  if (!platform::audio().available()) {
    sound_detail::log(track, "Unable to create DirectSound object - error #: " +
                                 std::to_string(sound_detail::kDeviceError) + "\r\n");
    return false;
  }
  object_created = true;
  return true;
}

void release_object_if_unused() {
  if (!any_buffer()) object_created = false;
}

// A fresh buffer: silent, dry, nothing written to it yet.
bool create_buffer(DirectSoundTrack& d) {
  const platform::AudioDriver& audio = platform::audio();
  const platform::AudioFormat format{d.track->sample_rate, d.track->channels, d.track->bits};
  const int stream = static_cast<int>(d.track->number);
  platform::AudioHandle handle = audio.open(format, stream);
  if (!handle) handle = audio.open(format, stream);  // once more, as without global focus
  if (!handle) {
    sound_detail::log(*d.track, "Unable to create sound buffer - Error #: " +
                                    std::to_string(sound_detail::kDeviceError) + "\r\n");
    return false;
  }
  sound_detail::log(*d.track, "Created sound buffer #:" + std::to_string(handle) + "\r\n");
  d.handle = handle;
  d.dry = true;
  d.end_mark = false;
  d.write_offset = 0;
  d.free_space = d.size;
  d.queued = d.last_played = audio.played(handle);
  d.last_raw = d.last_raw_millis = d.floor = 0;
  return true;
}

// Drops what is in flight (it never played) and releases the buffer.
void release_buffer(DirectSoundTrack& d) {
  if (!d.handle) return;
  const platform::AudioDriver& audio = platform::audio();
  const uint64_t played = audio.played(d.handle);
  d.written -= std::min(d.written, d.queued - std::min(d.queued, played));
  audio.clear(d.handle);
  audio.close(d.handle);
  d.handle = 0;
  d.dry = true;
  d.end_mark = false;
  d.free_space = d.size;
  d.last_raw = d.last_raw_millis = d.floor = 0;
}

// Playback ran out: the buffer stops and is rewound to its start.
void go_dry(DirectSoundTrack& d) {
  const platform::AudioDriver& audio = platform::audio();
  audio.clear(d.handle);
  d.queued = d.last_played = audio.played(d.handle);
  d.dry = true;
  d.end_mark = false;
  d.write_offset = 0;
  d.free_space = d.size;
  d.track->ran_dry.store(true, std::memory_order_relaxed);
}

void write_real(DirectSoundTrack& d, uint64_t count) {
  GlintTrack& track = *d.track;
  if (d.scratch.size() < count) d.scratch.resize(count);
  const uint64_t taken = track_take(track, std::span<uint8_t>(d.scratch.data(), count));
  const uint64_t whole = taken - taken % std::max<uint32_t>(1, track.block_align);
  if (whole && !platform::audio().queue(d.handle, d.scratch.data(), whole)) return;
  d.queued += whole;
  d.written += whole;
  d.free_space -= std::min(d.free_space, taken);
  d.write_offset = (d.write_offset + taken) % d.size;
}

void service_track(DirectSoundTrack& d) {
  const platform::AudioDriver& audio = platform::audio();
  GlintTrack& track = *d.track;
  const uint64_t size = d.size;
  // 1. How much room there is.
  if (d.dry) {
    d.free_space = size;
    d.write_offset = 0;
  } else {
    const uint64_t played = audio.played(d.handle);
    d.free_space = std::min(size, d.free_space + (played - std::min(played, d.last_played)));
    d.last_played = std::max(d.last_played, played);
    if ((d.end_mark && played >= d.end_at) || d.free_space >= size) go_dry(d);
  }
  // 2. Refill, or mark the end of the data.
  bool wrote = false;
  if (d.free_space > size / 4 && !d.end_mark) {
    const uint64_t waiting = track_waiting(track);
    if (waiting >= 4) {
      const uint64_t count = std::min(d.free_space, waiting) / 4 * 4;
      write_real(d, count);
      wrote = true;
    } else if (d.free_space > size * 4 / 5 && !d.dry) {
      // The waiting bytes and a quarter of the buffer of silence, which
      // counts only for the write offset.
      const uint64_t padding = size / 16 * 4;
      if (waiting) write_real(d, waiting);
      d.write_offset = (d.write_offset + padding) % size;
      d.end_mark = true;
      d.end_at = d.queued;
    }
  }
  // 3. Data after a dry spell: play again from the start of the buffer.
  if (d.dry && wrote) d.dry = false;
}

void service() {
  if (busy.fetch_add(1, std::memory_order_acq_rel) != 0) {
    busy.fetch_sub(1, std::memory_order_acq_rel);
    return;
  }
  const uint64_t now = platform::micros();
  if (!serviced_once || now - last_service_micros >= kServiceIntervalMicros) {
    serviced_once = true;
    last_service_micros = now;
    for (DirectSoundTrack* d : open_tracks)
      if (d->handle) service_track(*d);
  }
  busy.fetch_sub(1, std::memory_order_acq_rel);
}

bool open_track(GlintTrack* track, uint32_t /*open_flags*/) {
  if (!track || track->byte_rate == 0) return false;
  BusyScope guard;
  sound_detail::log(*track, "Using DirectSound\n\r\n");
  if (!create_object(*track)) return false;
  sound_detail::log(*track, "DirectSound using HWND: " + std::to_string(window) + "\r\n");
  sound_detail::log(*track, "Using lpDS: " + hex(&object_created) + "\r\n");
  auto* d = new DirectSoundTrack;
  d->track = track;
  d->size = direct_sound_buffer_size(track->byte_rate);
  if (!create_buffer(*d)) {
    delete d;
    release_object_if_unused();
    return false;
  }
  track->device = d;
  open_tracks.push_back(d);
  return true;
}

void close_track(GlintTrack* track) {
  DirectSoundTrack* d = state_of(track);
  if (!d) return;
  BusyScope guard;
  std::erase(open_tracks, d);
  release_buffer(*d);
  release_object_if_unused();
  delete d;
  track->device = nullptr;
}

uint64_t position(GlintTrack* track) {
  DirectSoundTrack* d = state_of(track);
  if (!d) return 0;
  service();
  const uint64_t in_flight = d->size - std::min(d->size, d->free_space);
  const uint64_t raw = d->written - std::min(d->written, in_flight);
  const uint64_t now = platform::micros() / 1000;
  uint64_t result = raw;
  if (raw == d->last_raw && raw != 0) {
    // Capped so the product stays in range; the answer is capped far below anyway.
    const uint64_t elapsed = std::min<uint64_t>(now - std::min(now, d->last_raw_millis), 1u << 31);
    result = std::min(raw + elapsed * track->byte_rate / 1000, d->written);
  } else {
    d->last_raw = raw;
    d->last_raw_millis = now;
  }
  result = std::max(result, d->floor);
  d->floor = result;
  return std::min(result, track->written.load(std::memory_order_acquire));
}

void reset(GlintTrack* track) {
  DirectSoundTrack* d = state_of(track);
  if (!d) return;
  BusyScope guard;
  if (d->handle) {
    platform::audio().clear(d->handle);
    d->queued = d->last_played = platform::audio().played(d->handle);
  }
  d->dry = true;
  d->end_mark = false;
  d->write_offset = 0;
  d->free_space = d->size;
  d->written = 0;
  d->last_raw = d->last_raw_millis = d->floor = 0;
}

void stop(GlintTrack* track) {
  DirectSoundTrack* d = state_of(track);
  if (!d) return;
  BusyScope guard;
  release_buffer(*d);
  release_object_if_unused();
}

bool start(GlintTrack* track) {
  DirectSoundTrack* d = state_of(track);
  if (!d) return false;
  if (d->handle) return true;
  BusyScope guard;
  if (create_object(*track) && create_buffer(*d)) return true;
  release_object_if_unused();
  return false;
}

const SoundSystem kDirectSound{open_track, close_track, position, reset, stop, start, service};

}  // namespace

const SoundSystem* direct_sound_sound_system() { return &kDirectSound; }

void direct_sound_set_window(uint32_t new_window) { window = new_window; }

}  // namespace glint::glinter
