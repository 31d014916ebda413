// The "waveOut" output on the headless device: half-buffer sizes and
// streaming, running dry, the device's start check, and positions that
// count only real bytes, by the device or by the clock while it is stuck.
#include <gtest/gtest.h>

#include "glinter/sound/sound_output.h"
#include "sound_output_track.h"

namespace glint::glinter {
namespace {

using test::advance_ms;
using test::make_track;
using test::pcm;
using test::put;
namespace hl = platform::headless;

class WaveOut : public test::SoundOutputTest {
 protected:
  const SoundSystem& out = *wave_out_sound_system();
};

TEST_F(WaveOut, StreamsQuarterSecondHalvesOnlyWhenTheMainThreadServices) {
  EXPECT_EQ(wave_out_half_size(88200), 24576u);
  EXPECT_EQ(wave_out_half_size(8000), 4096u);
  EXPECT_EQ(wave_out_half_size(0), 4096u);

  auto t = make_track(22050, 2, 16);  // 88,200 bytes per second
  ASSERT_TRUE(put(*t, pcm(100000)));
  ASSERT_TRUE(out.open_track(t.get(), 0x7F));
  ASSERT_NE(t->device, nullptr);
  EXPECT_EQ(t->taken.load(), 0u);
  advance_ms(500);  // nothing moves without a service call: there is no timer
  EXPECT_EQ(t->taken.load(), 0u);
  out.service();
  EXPECT_EQ(t->taken.load(), 24576u);
  out.service();
  EXPECT_EQ(t->taken.load(), 49152u);
  out.service();  // both halves playing
  EXPECT_EQ(t->taken.load(), 49152u);
  advance_ms(280);  // 24,696 bytes: the first half is done
  out.service();
  EXPECT_EQ(t->taken.load(), 73728u);
  EXPECT_EQ(out.position(t.get()), 24696u);
  out.close_track(t.get());
  EXPECT_EQ(t->device, nullptr);
  EXPECT_EQ(hl::audio_streams_open(), 0u);
}

TEST_F(WaveOut, RunsDryWhenBothHalvesAreDoneAndPlaysNewDataAtOnce) {
  auto t = make_track(8000, 1, 8);  // 8,000 bytes per second, halves of 4,096
  ASSERT_TRUE(out.open_track(t.get(), 0));
  out.service();
  EXPECT_TRUE(t->ran_dry.exchange(false));  // nothing to play yet
  ASSERT_TRUE(put(*t, pcm(6000)));
  out.service();  // the check comes before the write: still dry here
  EXPECT_TRUE(t->ran_dry.exchange(false));
  out.service();
  EXPECT_EQ(t->taken.load(), 6000u);  // 4,096 and the 1,904 left
  out.service();
  EXPECT_FALSE(t->ran_dry.load());
  advance_ms(600);  // 4,800 played: one half done, the other still playing
  out.service();
  EXPECT_FALSE(t->ran_dry.load());
  advance_ms(200);
  out.service();
  EXPECT_TRUE(t->ran_dry.exchange(false));
  EXPECT_EQ(out.position(t.get()), 6000u);
  ASSERT_TRUE(put(*t, pcm(3, 2)));  // under 4 bytes wait: not written
  out.service();
  EXPECT_EQ(t->taken.load(), 6000u);
  ASSERT_TRUE(put(*t, pcm(797, 3)));
  out.service();
  advance_ms(50);
  EXPECT_EQ(out.position(t.get()), 6400u);
  out.close_track(t.get());
}

// The position used to run ahead: a buffer's clock started when it was
// written (while the other half still played) and its length counted the
// silence that filled it up. Now a half's clock starts when it can play and
// covers its real bytes only.
TEST_F(WaveOut, PositionNeverPassesTheBytesWritten) {
  auto t = make_track(22050, 2, 16);
  ASSERT_TRUE(out.open_track(t.get(), 0));
  ASSERT_TRUE(put(*t, pcm(100)));
  out.service();
  advance_ms(1000);
  EXPECT_EQ(out.position(t.get()), 100u);
  ASSERT_TRUE(put(*t, pcm(30000)));  // a full half and a short one, written back to back
  out.service();
  out.service();
  advance_ms(100);  // 8,820 bytes of the first half
  EXPECT_EQ(out.position(t.get()), 100u + 8820u);
  advance_ms(10000);
  EXPECT_EQ(out.position(t.get()), 30100u);
  EXPECT_LE(out.position(t.get()), t->written.load());
  out.close_track(t.get());
}

TEST_F(WaveOut, PositionWhileStuckFollowsTheClockUpToTheBytesWritten) {
  auto t = make_track(22050, 2, 16);
  ASSERT_TRUE(out.open_track(t.get(), 0));
  ASSERT_TRUE(put(*t, pcm(30000)));
  out.service();
  out.service();  // 24,576 and 5,424 queued
  advance_ms(100);
  EXPECT_EQ(out.position(t.get()), 8820u);
  hl::set_audio_stalled(true);
  advance_ms(100);  // the device still says 8,820
  EXPECT_EQ(out.position(t.get()), 17640u);
  advance_ms(1000);
  EXPECT_EQ(out.position(t.get()), 30000u);  // all that reached the device, no more
  ASSERT_TRUE(put(*t, pcm(10000, 2)));
  out.service();  // neither half is done: nothing more goes out
  advance_ms(1000);
  EXPECT_EQ(out.position(t.get()), 30000u);
  hl::set_audio_stalled(false);
  uint64_t last = 30000;
  for (int i = 0; i < 100; ++i) {  // the device catches up; the answer never goes back
    advance_ms(10);
    const uint64_t now = out.position(t.get());
    EXPECT_GE(now, last);
    EXPECT_LE(now, t->written.load());
    last = now;
  }
  EXPECT_EQ(last, 40000u);
  out.close_track(t.get());
}

TEST_F(WaveOut, OpenFailsWhenTheDeviceCannotOpenOrNeverStarts) {
  auto t = make_track(22050, 1, 16);
  hl::set_audio_fault(hl::AudioFault::open_fails);
  EXPECT_FALSE(out.open_track(t.get(), 0));
  EXPECT_EQ(t->device, nullptr);

  hl::set_audio_fault(hl::AudioFault::never_starts);
  const uint64_t before = platform::micros();
  EXPECT_FALSE(out.open_track(t.get(), 0));
  EXPECT_EQ(platform::micros() - before, 1'000'000u);  // it waited the whole second
  EXPECT_EQ(t->device, nullptr);
  EXPECT_EQ(hl::audio_streams_open(), 0u);  // and closed the device again

  auto bad = make_track(0, 1, 16);
  hl::set_audio_fault(hl::AudioFault::none);
  EXPECT_FALSE(out.open_track(bad.get(), 0));
  EXPECT_EQ(out.position(bad.get()), 0u);  // operations on a track without a device do nothing
  out.reset(bad.get());
  out.stop(bad.get());
  EXPECT_FALSE(out.start(bad.get()));
  out.close_track(bad.get());
}

TEST_F(WaveOut, StopStartKeepsThePositionAndResetZeroesIt) {
  auto t = make_track(8000, 1, 8);
  ASSERT_TRUE(out.open_track(t.get(), 0));
  ASSERT_TRUE(put(*t, pcm(8000)));
  out.service();
  advance_ms(100);
  EXPECT_EQ(out.position(t.get()), 800u);  // both halves are queued now
  EXPECT_EQ(t->taken.load(), 8000u);
  out.stop(t.get());  // what was queued and not played is dropped
  EXPECT_EQ(hl::audio_streams_open(), 0u);
  advance_ms(1000);
  EXPECT_EQ(out.position(t.get()), 800u);
  hl::set_audio_fault(hl::AudioFault::open_fails);
  EXPECT_FALSE(out.start(t.get()));
  hl::set_audio_fault(hl::AudioFault::none);
  ASSERT_TRUE(out.start(t.get()));
  EXPECT_TRUE(out.start(t.get()));  // already running
  EXPECT_EQ(hl::audio_streams_open(), 1u);
  ASSERT_TRUE(put(*t, pcm(800, 2)));
  out.service();
  advance_ms(100);
  EXPECT_EQ(out.position(t.get()), 1600u);

  out.reset(t.get());
  EXPECT_EQ(out.position(t.get()), 0u);
  advance_ms(1000);  // the queue was dropped: nothing more plays
  EXPECT_EQ(out.position(t.get()), 0u);
  ASSERT_TRUE(put(*t, pcm(800, 3)));
  out.service();  // counting starts again
  advance_ms(100);
  EXPECT_EQ(out.position(t.get()), 800u);
  out.close_track(t.get());
}

}  // namespace
}  // namespace glint::glinter
