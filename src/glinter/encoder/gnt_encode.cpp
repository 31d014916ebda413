// Assembling a .gnt file: block coding of every frame (ring frame last),
// four trees from the statistics of all frames, palette and audio chunks,
// header and tables.
#include <bitset>
#include <cstring>
#include <memory>

#include "glinter/encoder/audio_encode.h"
#include "glinter/encoder/block_coder.h"
#include "glinter/encoder/glint_encoder.h"
#include "glinter/encoder/palette_encode.h"
#include "glinter/huff_coder.h"

namespace glint::glinter {

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

uint32_t byte_rate(uint32_t format) {
  uint32_t channels = (format >> 28) & 1 ? 2 : 1;
  uint32_t bytes = (format >> 29) & 1 ? 2 : 1;
  return (format & 0xFFFFFF) * channels * bytes;
}

uint64_t block_align(uint32_t format) {
  return ((format >> 28) & 1 ? 2 : 1) * ((format >> 29) & 1 ? 2 : 1);
}

uint64_t period_10us(int32_t period) {
  return period > 0 ? uint64_t(period) * 100 : uint64_t(-int64_t(period));
}

// Audio bytes of track data that belong to frames [0, frame): a multiple of
// 4 bytes, so every chunk holds whole sample frames.
uint64_t audio_until(uint64_t rate, uint64_t period, uint64_t frame, uint64_t available) {
  uint64_t bytes = rate * period * frame / 100000;
  return std::min(bytes, available) / 4 * 4;
}

struct Trees {
  std::unique_ptr<HuffCoder> coder[4];
};

// Leaves of every tree, escape leaves counting as value 0, must leave one
// 16-bit value unused for the decoder's node marker.
bool marker_left(const Trees& trees) {
  auto used = std::make_unique<std::bitset<65536>>();
  for (const auto& coder : trees.coder) {
    if (!coder->has_stats) continue;
    for (uint32_t v = 0; v < 65536; ++v) {
      if (coder->lengths[v] == kNoCode) continue;
      bool escape =
          v == coder->escape_value[0] || v == coder->escape_value[1] || v == coder->escape_value[2];
      used->set(escape ? 0 : v);
    }
  }
  return !used->all();
}

uint32_t tree_bytes(const HuffCoder& coder) {
  if (!coder.has_stats) return 12;
  uint64_t leaves = 0;
  for (uint8_t length : coder.lengths) leaves += length != kNoCode;
  return uint32_t((2 * leaves - 1 + 3) * 4);
}

}  // namespace

std::string check_settings(const EncoderSettings& s) {
  if (s.width == 0 || s.height == 0 || s.width % 4 || s.height % 4)
    return "width and height must be positive multiples of 4";
  if (uint64_t(s.width) * s.height > (uint64_t(1) << 28)) return "picture too large";
  if (s.interlaced && s.doubled) return "a picture cannot be both interlaced and doubled";
  return "";
}

