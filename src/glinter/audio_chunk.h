// The delta-plus-Huffman audio chunk: a three-bit header (data, stereo,
// 16-bit), one small delta tree per byte stream, the first sample frame
// raw, then one code per delta byte. Decoded straight into a track ring.
#pragma once

#include <cstdint>
#include <span>

namespace glint::glinter {

// Small trees of one chunk: four areas of 512 slots (8,192 bytes), then a
// 256-entry table of the first 8 bits of each tree's codes (4,096 bytes).
inline constexpr unsigned kSmallTreeSlots = 512;
inline constexpr unsigned kSmallTableEntries = 256;
inline constexpr uint64_t kAudioScratchBytes = 4 * (kSmallTreeSlots + kSmallTableEntries) * 4;

struct AudioChunkLayout {
  bool has_data = false;
  unsigned channels = 1;
  unsigned sample_bytes = 1;
  unsigned frame_bytes() const { return channels * sample_bytes; }
};

struct RingSpan {
  uint8_t* start = nullptr;
  uint64_t size = 0;  // bytes
};

// Decodes the bit stream `bits` (after the two length fields) into `ring`
// from `write_pos`, wrapping at its end. At most `length` bytes are written,
// rounded down to whole sample frames of the chunk's own layout. `scratch`
// holds kAudioScratchBytes (the small trees). Returns the bytes written;
// a chunk without data, with length 0 or with a damaged tree gives 0.
// `layout`, when given, receives the chunk's header bits.
uint64_t decode_audio_chunk(std::span<const uint8_t> bits, uint64_t length,
                            std::span<uint32_t> scratch, RingSpan ring, uint64_t write_pos,
                            AudioChunkLayout* layout = nullptr);

}  // namespace glint::glinter
