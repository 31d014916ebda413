#include <gtest/gtest.h>
#include <unistd.h>

#include "audio_fake_sound.h"
#include "glinter/glint_record.h"
#include "gnt_simple.h"
#include "orxutil/glint.h"
#include "platform/platform.h"
#include "support/temp_dir.h"

namespace glint::glinter {
namespace {

using test::palette_chunk;
using test::SimpleGnt;

struct Play : ::testing::Test {
  test::TempDir dir;
  SimpleGnt gnt;
  Glint* glint = nullptr;
  std::vector<uint8_t> picture = std::vector<uint8_t>(256, 0);

  void TearDown() override { GlintClose(glint); }
  void open(uint32_t flags = 0, int32_t buffer_size = 0) {
    dir.write("a.gnt", gnt.file.build());
    glint = GlintOpen(dir.file("a.gnt").c_str(), flags, buffer_size);
    ASSERT_NE(glint, nullptr);
    GlintSetOutput(glint, 0, 0, 16, 16, picture.data(), 0);
  }
  // Decodes the current frame and returns its colour.
  int decode() {
    GlintDecodeFrame(glint);
    return picture[0];
  }
};

TEST_F(Play, StepsInPlayOrderWithAndWithoutRingFrame) {
  struct Case {
    bool ring;
    int32_t buffer_size;
    size_t frame_bytes;  // large frames force streaming through the ring
    std::vector<int> colours;
  };
  const Case cases[] = {
      {false, 0, 0, {1, 2, 3, 1, 2, 3, 1}},
      {true, 0, 0, {1, 2, 3, 9, 2, 3, 9, 2}},
      {false, 0, 5000, {1, 2, 3, 1, 2, 3, 1}},
      {true, 0, 7000, {1, 2, 3, 9, 2, 3, 9, 2}},
  };
  for (const Case& c : cases) {
    gnt = SimpleGnt{};
    for (uint32_t colour : {1, 2, 3}) gnt.add_fill(colour, {}, c.frame_bytes);
    if (c.ring) {
      gnt.add_fill(9, {}, c.frame_bytes);
      gnt.file.header_flags = GLINT_HEADER_RING;
    }
    GlintClose(glint);
    open(0, c.buffer_size);
    std::vector<int> colours;
    for (size_t i = 0; i < c.colours.size(); ++i) {
      colours.push_back(decode());
      while (GlintCheckWait(glint)) platform::sleep_ms(5);  // waiting reads ahead
      GlintAdvanceFrame(glint);
    }
    EXPECT_EQ(colours, c.colours) << "ring " << c.ring << " bytes " << c.frame_bytes;
    EXPECT_EQ(glint->read_failed, 0u);
  }
}

TEST_F(Play, GotoFrame) {
  for (uint32_t colour : {1, 2, 3}) gnt.add_fill(colour, {}, 6000);
  open();
  GlintGotoFrame(glint, 1);  // frame 0 is current: nothing happens
  EXPECT_EQ(glint->current_frame, 0u);
  GlintGotoFrame(glint, 3);
  EXPECT_EQ(glint->current_frame, 2u);
  EXPECT_EQ(decode(), 3);
  GlintGotoFrame(glint, 4);  // past the end: ignored
  GlintGotoFrame(glint, 0xFFFFFFFF);
  EXPECT_EQ(glint->current_frame, 2u);
  GlintGotoFrame(glint, 0);  // 0 counts as 1
  EXPECT_EQ(glint->current_frame, 0u);
  EXPECT_EQ(decode(), 1);
  GlintGotoFrame(glint, 2);
  EXPECT_EQ(decode(), 2);
}

TEST_F(Play, PaletteUpdatedAcrossLoopsAndTheRingFrame) {
  // Frame 0: entry 0 = red, rest kept (black at open). Frame 1: no chunk.
  // Ring frame: entry 0 = green.
  auto red = palette_chunk({0x3F, 0, 0, 0xFF, 0xFE});
  auto green = palette_chunk({0, 0x3F, 0, 0xFF, 0xFE});
  gnt.add_fill(1, red);
  gnt.add_fill(2);
  gnt.add_fill(1, green);
  gnt.file.header_flags = GLINT_HEADER_RING;
  open();
  struct Step {
    uint32_t frame, updated;
    uint8_t red, green;
  };
  const Step steps[] = {
      {0, 1, 255, 0}, {1, 0, 255, 0}, {2, 1, 0, 255}, {1, 0, 0, 255}, {2, 0, 0, 255}};
  for (const Step& s : steps) {
    EXPECT_EQ(glint->current_frame, s.frame);
    EXPECT_EQ(glint->palette_updated, s.updated) << "frame " << s.frame;
    EXPECT_EQ(glint->palette[0], s.red);
    EXPECT_EQ(glint->palette[1], s.green);
    decode();
    GlintAdvanceFrame(glint);
  }
}

TEST_F(Play, ReturningToFrameZeroStartsFromBlack) {
  // Frame 0 keeps everything (black after a rewind); frame 1 sets entry 5.
  gnt.add_fill(1, palette_chunk({0xFF, 0xFF}));
  gnt.add_fill(2, palette_chunk({0x84, 0x3F, 0x3F, 0x3F, 0xFF, 0xF9}));
  open();
  decode();
  GlintAdvanceFrame(glint);
  EXPECT_EQ(glint->palette[15], 255);
  decode();
  GlintAdvanceFrame(glint);
  EXPECT_EQ(glint->current_frame, 0u);
  EXPECT_EQ(glint->palette[15], 0);
  EXPECT_EQ(glint->palette_updated, 1u);  // frame 1 took the palette last
}

TEST_F(Play, OneFrameAnimationReportsItsPaletteOnce) {
  gnt.add_fill(1, palette_chunk({0x3F, 0x3F, 0x3F, 0xFF, 0xFE}));
  open();
  EXPECT_EQ(glint->palette_updated, 1u);
  decode();
  GlintAdvanceFrame(glint);
  EXPECT_EQ(glint->current_frame, 0u);
  EXPECT_EQ(glint->palette_updated, 0u);
  EXPECT_EQ(glint->palette[0], 255);
}

TEST_F(Play, DamagedChunksDecodeNothing) {
  struct Case {
    const char* name;
    test::Frame frame;
  };
  std::vector<Case> cases;
  test::Frame zero_length = SimpleGnt::frame({0, 0, 0, 0}, gnt.fill_video(5));
  cases.push_back({"palette length byte 0", zero_length});
  test::Frame long_palette = SimpleGnt::frame({200, 0, 0, 0}, gnt.fill_video(5));
  cases.push_back({"palette chunk longer than the record", long_palette});
  test::Frame audio = SimpleGnt::frame({}, gnt.fill_video(5));
  audio.type = 2;  // an audio chunk of track 0 first
  audio.bytes = {0xF0, 0, 0, 0, 0, 0, 0, 0};
  cases.push_back({"audio chunk longer than the record", audio});
  test::Frame short_audio = audio;
  short_audio.bytes = {2, 0, 0, 0};
  cases.push_back({"audio chunk length below 4", short_audio});
  for (const Case& c : cases) {
    gnt = SimpleGnt{};
    gnt.add_fill(1);
    gnt.file.frames.push_back(c.frame);
    GlintClose(glint);
    open();
    decode();
    GlintAdvanceFrame(glint);
    EXPECT_EQ(decode(), 1) << c.name;
    EXPECT_EQ(GlintNextRect(glint, 0), 0) << c.name;
  }
}

TEST_F(Play, AudioChunksOfTracksNotOpenAreSkipped) {
  test::FakeSound fake;
  test::Frame frame = SimpleGnt::frame({}, gnt.fill_video(7));
  frame.type = 1 | 2 | 8;  // palette, track 0, track 2
  std::vector<uint8_t> chunks = palette_chunk({0xFF, 0xFF});
  for (int track = 0; track < 2; ++track)
    chunks.insert(chunks.end(), {12, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8});
  frame.bytes.insert(frame.bytes.begin(), chunks.begin(), chunks.end());
  gnt.file.frames.push_back(frame);
  gnt.file.track_format[0] = 22050 | (1u << 30);
  open(GLINT_TRACK(0));
  EXPECT_EQ(glint->side_bytes, 4u + 24u);
  EXPECT_EQ(glint->mode_flags & GLINT_TRACK_MASK, GLINT_TRACK(0));
  EXPECT_EQ(decode(), 7);
  EXPECT_EQ(glinter::state_of(glint)->tracks[0].track->written.load(), 8u);
  GlintClose(glint);  // before the fake output goes
  glint = nullptr;
}

TEST_F(Play, ShortReadDuringPlaybackStopsDecoding) {
  for (uint32_t colour : {1, 2, 3, 4}) gnt.add_fill(colour, {}, 6000);
  open();
  ASSERT_EQ(truncate(dir.file("a.gnt").c_str(), 9000), 0);
  for (int i = 0; i < 4; ++i) {
    decode();
    GlintAdvanceFrame(glint);
  }
  EXPECT_EQ(glint->read_failed, 1u);
  uint32_t frame = glint->current_frame;
  EXPECT_EQ(GlintDecodeFrame(glint), 0);
  EXPECT_EQ(GlintCheckWait(glint), 0);
  GlintAdvanceFrame(glint);
  EXPECT_EQ(glint->current_frame, frame + 1);  // advancing only counts
}

struct Rects : Play {
  std::vector<std::array<uint32_t, 4>> all(int kind) {
    std::vector<std::array<uint32_t, 4>> rects;
    while (GlintNextRect(glint, kind))
      rects.push_back({glint->update_x, glint->update_y, glint->update_w, glint->update_h});
    return rects;
  }
};

TEST_F(Rects, WholePictureAndNothing) {
  gnt.add_fill(1);
  gnt.file.frames.push_back(SimpleGnt::frame({}, gnt.unchanged_video()));
  gnt.file.frames.push_back(SimpleGnt::frame(palette_chunk({0xFF, 0xFF}), gnt.unchanged_video()));
  open();
  decode();
  using R = std::vector<std::array<uint32_t, 4>>;
  EXPECT_EQ(all(0), (R{{0, 0, 16, 16}}));
  EXPECT_EQ(all(0), R{});  // handed out once per decode
  decode();
  EXPECT_EQ(all(2), R{});
  GlintAdvanceFrame(glint);
  decode();
  EXPECT_EQ(all(0), R{});  // unchanged, no palette
  GlintAdvanceFrame(glint);
  decode();
  EXPECT_EQ(all(1), (R{{0, 0, 0, 0}}));  // palette only: one empty rectangle
}

// Pictures made of one block row of solid runs: a changed stretch at block
// columns [a, b) in a given block row.
struct RectCase {
  const char* name;
  uint32_t width, height, dest_x, dest_y, flags;
  std::vector<std::array<uint32_t, 3>> changes;  // block row, first block, count
  int kind;
  std::vector<std::array<uint32_t, 4>> expected;
};

TEST_F(Rects, PlacementMergingAndAlignment) {
  const std::vector<RectCase> cases = {
      // Each change map byte covers 16 blocks (64 pixels) of a block row.
      {"x = 3 keeps its left edge", 84, 4, 3, 0, 0, {{0, 0, 1}}, 0, {{3, 0, 64, 4}}},
      {"left edge lowered to a multiple of 8, width not past the picture",
       128,
       4,
       2,
       0,
       0,
       {{0, 20, 1}},
       0,
       {{64, 0, 66, 4}}},
      {"width raised to a multiple of 8 inside the picture",
       84,
       8,
       0,
       0,
       0,
       {{0, 17, 1}},
       0,
       {{64, 0, 20, 4}, {0, 4, 48, 4}}},
      {"interlaced block row 2",
       64,
       16,
       0,
       0,
       GLINT_HEADER_INTERLACED,
       {{2, 4, 4}},
       0,
       {{0, 16, 64, 8}}},
      {"far apart on one row: two rectangles",
       256,
       4,
       0,
       0,
       0,
       {{0, 0, 2}, {0, 48, 2}},
       0,
       {{0, 0, 64, 4}, {192, 0, 64, 4}}},
      {"kind 1 bounds everything", 256, 8, 0, 0, 0, {{0, 0, 2}, {1, 48, 2}}, 1, {{0, 0, 256, 8}}},
      {"rows sharing a full edge are joined",
       256,
       12,
       0,
       0,
       0,
       {{0, 16, 16}, {1, 16, 16}, {2, 16, 16}},
       0,
       {{64, 0, 64, 12}}},
      {"y placed by dest_y", 64, 4, 0, 10, 0, {{0, 0, 16}}, 0, {{0, 10, 64, 4}}},
  };
  for (const RectCase& c : cases) {
    gnt = SimpleGnt{};
    // Type tree: solid 1 block of colour 1 and unchanged runs of every length.
    gnt.set = test::TreeSet{};
    for (int t = 0; t < 3; ++t) gnt.set.trees[t].leaves = {0};
    gnt.set.trees[3].leaves.push_back(test::type_value(test::kSolid, 0, 1));
    for (uint32_t r = 0; r < 64; ++r)
      gnt.set.trees[3].leaves.push_back(test::type_value(test::kUnchanged, r));
    gnt.set.emit();
    gnt.file.tree_data = gnt.set.bits.words();
    for (int t = 0; t < 4; ++t) gnt.file.tree_bytes[t] = gnt.set.bytes[t];
    gnt.file.width = c.width;
    gnt.file.height = c.height;
    gnt.file.header_flags = c.flags;
    const uint32_t per_row = c.width / 4, total = per_row * (c.height / 4);
    std::vector<bool> changed(total, false);
    for (const auto& ch : c.changes)
      for (uint32_t i = 0; i < ch[2]; ++i) changed[ch[0] * per_row + ch[1] + i] = true;
    test::Bits bits;
    for (uint32_t pos = 0; pos < total;) {
      if (changed[pos]) {
        bits.code(gnt.set.code(3, test::type_value(test::kSolid, 0, 1)));
        ++pos;
        continue;
      }
      uint32_t n = 0;
      while (pos + n < total && !changed[pos + n] && n < 59) ++n;
      bits.code(gnt.set.code(3, test::type_value(test::kUnchanged, n - 1)));
      pos += n;
    }
    gnt.file.frames.push_back(SimpleGnt::frame({}, bits.words()));
    GlintClose(glint);
    dir.write("a.gnt", gnt.file.build());
    glint = GlintOpen(dir.file("a.gnt").c_str(), 0, 0);
    ASSERT_NE(glint, nullptr) << c.name;
    uint32_t lines = glint->height + c.dest_y;
    std::vector<uint8_t> buffer(size_t(c.width + c.dest_x) * lines);
    GlintSetOutput(glint, c.dest_x, c.dest_y, int32_t(c.width + c.dest_x), lines, buffer.data(), 0);
    GlintDecodeFrame(glint);
    EXPECT_EQ(all(c.kind), c.expected) << c.name;
  }
}

TEST_F(Play, ClockTiming) {
  gnt.file.frame_period = 100;
  for (uint32_t colour : {1, 2, 3, 4, 5}) gnt.add_fill(colour);
  open();
  // Frames become due 100 ms apart; the first call starts the time base.
  EXPECT_EQ(GlintCheckWait(glint), 1);
  platform::sleep_ms(99);
  EXPECT_EQ(GlintCheckWait(glint), 1);
  platform::sleep_ms(1);
  EXPECT_EQ(GlintCheckWait(glint), 0);
  EXPECT_EQ(GlintCheckWait(glint), 0);  // released until the next frame
  GlintAdvanceFrame(glint);
  EXPECT_EQ(GlintCheckWait(glint), 1);
  platform::sleep_ms(100);
  EXPECT_EQ(GlintCheckWait(glint), 0);
  // A one-second stall: the next frame is released at once, the one after
  // it 100 ms after the new time base, not at once.
  GlintAdvanceFrame(glint);
  platform::sleep_ms(1000);
  EXPECT_EQ(GlintCheckWait(glint), 0);
  GlintAdvanceFrame(glint);
  EXPECT_EQ(GlintCheckWait(glint), 1);
  platform::sleep_ms(99);
  EXPECT_EQ(GlintCheckWait(glint), 1);
  platform::sleep_ms(1);
  EXPECT_EQ(GlintCheckWait(glint), 0);
}

TEST_F(Play, ClockTimingSurvivesHoursOfPlay) {
  gnt.file.frame_period = -4000;  // 40 ms in units of 10 microseconds
  gnt.add_fill(1);
  open();
  EXPECT_EQ(GlintCheckWait(glint), 1);
  platform::sleep_ms(13u * 3600u * 1000u);  // past 2^32 units of 10 us
  EXPECT_EQ(GlintCheckWait(glint), 0);
  GlintAdvanceFrame(glint);
  EXPECT_EQ(GlintCheckWait(glint), 1);
  platform::sleep_ms(40);
  EXPECT_EQ(GlintCheckWait(glint), 0);
}

TEST_F(Play, NoFrameTimingNeverWaits) {
  gnt.file.frame_period = 0;
  gnt.add_fill(1);
  open();
  EXPECT_EQ(GlintCheckWait(glint), 0);
}

TEST_F(Play, OutputOutsideTheBufferIsClipped) {
  gnt.add_fill(4);
  open();
  std::vector<uint8_t> small(12 * 10, 0);
  GlintSetOutput(glint, 8, 4, 12, 10, small.data(), GLINT_OUTPUT_BOTTOM_UP);
  decode();
  EXPECT_EQ(small[0 * 12 + 8], 4);   // bottom line is picture line 5
  EXPECT_EQ(small[5 * 12 + 11], 4);  // picture line 0
  EXPECT_EQ(small[6 * 12 + 8], 0);   // above the placed picture
  EXPECT_EQ(small[0 * 12 + 7], 0);   // left of it
  GlintSetOutput(glint, 0, 0, 0, 0, nullptr, 0);
  EXPECT_EQ(GlintDecodeFrame(glint), 0);  // no output: nothing written
}

TEST(GlintNull, EveryOperationIgnoresANullRecord) {
  GlintSetOutput(nullptr, 0, 0, 0, 0, nullptr, 0);
  EXPECT_EQ(GlintDecodeFrame(nullptr), 0);
  GlintAdvanceFrame(nullptr);
  GlintGotoFrame(nullptr, 3);
  EXPECT_EQ(GlintCheckWait(nullptr), 0);
  EXPECT_EQ(GlintNextRect(nullptr, 0), 0);
  EXPECT_EQ(GlintEnableMMX(2), 1);
  EXPECT_EQ(GlintEnableMMX(0), 0);
  EXPECT_EQ(GlintEnableMMX(1), 1);
}

}  // namespace
}  // namespace glint::glinter
