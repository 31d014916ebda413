// ANIMATIONPLAY with sound on the headless audio device: the sound captured
// is the animation's track, and the play is timed by it, taking as long as
// the animation lasts (within one frame).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "animation_fixture.h"
#include "platform/headless/headless_audio.h"
#include "support/wav_data.h"

namespace {

using glint::test::AnimationTest;
using glint::test::plan_of;
using glint::test::wav_data;

class AnimationSound : public AnimationTest {
 protected:
  void SetUp() override {
    AnimationTest::SetUp();
    glint::platform::headless::reset_audio();
  }
  void TearDown() override {
    glint::platform::headless::reset_audio();
    unsetenv("GLINT_AUDIO_CAPTURE");
    AnimationTest::TearDown();
  }
};

TEST_F(AnimationSound, PlayGivesTheTrackAndTakesTheAnimationsLength) {
  constexpr uint32_t kRate = 11025;
  constexpr uint32_t kFrames = 10;
  constexpr int32_t kPeriodMs = 100;
  auto plan = plan_of(kFrames, 0, 16, 8, kPeriodMs);
  plan.track_format = kRate;  // 8-bit mono
  plan.samples.resize(kRate * kFrames * kPeriodMs / 1000);
  // Never the silence value 0x80, so the track's bytes can be found.
  for (std::size_t i = 0; i < plan.samples.size(); ++i)
    plan.samples[i] = uint8_t(10 + (i * 7) % 100);
  const std::string path = gnt("sound.gnt", plan);
  {
    // The track stays open only where a sound output takes it.
    Glint* probe = GlintOpen(path.c_str(), GLINT_TRACK(0), -1);
    ASSERT_NE(probe, nullptr);
    const bool track_open = probe->mode_flags & GLINT_TRACK(0);
    GlintClose(probe);
    if (!track_open) GTEST_SKIP() << "no sound output takes the track in this build";
  }
  const std::string capture = dir.file("capture.wav");
  setenv("GLINT_AUDIO_CAPTURE", capture.c_str(), 1);

  const auto r =
      run("SCREENGRAPHICS OK 64 32\nSYSTEMTIMER T0\n"
          "ANIMATIONPLAY R 0 0 1 0 \"" +
          path + "\"\nSYSTEMTIMER T1\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("R"), "1");
  const int took = std::stoi(r.var("T1")) - std::stoi(r.var("T0"));
  const int length = int(kFrames) * kPeriodMs;
  EXPECT_GE(took, length - kPeriodMs);
  EXPECT_LE(took, length + kPeriodMs);

  glint::platform::headless::reset_audio();  // writes the capture
  const std::vector<uint8_t> played = wav_data(capture);
  ASSERT_FALSE(played.empty()) << "no sound captured";
  // Everything but silence is the track, in order from its start. The play
  // ends when the last frame is shown and closing the animation stops its
  // sound, so the device's last frames of sound are cut.
  std::vector<uint8_t> sound;
  std::copy_if(played.begin(), played.end(), std::back_inserter(sound),
               [](uint8_t b) { return b != 0x80; });
  ASSERT_LE(sound.size(), plan.samples.size());
  EXPECT_TRUE(std::equal(sound.begin(), sound.end(), plan.samples.begin()));
  const std::size_t frame_bytes = (kRate * kPeriodMs + 999) / 1000;  // 1102.5, rounded up
  EXPECT_GE(sound.size(), plan.samples.size() - 2 * frame_bytes);
}

}  // namespace
