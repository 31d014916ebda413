// ANIMATIONPLAY of a 640 x 480 animation without waiting (flag 0x4) on the
// headless display: frames per second end to end, through decoding, the
// changed rectangles and the presents to the window.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "orxutil/glint.h"
#include "player/command_table.h"
#include "player/display/display_hooks.h"
#include "player/display/screen.h"
#include "player/player.h"
#include "player/startup.h"

namespace p = glint::player;

namespace {

constexpr uint32_t kWidth = 640, kHeight = 480, kFrames = 32;

// A moving plasma-like picture: most blocks change from frame to frame, as
// in filmed material.
std::string make_animation() {
  const std::string path =
      (std::filesystem::temp_directory_path() / "glint_animation_play_bench.gnt").string();
  GlintEncoder* encoder = GlintEncoderOpen(kWidth, kHeight, 40, GLINT_ENCODE_RING);
  std::vector<uint8_t> pixels(std::size_t(kWidth) * kHeight), palette(768);
  for (int i = 0; i < 256; ++i) {
    palette[i * 3] = uint8_t(i);
    palette[i * 3 + 1] = uint8_t(255 - i);
    palette[i * 3 + 2] = uint8_t((i * 3) & 255);
  }
  for (uint32_t f = 0; f < kFrames; ++f) {
    const double t = f * 0.2;
    for (uint32_t y = 0; y < kHeight; ++y)
      for (uint32_t x = 0; x < kWidth; ++x)
        pixels[std::size_t(y) * kWidth + x] =
            uint8_t(128 + 60 * std::sin(x / 23.0 + t) + 60 * std::sin(y / 17.0 - t * 1.3));
    GlintEncoderAddFrame(encoder, pixels.data(), f == 0 ? palette.data() : nullptr);
  }
  GlintEncoderWrite(encoder, path.c_str());
  GlintEncoderClose(encoder);
  return path;
}

p::CommandHandler handler(std::string_view name) {
  for (std::size_t i = 0; i < p::kCommandNames.size(); ++i)
    if (p::kCommandNames[i] == name) return p::command_table().handlers[i];
  return nullptr;
}

void BM_AnimationPlay(benchmark::State& state) {
  setenv("GLINT_PLATFORM", "headless", 1);
  static const std::string path = make_animation();
  p::Player player;
  p::init_player(player);
  p::start_player(player);
  if (!p::display::screen_create(kWidth, kHeight, -1, -1, 0x2000, "bench")) {
    state.SkipWithError("no headless window");
    return;
  }
  p::display::install_display_hooks(player.hooks);
  const p::CommandHandler play = handler("ANIMATIONPLAY");
  constexpr int kPasses = 4;
  for (auto _ : state) {
    player.parameters = "R 0 0 " + std::to_string(kPasses) + " 4 \"" + path + "\"";
    play(player);
  }
  state.counters["fps"] = benchmark::Counter(double(state.iterations()) * kPasses * kFrames,
                                             benchmark::Counter::kIsRate);
  p::display::screen_destroy();
}
BENCHMARK(BM_AnimationPlay)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
