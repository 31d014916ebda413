// The private state behind a Glint record. The record handed to callers is
// the public Glint followed by a pointer to this state.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <vector>

#include "glinter/aligned_alloc.h"
#include "glinter/glint_track.h"
#include "glinter/output_descriptor.h"
#include "glinter/video_trees.h"
#include "orxutil/glint.h"

namespace glint::glinter {

inline constexpr uint32_t kHeaderBytes = 104;
// The public record starts with a field-for-field copy of the file header.
static_assert(offsetof(Glint, palette_updated) == kHeaderBytes);
inline constexpr uint64_t kBlock = 4096;

// Frame data comes either from one whole-file buffer or from the file
// through a read-ahead ring of 4,096-byte blocks at 4,096-aligned positions
// (positions relative to where the file stood at open).
struct FrameSource {
  int fd = -1;
  bool own_fd = false;
  uint64_t base = 0;        // file position at open
  uint64_t data_start = 0;  // first byte of frame 0, relative to base
  uint64_t data_end = 0;

  AlignedBytes whole;  // whole-file mode: all frame data (+ 8 bytes slack)

  AlignedBytes ring;
  uint64_t ring_capacity = 0;  // a multiple of 4,096
  uint64_t window_start = 0;   // file offsets held by the ring
  uint64_t window_end = 0;

  AlignedBytes frame_buffer;  // streaming mode: the current record (+ 8)
  uint64_t frame_buffer_size = 0;
};

struct Rect {
  uint32_t x = 0, y = 0, w = 0, h = 0;
};

struct FrameChunks {
  bool damaged = false;              // a chunk length runs out of its record
  std::span<const uint8_t> palette;  // commands, after the length byte
  std::array<std::span<const uint8_t>, GLINT_TRACKS> audio{};
  std::span<const uint8_t> video;
};

struct Timing {
  uint32_t period_10us = 0;
  bool started = false;
  bool released = false;
  uint64_t due = 0;  // in units of 10 microseconds
  bool clock_started = false;
  uint32_t last_timer = 0;
  uint64_t timer_ms = 0;  // the millisecond timer, extended to 64 bits
};

struct Statistics {
  uint64_t average_frame_bytes = 0;
  uint32_t frames_decoded = 0;
  uint32_t frames_skipped = 0;
  uint32_t open_ms = 0;
};

// The decoder's side of one open audio track.
struct TrackSlot {
  std::unique_ptr<GlintTrack> track;  // null: the track is not open
  uint64_t start_threshold = 0;       // bytes waiting before sound resumes after running dry
  uint64_t frame_bytes_q10 = 0;       // one frame's worth, 10 fraction bits
  uint64_t overflows = 0;             // frames whose data did not all fit the ring
  uint64_t prerolls = 0;              // silence pre-rolls written after running dry
  uint64_t preroll_bytes = 0;
  bool had_data = false;  // data was written since the open or the last rewind
  bool dry_seen = false;  // the dry report was acted on; cleared on the next frame
};

// Sound-side frame timing, on the timing track, in 1/1,024 bytes of its
// play position: where the sound of the frame decoded last begins, and the
// point half a second past it from which a frame counts as late. The next
// frame is due once that sound has begun, so the ring holds about one frame
// ahead of the device whenever a frame is decoded.
struct SoundTiming {
  uint64_t begin_q10 = 0;
  uint64_t late_q10 = 0;
  uint64_t pending_q10 = 0;  // the sound of the frame decoded last, added at the next decode
  bool found_due = false;  // the current frame was found due since the last decode
  bool ran_short = false;  // the last frame brought less sound than its share: time by the clock
  bool paused = false;
  uint32_t paused_frame = 0;
};

struct GlintState {
  uint32_t entry_count = 0;            // frames stored, ring frame included
  std::vector<uint32_t> size_entries;  // as stored
  std::vector<uint8_t> types;
  std::vector<uint64_t> offsets;  // start of each record in the frame data, + end
  VideoTrees trees;
  FrameSource source;

  const uint8_t* frame = nullptr;  // current record
  FrameChunks chunks;
  int64_t palette_taken_frame = -1;

  std::unique_ptr<OutputDescriptor> output;
  bool rects_fresh = false;
  bool decoded_palette_change = false;
  std::deque<Rect> rects;

  Timing timing;
  Statistics stats;
  int timing_track = -1;
  std::array<TrackSlot, GLINT_TRACKS> tracks;
  SoundTiming sound;
};

struct GlintRecord {
  Glint pub;
  GlintState* state;
};

inline GlintRecord* record_of(Glint* glint) { return reinterpret_cast<GlintRecord*>(glint); }
inline GlintState* state_of(Glint* glint) { return glint ? record_of(glint)->state : nullptr; }

inline uint32_t read_le32(const uint8_t* at) {
  return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

// Frame data access (frame_source.cpp). Both set read_failed on a short read.
bool read_exact(Glint* glint, uint64_t offset, void* destination, uint64_t count);
// Loads record `frame` and points state.frame at it.
bool load_frame(Glint* glint, uint32_t frame);
// Reads one more block into the ring, if there is room and data left.
void read_ahead(Glint* glint);

// Locates the chunks of the current record and decodes its palette
// (frame_prepare.cpp).
void prepare_frame(Glint* glint, uint32_t frame);

// Audio tracks (track_open.cpp): opens the tracks asked for by `flags`
// after frame 0 is prepared; closes them all.
void open_tracks(Glint* glint, uint32_t flags);
void close_tracks(GlintState& state);
// The process-wide scratch of the compressed-chunk decoder (while any
// track is open), and the number of tracks open in all records.
std::span<uint32_t> audio_scratch();
int open_track_count();

// Sound of a frame and sound-side timing (frame_sound.cpp).
void decode_frame_sound(Glint* glint);
// True when the timing track has played up to the late mark.
bool sound_frame_late(Glint* glint);
// 1 while the current frame's sound has not begun, 0 when it is due, -1
// when the last frame brought too little sound to time it (the clock does).
int sound_check_wait(Glint* glint);
// Back to frame 0: the sound output and the rings start again.
void rewind_sound(Glint* glint);
int sound_switch(Glint* glint, int on);

}  // namespace glint::glinter
