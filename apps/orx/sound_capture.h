// orx's sound table: instead of playing the animation's tracks it drains
// their rings into memory, in the order the decoder produced them, so that
// `orx decode` can write each track as a WAV file.
#pragma once

#include <memory>
#include <vector>

#include "orxutil/glint.h"
#include "wav_file.h"

namespace orx {

struct CapturedTrack {
  GlintSoundTrack* track = nullptr;
  uint32_t number = 0;
  WavSound sound;
  uint64_t taken = 0;
};

inline std::vector<std::unique_ptr<CapturedTrack>>& captured_tracks() {
  static std::vector<std::unique_ptr<CapturedTrack>> tracks;
  return tracks;
}

inline void capture_drain(CapturedTrack& captured) {
  uint8_t buffer[16384];
  uint32_t n;
  while ((n = GlintSoundTrackTake(captured.track, buffer, sizeof buffer)) > 0) {
    captured.sound.pcm.insert(captured.sound.pcm.end(), buffer, buffer + n);
    captured.taken += n;
  }
}

inline void capture_service() {
  for (auto& captured : captured_tracks())
    if (captured->track) capture_drain(*captured);
}

inline const GlintSoundTable* capture_table() {
  static const GlintSoundTable table{
      /* open_track */
      [](GlintSoundTrack* track, uint32_t) -> int {
        auto captured = std::make_unique<CapturedTrack>();
        GlintSoundFormat format{};
        GlintSoundTrackFormat(track, &format);
        captured->track = track;
        captured->number = format.number;
        captured->sound.rate = format.sample_rate;
        captured->sound.channels = format.channels;
        captured->sound.bits = format.bits;
        GlintSoundTrackSetData(track, captured.get());
        captured_tracks().push_back(std::move(captured));
        return 1;
      },
      /* close_track: drain what is left; the capture stays for writing */
      [](GlintSoundTrack* track) {
        if (auto* captured = static_cast<CapturedTrack*>(GlintSoundTrackData(track))) {
          capture_drain(*captured);
          captured->track = nullptr;
        }
        GlintSoundTrackSetData(track, nullptr);
      },
      /* position: everything taken counts as played */
      [](GlintSoundTrack* track) -> uint64_t {
        auto* captured = static_cast<CapturedTrack*>(GlintSoundTrackData(track));
        if (!captured) return 0;
        capture_drain(*captured);
        return captured->taken;
      },
      /* reset, stop, start: nothing is playing */
      [](GlintSoundTrack*) {}, [](GlintSoundTrack*) {}, [](GlintSoundTrack*) -> int { return 1; },
      capture_service};
  return &table;
}

}  // namespace orx