std::vector<uint8_t> encode_gnt(const EncoderInput& input, std::string& error) {
  const EncoderSettings& s = input.settings;
  error = check_settings(s);
  if (!error.empty()) return {};
  if (input.pictures.empty()) {
    error = "no frames to encode";
    return {};
  }
  const size_t picture_bytes = size_t(s.width) * s.height;
  for (const auto& picture : input.pictures)
    if (picture.size() != picture_bytes) {
      error = "a frame has the wrong size";
      return {};
    }
  const uint64_t period = period_10us(s.frame_period);
  for (const auto& track : input.tracks)
    if (track && period == 0) {
      error = "audio tracks need a frame period";
      return {};
    }

  // Play order of the stored frames: 0 .. n-1, then the ring frame (frame 0's
  // picture and palette coded against the last frame).
  const uint32_t frame_count = uint32_t(input.pictures.size());
  const uint32_t stored = frame_count + (s.ring ? 1 : 0);
  auto picture_of = [&](uint32_t f) -> const std::vector<uint8_t>& {
    return input.pictures[f < frame_count ? f : 0];
  };
  auto palette_of = [&](uint32_t f) {
    return to_six_bits(input.palettes[f < frame_count ? f : 0]);
  };

  std::vector<std::vector<Symbol>> symbols(stored);
  for (uint32_t f = 0; f < stored; ++f) {
    std::span<const uint8_t> previous;
    if (f > 0) previous = picture_of(f - 1);
    symbols[f] = code_picture(previous, picture_of(f), s.width, s.height, s.version4);
  }

  Trees trees;
  for (auto& coder : trees.coder) {
    coder = huff_create(true);
    if (!coder) {
      error = "out of memory";
      return {};
    }
    huff_init_stats(*coder);
  }
  for (const auto& frame : symbols) {
    for (auto& coder : trees.coder) huff_init_lasts(*coder);
    for (const Symbol& symbol : frame)
      if (symbol.tree < 4) huff_add_stat(*trees.coder[symbol.tree], symbol.value);
  }
  MemoryBitWriter tree_bits;
  for (auto& coder : trees.coder) {
    huff_set_output(*coder, tree_bits.sink());
    if (huff_start_encode(*coder) < 0) {
      error = "too many distinct values for one file";
      return {};
    }
  }
  if (!marker_left(trees)) {
    error = "too many distinct values for one file";
    return {};
  }
  // The frame data starts on a 4-byte boundary.
  const uint64_t table_end = 104 + 5 * uint64_t(stored);
  while ((table_end + tree_bits.bytes.size()) % 4) tree_bits.bytes.push_back(0);

  // Frame records.
  std::vector<std::vector<uint8_t>> records(stored);
  std::vector<uint8_t> types(stored, 0);
  uint32_t max_chunk[7] = {};
  Palette6 current{};  // black before frame 0
  for (uint32_t f = 0; f < stored; ++f) {
    std::vector<uint8_t>& record = records[f];
    Palette6 next = palette_of(f);
    if (f == 0 || next != current) {
      std::vector<uint8_t> chunk = encode_palette_chunk(current, next);
      record.insert(record.end(), chunk.begin(), chunk.end());
      types[f] |= 1;
      current = next;
    }
    for (uint32_t k = 0; k < 7; ++k) {
      const auto& track = input.tracks[k];
      if (!track) continue;
      const uint64_t rate = byte_rate(track->format), size = track->samples.size();
      uint32_t play = f < frame_count ? f : 0;  // the ring frame carries frame 0's sound
      uint64_t begin = audio_until(rate, period, play, size);
      // The last frame takes the rest of the sound, but no more than one
      // second beyond its share: the decoder's ring holds two frames and a
      // second, and sound longer than that would only overflow it.
      const uint64_t align = block_align(track->format);
      uint64_t end = audio_until(rate, period, play + 1, size);
      if (play + 1 == frame_count)
        end = std::min(size, audio_until(rate, period, play + 1, UINT64_MAX) + rate) / align * align;
      if (end <= begin) continue;
      const bool compressed = track->format & (1u << 31);
      std::vector<uint8_t> chunk;
      if (compressed) {
        const unsigned channels = (track->format >> 28) & 1 ? 2 : 1;
        const unsigned sample_bytes = (track->format >> 29) & 1 ? 2 : 1;
        chunk = encode_audio_chunk(
            std::span<const uint8_t>(track->samples).subspan(begin, end - begin), channels,
            sample_bytes);
        if (chunk.empty()) {
          error = "out of memory";
          return {};
        }
      } else {
        put32(chunk, uint32_t(end - begin + 4));
        chunk.insert(chunk.end(), track->samples.begin() + begin, track->samples.begin() + end);
      }
      types[f] |= uint8_t(2u << k);
      record.insert(record.end(), chunk.begin(), chunk.end());
      max_chunk[k] = std::max<uint32_t>(max_chunk[k], uint32_t(chunk.size()));
    }
    MemoryBitWriter video;
    for (auto& coder : trees.coder) {
      huff_set_output(*coder, video.sink());
      huff_init_lasts(*coder);
    }
    for (const Symbol& symbol : symbols[f]) {
      if (symbol.tree == kRawBit)
        video.put(symbol.value, 1);
      else
        huff_encode(*trees.coder[symbol.tree], symbol.value);
    }
    video.pad_to_words();
    record.insert(record.end(), video.bytes.begin(), video.bytes.end());
  }

  std::vector<uint8_t> file;
  file.insert(file.end(), {'G', 'N', 'T', uint8_t(s.version4 ? '4' : '2')});
  put32(file, s.width);
  put32(file, s.height);
  put32(file, frame_count);
  put32(file, uint32_t(s.frame_period));
  put32(file, (s.ring ? 1u : 0u) | (s.interlaced ? 2u : 0u) | (s.doubled ? 4u : 0u));
  for (uint32_t k = 0; k < 7; ++k) put32(file, max_chunk[k]);
  put32(file, uint32_t(tree_bits.bytes.size()));
  for (const auto& coder : trees.coder) put32(file, tree_bytes(*coder));
  for (uint32_t k = 0; k < 7; ++k)
    put32(file, input.tracks[k] ? ((input.tracks[k]->format & 0xB0FFFFFFu) | (1u << 30)) : 0);
  put32(file, 0);
  for (const auto& record : records) put32(file, uint32_t(record.size()));
  file.insert(file.end(), types.begin(), types.end());
  file.insert(file.end(), tree_bits.bytes.begin(), tree_bits.bytes.end());
  for (const auto& record : records) file.insert(file.end(), record.begin(), record.end());
  return file;
}

}  // namespace glint::glinter
