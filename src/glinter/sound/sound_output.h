// The sound output: the two operation tables that play the decoder's track
// rings through the platform's audio device.
//
// "waveOut" (the default) streams each track in two half-buffers of a
// quarter second; "DirectSound" (chosen by the script before the first track
// opens) keeps half a second in flight, pads the end of the data and
// restarts from the start of its buffer after running dry. Only real PCM
// reaches the device: silence padding is bookkeeping here, and the device
// plays silence by itself when it has nothing. Every operation, the service
// included, runs on the program's main thread.
#pragma once

#include <cstdint>
#include <string>

#include "glinter/sound_hook.h"

namespace glint::glinter {

struct GlintTrack;

const SoundSystem* wave_out_sound_system();
const SoundSystem* direct_sound_sound_system();

// Installs the DirectSound table. True when it is installed now or was
// already; false when the machine has no sound output or another table was
// installed first.
bool install_direct_sound();
// The presentation window the DirectSound output belongs to (0: none).
void direct_sound_set_window(uint32_t window);

// Sizes of the device side for a byte rate: a quarter second raised to a
// multiple of 4,096 for each waveOut half-buffer, half a second for the
// DirectSound buffer.
uint64_t wave_out_half_size(uint32_t byte_rate);
uint64_t direct_sound_buffer_size(uint32_t byte_rate);

namespace sound_detail {
// The error number logged when the platform device gives none.
inline constexpr int kDeviceError = 1;
// Writes one of the output's texts with the decoder's debug output when the
// track asks for it.
void log(const GlintTrack& track, const std::string& text);
}  // namespace sound_detail

}  // namespace glint::glinter
