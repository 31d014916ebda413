// SOUND plays its beep through the audio device while it waits (captured on
// the headless device); SYSTEMUSEDIRECTSOUND installs the DirectSound output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "glinter/sound/sound_output.h"
#include "glinter/sound_hook.h"
#include "platform/audio_tone.h"
#include "platform/headless/headless_audio.h"
#include "platform/platform.h"
#include "script_runner.h"
#include "support/temp_dir.h"

namespace glint::player {
namespace {

using test::run_script_text;
namespace hl = platform::headless;

class SoundCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    hl::reset_audio();
    setenv("GLINT_AUDIO_CAPTURE", dir.file("out.wav").c_str(), 1);
  }
  void TearDown() override {
    hl::reset_audio();
    unsetenv("GLINT_AUDIO_CAPTURE");
    unsetenv("GLINT_HEADLESS_AUDIO");
  }
  // Runs SOUND between two timer readings; returns the time it took.
  int64_t timed(const std::string& sound) {
    const test::ScriptRun run = run_script_text("SYSTEMTIMER A\n" + sound + "\nSYSTEMTIMER B\n");
    EXPECT_EQ(run.error(), "");
    return std::strtoll(run.var("B").c_str(), nullptr, 10) -
           std::strtoll(run.var("A").c_str(), nullptr, 10);
  }
  glint::test::TempDir dir;
};

// The samples of the captured beep, as 16-bit values ("" file: none).
std::vector<int16_t> beep_samples(const std::string& file) {
  std::vector<int16_t> out;
  for (size_t i = 44; i + 1 < file.size(); i += 2)
    out.push_back(static_cast<int16_t>(uint8_t(file[i]) | uint8_t(file[i + 1]) << 8));
  return out;
}

TEST_F(SoundCommand, BeepsASquareWaveForTheWholeWait) {
  const struct {
    int frequency, milliseconds;
  } cases[] = {{440, 100}, {37, 50}, {32767, 20}, {1000, 3000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frequency);
    hl::reset_audio();
    EXPECT_EQ(timed("SOUND " + std::to_string(c.frequency) + " " + std::to_string(c.milliseconds)),
              c.milliseconds);
    const std::string file = dir.read("out-tone.wav");
    ASSERT_EQ(file.compare(0, 4, "RIFF"), 0);
    const std::vector<int16_t> samples = beep_samples(file);
    ASSERT_EQ(samples.size(), uint64_t{platform::kToneRate} * c.milliseconds / 1000);
    // A square wave: two levels, changing twice per period.
    unsigned changes = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
      ASSERT_EQ(std::abs(samples[i]), samples[0]) << i;
      if (i && samples[i] != samples[i - 1]) ++changes;
    }
    const double expected = 2.0 * c.frequency * c.milliseconds / 1000;
    if (c.frequency < static_cast<int>(platform::kToneRate / 2)) {
      EXPECT_NEAR(changes, expected, 2);
    }
    EXPECT_EQ(hl::audio_streams_open(), 0u);
    std::remove(dir.file("out-tone.wav").c_str());
  }
}

TEST_F(SoundCommand, SilentWaitOutsideTheBeepRangeOrWithoutADevice) {
  const struct {
    const char* sound;
    const char* audio;
  } cases[] = {
      {"SOUND 36 120", ""},         {"SOUND 32768 120", ""},    {"SOUND -440 120", ""},
      {"SOUND 440 120", "fail"},    {"SOUND 440 120", "missing"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.sound) + " " + c.audio);
    setenv("GLINT_HEADLESS_AUDIO", c.audio, 1);
    EXPECT_EQ(timed(c.sound), 120);
    EXPECT_EQ(dir.read("out-tone.wav"), "");
  }
  unsetenv("GLINT_HEADLESS_AUDIO");
  EXPECT_EQ(timed("SOUND 440 0"), 0);
  EXPECT_EQ(timed("SOUND 440 -5"), 0);
  EXPECT_EQ(dir.read("out-tone.wav"), "");
}

// The installed output is once per process: the script runs in a fresh child.
TEST(SystemUseDirectSound, InstallsTheDirectSoundOutput) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        platform::select_backend("headless");
        const test::ScriptRun run = run_script_text("SYSTEMUSEDIRECTSOUND\n");
        std::_Exit(run.error().empty() && glinter::sound_system() == glinter::direct_sound_sound_system()
                       ? 0
                       : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace glint::player
