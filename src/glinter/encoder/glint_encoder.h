// The project's own Glinter encoder: 8-bit frames with palettes (and raw PCM
// tracks) into a .gnt file that the decoder reproduces exactly.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace glint::glinter {

struct EncoderSettings {
  uint32_t width = 0;        // multiple of 4
  uint32_t height = 0;       // coded height, multiple of 4
  int32_t frame_period = 0;  // > 0 ms, < 0 units of 10 us, 0 no timing
  bool version4 = false;
  bool ring = false;
  bool interlaced = false;
  bool doubled = false;
};

using Palette = std::array<uint8_t, 768>;

struct EncoderTrack {
  uint32_t format = 0;  // rate in bits 0-23, stereo bit 28, 16-bit bit 29
  std::vector<uint8_t> samples;
};

struct EncoderInput {
  EncoderSettings settings;
  std::vector<std::vector<uint8_t>> pictures;  // width x height each
  std::vector<Palette> palettes;               // one per picture
  std::array<std::optional<EncoderTrack>, 7> tracks;
};

// The whole file in memory; an empty result with `error` set on failure.
std::vector<uint8_t> encode_gnt(const EncoderInput& input, std::string& error);

// Writes bytes to a temporary file beside `path` and renames it over `path`
// on success, so an existing file is never left half-written.
bool write_file_atomically(const std::string& path, const std::vector<uint8_t>& bytes,
                           std::string& error);

// Checks settings shared by the encoder's entry points; "" when valid.
std::string check_settings(const EncoderSettings& settings);

}  // namespace glint::glinter
