#include "platform/audio_tone.h"

#include <algorithm>
#include <vector>

namespace glint::platform {

namespace {
constexpr int16_t kAmplitude = 6000;  // about a fifth of full scale
}  // namespace

bool tone_open(Tone& tone, int32_t frequency, int32_t milliseconds) {
  tone = Tone{};
  if (frequency < kToneLowest || frequency > kToneHighest || milliseconds <= 0) return false;
  const AudioHandle handle = audio().open(AudioFormat{kToneRate, 1, 16}, kAudioStreamTone);
  if (!handle) return false;
  tone.handle = handle;
  tone.rate = kToneRate;
  tone.frequency = static_cast<uint32_t>(frequency);
  tone.samples_left = uint64_t{kToneRate} * static_cast<uint64_t>(milliseconds) / 1000;
  return true;
}

void tone_feed(Tone& tone, uint32_t ahead_ms) {
  if (!tone.handle || tone.samples_left == 0) return;
  const AudioDriver& driver = audio();
  const uint64_t waiting = tone.queued - std::min(tone.queued, driver.played(tone.handle));
  const uint64_t wanted = uint64_t{tone.rate} * ahead_ms / 1000 * 2;
  if (waiting >= wanted) return;
  const uint64_t samples = std::min(tone.samples_left, (wanted - waiting) / 2);
  std::vector<uint8_t> bytes(samples * 2);
  for (uint64_t i = 0; i < samples; ++i) {
    // High for the first half of each period, low for the second.
    const int16_t value = tone.phase * 2 < tone.rate ? kAmplitude : static_cast<int16_t>(-kAmplitude);
    bytes[2 * i] = static_cast<uint8_t>(value & 0xFF);
    bytes[2 * i + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
    tone.phase = (tone.phase + tone.frequency) % tone.rate;
  }
  if (!driver.queue(tone.handle, bytes.data(), bytes.size())) {
    tone.samples_left = 0;  // the device refuses: the rest is silence
    return;
  }
  tone.queued += bytes.size();
  tone.samples_left -= samples;
}

void tone_close(Tone& tone) {
  if (tone.handle) audio().close(tone.handle);
  tone = Tone{};
}

}  // namespace glint::platform
