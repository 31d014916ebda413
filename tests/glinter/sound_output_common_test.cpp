// What both outputs promise the decoder: positions that never go back and
// never pass the bytes written, whatever the feeding and the device do; the
// played sound equal to the ring's bytes; and their log texts.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "glinter/debug_log.h"
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

class BothOutputs : public test::SoundOutputTest {};

TEST_F(BothOutputs, PositionsAreMonotonicBoundedAndTheSoundArrivesWhole) {
  const struct {
    const char* name;
    const SoundSystem* out;
    uint32_t rate, channels, bits;
  } cases[] = {
      {"waveOut 8-bit mono", wave_out_sound_system(), 8000, 1, 8},
      {"waveOut 16-bit stereo", wave_out_sound_system(), 11025, 2, 16},
      {"DirectSound 8-bit mono", direct_sound_sound_system(), 8000, 1, 8},
      {"DirectSound 16-bit stereo", direct_sound_sound_system(), 11025, 2, 16},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    glint::test::TempDir dir;
    setenv("GLINT_AUDIO_CAPTURE", dir.file("cap.wav").c_str(), 1);
    auto t = make_track(c.rate, c.channels, c.bits, 8192);  // small: the ring wraps often
    ASSERT_TRUE(c.out->open_track(t.get(), 0));
    std::mt19937 random(7);
    std::vector<uint8_t> sent;
    uint64_t last = 0;
    for (int step = 0; step < 3000; ++step) {
      switch (random() % 6) {
        case 0: {  // the decoder adds a frame's sound when it fits
          const uint64_t room = t->ring_size - track_waiting(*t);
          const uint64_t n = random() % 1500 / t->block_align * t->block_align;
          if (n <= room && sent.size() < 60000) {
            const std::vector<uint8_t> bytes = pcm(n, step);
            ASSERT_TRUE(put(*t, bytes));
            sent.insert(sent.end(), bytes.begin(), bytes.end());
          }
          break;
        }
        case 1:
        case 2:
          advance_ms(random() % 40);
          break;
        case 3:
          c.out->service();
          break;
        case 4:
          if (random() % 8 == 0) hl::set_audio_stalled(random() % 3 == 0);
          break;
        default: {
          const uint64_t now = c.out->position(t.get());
          ASSERT_GE(now, last) << "step " << step;
          ASSERT_LE(now, t->written.load()) << "step " << step;
          last = now;
        }
      }
    }
    EXPECT_GT(sent.size(), 30000u);  // enough went through to wrap the ring many times
    EXPECT_GT(last, 10000u);
    hl::set_audio_stalled(false);
    for (int i = 0; i < 1000; ++i) {  // play everything out
      advance_ms(20);
      c.out->service();
    }
    EXPECT_EQ(c.out->position(t.get()), sent.size());
    c.out->close_track(t.get());
    const std::string file = dir.read("cap.wav");
    ASSERT_EQ(file.size(), 44 + sent.size());
    EXPECT_TRUE(file.substr(44) == std::string(sent.begin(), sent.end()));
    hl::reset_audio();
  }
}

// The texts go to the debugger output only for a track that asks for them
// (the decoder's debug switch).
TEST_F(BothOutputs, LogTexts) {
  glint::test::TempDir dir;
  dir.write("profile.ini", "[Glinter]\nDebug=1\n");
  const char* old = std::getenv("GLINT_PROFILE");
  const std::string saved = old ? old : "";
  setenv("GLINT_PROFILE", dir.file("profile.ini").c_str(), 1);
  debug_reset_for_tests();

  auto logged = [](const SoundSystem& out, bool debug) {
    auto t = make_track(22050, 2, 16);
    t->debug = debug;
    ::testing::internal::CaptureStderr();
    if (out.open_track(t.get(), 0)) out.close_track(t.get());
    return ::testing::internal::GetCapturedStderr();
  };
  const SoundSystem& wave = *wave_out_sound_system();
  const SoundSystem& ds = *direct_sound_sound_system();
  EXPECT_EQ(logged(wave, true), "Using standard waveOut\r\n");
  EXPECT_EQ(logged(wave, false), "");
  const std::string opened = logged(ds, true);
  EXPECT_EQ(opened.rfind("Using DirectSound\n\r\nDirectSound using HWND: 0\r\nUsing lpDS: ", 0), 0u)
      << opened;
  EXPECT_NE(opened.find("\r\nCreated sound buffer #:"), std::string::npos) << opened;
  direct_sound_set_window(42);
  EXPECT_NE(logged(ds, true).find("DirectSound using HWND: 42\r\n"), std::string::npos);
  direct_sound_set_window(0);
  hl::set_audio_fault(hl::AudioFault::open_fails);
  EXPECT_EQ(logged(wave, true), "WaveOut open failed - error #: 1\r\n");
  EXPECT_NE(logged(ds, true).find("Unable to create sound buffer - Error #: 1\r\n"), std::string::npos);
  hl::set_audio_fault(hl::AudioFault::never_starts);
  EXPECT_EQ(logged(wave, true), "");
  hl::set_audio_fault(hl::AudioFault::missing);
  EXPECT_EQ(logged(ds, true), "Using DirectSound\n\r\nUnable to create DirectSound object - error #: 1\r\n");

  if (old) {
    setenv("GLINT_PROFILE", saved.c_str(), 1);
  } else {
    unsetenv("GLINT_PROFILE");
  }
  debug_reset_for_tests();
}

}  // namespace
}  // namespace glint::glinter
