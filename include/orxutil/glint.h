/*
 * The Glinter animation decoder (.gnt files) and the project's own encoder.
 *
 * A Glint record is created by GlintOpen and freed by GlintClose; its public
 * fields come first and may be read by the caller. The record continues past
 * these fields with the decoder's private state, so callers never copy or
 * allocate a Glint themselves.
 */
#ifndef ORXUTIL_GLINT_H
#define ORXUTIL_GLINT_H

#include "orxutil/orxutil.h"

#ifdef __cplusplus
extern "C" {
#endif

/* GlintOpen flags */
#define GLINT_WHOLE_FILE 0x200u   /* read all frame data into memory at open */
#define GLINT_NO_SKIP 0x400u      /* never skip a late frame's picture */
#define GLINT_FROM_HANDLE 0x1000u /* source is a POSIX file descriptor */
#define GLINT_TRACK0 0x2000u      /* GLINT_TRACK0 << k opens audio track k */
#define GLINT_TRACK(k) (GLINT_TRACK0 << (k))
#define GLINT_TRACK_MASK (0x7Fu * GLINT_TRACK0)
#define GLINT_INTERLACED 0x100000u /* mode_flags: line-interlaced picture */
#define GLINT_DOUBLED 0x200000u    /* mode_flags: line-doubled picture */

/* header_flags bits */
#define GLINT_HEADER_RING 0x1u
#define GLINT_HEADER_INTERLACED 0x2u
#define GLINT_HEADER_DOUBLED 0x4u

/* GlintSetOutput format flags */
#define GLINT_OUTPUT_BOTTOM_UP 0x1u

#define GLINT_TRACKS 7

/* Track format word bits (file header) */
#define GLINT_FORMAT_RATE_MASK 0xFFFFFFu
#define GLINT_FORMAT_STEREO 0x10000000u
#define GLINT_FORMAT_16BIT 0x20000000u
#define GLINT_FORMAT_DATA 0x40000000u
#define GLINT_FORMAT_COMPRESSED 0x80000000u /* delta-plus-Huffman chunks */

typedef struct Glint {
  /* a copy of the 104-byte file header; height is the displayed height */
  char magic[4];
  uint32_t width;
  uint32_t height;
  uint32_t frame_count;
  int32_t frame_period;
  uint32_t header_flags;
  uint32_t track_max_chunk[GLINT_TRACKS];
  uint32_t tree_data_size;
  uint32_t tree_bytes[4];
  uint32_t track_format[GLINT_TRACKS];
  uint32_t reserved;

  uint32_t palette_updated;
  uint8_t palette[768];
  uint32_t current_frame;
  uint32_t frame_bytes;
  uint32_t side_bytes;
  uint32_t update_x;
  uint32_t update_y;
  uint32_t update_w;
  uint32_t update_h;
  uint32_t mode_flags;
  uint32_t dest_x;
  uint32_t dest_y;
  uint32_t largest_frame_bytes;
  uint32_t peak_second_bytes;
  uint32_t peak_second_frame;
  uint32_t read_failed;
} Glint;

/* source: a file name, or with GLINT_FROM_HANDLE a file descriptor cast to
 * a pointer (read from its current position, left open by GlintClose).
 * buffer_size: read-ahead ring size in bytes, -1 for automatic sizing. */
ORX_API Glint* GlintOpen(const void* source, uint32_t flags, int32_t buffer_size);
ORX_API void GlintClose(Glint* glint);

ORX_API void GlintSetOutput(Glint* glint, uint32_t x, uint32_t y, int32_t pitch,
                            uint32_t buffer_height, void* buffer, uint32_t format_flags);
ORX_API int GlintDecodeFrame(Glint* glint);
ORX_API void GlintAdvanceFrame(Glint* glint);
ORX_API void GlintGotoFrame(Glint* glint, uint32_t frame);
ORX_API int GlintCheckWait(Glint* glint);
/* kind: 0 separate rectangles, 1 one bounding rectangle, 2 nothing to copy */
ORX_API int GlintNextRect(Glint* glint, int kind);
ORX_API int GlintSoundSwitch(Glint* glint, int on);
/* 0 switch the 64-bit reader off, 1 use it, 2 just ask */
ORX_API int GlintEnableMMX(int mode);

/* ------------------------------------------------------------------------
 * Sound output. The decoder plays its tracks through one table of
 * operations per process; the first track open installs the standard
 * output when no table is installed. A program that plays or captures the
 * sound itself installs its own table before it opens any track.
 * position: bytes of the track played so far; reset: stop, empty the
 * device side, count from 0 again; stop/start: pause and resume (start
 * gives 0 on failure); service: move waiting bytes to the device.
 * ---------------------------------------------------------------------- */

typedef struct GlintSoundTrack GlintSoundTrack;

typedef struct GlintSoundTable {
  int (*open_track)(GlintSoundTrack* track, uint32_t open_flags); /* 1: the track can play */
  void (*close_track)(GlintSoundTrack* track);
  uint64_t (*position)(GlintSoundTrack* track);
  void (*reset)(GlintSoundTrack* track);
  void (*stop)(GlintSoundTrack* track);
  int (*start)(GlintSoundTrack* track);
  void (*service)(void);
} GlintSoundTable;

typedef struct GlintSoundFormat {
  uint32_t number; /* track 0..6 */
  uint32_t sample_rate;
  uint32_t channels; /* 1 or 2 */
  uint32_t bits;     /* 8 (unsigned) or 16 (signed, little-endian) */
} GlintSoundFormat;

/* 1 when the table is installed now; 0 when a table was installed before.
 * The table must stay valid for the rest of the process. */
ORX_API int GlintInstallSoundTable(const GlintSoundTable* table);
ORX_API void GlintSoundTrackFormat(GlintSoundTrack* track, GlintSoundFormat* format);
/* Takes up to max_bytes of the PCM waiting in the track's ring. */
ORX_API uint32_t GlintSoundTrackTake(GlintSoundTrack* track, void* out, uint32_t max_bytes);
/* One pointer of the table's own per track. */
ORX_API void GlintSoundTrackSetData(GlintSoundTrack* track, void* data);
ORX_API void* GlintSoundTrackData(GlintSoundTrack* track);

/* The stored size table entry and the type byte of one frame (ring frame
 * included); 0 when the frame does not exist. */
ORX_API int GlintFrameInfo(Glint* glint, uint32_t frame, uint32_t* size_entry, uint32_t* type_byte);

/* ------------------------------------------------------------------------
 * Encoder: collects 8-bit frames with palettes (and raw PCM tracks) and
 * writes a .gnt file that the decoder reproduces exactly (palette in 6-bit
 * precision).
 * ---------------------------------------------------------------------- */

#define GLINT_ENCODE_VERSION4 0x1u   /* "GNT4": double-size and half-height full blocks */
#define GLINT_ENCODE_RING 0x2u       /* add a ring frame for seamless looping */
#define GLINT_ENCODE_INTERLACED 0x4u /* pictures are shown on every other line */
#define GLINT_ENCODE_DOUBLED 0x8u    /* pictures are shown with every line twice */

typedef struct GlintEncoder GlintEncoder;

/* width and height (the coded picture) must be positive multiples of 4. */
ORX_API GlintEncoder* GlintEncoderOpen(uint32_t width, uint32_t height, int32_t frame_period,
                                       uint32_t flags);
/* pixels: width x height bytes, rows top to bottom; palette: 768 bytes of
 * red, green, blue (8 bits each), or null to keep the previous palette.
 * Returns 1, or 0 on bad arguments or lack of memory. */
ORX_API int GlintEncoderAddFrame(GlintEncoder* encoder, const uint8_t* pixels,
                                 const uint8_t* palette);
/* A PCM track: format word as in the file header (rate, GLINT_FORMAT_STEREO,
 * GLINT_FORMAT_16BIT; GLINT_FORMAT_DATA is set by the encoder), the samples
 * of the whole animation (8-bit unsigned or 16-bit signed little-endian,
 * stereo interleaved left first). With GLINT_FORMAT_COMPRESSED the chunks
 * are delta coded with small Huffman trees (lossless), else raw PCM. One
 * chunk per frame holds that frame's share of the sound. Returns 1, or 0
 * when the track is taken or the format is bad. */
ORX_API int GlintEncoderAddTrack(GlintEncoder* encoder, uint32_t track, uint32_t format,
                                 const void* samples, uint32_t byte_count);
/* Writes the file (through a temporary file renamed on success). Returns 1,
 * or 0 with a reason from GlintEncoderError. */
ORX_API int GlintEncoderWrite(GlintEncoder* encoder, const char* name);
ORX_API const char* GlintEncoderError(GlintEncoder* encoder);
ORX_API void GlintEncoderClose(GlintEncoder* encoder);

#ifdef __cplusplus
}
#endif

#endif /* ORXUTIL_GLINT_H */
