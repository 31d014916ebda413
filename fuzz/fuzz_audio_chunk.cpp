// The compressed audio chunk decoder on arbitrary bytes. The first 8 bytes
// choose the ring (size 1..65,536, write position inside it) and the decoded
// length; the rest is the bit stream. The decoder must stay inside the ring,
// write whole sample frames of no more than the length, and end.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "glinter/audio_chunk.h"

using namespace glint::glinter;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  const uint64_t ring_size = (uint64_t(data[0]) | uint64_t(data[1]) << 8) + 1;
  const uint64_t write_pos = (uint64_t(data[2]) | uint64_t(data[3]) << 8) % ring_size;
  const uint64_t length = uint64_t(data[4]) | uint64_t(data[5]) << 8 | uint64_t(data[6]) << 16 |
                          uint64_t(data[7]) << 24;
  std::vector<uint8_t> ring(ring_size, 0xA5);
  std::vector<uint32_t> scratch(kAudioScratchBytes / 4);
  AudioChunkLayout layout;
  const uint64_t written = decode_audio_chunk(std::span<const uint8_t>(data + 8, size - 8), length,
                                              scratch, RingSpan{ring.data(), ring.size()},
                                              write_pos, &layout);
  if (written > length || written > ring_size || written % layout.frame_bytes() != 0)
    __builtin_trap();
  return 0;
}
