// Animations with sound played through the decoder loop (wait, decode,
// advance) into the standard sound output on the headless device: what the
// device played, as captured, is the track's PCM byte for byte, and the
// frames come out at the animation's pace.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio_play_fixture.h"
#include "glinter/sound/sound_output.h"
#include "glinter/sound_hook.h"
#include "platform/headless/headless_audio.h"
#include "platform/platform.h"
#include "support/wav_data.h"

namespace glint::test {
namespace {

struct DevicePlay : ::testing::TestWithParam<bool> {
  TempDir dir;
  const glinter::SoundSystem* previous = nullptr;

  void SetUp() override {
    platform::headless::reset_audio();
    setenv("GLINT_AUDIO_CAPTURE", dir.file("played.wav").c_str(), 1);
    previous = glinter::replace_sound_system_for_tests(glinter::wave_out_sound_system());
  }
  void TearDown() override {
    glinter::replace_sound_system_for_tests(previous);
    platform::headless::reset_audio();
    unsetenv("GLINT_AUDIO_CAPTURE");
  }
};

TEST_P(DevicePlay, TheDevicePlaysTheTrackWholeInStepWithTheFrames) {
  const bool compressed = GetParam();
  constexpr int32_t kPeriodMs = 50;
  constexpr uint32_t kFrames = 40;  // two seconds
  const uint32_t format = format_word(22050, 2, 16, compressed);
  const std::vector<uint8_t> pcm = counting_pcm(format, frame_share(format, kPeriodMs) * kFrames);

  GlintEncoder* encoder = GlintEncoderOpen(16, 16, kPeriodMs, 0);
  ASSERT_NE(encoder, nullptr);
  std::vector<uint8_t> palette(768, 0);
  for (uint32_t f = 0; f < kFrames; ++f) {
    std::vector<uint8_t> pixels(256, uint8_t(f + 1));
    ASSERT_EQ(GlintEncoderAddFrame(encoder, pixels.data(), f == 0 ? palette.data() : nullptr), 1);
  }
  ASSERT_EQ(GlintEncoderAddTrack(encoder, 0, format, pcm.data(), uint32_t(pcm.size())), 1);
  ASSERT_EQ(GlintEncoderWrite(encoder, dir.file("clip.gnt").c_str()), 1);
  GlintEncoderClose(encoder);

  Glint* glint = GlintOpen(dir.file("clip.gnt").c_str(), GLINT_TRACK0, -1);
  ASSERT_NE(glint, nullptr);
  ASSERT_TRUE(glint->mode_flags & GLINT_TRACK0) << "the standard output refused the track";
  std::vector<uint8_t> picture(256, 0);
  GlintSetOutput(glint, 0, 0, 16, 16, picture.data(), 0);

  // The frame on show when each half second of play begins.
  const uint32_t start = ORXTimerRead();
  std::vector<int> shown_at_half_seconds;
  for (uint32_t f = 0; f < kFrames; ++f) {
    for (int guard = 0; GlintCheckWait(glint); ++guard) {
      ASSERT_LT(guard, 100000) << "frame " << f << " never became due";
      glinter::sound_service();
      platform::sleep_ms(1);
    }
    GlintDecodeFrame(glint);
    while (shown_at_half_seconds.size() * 500 <= ORXTimerRead() - start)
      shown_at_half_seconds.push_back(picture[0] - 1);
    if (f + 1 < kFrames) GlintAdvanceFrame(glint);
  }
  // Let the device play out what is queued before the animation closes.
  for (int ms = 0; ms < 2000; ++ms) {
    glinter::sound_service();
    platform::sleep_ms(1);
  }
  GlintClose(glint);
  platform::headless::reset_audio();  // writes the capture

  const std::vector<uint8_t> played = wav_data(dir.file("played.wav"));
  ASSERT_EQ(played.size(), pcm.size());
  EXPECT_TRUE(played == pcm) << "the played sound differs from the track";
  // Ten frames a half second: each half second begins within one frame of
  // its frame.
  for (std::size_t i = 0; i < shown_at_half_seconds.size(); ++i)
    EXPECT_NEAR(shown_at_half_seconds[i], int(i) * 10, 1) << "half second " << i;
}

INSTANTIATE_TEST_SUITE_P(RawAndCompressed, DevicePlay, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Compressed" : "Raw";
                         });

}  // namespace
}  // namespace glint::test
