// The "DirectSound" output on the headless device: the half-second buffer,
// the end mark and the restart after running dry, positions extrapolated
// while the device is stuck, and the floor that a reset, stop or start
// clears.
#include <gtest/gtest.h>

#include "glinter/sound/sound_output.h"
#include "sound_output_track.h"
#include "support/temp_dir.h"

namespace glint::glinter {
namespace {

using test::advance_ms;
using test::make_track;
using test::pcm;
using test::put;
namespace hl = platform::headless;

class DirectSound : public test::SoundOutputTest {
 protected:
  const SoundSystem& out = *direct_sound_sound_system();
};

TEST_F(DirectSound, KeepsHalfASecondInFlightServicedAtMostEvery10Ms) {
  EXPECT_EQ(direct_sound_buffer_size(88200), 45056u);
  EXPECT_EQ(direct_sound_buffer_size(8000), 4096u);

  auto t = make_track(22050, 2, 16);
  ASSERT_TRUE(put(*t, pcm(100000)));
  ASSERT_TRUE(out.open_track(t.get(), 0));
  EXPECT_EQ(t->taken.load(), 0u);
  advance_ms(200);  // no timer: nothing happens between service calls
  EXPECT_EQ(t->taken.load(), 0u);
  out.service();
  EXPECT_EQ(t->taken.load(), 45056u);
  advance_ms(100);  // 8,820 played: less than a quarter of the buffer free
  out.service();
  EXPECT_EQ(t->taken.load(), 45056u);
  advance_ms(100);  // 17,640 free
  out.service();
  EXPECT_EQ(t->taken.load(), 45056u + 17640u);
  advance_ms(150);
  out.service();
  advance_ms(5);  // within 10 ms of the last: this service does nothing
  out.service();
  EXPECT_EQ(t->taken.load(), 45056u + 17640u + 13228u);  // 13,230 free, in multiples of 4
  out.close_track(t.get());
  EXPECT_EQ(hl::audio_streams_open(), 0u);
}

TEST_F(DirectSound, EndMarkThenDryThenRestartFromTheBufferStart) {
  glint::test::TempDir dir;
  setenv("GLINT_AUDIO_CAPTURE", dir.file("ds.wav").c_str(), 1);
  auto t = make_track(8000, 1, 8, 1 << 16);  // a 4,096-byte buffer
  ASSERT_TRUE(out.open_track(t.get(), 0));
  EXPECT_FALSE(t->ran_dry.load());
  const std::vector<uint8_t> first = pcm(800, 1), late = pcm(400, 2), second = pcm(1600, 3);
  ASSERT_TRUE(put(*t, first));
  out.service();
  EXPECT_EQ(t->taken.load(), 800u);
  advance_ms(20);  // ring empty, buffer mostly free: the end mark goes in
  out.service();
  ASSERT_TRUE(put(*t, late));
  advance_ms(20);
  out.service();  // nothing more is written until playback passes the mark
  EXPECT_EQ(t->taken.load(), 800u);
  EXPECT_FALSE(t->ran_dry.load());
  advance_ms(100);  // 800 bytes took 100 ms
  out.service();
  // Dry: stopped and rewound; the waiting data is written from the start
  // and plays at once.
  EXPECT_TRUE(t->ran_dry.exchange(false));
  EXPECT_EQ(t->taken.load(), 1200u);
  EXPECT_EQ(out.position(t.get()), 800u);
  advance_ms(25);
  EXPECT_EQ(out.position(t.get()), 1000u);
  advance_ms(100);
  ASSERT_TRUE(put(*t, second));
  out.service();  // the last 200 of `late` were played; dry again
  EXPECT_TRUE(t->ran_dry.exchange(false));
  advance_ms(100);
  EXPECT_EQ(out.position(t.get()), 2000u);
  advance_ms(1000);
  out.service();
  out.close_track(t.get());
  // The capture holds exactly the ring's bytes, in order, without the padding.
  std::vector<uint8_t> all = first;
  all.insert(all.end(), late.begin(), late.end());
  all.insert(all.end(), second.begin(), second.end());
  const std::string file = dir.read("ds.wav");
  ASSERT_EQ(file.size(), 44 + all.size());
  EXPECT_EQ(file.substr(44), std::string(all.begin(), all.end()));
}

TEST_F(DirectSound, PositionWhileStuckGrowsWithTimeButNeverPassesTheBytesWritten) {
  auto t = make_track(8000, 1, 8, 1 << 16);
  ASSERT_TRUE(out.open_track(t.get(), 0));
  EXPECT_EQ(out.position(t.get()), 0u);  // this ran the service
  ASSERT_TRUE(put(*t, pcm(3000)));
  out.service();  // too soon after it: does nothing
  EXPECT_EQ(t->taken.load(), 0u);
  advance_ms(10);
  out.service();
  advance_ms(100);
  EXPECT_EQ(out.position(t.get()), 800u);
  hl::set_audio_stalled(true);
  advance_ms(50);
  // The device still reports 800, as it did 50 ms ago: 400 bytes on.
  uint64_t last = out.position(t.get());
  EXPECT_EQ(last, 1200u);
  for (int i = 0; i < 60; ++i) {
    advance_ms(10);
    const uint64_t now = out.position(t.get());
    EXPECT_GE(now, last);
    EXPECT_LE(now, 3000u);
    last = now;
    if (i == 9) {
      EXPECT_EQ(now, 800u + 1200u);  // 150 ms on from the last change
    }
  }
  EXPECT_EQ(last, 3000u);  // capped at what was written
  hl::set_audio_stalled(false);
  advance_ms(100);  // the device goes on from 800: the answer holds its floor
  EXPECT_EQ(out.position(t.get()), 3000u);
  out.close_track(t.get());
}

// The floor "never below an earlier result" used to survive a rewind, so
// after a reset every frame was due at once until playback caught up.
TEST_F(DirectSound, ResetStopAndStartClearTheFloor) {
  auto t = make_track(8000, 1, 8, 1 << 16);
  ASSERT_TRUE(out.open_track(t.get(), 0));
  ASSERT_TRUE(put(*t, pcm(3000)));
  out.service();
  advance_ms(200);
  EXPECT_EQ(out.position(t.get()), 1600u);

  out.reset(t.get());  // the decoder rewinds its ring along with it
  t->written = t->taken.load();
  EXPECT_EQ(out.position(t.get()), 0u);
  ASSERT_TRUE(put(*t, pcm(2000, 2)));
  advance_ms(10);
  out.service();
  advance_ms(50);
  EXPECT_EQ(out.position(t.get()), 400u);

  // Stuck, the answer runs ahead of the device; a stop brings it back to
  // what really played.
  hl::set_audio_stalled(true);
  advance_ms(100);
  out.position(t.get());
  advance_ms(100);
  EXPECT_EQ(out.position(t.get()), 2000u);  // 400 + 200 ms, and all that was written
  out.stop(t.get());
  hl::set_audio_stalled(false);
  EXPECT_EQ(hl::audio_streams_open(), 0u);
  EXPECT_EQ(out.position(t.get()), 400u);
  hl::set_audio_fault(hl::AudioFault::open_fails);
  EXPECT_FALSE(out.start(t.get()));
  hl::set_audio_fault(hl::AudioFault::none);
  ASSERT_TRUE(out.start(t.get()));
  EXPECT_EQ(out.position(t.get()), 400u);
  ASSERT_TRUE(put(*t, pcm(800, 3)));
  advance_ms(10);
  out.service();
  advance_ms(50);
  EXPECT_EQ(out.position(t.get()), 800u);
  out.close_track(t.get());
}

TEST_F(DirectSound, OpenFailsWithoutADevice) {
  auto t = make_track(22050, 1, 16);
  hl::set_audio_fault(hl::AudioFault::open_fails);
  EXPECT_FALSE(out.open_track(t.get(), 0));
  EXPECT_EQ(t->device, nullptr);
  hl::set_audio_fault(hl::AudioFault::missing);
  EXPECT_FALSE(out.open_track(t.get(), 0));
  EXPECT_EQ(hl::audio_streams_open(), 0u);
}

}  // namespace
}  // namespace glint::glinter
