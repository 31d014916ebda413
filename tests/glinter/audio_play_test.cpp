// Animations with sound played through the decoder loop against the fake
// sound output: the PCM that reaches the device, frames released in step
// with it, lateness and skipping, the pre-roll after running dry, pause and
// resume, and the rewind to frame 0.
#include <cstring>

#include "audio_play_fixture.h"
#include "platform/platform.h"

namespace glint::test {
namespace {

struct Layout {
  uint32_t rate;
  unsigned channels, bits;
};
constexpr Layout kLayouts[] = {{11025, 1, 8}, {8000, 2, 8}, {11025, 1, 16}, {22050, 2, 16}};

TEST_F(AudioPlay, DevicePlaysExactlyTheTrackInEveryLayoutRawAndCompressed) {
  for (const Layout& layout : kLayouts) {
    for (bool compressed : {false, true}) {
      const uint32_t format = format_word(layout.rate, layout.channels, layout.bits, compressed);
      // Neither a whole number of frames' worth nor of 4 bytes.
      const uint64_t bytes = 25 * frame_share(format, 40) + 3 * layout.channels * layout.bits / 8;
      open_clip(format, 40, 25, bytes);
      play(25);
      EXPECT_EQ(track().ran_dry.load(), false);
      play_out();
      SCOPED_TRACE(std::to_string(layout.rate) + " Hz " + std::to_string(layout.channels) + "x" +
                   std::to_string(layout.bits) + (compressed ? " compressed" : " raw"));
      EXPECT_EQ(device().played, pcm);
      EXPECT_EQ(slot().overflows, 0u);
      EXPECT_EQ(slot().prerolls, 0u);
    }
  }
}

// Where in the track the byte at `position` of the played sound came from
// (16-bit counting samples).
int64_t source_of(const std::vector<uint8_t>& played, uint64_t position) {
  if (position + 1 >= played.size()) return -1;
  position &= ~uint64_t(1);
  return 2 * int64_t(played[position] | played[position + 1] << 8);
}

void expect_in_step(const std::vector<Shown>& shown, const std::vector<uint8_t>& played,
                    uint64_t share, size_t from = 1, uint64_t until = UINT64_MAX) {
  for (size_t i = from; i < shown.size(); ++i) {
    if (shown[i].position >= until) continue;
    const int64_t source = source_of(played, shown[i].position);
    if (source < 0) continue;
    const int64_t expected = int64_t(shown[i].frame) * int64_t(share);
    EXPECT_LE(std::abs(source - expected), int64_t(share))
        << "frame " << shown[i].frame << " decoded while the device played byte " << source;
  }
}

TEST_F(AudioPlay, FramesAreReleasedInStepWithTheSound) {
  const uint32_t format = format_word(8000, 1, 16, true);
  const uint64_t share = frame_share(format, 40);
  open_clip(format, 40, 75, 75 * share);
  std::vector<Shown> shown = play(75);
  play_out();
  ASSERT_EQ(shown.size(), 75u);
  expect_in_step(shown, device().played, share);
  // The frame decoded when each second of sound begins is frame 25 x s,
  // within one frame.
  for (uint64_t second = 1; second <= 2; ++second) {
    uint32_t frame = 0;
    for (const Shown& s : shown)
      if (s.position <= second * 16000) frame = s.frame;
    EXPECT_LE(std::abs(int(frame) - int(25 * second)), 1) << "second " << second;
  }
  for (const Shown& s : shown) {
    EXPECT_EQ(s.late, 0);
    EXPECT_EQ(s.colour, int(s.frame % 200 + 1));
  }
}

TEST_F(AudioPlay, LongFramesKeepTimePastThirtyTwoBitMarks) {
  // One-second frames of 44.1 kHz 16-bit stereo: after 25 frames the begin
  // mark in 1/1,024 bytes is past 2^32.
  const uint32_t format = format_word(44100, 2, 16, false);
  const uint64_t share = frame_share(format, 1000);
  open_clip(format, 1000, 30, 30 * share);
  std::vector<Shown> shown = play(30);
  EXPECT_GT(glinter::state_of(glint)->sound.begin_q10, uint64_t(1) << 32);
  for (size_t i = 1; i < shown.size(); ++i)
    EXPECT_NEAR(double(shown[i].position), double((shown[i].frame - 1) * share), double(share))
        << shown[i].frame;
  play_out();
  EXPECT_EQ(device().played, pcm);
}

TEST_F(AudioPlay, AfterRunningDryTheNextFramePreRollsSilence) {
  const uint32_t format = format_word(8000, 1, 16, false);
  const uint64_t share = frame_share(format, 40);  // 640 bytes
  open_clip(format, 40, 40, 40 * share);
  // A dry report before any data brings no silence.
  track().ran_dry.store(true);
  play(1);
  EXPECT_EQ(slot().prerolls, 0u);
  GlintAdvanceFrame(glint);
  play(9);  // frames 1..9
  // The player stalls: the device plays out the ring and runs dry.
  fake.advance(300);
  glinter::sound_service();
  EXPECT_TRUE(track().ran_dry.load());
  GlintAdvanceFrame(glint);
  play(1);  // frame 10
  const uint64_t threshold = slot().start_threshold;
  EXPECT_EQ(threshold, share + 16000);  // one frame and one second
  EXPECT_EQ(slot().prerolls, 1u);
  EXPECT_EQ(slot().preroll_bytes, threshold - share);
  GlintAdvanceFrame(glint);
  play(29);
  EXPECT_FALSE(track().ran_dry.load()) << "the dry report is cleared on the frame after";
  play_out();
  std::vector<uint8_t> expected(pcm.begin(), pcm.begin() + 10 * share);
  expected.insert(expected.end(), threshold - share, 0x00);
  expected.insert(expected.end(), pcm.begin() + 10 * share, pcm.end());
  EXPECT_EQ(device().played, expected);
  EXPECT_EQ(slot().prerolls, 1u);
}

TEST_F(AudioPlay, AStalledPlayerMakesFramesLateAndSkipsTheirPictures) {
  for (bool no_skip : {false, true}) {
    const uint32_t format = format_word(8000, 1, 16, true);
    open_clip(format, 40, 100, 100 * frame_share(format, 40), no_skip ? GLINT_NO_SKIP : 0);
    play(10);
    fake.advance(300);  // runs dry: the next frame pre-rolls a second
    GlintAdvanceFrame(glint);
    play(5);
    fake.advance(800);  // now the device plays on through the stall
    GlintAdvanceFrame(glint);
    std::vector<Shown> shown = play(40);
    int late = 0, drawn_late = 0;
    for (const Shown& s : shown) {
      late += s.late;
      if (s.late && s.colour == int(s.frame % 200 + 1)) ++drawn_late;
      if (!s.late) {
        EXPECT_EQ(s.colour, int(s.frame % 200 + 1)) << s.frame;
      }
    }
    EXPECT_GE(late, 3) << "no_skip " << no_skip;
    EXPECT_LT(late, 40) << "frames catch up";
    EXPECT_EQ(drawn_late, no_skip ? late : 0);
    EXPECT_EQ(glinter::state_of(glint)->stats.frames_skipped, no_skip ? 0u : uint32_t(late));
    GlintClose(glint);
    glint = nullptr;
  }
}

TEST_F(AudioPlay, PauseAndResumeKeepTheSoundInStep) {
  const uint32_t format = format_word(8000, 1, 16, false);
  const uint64_t share = frame_share(format, 40);
  fake.lookahead_ms = 100;  // the device holds bytes that a stop drops
  open_clip(format, 40, 75, 75 * share);
  std::vector<Shown> before = play(20);
  const uint64_t taken = track().taken.load();
  EXPECT_EQ(GlintSoundSwitch(glint, 0), 1);
  EXPECT_EQ(device().stops, 1);
  const uint64_t paused_at = device().position;
  ASSERT_GT(taken, paused_at) << "the stop dropped what the device held";
  fake.advance(2000);
  EXPECT_EQ(GlintCheckWait(glint), 0) << "paused sound does not hold frames";
  EXPECT_EQ(device().position, paused_at);
  EXPECT_EQ(GlintSoundSwitch(glint, 1), 1);
  EXPECT_EQ(device().starts, 1);
  // The dropped bytes wait again, from the play position on.
  EXPECT_EQ(track().taken.load(), paused_at);
  GlintAdvanceFrame(glint);
  std::vector<Shown> after = play(55);
  play_out();
  // Nothing lost, nothing twice, and every frame in step with its sound.
  EXPECT_EQ(device().played, pcm);
  expect_in_step(before, device().played, share);
  expect_in_step(after, device().played, share, 0);
}

TEST_F(AudioPlay, ResumingAtAnotherFrameReplaysSilence) {
  const uint32_t format = format_word(8000, 1, 16, false);
  const uint64_t share = frame_share(format, 40);
  fake.lookahead_ms = 100;
  open_clip(format, 40, 75, 75 * share);
  play(20);
  GlintSoundSwitch(glint, 0);
  GlintGotoFrame(glint, 41);
  const size_t played_before = device().played.size();
  EXPECT_EQ(GlintSoundSwitch(glint, 1), 1);
  const uint64_t replay = glinter::track_waiting(track());
  EXPECT_GT(replay, 0u);
  play(10);
  play_out();
  const std::vector<uint8_t>& played = device().played;
  ASSERT_GE(played.size(), played_before + replay + share);
  EXPECT_EQ(std::vector<uint8_t>(played.begin() + played_before,
                                 played.begin() + played_before + replay),
            std::vector<uint8_t>(replay, 0));
  // Then frame 40's sound.
  EXPECT_EQ(source_of(played, played_before + replay), int64_t(40 * share));
}

TEST_F(AudioPlay, AFailedRestartReportsZero) {
  const uint32_t format = format_word(8000, 1, 8, false);
  open_clip(format, 40, 10, 10 * frame_share(format, 40));
  play(3);
  GlintSoundSwitch(glint, 0);
  fake.refuse_start = true;
  EXPECT_EQ(GlintSoundSwitch(glint, 1), 0);
}

TEST_F(AudioPlay, FramesPastTheEndOfTheSoundKeepTheClock) {
  // Sound for 10 of 30 frames: the frames after it must not race.
  const uint32_t format = format_word(8000, 1, 8, false);
  open_clip(format, 40, 30, 10 * frame_share(format, 40));
  std::vector<uint32_t> decoded_at;
  for (uint32_t i = 0; i < 30; ++i) {
    for (int guard = 0; GlintCheckWait(glint) && guard < 100000; ++guard) {
      fake.advance(1);
      platform::sleep_ms(1);
    }
    GlintDecodeFrame(glint);
    decoded_at.push_back(ORXTimerRead());
    if (i + 1 < 30) GlintAdvanceFrame(glint);
  }
  for (uint32_t f = 2; f < 30; ++f)
    EXPECT_NEAR(double(decoded_at[f] - decoded_at[f - 1]), 40.0, 2.0) << "frame " << f;
  EXPECT_EQ(slot().prerolls, 0u) << "no silence in front of no sound";
}

TEST_F(AudioPlay, RewindToFrameZeroStartsTheSoundAgain) {
  const uint32_t format = format_word(11025, 1, 16, true);
  const uint64_t share = frame_share(format, 40);
  open_clip(format, 40, 10, 10 * share);
  std::vector<Shown> shown = play(15);
  EXPECT_EQ(shown[10].frame, 0u);
  EXPECT_EQ(device().resets, 1);
  EXPECT_EQ(glinter::state_of(glint)->sound.begin_q10, uint64_t(4 * share) << 10);
  play_out();
  // After the reset the device counts from 0 and plays the track from its start.
  const std::vector<uint8_t>& played = device().played;
  const uint64_t tail = track().written.load();
  ASSERT_GE(played.size(), tail);
  EXPECT_EQ(device().position, tail);
  EXPECT_EQ(std::vector<uint8_t>(played.end() - tail, played.end()),
            std::vector<uint8_t>(pcm.begin(), pcm.begin() + tail));
}

}  // namespace
}  // namespace glint::test
