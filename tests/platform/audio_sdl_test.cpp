// The SDL audio device on SDL's "dummy" driver (or a real one): a stream
// opens, starts, consumes what is queued and drops it when cleared.
#include <gtest/gtest.h>

#if defined(GLINT_HAVE_SDL)
#include <SDL.h>

#include <cstdlib>
#include <vector>

#include "platform/audio_drivers.h"
#include "platform/platform.h"

namespace p = glint::platform;

namespace {

bool sdl_audio_up() {
  static const bool ok = [] {
    if (!std::getenv("SDL_AUDIODRIVER")) setenv("SDL_AUDIODRIVER", "dummy", 1);
    return p::sdl_audio.available();
  }();
  return ok;
}

TEST(SdlAudio, QueuesPlaysAndClears) {
  if (!sdl_audio_up()) GTEST_SKIP() << "no SDL audio driver: " << SDL_GetError();
  const p::AudioDriver& dev = p::sdl_audio;
  const p::AudioHandle a = dev.open(p::AudioFormat{22050, 2, 16}, 0);
  if (!a) GTEST_SKIP() << "cannot open an SDL audio device: " << SDL_GetError();
  EXPECT_TRUE(dev.wait_started(a, 1000));
  const std::vector<uint8_t> silence(8820, 0);  // 0.1 s
  ASSERT_TRUE(dev.queue(a, silence.data(), silence.size()));
  uint64_t last = 0;
  for (int i = 0; i < 200 && last < silence.size(); ++i) {
    const uint64_t now = dev.played(a);
    EXPECT_GE(now, last);
    EXPECT_LE(now, silence.size());
    last = now;
    SDL_Delay(5);
  }
  EXPECT_EQ(last, silence.size());
  ASSERT_TRUE(dev.queue(a, silence.data(), silence.size()));
  dev.clear(a);
  EXPECT_LE(dev.played(a), 2 * silence.size());
  const uint64_t after_clear = dev.played(a);
  SDL_Delay(50);
  EXPECT_EQ(dev.played(a), after_clear);  // nothing left to consume
  dev.close(a);
  EXPECT_EQ(dev.played(a), 0u);
  EXPECT_EQ(dev.open(p::AudioFormat{22050, 5, 16}, 0), 0u);
}

}  // namespace
#endif
