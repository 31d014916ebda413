// The headless audio service: virtual devices on the virtual clock, with
// captures to WAV files and injectable faults (headless_audio.h).
#include "platform/headless/headless_audio.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/audio_drivers.h"
#include "platform/platform.h"

namespace glint::platform {
namespace {

constexpr uint64_t kMicrosPerSecond = 1'000'000;
// Longer gaps than this (a day) are treated as this, so byte counts cannot overflow.
constexpr uint64_t kMaxStepMicros = 86'400 * kMicrosPerSecond;

struct Capture {
  std::string path;  // GLINT_AUDIO_CAPTURE when the capture began
  int stream = 0;
  AudioFormat format;
  std::vector<uint8_t> data;
  std::string written_as;  // the file written last ("" if none yet)
};

struct Stream {
  AudioFormat format;
  uint32_t byte_rate = 0;
  uint32_t block = 1;
  bool started = false;
  std::vector<uint8_t> queue;  // bytes from `head` on wait to be consumed
  uint64_t head = 0;
  uint64_t played = 0;
  uint64_t last_micros = 0;
  uint64_t credit = 0;  // consumption owed, in bytes x 1e6 (fractions of a byte)
  Capture* capture = nullptr;
};

struct State {
  std::mutex mutex;
  std::map<AudioHandle, Stream> streams;
  AudioHandle next_handle = 1;
  std::vector<std::unique_ptr<Capture>> captures;
  std::optional<headless::AudioFault> fault_override;
  bool stalled_override = false;
  bool exit_hook = false;
};

State& state() {
  static State s;
  return s;
}

// The words of GLINT_HEADLESS_AUDIO.
bool env_has(const char* word) {
  const char* env = std::getenv("GLINT_HEADLESS_AUDIO");
  if (!env) return false;
  const size_t n = std::strlen(word);
  for (const char* p = env; *p;) {
    const char* end = std::strchr(p, ',');
    const size_t len = end ? static_cast<size_t>(end - p) : std::strlen(p);
    if (len == n && !strncasecmp(p, word, n)) return true;
    if (!end) break;
    p = end + 1;
  }
  return false;
}

headless::AudioFault current_fault(const State& s) {
  if (s.fault_override) return *s.fault_override;
  if (env_has("missing")) return headless::AudioFault::missing;
  if (env_has("fail")) return headless::AudioFault::open_fails;
  if (env_has("nostart")) return headless::AudioFault::never_starts;
  return headless::AudioFault::none;
}

bool stalled(const State& s) { return s.stalled_override || env_has("stall"); }

// ---- captures ----

void put_u16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void put_u32(std::vector<uint8_t>& out, uint32_t v) {
  put_u16(out, v & 0xFFFF);
  put_u16(out, v >> 16);
}

std::vector<uint8_t> wav_header(const AudioFormat& f, uint64_t data_size) {
  const uint32_t size = static_cast<uint32_t>(std::min<uint64_t>(data_size, 0xFFFFFFFFu - 36));
  const uint32_t block = f.channels * (f.bits / 8);
  std::vector<uint8_t> h;
  h.insert(h.end(), {'R', 'I', 'F', 'F'});
  put_u32(h, 36 + size);
  h.insert(h.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put_u32(h, 16);
  put_u16(h, 1);  // PCM
  put_u16(h, f.channels);
  put_u32(h, f.rate);
  put_u32(h, f.rate * block);
  put_u16(h, block);
  put_u16(h, f.bits);
  h.insert(h.end(), {'d', 'a', 't', 'a'});
  put_u32(h, size);
  return h;
}

// PATH.wav with "-suffix" before the extension.
std::string suffixed(const std::string& path, const std::string& suffix) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return path + "-" + suffix;
  return path.substr(0, dot) + "-" + suffix + path.substr(dot);
}

// How many tracks (not the tone) have been captured to this path.
unsigned tracks_captured(const State& s, const std::string& path) {
  unsigned n = 0;
  for (const auto& c : s.captures)
    if (c->path == path && c->stream != kAudioStreamTone) ++n;
  return n;
}

std::string capture_name(const State& s, const Capture& c) {
  if (c.stream == kAudioStreamTone) return suffixed(c.path, "tone");
  if (tracks_captured(s, c.path) > 1) return suffixed(c.path, std::to_string(c.stream));
  return c.path;
}

void write_capture(const State& s, Capture& c) {
  const std::string name = capture_name(s, c);
  const std::string temp = name + ".tmp" + std::to_string(getpid());
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) {
    debug_output(("audio: cannot write capture " + temp + "\n").c_str());
    return;
  }
  const std::vector<uint8_t> header = wav_header(c.format, c.data.size());
  bool ok = std::fwrite(header.data(), 1, header.size(), f) == header.size();
  if (ok && !c.data.empty()) ok = std::fwrite(c.data.data(), 1, c.data.size(), f) == c.data.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), name.c_str()) != 0) {
    std::remove(temp.c_str());
    debug_output(("audio: cannot write capture " + name + "\n").c_str());
    return;
  }
  c.written_as = name;
}

// A second track on a path: the first one's plain PATH.wav takes its track name.
void rename_plain_capture(State& s, const std::string& path) {
  for (const auto& c : s.captures) {
    if (c->path != path || c->stream == kAudioStreamTone || c->written_as != path) continue;
    const std::string name = suffixed(path, std::to_string(c->stream));
    if (std::rename(path.c_str(), name.c_str()) == 0) c->written_as = name;
  }
}

void update(State& s, Stream& st);

void write_all_at_exit() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  for (auto& [handle, st] : s.streams) update(s, st);
  for (auto& c : s.captures) write_capture(s, *c);
}

