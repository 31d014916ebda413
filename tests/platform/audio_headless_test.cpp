// The headless audio device: consumption on the virtual clock, gaps while
// starved, injected faults and the WAV captures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/audio_drivers.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/platform.h"
#include "support/temp_dir.h"

namespace p = glint::platform;
namespace h = glint::platform::headless;

namespace {

const p::AudioDriver& dev = p::headless_audio;
const p::AudioFormat kStereo16{22050, 2, 16};  // 88,200 bytes per second
const p::AudioFormat kMono8{8000, 1, 8};       // 8,000 bytes per second

class HeadlessAudio : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(p::select_backend("headless"));
    unsetenv("GLINT_AUDIO_CAPTURE");
    unsetenv("GLINT_HEADLESS_AUDIO");
    h::reset_audio();
  }
  void TearDown() override {
    h::reset_audio();
    unsetenv("GLINT_AUDIO_CAPTURE");
    unsetenv("GLINT_HEADLESS_AUDIO");
  }
};

std::vector<uint8_t> ramp(size_t n, uint8_t first = 0) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(first + i * 7);
  return v;
}

// The data chunk of a WAV file written by the capture ("" for a bad file).
std::string wav_data(const std::string& file, uint16_t channels, uint32_t rate, uint16_t bits) {
  if (file.size() < 44 || file.compare(0, 4, "RIFF") || file.compare(8, 8, "WAVEfmt ") ||
      file.compare(36, 4, "data"))
    return "<bad header>";
  auto u16 = [&](size_t at) { return uint16_t(uint8_t(file[at]) | uint8_t(file[at + 1]) << 8); };
  auto u32 = [&](size_t at) { return uint32_t(u16(at) | uint32_t(u16(at + 2)) << 16); };
  if (u16(20) != 1 || u16(22) != channels || u32(24) != rate || u16(34) != bits ||
      u32(28) != rate * channels * bits / 8 || u32(40) != file.size() - 44 || u32(4) != file.size() - 8)
    return "<bad format>";
  return file.substr(44);
}

