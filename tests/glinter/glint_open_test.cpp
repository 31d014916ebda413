#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "glinter/glint_record.h"
#include "gnt_simple.h"
#include "orxutil/glint.h"
#include "support/temp_dir.h"

namespace glint::glinter {
namespace {

using test::SimpleGnt;

struct Open : ::testing::Test {
  test::TempDir dir;
  std::string write(const std::string& bytes, const char* name = "a.gnt") {
    dir.write(name, bytes);
    return dir.file(name);
  }
};

TEST_F(Open, CopiesTheHeaderAndPreparesFrameZero) {
  SimpleGnt gnt;
  gnt.file.header_flags = GLINT_HEADER_INTERLACED;
  gnt.file.track_format[2] = 0;
  gnt.add_fill(3);
  gnt.add_fill(4);
  std::string name = write(gnt.file.build());
  Glint* glint = GlintOpen(name.c_str(), GLINT_TRACK(2) | GLINT_NO_SKIP, -1);
  ASSERT_NE(glint, nullptr);
  EXPECT_EQ(std::string(glint->magic, 4), "GNT2");
  EXPECT_EQ(glint->width, 16u);
  EXPECT_EQ(glint->height, 32u);  // displayed height of an interlaced picture
  EXPECT_EQ(glint->frame_count, 2u);
  EXPECT_EQ(glint->current_frame, 0u);
  EXPECT_EQ(glint->frame_bytes, 4u);
  EXPECT_EQ(glint->side_bytes, 0u);
  // Track 2 has no format word: the open succeeds without it.
  EXPECT_EQ(glint->mode_flags, GLINT_NO_SKIP | GLINT_INTERLACED);
  GlintClose(glint);
}

TEST_F(Open, RefusesWhatIsNotAGlinterFile) {
  SimpleGnt gnt;
  gnt.add_fill(1);
  gnt.file.magic = "GNT3";
  EXPECT_EQ(GlintOpen(write(gnt.file.build()).c_str(), 0, 0), nullptr);
  EXPECT_EQ(GlintOpen(dir.file("missing.gnt").c_str(), 0, 0), nullptr);
  EXPECT_EQ(GlintOpen(nullptr, 0, 0), nullptr);
  EXPECT_EQ(GlintOpen(reinterpret_cast<void*>(intptr_t(-1)), GLINT_FROM_HANDLE, 0), nullptr);
  GlintClose(nullptr);
}

// Any file cut short fails the open: header, tables, tree data and frame
// data all have to be there.
TEST_F(Open, EveryTruncationIsRefused) {
  SimpleGnt gnt;
  gnt.add_fill(1);
  gnt.add_fill(2, {}, 40);
  const std::string bytes = gnt.file.build();
  Glint* whole = GlintOpen(write(bytes).c_str(), 0, 0);
  ASSERT_NE(whole, nullptr);
  GlintClose(whole);
  for (size_t length = 0; length < bytes.size(); ++length) {
    for (uint32_t flags : {0u, unsigned(GLINT_WHOLE_FILE)}) {
      Glint* glint = GlintOpen(write(bytes.substr(0, length)).c_str(), flags, -1);
      EXPECT_EQ(glint, nullptr) << "length " << length;
      GlintClose(glint);
    }
  }
}

TEST_F(Open, SizesFromTheFileAreChecked) {
  struct Case {
    const char* name;
    void (*damage)(test::GntFile&);
  };
  const Case cases[] = {
      {"frame count whose tables cannot fit", [](test::GntFile& f) { f.frame_count = 0x40000000; }},
      {"frame count overflowing 32 bits with a ring",
       [](test::GntFile& f) {
         f.frame_count = 0xFFFFFFFF;
         f.header_flags |= 1;
       }},
      {"frame size past the end", [](test::GntFile& f) { f.frames[0].size_entry = 0x7FFFFFF0; }},
      {"tree_bytes too small for the tree", [](test::GntFile& f) { f.tree_bytes[3] = 8; }},
  };
  for (const Case& c : cases) {
    SimpleGnt gnt;
    gnt.add_fill(1);
    c.damage(gnt.file);
    Glint* glint = GlintOpen(write(gnt.file.build()).c_str(), 0, -1);
    EXPECT_EQ(glint, nullptr) << c.name;
    GlintClose(glint);
  }
}

TEST_F(Open, TreeDataSizePastTheEndIsRefused) {
  SimpleGnt gnt;
  gnt.add_fill(1);
  std::string bytes = gnt.file.build();
  bytes[52] = char(0xFF);  // tree_data_size low byte
  bytes[53] = char(0xFF);
  EXPECT_EQ(GlintOpen(write(bytes).c_str(), 0, -1), nullptr);
}

// Frame sizes with flag bits: stored entries give the statistics, masked
// ones the reading.
TEST_F(Open, StatisticsOverTheStoredEntries) {
  struct Case {
    const char* name;
    int32_t period;
    std::vector<uint32_t> sizes;
    uint32_t largest, peak, peak_frame;
    bool ring = false;
  };
  const std::vector<Case> cases = {
      // 250 ms: 4 frames per second; windows start at entries 1 to 3.
      {"peak window", 250, {100, 4, 8, 12, 16, 20, 4, 1000}, 1000, 56, 3},
      {"fewer frames than a second", 40, {8, 12, 16}, 16, 36, 1},
      {"exactly fps + 1 entries", 250, {8, 12, 16, 20, 24}, 24, 0, 1},
      {"no frame timing", 0, {8, 12}, 12, 20, 1},
      {"flag bits count in statistics only", 40, {8, 15}, 15, 23, 1},
      {"the ring frame's entry counts too", 250, {8, 12, 16, 20, 24, 1000}, 1000, 72, 2, true},
  };
  for (const Case& c : cases) {
    SimpleGnt gnt;
    gnt.file.frame_period = c.period;
    gnt.file.header_flags = c.ring ? GLINT_HEADER_RING : 0;
    for (uint32_t size : c.sizes) {
      gnt.add_fill(1, {}, size & ~3u);
      gnt.file.frames.back().size_entry = size;
    }
    Glint* glint = GlintOpen(write(gnt.file.build()).c_str(), 0, -1);
    ASSERT_NE(glint, nullptr) << c.name;
    EXPECT_EQ(glint->largest_frame_bytes, c.largest) << c.name;
    EXPECT_EQ(glint->peak_second_bytes, c.peak) << c.name;
    EXPECT_EQ(glint->peak_second_frame, c.peak_frame) << c.name;
    GlintClose(glint);
  }
}

TEST_F(Open, BufferingFollowsTheSizeOfTheFrameData) {
  struct Case {
    uint32_t flags;
    int32_t buffer_size;
    size_t frame_bytes;
    bool whole;
    uint64_t ring;
  };
  const Case cases[] = {
      {0, 0, 1000, true, 0},           // 10 frames of 1000 < 10,240: whole file
      {0, 0, 3000, false, 8192},       // 30,000 bytes: the smallest ring
      {0, 10000, 3000, false, 12288},  // raised to a multiple of 4,096
      {0, 0x7FFFFFFF, 3000, true, 0},  // a ring as large as the data: whole file
      {GLINT_WHOLE_FILE, 0, 3000, true, 0},
      {0, -1, 3000, false, 12288},  // automatic: at least 0x3000
  };
  for (const Case& c : cases) {
    SimpleGnt gnt;
    for (int i = 0; i < 10; ++i) gnt.add_fill(1, {}, c.frame_bytes);
    Glint* glint = GlintOpen(write(gnt.file.build()).c_str(), c.flags, c.buffer_size);
    ASSERT_NE(glint, nullptr);
    GlintState& state = *state_of(glint);
    EXPECT_EQ(bool(state.source.whole), c.whole) << c.buffer_size << " " << c.frame_bytes;
    if (!c.whole) {
      EXPECT_EQ(state.source.ring_capacity, c.ring) << c.buffer_size;
    }
    GlintClose(glint);
  }
}

TEST_F(Open, HandleIsReadFromItsPositionAndLeftOpen) {
  SimpleGnt gnt;
  gnt.add_fill(6);
  std::string name = write("prefix--" + gnt.file.build());
  int fd = open(name.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(lseek(fd, 8, SEEK_SET), 8);
  Glint* glint = GlintOpen(reinterpret_cast<void*>(intptr_t(fd)), GLINT_FROM_HANDLE, 0);
  ASSERT_NE(glint, nullptr);
  std::vector<uint8_t> picture(256, 0);
  GlintSetOutput(glint, 0, 0, 16, 16, picture.data(), 0);
  GlintDecodeFrame(glint);
  EXPECT_EQ(picture[255], 6);
  GlintClose(glint);
  EXPECT_NE(fcntl(fd, F_GETFD), -1);  // still open
  close(fd);
}

}  // namespace
}  // namespace glint::glinter

namespace glint::glinter {
namespace {

TEST(OpenEmpty, FileWithoutFramesPlaysNothing) {
  test::TempDir dir;
  SimpleGnt gnt;
  dir.write("empty.gnt", gnt.file.build());
  Glint* glint = GlintOpen(dir.file("empty.gnt").c_str(), 0, 0);
  ASSERT_NE(glint, nullptr);
  std::vector<uint8_t> picture(256, 9);
  GlintSetOutput(glint, 0, 0, 16, 16, picture.data(), 0);
  for (int i = 0; i < 3; ++i) {
    GlintDecodeFrame(glint);
    GlintAdvanceFrame(glint);
    GlintGotoFrame(glint, 2);
  }
  EXPECT_EQ(glint->current_frame, 0u);
  EXPECT_EQ(picture, std::vector<uint8_t>(256, 9));
  GlintClose(glint);
}

}  // namespace
}  // namespace glint::glinter
