#include "glinter/encoder/audio_encode.h"

#include <memory>

#include "glinter/bit_writer.h"
#include "glinter/huff_coder.h"

namespace glint::glinter {

namespace {

void put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
}

uint32_t sample_at(std::span<const uint8_t> pcm, uint64_t frame, unsigned channel,
                   unsigned channels, unsigned sample_bytes) {
  const uint64_t at = (frame * channels + channel) * sample_bytes;
  return sample_bytes == 2 ? uint32_t(pcm[at]) | uint32_t(pcm[at + 1]) << 8 : pcm[at];
}

}  // namespace

std::vector<uint8_t> encode_audio_chunk(std::span<const uint8_t> pcm, unsigned channels,
                                        unsigned sample_bytes) {
  const unsigned frame_bytes = channels * sample_bytes;
  const uint64_t frames = pcm.size() / frame_bytes;
  if (frames == 0) return {};
  const uint32_t mask = sample_bytes == 2 ? 0xFFFF : 0xFF;
  const unsigned streams = channels * sample_bytes;  // trees, in the order they are sent

  // Stream s of the delta of one sample: 8-bit, channel s; 16-bit, channel
  // s / 2, low byte for even s and high byte for odd s.
  auto delta_byte = [&](uint64_t frame, unsigned stream) {
    const unsigned channel = sample_bytes == 2 ? stream / 2 : stream;
    const uint32_t delta = (sample_at(pcm, frame, channel, channels, sample_bytes) -
                            sample_at(pcm, frame - 1, channel, channels, sample_bytes)) &
                           mask;
    return sample_bytes == 2 && stream % 2 ? delta >> 8 : delta & 0xFF;
  };

  MemoryBitWriter bits;
  bits.put(1u | (channels == 2 ? 2u : 0u) | (sample_bytes == 2 ? 4u : 0u), 3);
  std::unique_ptr<HuffCoder> coders[4];
  for (unsigned s = 0; s < streams; ++s) {
    coders[s] = huff_create(false);
    if (!coders[s]) return {};
    huff_set_output(*coders[s], bits.sink());
    huff_init_stats(*coders[s]);
    for (uint64_t f = 1; f < frames; ++f) huff_add_stat(*coders[s], delta_byte(f, s));
    huff_start_encode(*coders[s]);  // an 8-bit tree is never too deep
  }
  // The first sample frame: right channel first, high byte first.
  for (int c = int(channels) - 1; c >= 0; --c) {
    const uint32_t first = sample_at(pcm, 0, unsigned(c), channels, sample_bytes);
    if (sample_bytes == 2) bits.put(first >> 8, 8);
    bits.put(first & 0xFF, 8);
  }
  for (uint64_t f = 1; f < frames; ++f)
    for (unsigned s = 0; s < streams; ++s) huff_encode(*coders[s], delta_byte(f, s));

  std::vector<uint8_t> chunk(8, 0);
  chunk.insert(chunk.end(), bits.bytes.begin(), bits.bytes.end());
  while (chunk.size() % 4) chunk.push_back(0);
  put32(chunk, 0, uint32_t(chunk.size()));
  put32(chunk, 4, uint32_t(frames * frame_bytes));
  return chunk;
}

}  // namespace glint::glinter
