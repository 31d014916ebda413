// Which table wins: the DirectSound install against the default that the
// first track open installs. The installed table is once per process, so
// each order runs in a fresh child process.
#include <gtest/gtest.h>

#include <cstdlib>

#include "glinter/sound/sound_output.h"
#include "glinter/sound_hook.h"
#include "platform/headless/headless_audio.h"
#include "platform/platform.h"

namespace glint::glinter {
namespace {

// Exit code 0 when every step gave the expected result, else the failing step.
[[noreturn]] void check_steps(std::initializer_list<bool> steps) {
  int step = 1;
  for (bool ok : steps) {
    if (!ok) std::_Exit(step);
    ++step;
  }
  std::_Exit(0);
}

TEST(SoundInstall, FirstTableStays) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const SoundSystem* ds = direct_sound_sound_system();
  const SoundSystem* wave = wave_out_sound_system();
  EXPECT_EQ(default_sound_system(), wave);
  EXPECT_EXIT(
      {
        platform::select_backend("headless");
        check_steps({install_direct_sound(), install_direct_sound(),  // again: still true
                     !install_sound_system(default_sound_system()), sound_system() == ds});
      },
      ::testing::ExitedWithCode(0), "")
      << "DirectSound first";
  EXPECT_EXIT(
      {
        platform::select_backend("headless");
        check_steps({install_sound_system(default_sound_system()), !install_direct_sound(),
                     sound_system() == wave});
      },
      ::testing::ExitedWithCode(0), "")
      << "a track opened first";
  EXPECT_EXIT(
      {
        platform::select_backend("headless");
        platform::headless::set_audio_fault(platform::headless::AudioFault::missing);
        check_steps({!install_direct_sound(), sound_system() == nullptr});
      },
      ::testing::ExitedWithCode(0), "")
      << "no sound output on this machine";
}

}  // namespace
}  // namespace glint::glinter
