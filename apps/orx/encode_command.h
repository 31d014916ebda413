// orx encode IN OUT.gnt [options]: a raw frame file (RAWB) into a Glinter
// animation.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "orxutil/glint.h"
#include "raw_frames.h"
#include "wav_file.h"

namespace orx {

struct EncodeOptions {
  uint32_t flags = GLINT_ENCODE_VERSION4;
  bool period_given = false;
  int32_t period = 0;
  std::string audio;         // a PCM WAV file for track 0
  bool raw_audio = false;    // store it uncompressed
};

inline void encode_usage(FILE* out) {
  std::fputs(
      "usage: orx encode IN.raw OUT.gnt [options]\n"
      "  IN is a raw frame file (RAWB).\n"
      "options:\n"
      "  --gnt2            write version 2 (no double-size or half-height blocks)\n"
      "  --gnt4            write version 4 (default)\n"
      "  --period MS       frame period in milliseconds (default: the input's)\n"
      "  --ring            add a ring frame for seamless looping\n"
      "  --interlaced      show the pictures on every other line\n"
      "  --doubled         show every line of the pictures twice\n"
      "  --audio FILE.wav  add the sound (8- or 16-bit mono or stereo PCM) as track 0,\n"
      "                    compressed losslessly (delta coding with Huffman trees)\n"
      "  --raw-audio       store the --audio sound as uncompressed PCM instead\n",
      out);
}

// Returns false with a message for an unknown or incomplete option.
inline bool parse_encode_options(int argc, char** argv, EncodeOptions& options,
                                 std::string& error) {
  for (int i = 0; i < argc; ++i) {
    const char* a = argv[i];
    if (!std::strcmp(a, "--gnt2")) {
      options.flags &= ~GLINT_ENCODE_VERSION4;
    } else if (!std::strcmp(a, "--gnt4")) {
      options.flags |= GLINT_ENCODE_VERSION4;
    } else if (!std::strcmp(a, "--ring")) {
      options.flags |= GLINT_ENCODE_RING;
    } else if (!std::strcmp(a, "--interlaced")) {
      options.flags |= GLINT_ENCODE_INTERLACED;
    } else if (!std::strcmp(a, "--doubled")) {
      options.flags |= GLINT_ENCODE_DOUBLED;
    } else if (!std::strcmp(a, "--audio") && i + 1 < argc) {
      options.audio = argv[++i];
    } else if (!std::strcmp(a, "--raw-audio")) {
      options.raw_audio = true;
    } else if (!std::strcmp(a, "--period") && i + 1 < argc) {
      char* end = nullptr;
      long value = std::strtol(argv[++i], &end, 10);
      if (!*argv[i] || *end || value < 0 || value > 1000000) {
        error = std::string("bad frame period '") + argv[i] + "'";
        return false;
      }
      options.period_given = true;
      options.period = int32_t(value);
    } else {
      error = std::string("unknown option '") + a + "'";
      return false;
    }
  }
  return true;
}

inline int encode_command(int argc, char** argv) {
  if (argc < 2) {
    encode_usage(stderr);
    return 2;
  }
  EncodeOptions options;
  std::string error;
  if (!parse_encode_options(argc - 2, argv + 2, options, error)) {
    std::fprintf(stderr, "orx: %s\n", error.c_str());
    encode_usage(stderr);
    return 2;
  }
  RawFrames raw;
  if (!read_raw_frames(argv[0], raw, error)) {
    std::fprintf(stderr, "orx: %s\n", error.c_str());
    return 1;
  }
  if (raw.pictures.empty()) {
    std::fprintf(stderr, "orx: %s holds no frames\n", argv[0]);
    return 1;
  }
  WavSound sound;
  if (!options.audio.empty() && !read_wav(options.audio, sound, error)) {
    std::fprintf(stderr, "orx: %s\n", error.c_str());
    return 1;
  }
  int32_t period = options.period_given ? options.period : glinter_period(raw.period);
  GlintEncoder* encoder = GlintEncoderOpen(raw.width, raw.height, period, options.flags);
  if (!encoder) {
    std::fprintf(stderr,
                 "orx: cannot encode %u x %u pictures (width and height must be multiples of 4)\n",
                 raw.width, raw.height);
    return 1;
  }
  int status = 0;
  for (size_t f = 0; f < raw.pictures.size() && status == 0; ++f)
    if (!GlintEncoderAddFrame(encoder, raw.pictures[f].data(), raw.palettes[f].data())) status = 1;
  if (status == 0 && !options.audio.empty()) {
    const uint32_t format = sound.rate | (sound.channels == 2 ? GLINT_FORMAT_STEREO : 0) |
                            (sound.bits == 16 ? GLINT_FORMAT_16BIT : 0) |
                            (options.raw_audio ? 0 : GLINT_FORMAT_COMPRESSED);
    if (sound.pcm.size() > UINT32_MAX ||
        !GlintEncoderAddTrack(encoder, 0, format, sound.pcm.data(), uint32_t(sound.pcm.size()))) {
      std::fprintf(stderr, "orx: cannot add the sound of %s\n", options.audio.c_str());
      status = 1;
    }
  }
  if (status == 0 && !GlintEncoderWrite(encoder, argv[1])) status = 1;
  if (status) std::fprintf(stderr, "orx: %s\n", GlintEncoderError(encoder));
  GlintEncoderClose(encoder);
  return status;
}

}  // namespace orx
