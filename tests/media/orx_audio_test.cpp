// orx with sound: encode --audio (compressed, or raw with --raw-audio) and
// decode back to track0.wav with the same PCM, in every sample layout.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/temp_dir.h"

namespace {

struct ToolRun {
  int status = -1;
  std::string output;
};

ToolRun run_orx(const std::string& arguments) {
  ToolRun run;
  std::string command = std::string(std::getenv("GLINT_ORX")) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) run.output.append(chunk, n);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

void put(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}

// `frames` 8 x 4 frames at 40 ms, every picture the same.
std::string raw_clip(uint32_t frames) {
  std::string raw = "RAWB";
  put(raw, frames, 4);
  put(raw, 8, 4);
  put(raw, 4, 4);
  put(raw, 0xFFFFFFD8u, 4);  // 40 ms
  put(raw, 0, 4);
  raw += std::string(768, '\x10');
  put(raw, 1, 4);
  raw += std::string(32, '\x03');
  for (uint32_t f = 1; f < frames; ++f) put(raw, 2, 4);
  return raw;
}

std::string wav(uint32_t rate, uint32_t channels, uint32_t bits, const std::string& data,
                bool with_list_chunk) {
  std::string out = "RIFF";
  const uint32_t align = channels * bits / 8;
  std::string body = "WAVE";
  if (with_list_chunk) {  // a chunk the reader must step over (odd size: padded)
    body += "LIST";
    put(body, 3, 4);
    body += "abc";
    body.push_back('\0');
  }
  body += "fmt ";
  put(body, 16, 4);
  put(body, 1, 2);
  put(body, channels, 2);
  put(body, rate, 4);
  put(body, rate * align, 4);
  put(body, align, 2);
  put(body, bits, 2);
  body += "data";
  put(body, uint32_t(data.size()), 4);
  body += data;
  put(out, uint32_t(body.size()), 4);
  return out + body;
}

// The data chunk of a WAV file written by orx (which writes the plain
// 44-byte header).
std::string wav_data(const std::string& file) { return file.size() >= 44 ? file.substr(44) : ""; }

#define REQUIRE_ORX() \
  if (!std::getenv("GLINT_ORX")) GTEST_SKIP() << "GLINT_ORX is not set"

TEST(OrxAudio, EncodeThenDecodeGivesTheSameSound) {
  REQUIRE_ORX();
  struct Layout {
    uint32_t rate, channels, bits;
  };
  for (Layout layout : {Layout{11025, 1, 8}, Layout{8000, 2, 8}, Layout{11025, 1, 16},
                        Layout{22050, 2, 16}}) {
    for (bool raw : {false, true}) {
      glint::test::TempDir dir;
      const uint32_t align = layout.channels * layout.bits / 8;
      const uint32_t bytes = 25 * layout.rate * align / 25 + 5 * align;  // one second and a bit
      std::string pcm(bytes, '\0');
      uint32_t value = 1234;
      for (uint32_t i = 0; i < bytes; ++i) {
        value = value * 1103515245u + 12345u;
        pcm[i] = static_cast<char>(i % 5 == 0 ? value >> 24 : (i * 3) & 0x3F);
      }
      dir.write("clip.raw", raw_clip(25));
      dir.write("in.wav", wav(layout.rate, layout.channels, layout.bits, pcm, !raw));
      const std::string label = std::to_string(layout.rate) + " Hz " +
                                std::to_string(layout.channels) + "x" +
                                std::to_string(layout.bits) + (raw ? " raw" : " compressed");
      ToolRun encode = run_orx("encode " + dir.file("clip.raw") + " " + dir.file("clip.gnt") +
                               " --audio " + dir.file("in.wav") + (raw ? " --raw-audio" : ""));
      ASSERT_EQ(encode.status, 0) << label << ": " << encode.output;
      ToolRun decode = run_orx("decode " + dir.file("clip.gnt") + " " + dir.file("out"));
      ASSERT_EQ(decode.status, 0) << label << ": " << decode.output;
      const std::string out = dir.read("out/track0.wav");
      ASSERT_GE(out.size(), 44u) << label;
      EXPECT_EQ(out.substr(22, 2), std::string({char(layout.channels), 0})) << label;
      EXPECT_EQ(out.substr(34, 2), std::string({char(layout.bits), 0})) << label;
      EXPECT_TRUE(wav_data(out) == pcm) << label << ": " << wav_data(out).size() << " of "
                                        << pcm.size() << " bytes";
      EXPECT_NE(dir.read("out/frame00025.ppm"), "") << label;
    }
  }
}

TEST(OrxAudio, BadSoundIsRefused) {
  REQUIRE_ORX();
  glint::test::TempDir dir;
  dir.write("clip.raw", raw_clip(3));
  std::string adpcm = wav(8000, 1, 8, std::string(100, 'x'), false);
  adpcm[20] = 2;  // format tag 2: not PCM
  dir.write("adpcm.wav", adpcm);
  dir.write("text.wav", "hello");
  for (const char* name : {"adpcm.wav", "text.wav", "missing.wav"}) {
    ToolRun run = run_orx("encode " + dir.file("clip.raw") + " " + dir.file("clip.gnt") +
                          " --audio " + dir.file(name));
    EXPECT_EQ(run.status, 1) << name << ": " << run.output;
    EXPECT_EQ(dir.read("clip.gnt"), "") << name;
  }
  ToolRun help = run_orx("encode --help");
  EXPECT_NE(help.output.find("--raw-audio"), std::string::npos);
}

TEST(OrxAudio, DecodeWithoutSoundWritesNoTrack) {
  REQUIRE_ORX();
  glint::test::TempDir dir;
  dir.write("clip.raw", raw_clip(3));
  ASSERT_EQ(run_orx("encode " + dir.file("clip.raw") + " " + dir.file("clip.gnt")).status, 0);
  ASSERT_EQ(run_orx("decode " + dir.file("clip.gnt") + " " + dir.file("out")).status, 0);
  EXPECT_EQ(dir.read("out/track0.wav"), "");
  EXPECT_NE(dir.read("out/frame00003.ppm"), "");
}

}  // namespace
