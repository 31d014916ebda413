// The encoder's C interface: collect frames and tracks, then write.
#include <cstring>
#include <new>
#include <string>

#include "glinter/encoder/glint_encoder.h"
#include "orxutil/glint.h"

struct GlintEncoder {
  glint::glinter::EncoderInput input;
  glint::glinter::Palette palette{};  // the palette of the frame added last
  std::string error;
};

using namespace glint::glinter;

extern "C" ORX_API GlintEncoder* GlintEncoderOpen(uint32_t width, uint32_t height,
                                                  int32_t frame_period, uint32_t flags) {
  EncoderSettings settings;
  settings.width = width;
  settings.height = height;
  settings.frame_period = frame_period;
  settings.version4 = flags & GLINT_ENCODE_VERSION4;
  settings.ring = flags & GLINT_ENCODE_RING;
  settings.interlaced = flags & GLINT_ENCODE_INTERLACED;
  settings.doubled = flags & GLINT_ENCODE_DOUBLED;
  if (!check_settings(settings).empty()) return nullptr;
  auto* encoder = new (std::nothrow) GlintEncoder;
  if (encoder) encoder->input.settings = settings;
  return encoder;
}

extern "C" ORX_API int GlintEncoderAddFrame(GlintEncoder* encoder, const uint8_t* pixels,
                                            const uint8_t* palette) {
  if (!encoder || !pixels) return 0;
  const EncoderSettings& s = encoder->input.settings;
  try {
    encoder->input.pictures.emplace_back(pixels, pixels + size_t(s.width) * s.height);
    if (palette) std::memcpy(encoder->palette.data(), palette, 768);
    encoder->input.palettes.push_back(encoder->palette);
  } catch (const std::bad_alloc&) {
    if (encoder->input.pictures.size() > encoder->input.palettes.size())
      encoder->input.pictures.pop_back();
    encoder->error = "out of memory";
    return 0;
  }
  return 1;
}

extern "C" ORX_API int GlintEncoderAddTrack(GlintEncoder* encoder, uint32_t track, uint32_t format,
                                            const void* samples, uint32_t byte_count) {
  if (!encoder || track >= GLINT_TRACKS || encoder->input.tracks[track] || (format & 0xFFFFFF) == 0)
    return 0;
  if (byte_count && !samples) return 0;
  try {
    EncoderTrack t;
    t.format = format;
    const auto* bytes = static_cast<const uint8_t*>(samples);
    t.samples.assign(bytes, bytes + byte_count);
    encoder->input.tracks[track] = std::move(t);
  } catch (const std::bad_alloc&) {
    encoder->error = "out of memory";
    return 0;
  }
  return 1;
}

extern "C" ORX_API int GlintEncoderWrite(GlintEncoder* encoder, const char* name) {
  if (!encoder || !name) return 0;
  try {
    std::vector<uint8_t> bytes = encode_gnt(encoder->input, encoder->error);
    if (bytes.empty()) return 0;
    return write_file_atomically(name, bytes, encoder->error) ? 1 : 0;
  } catch (const std::bad_alloc&) {
    encoder->error = "out of memory";
    return 0;
  }
}

extern "C" ORX_API const char* GlintEncoderError(GlintEncoder* encoder) {
  return encoder ? encoder->error.c_str() : "no encoder";
}

extern "C" ORX_API void GlintEncoderClose(GlintEncoder* encoder) { delete encoder; }
