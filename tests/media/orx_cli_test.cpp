// The orx tool end to end: info, decode, encode and their failures, run as a
// program in a temporary directory.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

struct ToolRun {
  int status = -1;
  std::string output;  // standard output and error together
};

ToolRun run_orx(const std::string& arguments) {
  const char* orx = std::getenv("GLINT_ORX");
  ToolRun run;
  std::string command = std::string(orx) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) run.output.append(chunk, n);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

void put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}

// Two 8x4 frames: a palette of distinct 6-bit-exact colours, then two pictures.
std::string raw_clip(std::vector<std::string>& pictures) {
  std::string raw = "RAWB";
  put32(raw, 2);
  put32(raw, 8);
  put32(raw, 4);
  put32(raw, 0xFFFFFFD8u);  // -40: 40 ms per frame
  std::string palette(768, '\0');
  for (int i = 0; i < 256; ++i) {
    palette[3 * i] = static_cast<char>((i * 4) & 0xFC);
    palette[3 * i + 1] = static_cast<char>((255 - i) & 0xFC);
    palette[3 * i + 2] = static_cast<char>((i * 12) & 0xFC);
  }
  pictures.clear();
  for (int f = 0; f < 2; ++f) {
    std::string p(32, '\0');
    for (int i = 0; i < 32; ++i) p[i] = static_cast<char>((i * 7 + f * 3) % 40);
    pictures.push_back(p);
  }
  put32(raw, 0);
  raw += palette;
  put32(raw, 1);
  raw += pictures[0];
  put32(raw, 1);
  raw += pictures[1];
  return raw;
}

#define REQUIRE_ORX() \
  if (!std::getenv("GLINT_ORX")) GTEST_SKIP() << "GLINT_ORX is not set"

TEST(OrxTool, EncodeInfoDecodeRoundTrip) {
  REQUIRE_ORX();
  glint::test::TempDir dir;
  std::vector<std::string> pictures;
  dir.write("clip.raw", raw_clip(pictures));
  ToolRun encode = run_orx("encode " + dir.file("clip.raw") + " " + dir.file("clip.gnt") + " --ring");
  ASSERT_EQ(encode.status, 0) << encode.output;

  ToolRun info = run_orx("info " + dir.file("clip.gnt"));
  ASSERT_EQ(info.status, 0) << info.output;
  EXPECT_NE(info.output.find("8 x 4"), std::string::npos) << info.output;
  EXPECT_NE(info.output.find("frames:         2 (plus a ring frame)"), std::string::npos)
      << info.output;

  ToolRun decode = run_orx("decode " + dir.file("clip.gnt") + " " + dir.path());
  ASSERT_EQ(decode.status, 0) << decode.output;
  for (int f = 0; f < 2; ++f) {
    std::string ppm = dir.read("frame0000" + std::to_string(f + 1) + ".ppm");
    const std::string header = "P6\n8 4\n255\n";
    ASSERT_EQ(ppm.substr(0, header.size()), header);
    ASSERT_EQ(ppm.size(), header.size() + 32 * 3);
    // Equal indices give equal colours and different indices different ones:
    // the palette is exact in 6 bits, so the picture came back whole.
    for (int i = 0; i < 32; ++i)
      for (int j = 0; j < 32; ++j) {
        bool same_index = pictures[f][i] == pictures[f][j];
        bool same_colour = ppm.compare(header.size() + 3 * i, 3, ppm, header.size() + 3 * j, 3) == 0;
        EXPECT_EQ(same_index, same_colour) << "frame " << f << " pixels " << i << ", " << j;
      }
  }
  EXPECT_EQ(dir.read("frame00003.ppm"), "");  // the ring frame is not written
}

TEST(OrxTool, FailuresAreClearAndNonZero) {
  REQUIRE_ORX();
  glint::test::TempDir dir;
  dir.write("junk.gnt", "this is not an animation");
  dir.write("junk.raw", "RAWB\x01");
  dir.write("keep.gnt", "existing");
  struct Case {
    std::string arguments;
    std::string says;
  };
  const Case cases[] = {
      {"info " + dir.file("missing.gnt"), "missing.gnt"},
      {"info " + dir.file("junk.gnt"), "junk.gnt"},
      {"decode " + dir.file("junk.gnt") + " " + dir.path(), "junk.gnt"},
      {"encode " + dir.file("junk.raw") + " " + dir.file("keep.gnt"), "junk.raw"},
      {"no-such-command", "no-such-command"},
      {"", "usage"},
  };
  for (const Case& c : cases) {
    ToolRun run = run_orx(c.arguments);
    EXPECT_NE(run.status, 0) << c.arguments;
    EXPECT_NE(run.output.find(c.says), std::string::npos) << c.arguments << ": " << run.output;
  }
  EXPECT_EQ(dir.read("keep.gnt"), "existing");  // a failed encode leaves the target alone
  ToolRun help = run_orx("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("usage: orx"), std::string::npos);
}

}  // namespace
