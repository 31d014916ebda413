// Sound decoding: the compressed-chunk decoder in ns per output byte
// (44.1 kHz 16-bit stereo, one 40 ms frame per chunk), and the whole
// per-frame sound path of the decoder (chunk into the ring, marks, the
// output's service) with a table that drains the rings at once.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "glinter/audio_chunk.h"
#include "glinter/encoder/audio_encode.h"
#include "orxutil/glint.h"

using namespace glint::glinter;

namespace {

// 44.1 kHz 16-bit stereo music-like signal: two tones and a little noise.
std::vector<uint8_t> stereo_signal(uint64_t frames) {
  std::vector<uint8_t> pcm(frames * 4);
  uint32_t noise = 1;
  for (uint64_t i = 0; i < frames; ++i) {
    noise = noise * 1103515245u + 12345u;
    const double t = double(i) / 44100.0;
    const int left = int(9000 * std::sin(2 * M_PI * 440 * t) + 3000 * std::sin(2 * M_PI * 1250 * t)) +
                     int(noise >> 28) - 8;
    const int right = int(8000 * std::sin(2 * M_PI * 660 * t)) + int(noise >> 27 & 15) - 8;
    for (int c = 0; c < 2; ++c) {
      const uint16_t v = uint16_t(int16_t(c ? right : left));
      pcm[4 * i + 2 * c] = uint8_t(v);
      pcm[4 * i + 2 * c + 1] = uint8_t(v >> 8);
    }
  }
  return pcm;
}

void BM_DeltaDecode16BitStereo(benchmark::State& state) {
  // 50 different 40 ms chunks, decoded in turn (one chunk again and again
  // would let the branch predictor learn its codes).
  constexpr uint64_t kFrame = 1764, kChunks = 50;
  const std::vector<uint8_t> pcm = stereo_signal(kFrame * kChunks);
  std::vector<std::vector<uint8_t>> streams;
  uint64_t coded = 0;
  for (uint64_t c = 0; c < kChunks; ++c) {
    std::vector<uint8_t> chunk = encode_audio_chunk(
        std::span<const uint8_t>(pcm).subspan(c * kFrame * 4, kFrame * 4), 2, 2);
    coded += chunk.size();
    streams.emplace_back(chunk.begin() + 8, chunk.end());
    streams.back().resize(streams.back().size() + 8);
  }
  std::vector<uint32_t> scratch(kAudioScratchBytes / 4);
  std::vector<uint8_t> ring(65536);
  uint64_t pos = 0, bytes = 0;
  size_t next = 0;
  for (auto _ : state) {
    const uint64_t n = decode_audio_chunk(streams[next], kFrame * 4, scratch,
                                          RingSpan{ring.data(), ring.size()}, pos);
    next = (next + 1) % kChunks;
    pos = (pos + n) % ring.size();
    bytes += n;
    benchmark::DoNotOptimize(ring.data());
  }
  state.SetBytesProcessed(int64_t(bytes));
  state.counters["ns_per_byte"] =
      benchmark::Counter(double(bytes), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["chunk_ratio"] = double(coded) / double(pcm.size());
}
BENCHMARK(BM_DeltaDecode16BitStereo);

// A sound table that takes everything at once and says it all played.
uint64_t g_drained = 0;
std::vector<GlintSoundTrack*> g_tracks;
void drain_all() {
  static uint8_t sink[65536];
  for (GlintSoundTrack* t : g_tracks)
    while (uint32_t n = GlintSoundTrackTake(t, sink, sizeof sink)) g_drained += n;
}
const GlintSoundTable kDrain{
    [](GlintSoundTrack* t, uint32_t) -> int {
      g_tracks.push_back(t);
      return 1;
    },
    [](GlintSoundTrack* t) { std::erase(g_tracks, t); },
    [](GlintSoundTrack*) -> uint64_t {
      drain_all();
      return g_drained;
    },
    [](GlintSoundTrack*) {}, [](GlintSoundTrack*) {}, [](GlintSoundTrack*) -> int { return 1; },
    drain_all};

void BM_FrameSoundPath(benchmark::State& state) {
  const bool compressed = state.range(0) != 0;
  GlintInstallSoundTable(&kDrain);
  const std::string name = "/tmp/glint_audio_bench_" + std::to_string(getpid()) + ".gnt";
  GlintEncoder* encoder = GlintEncoderOpen(16, 16, 40, 0);
  std::vector<uint8_t> pixels(256, 1), palette(768, 0);
  for (int f = 0; f < 250; ++f) GlintEncoderAddFrame(encoder, pixels.data(), f ? nullptr : palette.data());
  const std::vector<uint8_t> pcm = stereo_signal(250 * 1764);
  GlintEncoderAddTrack(encoder, 0,
                       44100 | GLINT_FORMAT_STEREO | GLINT_FORMAT_16BIT |
                           (compressed ? GLINT_FORMAT_COMPRESSED : 0),
                       pcm.data(), uint32_t(pcm.size()));
  GlintEncoderWrite(encoder, name.c_str());
  GlintEncoderClose(encoder);
  Glint* glint = GlintOpen(name.c_str(), GLINT_TRACK0 | GLINT_WHOLE_FILE | GLINT_NO_SKIP, -1);
  std::remove(name.c_str());
  if (!glint || !(glint->mode_flags & GLINT_TRACK0)) {
    state.SkipWithError("no track");
    GlintClose(glint);
    return;
  }
  // No picture output: only the sound part of a frame is measured.
  for (auto _ : state) {
    GlintDecodeFrame(glint);
    GlintAdvanceFrame(glint);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * 7056);
  GlintClose(glint);
}
BENCHMARK(BM_FrameSoundPath)->Arg(0)->Arg(1)->ArgNames({"compressed"});

}  // namespace
