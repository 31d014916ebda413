// The C face of the sound operation table: a program that plays or
// captures the tracks itself installs a GlintSoundTable, which an adapter
// table forwards to.
#include <algorithm>
#include <atomic>

#include "glinter/glint_track.h"
#include "glinter/sound_hook.h"
#include "orxutil/glint.h"

using namespace glint::glinter;

namespace {

std::atomic<const GlintSoundTable*> g_table{nullptr};

GlintSoundTrack* outside(GlintTrack* track) { return reinterpret_cast<GlintSoundTrack*>(track); }
GlintTrack* inside(GlintSoundTrack* track) { return reinterpret_cast<GlintTrack*>(track); }

bool open_track(GlintTrack* track, uint32_t flags) {
  const GlintSoundTable* t = g_table.load();
  return t && t->open_track && t->open_track(outside(track), flags) != 0;
}
void close_track(GlintTrack* track) {
  const GlintSoundTable* t = g_table.load();
  if (t && t->close_track) t->close_track(outside(track));
}
uint64_t position(GlintTrack* track) {
  const GlintSoundTable* t = g_table.load();
  return t && t->position ? t->position(outside(track)) : 0;
}
void reset(GlintTrack* track) {
  const GlintSoundTable* t = g_table.load();
  if (t && t->reset) t->reset(outside(track));
}
void stop(GlintTrack* track) {
  const GlintSoundTable* t = g_table.load();
  if (t && t->stop) t->stop(outside(track));
}
bool start(GlintTrack* track) {
  const GlintSoundTable* t = g_table.load();
  return !t || !t->start || t->start(outside(track)) != 0;
}
void service() {
  const GlintSoundTable* t = g_table.load();
  if (t && t->service) t->service();
}

const SoundSystem kAdapter{open_track, close_track, position, reset, stop, start, service};

}  // namespace

extern "C" ORX_API int GlintInstallSoundTable(const GlintSoundTable* table) {
  if (!table || sound_system()) return 0;
  g_table.store(table);
  if (install_sound_system(&kAdapter)) return 1;
  g_table.store(nullptr);
  return 0;
}

extern "C" ORX_API void GlintSoundTrackFormat(GlintSoundTrack* track, GlintSoundFormat* format) {
  if (!track || !format) return;
  const GlintTrack& t = *inside(track);
  format->number = t.number;
  format->sample_rate = t.sample_rate;
  format->channels = t.channels;
  format->bits = t.bits;
}

extern "C" ORX_API uint32_t GlintSoundTrackTake(GlintSoundTrack* track, void* out,
                                                uint32_t max_bytes) {
  if (!track || !out) return 0;
  return static_cast<uint32_t>(
      track_take(*inside(track), std::span<uint8_t>(static_cast<uint8_t*>(out), max_bytes)));
}

extern "C" ORX_API void GlintSoundTrackSetData(GlintSoundTrack* track, void* data) {
  if (track) inside(track)->device = data;
}

extern "C" ORX_API void* GlintSoundTrackData(GlintSoundTrack* track) {
  return track ? inside(track)->device : nullptr;
}
