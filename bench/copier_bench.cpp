// The copier's types at 640 x 480 output, the 8-bit pair-table rebuild, and
// the plain present path per dirty rectangle against a whole frame.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "platform/headless/headless_video.h"
#include "platform/platform.h"
#include "player/display/copier.h"
#include "player/display/display_blit.h"
#include "player/display/screen.h"

namespace d = glint::player::display;

namespace {

d::Rgb768 test_palette() {
  std::mt19937 rng(5);
  d::Rgb768 pal;
  for (auto& c : pal) c = uint8_t(rng());
  return pal;
}

// Copies a whole picture whose output is 640 x 480 (320 x 240 doubled, or
// 640 x 480 at 1x) with the copier opened with these flags.
void BM_CopierFrame(benchmark::State& state) {
  const uint32_t flags = uint32_t(state.range(0)) | (state.range(1) == 0   ? 0
                                                     : state.range(1) == 1 ? d::kCopier555
                                                                           : d::kCopier565);
  auto copier = d::copier_open(flags);
  const auto pal = test_palette();
  d::copier_set_palette(*copier, pal.data(), 0);
  const int scale = d::copier_scale(*copier), bytes = d::copier_pixel_bytes(*copier);
  const int w = 640 / scale, h = 480 / scale;
  std::vector<uint8_t> source(size_t(w) * h);
  std::mt19937 rng(9);
  for (auto& v : source) v = uint8_t(rng());
  std::vector<uint8_t> dest(size_t(640) * 480 * bytes);
  for (auto _ : state) {
    d::copier_copy(*copier, dest.data(), 640 * bytes, 0, 0, source.data(), w, 0, 0, w, h);
    benchmark::DoNotOptimize(dest.data());
  }
  state.SetLabel(d::copier_describe(*copier, false));
  state.SetBytesProcessed(int64_t(state.iterations()) * 640 * 480 * bytes);
}
BENCHMARK(BM_CopierFrame)
    ->ArgsProduct({{d::kCopierOneX, d::kCopierDouble, d::kCopierInterlace, d::kCopierSmooth},
                   {0, 1, 2}});

void BM_PairTableRebuild8(benchmark::State& state) {
  auto pal = test_palette();
  std::vector<uint8_t> table(65536);
  for (auto _ : state) {
    d::build_pairs8(pal, table.data());
    benchmark::DoNotOptimize(table.data());
    pal[0] ^= 1;
  }
}
BENCHMARK(BM_PairTableRebuild8)->Unit(benchmark::kMillisecond);

// The plain (unaccelerated) present of a 640 x 480 picture: sixteen 32 x 32
// dirty rectangles against the whole frame.
void BM_Present(benchmark::State& state) {
  glint::platform::select_backend("headless");
  d::screen_destroy();
  d::screen().output_width = 0;
  d::screen().output_height = 0;
  d::screen_create(640, 480, 0, 0, 24, "bench");
  d::Display& display = *d::screen().display;
  const bool whole = state.range(0) == 1;
  for (auto _ : state) {
    if (whole) {
      d::display_blit(display, 0, 0, 0, 0, 640, 480);
    } else {
      for (int i = 0; i < 16; ++i)
        d::display_blit(display, 0, 0, (i * 37) % 600, (i * 29) % 440, 32, 32);
    }
  }
  state.SetLabel(whole ? "whole frame" : "16 rectangles of 32x32");
  d::screen_destroy();
}
BENCHMARK(BM_Present)->Arg(0)->Arg(1);

}  // namespace
