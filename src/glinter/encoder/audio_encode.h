// Compressed audio chunks: the delta coding with one small Huffman tree per
// byte stream, in the form the decoder's chunk reader takes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace glint::glinter {

// The whole chunk for `pcm` (whole sample frames): chunk length, decoded
// length, bit stream, zero padding to a multiple of 4 bytes. Lossless.
// Empty when `pcm` holds no whole sample frame.
std::vector<uint8_t> encode_audio_chunk(std::span<const uint8_t> pcm, unsigned channels,
                                        unsigned sample_bytes);

}  // namespace glint::glinter
