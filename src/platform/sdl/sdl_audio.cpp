// The SDL2 back-end's audio service: one queued device per stream
// (SDL_OpenAudioDevice without a callback, fed by SDL_QueueAudio). What a
// device has consumed is what was queued minus what still waits in SDL's
// queue.
#include <SDL.h>

#include <algorithm>
#include <map>
#include <string>

#include "platform/audio_drivers.h"
#include "platform/platform.h"

namespace glint::platform {
namespace {

struct Device {
  SDL_AudioDeviceID id = 0;
  uint64_t queued = 0;   // bytes handed to SDL since the open
  uint64_t dropped = 0;  // bytes cleared before they played
};

std::map<AudioHandle, Device> devices;
AudioHandle next_handle = 1;

bool audio_up() {
  // Brought up at the first use and left up: opening and closing devices is
  // cheap, initialising the subsystem is not.
  static const bool ok = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  return ok;
}

Device* find(AudioHandle handle) {
  auto it = devices.find(handle);
  return it == devices.end() ? nullptr : &it->second;
}

bool available() { return audio_up(); }

AudioHandle open(const AudioFormat& format, int /*stream*/) {
  if (!audio_up()) return 0;
  if ((format.bits != 8 && format.bits != 16) || format.channels < 1 || format.channels > 2 ||
      format.rate == 0 || format.rate > 1'000'000)
    return 0;
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(format.rate);
  want.format = format.bits == 16 ? AUDIO_S16LSB : AUDIO_U8;
  want.channels = static_cast<Uint8>(format.channels);
  // Small device buffers keep the consumed count fine-grained (about 20 to
  // 50 ms), which is what the players time their frames by.
  want.samples = format.rate > 24000 ? 1024 : 512;
  want.callback = nullptr;
  SDL_AudioSpec have{};
  // No changes allowed: the bytes queued must be in exactly this format.
  const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (id == 0) {
    debug_output((std::string("audio: ") + SDL_GetError() + "\n").c_str());
    return 0;
  }
  SDL_PauseAudioDevice(id, 0);
  const AudioHandle handle = next_handle++;
  if (next_handle == 0) next_handle = 1;
  devices[handle] = Device{id, 0, 0};
  return handle;
}

bool wait_started(AudioHandle handle, uint32_t timeout_ms) {
  Device* d = find(handle);
  if (!d) return false;
  const uint64_t deadline = micros() + uint64_t{timeout_ms} * 1000;
  for (;;) {
    if (SDL_GetAudioDeviceStatus(d->id) == SDL_AUDIO_PLAYING) return true;
    if (micros() >= deadline) return false;
    sleep_ms(1);
  }
}

bool queue(AudioHandle handle, const uint8_t* bytes, uint64_t count) {
  Device* d = find(handle);
  if (!d || (count && !bytes)) return false;
  // SDL takes a 32-bit length; feed larger amounts in pieces.
  while (count) {
    const Uint32 piece = static_cast<Uint32>(std::min<uint64_t>(count, 1u << 30));
    if (SDL_QueueAudio(d->id, bytes, piece) != 0) return false;
    d->queued += piece;
    bytes += piece;
    count -= piece;
  }
  return true;
}

uint64_t played(AudioHandle handle) {
  Device* d = find(handle);
  if (!d) return 0;
  const uint64_t handed = d->queued - d->dropped;  // bytes that reached SDL and were not cleared
  const uint64_t waiting = SDL_GetQueuedAudioSize(d->id);
  return handed - std::min(handed, waiting);
}

void clear(AudioHandle handle) {
  Device* d = find(handle);
  if (!d) return;
  // Counted as played up to now; what was still queued is dropped.
  SDL_LockAudioDevice(d->id);
  d->dropped += SDL_GetQueuedAudioSize(d->id);
  SDL_ClearQueuedAudio(d->id);
  SDL_UnlockAudioDevice(d->id);
}

void close(AudioHandle handle) {
  Device* d = find(handle);
  if (!d) return;
  SDL_CloseAudioDevice(d->id);
  devices.erase(handle);
}

}  // namespace

const AudioDriver sdl_audio{available, open, wait_started, queue, played, clear, close};

}  // namespace glint::platform
