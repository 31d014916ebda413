// The decoder's side of the sound output: a table of operations that the
// sound system installs. Until one is installed, audio tracks are parsed
// and skipped, and sound pausing does nothing.
#pragma once

#include <cstdint>

namespace glint::glinter {

struct GlintTrack;  // a track record; its layout belongs to the sound code

struct SoundSystem {
  bool (*open_track)(GlintTrack* track, uint32_t open_flags);
  void (*close_track)(GlintTrack* track);
  uint64_t (*position)(GlintTrack* track);
  void (*reset)(GlintTrack* track);
  void (*stop)(GlintTrack* track);
  bool (*start)(GlintTrack* track);
  void (*service)();
};

// The installed table, or null.
const SoundSystem* sound_system();
// Installs a table once; later installs are ignored (false).
bool install_sound_system(const SoundSystem* table);
// Calls the service operation when a table is installed.
void sound_service();
// The table the first track open installs when none is installed yet (the
// standard output; defined with the sound output in sound/). May be null.
const SoundSystem* default_sound_system();
// For tests: puts `table` (or nothing) in place of the installed table,
// whatever was there, and returns what was there.
const SoundSystem* replace_sound_system_for_tests(const SoundSystem* table);

}  // namespace glint::glinter
