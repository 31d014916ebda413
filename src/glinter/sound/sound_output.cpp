// The default table and the DirectSound install.
#include "glinter/sound/sound_output.h"

#include "glinter/debug_log.h"
#include "glinter/glint_track.h"
#include "platform/audio.h"

namespace glint::glinter {

namespace {
uint64_t round_up_4096(uint64_t bytes) { return (bytes + 4095) / 4096 * 4096; }
}  // namespace

uint64_t wave_out_half_size(uint32_t byte_rate) {
  return std::max<uint64_t>(4096, round_up_4096(byte_rate / 4));
}

uint64_t direct_sound_buffer_size(uint32_t byte_rate) {
  return std::max<uint64_t>(4096, round_up_4096(byte_rate / 2));
}

const SoundSystem* default_sound_system() { return wave_out_sound_system(); }

bool install_direct_sound() {
  // The platform's audio service stands for the DirectSound library.
  if (!platform::audio().available()) return false;
  const SoundSystem* table = direct_sound_sound_system();
  return install_sound_system(table) || sound_system() == table;
}

namespace sound_detail {
void log(const GlintTrack& track, const std::string& text) {
  if (track.debug) debug_message(text);
}
}  // namespace sound_detail

}  // namespace glint::glinter