Capture* capture_for(State& s, const AudioFormat& format, int stream) {
  const char* env = std::getenv("GLINT_AUDIO_CAPTURE");
  if (!env || !*env) return nullptr;
  const std::string path = env;
  for (auto& c : s.captures) {
    if (c->path != path || c->stream != stream) continue;
    if (c->format.rate != format.rate || c->format.channels != format.channels ||
        c->format.bits != format.bits) {
      c->format = format;  // a new format starts the track's file again
      c->data.clear();
    }
    return c.get();
  }
  const bool second_track = stream != kAudioStreamTone && tracks_captured(s, path) == 1;
  s.captures.push_back(std::make_unique<Capture>(Capture{path, stream, format, {}, ""}));
  if (second_track) rename_plain_capture(s, path);
  if (!s.exit_hook) {
    s.exit_hook = true;
    std::atexit(write_all_at_exit);
  }
  return s.captures.back().get();
}

// ---- the virtual device ----

// Consumes what the time since the last update allows.
void update(State& s, Stream& st) {
  const uint64_t now = micros();
  const uint64_t elapsed = std::min(now - std::min(now, st.last_micros), kMaxStepMicros);
  st.last_micros = now;
  if (!st.started || stalled(s)) {
    st.credit = 0;
    return;
  }
  st.credit += elapsed * st.byte_rate;
  uint64_t can = st.credit / kMicrosPerSecond;
  can -= can % st.block;
  const uint64_t waiting = st.queue.size() - st.head;
  const uint64_t n = std::min(can, waiting);
  if (n < can) {
    st.credit = 0;  // starved: the rest of the time was silence
  } else {
    st.credit -= n * kMicrosPerSecond;
  }
  if (n == 0) return;
  if (st.capture)
    st.capture->data.insert(st.capture->data.end(), st.queue.begin() + st.head,
                            st.queue.begin() + st.head + n);
  st.head += n;
  st.played += n;
  if (st.head == st.queue.size()) {
    st.queue.clear();
    st.head = 0;
  } else if (st.head > 65536 && st.head * 2 > st.queue.size()) {
    st.queue.erase(st.queue.begin(), st.queue.begin() + st.head);
    st.head = 0;
  }
}

Stream* find(State& s, AudioHandle handle) {
  auto it = s.streams.find(handle);
  return it == s.streams.end() ? nullptr : &it->second;
}

bool available() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  return current_fault(s) != headless::AudioFault::missing;
}

AudioHandle open(const AudioFormat& format, int stream) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  const headless::AudioFault fault = current_fault(s);
  if (fault == headless::AudioFault::missing || fault == headless::AudioFault::open_fails)
    return 0;
  if ((format.bits != 8 && format.bits != 16) || format.channels < 1 || format.channels > 2 ||
      format.rate == 0 || format.rate > 1'000'000)
    return 0;
  Stream st;
  st.format = format;
  st.block = format.channels * (format.bits / 8);
  st.byte_rate = audio_byte_rate(format);
  st.started = fault != headless::AudioFault::never_starts;
  st.last_micros = micros();
  st.capture = capture_for(s, format, stream);
  const AudioHandle handle = s.next_handle++;
  if (s.next_handle == 0) s.next_handle = 1;
  s.streams.emplace(handle, std::move(st));
  return handle;
}

bool wait_started(AudioHandle handle, uint32_t timeout_ms) {
  State& s = state();
  std::unique_lock lock(s.mutex);
  Stream* st = find(s, handle);
  if (!st) return false;
  if (st->started) return true;
  lock.unlock();
  sleep_ms(timeout_ms);  // a device that never starts keeps the caller the whole time
  return false;
}

bool queue(AudioHandle handle, const uint8_t* bytes, uint64_t count) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  Stream* st = find(s, handle);
  if (!st || (count && !bytes)) return false;
  update(s, *st);
  st->queue.insert(st->queue.end(), bytes, bytes + count);
  return true;
}

uint64_t played(AudioHandle handle) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  Stream* st = find(s, handle);
  if (!st) return 0;
  update(s, *st);
  return st->played;
}

void clear(AudioHandle handle) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  Stream* st = find(s, handle);
  if (!st) return;
  update(s, *st);
  st->queue.clear();
  st->head = 0;
}

void close_locked(State& s, AudioHandle handle) {
  Stream* st = find(s, handle);
  if (!st) return;
  update(s, *st);
  if (st->capture) write_capture(s, *st->capture);
  s.streams.erase(handle);
}

void close(AudioHandle handle) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  close_locked(s, handle);
}

}  // namespace

const AudioDriver headless_audio{available, open, wait_started, queue, played, clear, close};

namespace headless {

void set_audio_fault(AudioFault fault) {
  std::lock_guard lock(state().mutex);
  state().fault_override = fault;
}

void set_audio_stalled(bool on) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  // Consumption up to now happens before the stall begins or ends.
  for (auto& [handle, st] : s.streams) update(s, st);
  s.stalled_override = on;
}

unsigned audio_streams_open() {
  std::lock_guard lock(state().mutex);
  return static_cast<unsigned>(state().streams.size());
}

uint64_t audio_pending(AudioHandle handle) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  Stream* st = find(s, handle);
  if (!st) return 0;
  update(s, *st);
  return st->queue.size() - st->head;
}

void reset_audio() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  while (!s.streams.empty()) close_locked(s, s.streams.begin()->first);
  s.captures.clear();
  s.fault_override.reset();
  s.stalled_override = false;
}

}  // namespace headless
}  // namespace glint::platform