std::string as_text(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

TEST_F(HeadlessAudio, ConsumesAtTheByteRateInWholeFramesWithGapsWhenStarved) {
  const p::AudioHandle a = dev.open(kStereo16, 0);
  ASSERT_NE(a, 0u);
  EXPECT_TRUE(dev.wait_started(a, 1000));
  const std::vector<uint8_t> data = ramp(88200);
  ASSERT_TRUE(dev.queue(a, data.data(), data.size()));
  h::advance_micros(250'000);  // 22,050 bytes: 5,512 whole frames, half a frame owed
  EXPECT_EQ(dev.played(a), 22048u);
  h::advance_micros(1);  // 2.09 bytes owed: still no whole frame
  EXPECT_EQ(dev.played(a), 22048u);
  h::advance_micros(45);  // 6.06 bytes owed: one frame
  EXPECT_EQ(dev.played(a), 22052u);
  EXPECT_EQ(h::audio_pending(a), 88200u - 22052u);
  h::advance_micros(5'000'000);  // runs out early, never beyond what was queued
  EXPECT_EQ(dev.played(a), 88200u);
  // Starved for those seconds: new data plays from its arrival, not at once.
  ASSERT_TRUE(dev.queue(a, data.data(), 800));
  EXPECT_EQ(dev.played(a), 88200u);
  h::advance_micros(5'000);  // 441 bytes -> 440
  EXPECT_EQ(dev.played(a), 88640u);
  dev.clear(a);  // what was still queued never plays
  EXPECT_EQ(h::audio_pending(a), 0u);
  h::advance_micros(1'000'000);
  EXPECT_EQ(dev.played(a), 88640u);
  dev.close(a);
  EXPECT_EQ(h::audio_streams_open(), 0u);
  EXPECT_EQ(dev.played(a), 0u);  // unknown handles answer 0 / false
  EXPECT_FALSE(dev.queue(a, data.data(), 4));
  EXPECT_FALSE(dev.open(p::AudioFormat{22050, 3, 16}, 0));
  EXPECT_FALSE(dev.open(p::AudioFormat{22050, 1, 12}, 0));
}

TEST_F(HeadlessAudio, InjectedFaults) {
  EXPECT_TRUE(dev.available());
  h::set_audio_fault(h::AudioFault::open_fails);
  EXPECT_TRUE(dev.available());
  EXPECT_EQ(dev.open(kMono8, 0), 0u);
  h::set_audio_fault(h::AudioFault::missing);
  EXPECT_FALSE(dev.available());
  EXPECT_EQ(dev.open(kMono8, 0), 0u);

  // Never starts: the wait takes its whole time and nothing is ever consumed.
  h::set_audio_fault(h::AudioFault::never_starts);
  const p::AudioHandle a = dev.open(kMono8, 0);
  ASSERT_NE(a, 0u);
  const uint64_t before = p::micros();
  EXPECT_FALSE(dev.wait_started(a, 1000));
  EXPECT_EQ(p::micros() - before, 1'000'000u);
  const std::vector<uint8_t> data = ramp(800);
  dev.queue(a, data.data(), data.size());
  h::advance_micros(1'000'000);
  EXPECT_EQ(dev.played(a), 0u);
  dev.close(a);

  // A stall stops consumption; afterwards it goes on from where it stood.
  h::set_audio_fault(h::AudioFault::none);
  const p::AudioHandle b = dev.open(kMono8, 0);
  dev.queue(b, data.data(), data.size());
  h::advance_micros(10'000);
  EXPECT_EQ(dev.played(b), 80u);
  h::set_audio_stalled(true);
  h::advance_micros(50'000);
  EXPECT_EQ(dev.played(b), 80u);
  h::set_audio_stalled(false);
  h::advance_micros(10'000);
  EXPECT_EQ(dev.played(b), 160u);

  // The environment variable names the same faults.
  h::reset_audio();
  setenv("GLINT_HEADLESS_AUDIO", "stall,fail", 1);
  EXPECT_EQ(dev.open(kMono8, 0), 0u);
  setenv("GLINT_HEADLESS_AUDIO", "missing", 1);
  EXPECT_FALSE(dev.available());
  setenv("GLINT_HEADLESS_AUDIO", "nostart", 1);
  const p::AudioHandle c = dev.open(kMono8, 0);
  EXPECT_FALSE(dev.wait_started(c, 5));
  setenv("GLINT_HEADLESS_AUDIO", "stall", 1);
  const p::AudioHandle d = dev.open(kMono8, 0);
  EXPECT_TRUE(dev.wait_started(d, 5));
  dev.queue(d, data.data(), data.size());
  h::advance_micros(10'000);
  EXPECT_EQ(dev.played(d), 0u);
}

TEST_F(HeadlessAudio, CapturesWhatWasPlayedOneFilePerTrack) {
  glint::test::TempDir dir;
  const std::string path = dir.file("out.wav");
  setenv("GLINT_AUDIO_CAPTURE", path.c_str(), 1);
  const std::vector<uint8_t> first = ramp(400, 1);
  const std::vector<uint8_t> second = ramp(300, 100);

  // One track: PATH.wav, with only what played (the cleared rest is not in it).
  p::AudioHandle a = dev.open(kMono8, 0);
  dev.queue(a, first.data(), first.size());
  h::advance_micros(25'000);  // 200 bytes
  dev.clear(a);
  dev.queue(a, second.data(), second.size());
  h::advance_micros(1'000'000);
  dev.close(a);
  std::string expected = as_text(first).substr(0, 200) + as_text(second);
  EXPECT_EQ(wav_data(dir.read("out.wav"), 1, 8000, 8), expected);

  // The same track opened again goes on in the same file.
  a = dev.open(kMono8, 0);
  dev.queue(a, first.data(), 100);
  h::advance_micros(1'000'000);
  dev.close(a);
  expected += as_text(first).substr(0, 100);
  EXPECT_EQ(wav_data(dir.read("out.wav"), 1, 8000, 8), expected);

  // A second track: each file takes its track number, the first is renamed.
  const p::AudioHandle b = dev.open(kStereo16, 3);
  const std::vector<uint8_t> third = ramp(882, 50);
  dev.queue(b, third.data(), 880);
  EXPECT_EQ(dir.read("out.wav"), "");
  EXPECT_EQ(wav_data(dir.read("out-0.wav"), 1, 8000, 8), expected);
  h::advance_micros(1'000'000);
  dev.close(b);
  EXPECT_EQ(wav_data(dir.read("out-3.wav"), 2, 22050, 16), as_text(third).substr(0, 880));

  // The tone has a file of its own; a stream still open is written at reset (as at exit).
  const p::AudioHandle t = dev.open(p::AudioFormat{44100, 1, 16}, p::kAudioStreamTone);
  dev.queue(t, first.data(), 40);
  h::advance_micros(1'000'000);
  h::reset_audio();
  EXPECT_EQ(wav_data(dir.read("out-tone.wav"), 1, 44100, 16), as_text(first).substr(0, 40));
}

}  // namespace
