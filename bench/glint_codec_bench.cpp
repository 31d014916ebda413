// Glinter decoding: frames per second and ns per block at 320x240 and
// 640x480 for three content mixes, tree building per open, and encoding.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "glinter/encoder/glint_encoder.h"
#include "orxutil/glint.h"

namespace {

using glint::glinter::EncoderInput;

enum Mix { kDetail, kTypical, kLongCodes };

// Detail: every block full or two-colour with random colours. Typical: a
// still background of flat areas with moving objects (unchanged and solid
// runs dominate). Long codes: full blocks whose pixel pairs follow a long-
// tailed distribution, so many codes pass the 12-bit lookup.
EncoderInput make_clip(Mix mix, uint32_t w, uint32_t h, int frames) {
  EncoderInput input;
  input.settings.width = w;
  input.settings.height = h;
  input.settings.frame_period = 40;
  input.settings.version4 = true;
  std::mt19937 random(42);
  glint::glinter::Palette palette;
  for (auto& c : palette) c = uint8_t(random());
  std::vector<uint8_t> background(size_t(w) * h);
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x)
      background[size_t(y) * w + x] = uint8_t((x / 32 + y / 24 * 3) % 16);
  std::geometric_distribution<int> tail(0.02);
  for (int f = 0; f < frames; ++f) {
    std::vector<uint8_t> picture(size_t(w) * h);
    if (mix == kTypical) {
      // About a fifth of the picture changes per frame: moving sprites with
      // flat insides, detailed edges and a few textured patches.
      picture = background;
      const uint32_t sw = w / 8, sh = h / 6;
      for (int r = 0; r < 6; ++r) {
        uint32_t x0 = (uint32_t(f) * (4 + r) + 50 * r) % (w - sw),
                 y0 = (uint32_t(f) * (3 + r) + 30 * r) % (h - sh);
        for (uint32_t y = y0; y < y0 + sh; ++y)
          for (uint32_t x = x0; x < x0 + sw; ++x) {
            bool edge = x - x0 < 3 || x0 + sw - x < 4 || y - y0 < 3 || y0 + sh - y < 4;
            picture[size_t(y) * w + x] =
                edge ? uint8_t(random() % 240) : uint8_t(100 + r + (x % 9 == 0));
          }
      }
    } else {
      for (uint32_t by = 0; by < h / 4; ++by)
        for (uint32_t bx = 0; bx < w / 4; ++bx) {
          // 240 colours: pure 8-bit noise would use every 16-bit pixel pair,
          // which leaves the format no node marker.
          bool two = mix == kDetail && random() % 2;
          uint8_t a = uint8_t(random() % 240), b = uint8_t(random() % 240);
          for (uint32_t i = 0; i < 16; ++i) {
            uint8_t v = two ? (random() % 2 ? a : b)
                            : (mix == kLongCodes ? uint8_t(std::min(tail(random), 239))
                                                 : uint8_t(random() % 240));
            picture[(size_t(by) * 4 + i / 4) * w + bx * 4 + i % 4] = v;
          }
        }
    }
    input.pictures.push_back(std::move(picture));
    input.palettes.push_back(palette);
  }
  return input;
}

std::string write_temp(const std::vector<uint8_t>& bytes) {
  char name[] = "/tmp/glint_bench_XXXXXX";
  int fd = mkstemp(name);
  if (fd < 0) return "";
  if (write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size())) {
    close(fd);
    return "";
  }
  close(fd);
  return name;
}

void BM_Decode(benchmark::State& state) {
  const Mix mix = Mix(state.range(0));
  const uint32_t w = uint32_t(state.range(1)), h = w * 3 / 4;
  std::string error;
  std::vector<uint8_t> file = glint::glinter::encode_gnt(make_clip(mix, w, h, 16), error);
  std::string name = write_temp(file);
  Glint* glint = GlintOpen(name.c_str(), GLINT_WHOLE_FILE, 0);
  if (!glint) {
    state.SkipWithError("open failed");
    return;
  }
  std::vector<uint8_t> buffer(size_t(w) * h);
  GlintSetOutput(glint, 0, 0, int32_t(w), h, buffer.data(), 0);
  for (auto _ : state) {
    GlintDecodeFrame(glint);
    GlintAdvanceFrame(glint);
    benchmark::DoNotOptimize(buffer.data());
  }
  const double blocks = double(w / 4) * (h / 4);
  state.SetItemsProcessed(state.iterations());
  state.counters["frames/s"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["ns/block"] =
      benchmark::Counter(double(state.iterations()) * blocks,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["bytes/frame"] = double(file.size()) / 16;
  GlintClose(glint);
  std::remove(name.c_str());
}
BENCHMARK(BM_Decode)
    ->ArgNames({"mix", "width"})
    ->ArgsProduct({{kDetail, kTypical, kLongCodes}, {320, 640}})
    ->Unit(benchmark::kMicrosecond);

// Opening a file with large trees: reading and building all four.
void BM_OpenTrees(benchmark::State& state) {
  std::string error;
  std::vector<uint8_t> file = glint::glinter::encode_gnt(make_clip(kDetail, 640, 480, 2), error);
  std::string name = write_temp(file);
  for (auto _ : state) {
    Glint* glint = GlintOpen(name.c_str(), 0, 0);
    benchmark::DoNotOptimize(glint);
    GlintClose(glint);
  }
  std::remove(name.c_str());
}
BENCHMARK(BM_OpenTrees)->Unit(benchmark::kMillisecond);

void BM_Encode(benchmark::State& state) {
  const Mix mix = Mix(state.range(0));
  EncoderInput input = make_clip(mix, 320, 240, 8);
  std::string error;
  for (auto _ : state) benchmark::DoNotOptimize(glint::glinter::encode_gnt(input, error));
  state.counters["frames/s"] =
      benchmark::Counter(double(state.iterations()) * 8, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Encode)->ArgName("mix")->Arg(kDetail)->Arg(kTypical)->Unit(benchmark::kMillisecond);

}  // namespace
