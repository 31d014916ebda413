// Transparent and merged copies of a 640 x 480 bitmap onto a 640 x 480
// 8-bit screen buffer, the per-row loops the BITMAPTOSCREEN forms run.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "player/bitmap_copy.h"

namespace p = glint::player;

namespace {

constexpr int32_t kWidth = 640, kHeight = 480;

std::vector<uint8_t> noise(unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> pixels(size_t(kWidth) * kHeight);
  // About one pixel in four is the key 0, as in a sprite with holes.
  for (auto& pixel : pixels) pixel = rng() % 4 == 0 ? 0 : uint8_t(1 + rng() % 255);
  return pixels;
}

void BM_BitmapCopy(benchmark::State& state) {
  const auto kind = p::CopyKind(state.range(0));
  std::vector<uint8_t> source = noise(1), second = noise(2), screen = noise(3);
  const glint::player::display::Target8 s{source.data(), kWidth, kWidth, kHeight};
  const glint::player::display::Target8 e{second.data(), kWidth, kWidth, kHeight};
  const glint::player::display::Target8 d{screen.data(), kWidth, kWidth, kHeight};
  const p::CopyArea area{0, 0, 0, 0, kWidth, kHeight};
  for (auto _ : state) {
    p::copy_area(d, s, &e, area, kind, 0);
    benchmark::DoNotOptimize(screen.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight);
}

}  // namespace

BENCHMARK(BM_BitmapCopy)
    ->ArgName("kind")
    ->Arg(int(p::CopyKind::kPlain))
    ->Arg(int(p::CopyKind::kTransparent))
    ->Arg(int(p::CopyKind::kMasked))
    ->Arg(int(p::CopyKind::kMerged));
