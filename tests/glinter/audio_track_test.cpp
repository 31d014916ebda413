// Opening and closing tracks, and chunks that do not fit: lengths that are
// not whole sample frames, chunk bits that disagree with the track, data
// larger than the ring's free space.
#include <gtest/gtest.h>

#include "audio_fake_sound.h"
#include "glinter/audio_chunk.h"
#include "glinter/glint_record.h"
#include "gnt_simple.h"
#include "orxutil/glint.h"
#include "support/temp_dir.h"

namespace glint::test {
namespace {

constexpr uint32_t kData = GLINT_FORMAT_DATA;

std::vector<uint8_t> raw_chunk(std::vector<uint8_t> pcm) {
  std::vector<uint8_t> chunk(4);
  const uint32_t length = uint32_t(pcm.size() + 4);
  for (int i = 0; i < 4; ++i) chunk[i] = uint8_t(length >> (8 * i));
  chunk.insert(chunk.end(), pcm.begin(), pcm.end());
  return chunk;
}

// A compressed chunk: header bits, single-leaf trees of delta 1, the first
// sample frame 0x40..., and a decoded length of `length`.
std::vector<uint8_t> compressed_chunk(unsigned channels, unsigned sample_bytes, uint32_t length) {
  Bits bits;
  bits.put(1, 1).put(channels == 2, 1).put(sample_bytes == 2, 1);
  for (unsigned t = 0; t < channels * sample_bytes; ++t) bits.put(1, 1).put(0, 1).put(1, 8).put(0, 1);
  for (unsigned i = 0; i < channels * sample_bytes; ++i) bits.put(0x40, 8);
  std::vector<uint8_t> stream = bits.words();
  std::vector<uint8_t> chunk(8);
  const uint32_t size = uint32_t(stream.size() + 8);
  for (int i = 0; i < 4; ++i) {
    chunk[i] = uint8_t(size >> (8 * i));
    chunk[4 + i] = uint8_t(length >> (8 * i));
  }
  chunk.insert(chunk.end(), stream.begin(), stream.end());
  return chunk;
}

struct Tracks : ::testing::Test {
  TempDir dir;
  FakeSound fake;
  SimpleGnt gnt;
  Glint* glint = nullptr;

  void TearDown() override { GlintClose(glint); }
  // Adds a frame whose chunks (by track) come before its picture.
  void add_frame(uint32_t colour, const std::vector<std::pair<unsigned, std::vector<uint8_t>>>& chunks) {
    Frame f;
    for (const auto& [k, chunk] : chunks) {
      f.type |= uint8_t(2u << k);
      f.bytes.insert(f.bytes.end(), chunk.begin(), chunk.end());
    }
    std::vector<uint8_t> video = gnt.fill_video(colour);
    f.bytes.insert(f.bytes.end(), video.begin(), video.end());
    while (f.bytes.size() % 4) f.bytes.push_back(0);
    gnt.file.frames.push_back(f);
  }
  void open(uint32_t flags) {
    dir.write("a.gnt", gnt.file.build());
    glint = GlintOpen(dir.file("a.gnt").c_str(), flags, -1);
    ASSERT_NE(glint, nullptr);
  }
  glinter::TrackSlot& slot(unsigned k) { return glinter::state_of(glint)->tracks[k]; }
};

TEST_F(Tracks, OpenKeepsThePlayableTracksAndTimesByTheFirst) {
  gnt.file.track_format[0] = 0;                              // no such track
  gnt.file.track_format[1] = 11025 | kData | (1u << 26) | GLINT_FORMAT_COMPRESSED;  // transform
  gnt.file.track_format[2] = 22050 | kData | GLINT_FORMAT_16BIT | GLINT_FORMAT_STEREO;
  gnt.file.track_format[3] = 8000 | kData;
  gnt.file.track_format[4] = kData;                          // rate 0
  gnt.file.track_format[5] = 11025 | (1u << 27);             // bit 27 without bit 31: raw PCM
  gnt.file.frame_period = -4000;                             // 40 ms
  for (uint32_t c = 0; c < 30; ++c) add_frame(c % 15 + 1, {});
  open(GLINT_TRACK_MASK);
  EXPECT_EQ(glint->mode_flags & GLINT_TRACK_MASK, GLINT_TRACK(2) | GLINT_TRACK(3));
  // Bit 27 alone does not make a track present (bit 30 or bit 26 does).
  EXPECT_EQ(glinter::state_of(glint)->timing_track, 2);
  EXPECT_EQ(glinter::open_track_count(), 2);
  GlintClose(glint);
  gnt.file.track_format[5] = 11025 | (1u << 26);  // bit 26 without bit 31: a raw track
  open(GLINT_TRACK_MASK);
  EXPECT_EQ(glint->mode_flags & GLINT_TRACK_MASK,
            GLINT_TRACK(2) | GLINT_TRACK(3) | GLINT_TRACK(5));
  EXPECT_EQ(glinter::open_track_count(), 3);
  EXPECT_FALSE(glinter::audio_scratch().empty());
  const glinter::GlintTrack& stereo = *slot(2).track;
  EXPECT_EQ(stereo.byte_rate, 88200u);
  EXPECT_EQ(stereo.block_align, 4u);
  EXPECT_EQ(stereo.ring_size, 98304u);  // 2 x 3,528 + 88,200 up to a multiple of 4,096
  EXPECT_EQ(slot(2).start_threshold, 91728u);
  EXPECT_EQ(glinter::state_of(glint)->sound.late_q10, uint64_t(88200) * 512);
  // Rings start as silence.
  for (unsigned k : {2u, 3u}) {
    const glinter::GlintTrack& t = *slot(k).track;
    const uint8_t silence = k == 2 ? 0x00 : 0x80;
    EXPECT_EQ(std::count(t.ring.get(), t.ring.get() + t.ring_size, silence), int64_t(t.ring_size));
  }
  GlintClose(glint);
  glint = nullptr;
  EXPECT_EQ(fake.closed.size(), 5u);
  EXPECT_EQ(glinter::open_track_count(), 0);
  EXPECT_TRUE(glinter::audio_scratch().empty()) << "the last track frees the shared scratch";
}

TEST_F(Tracks, ATrackTheOutputRefusesIsDropped) {
  gnt.file.track_format[0] = 8000 | kData;
  add_frame(1, {{0, raw_chunk({1, 2, 3, 4})}});
  fake.refuse_open = true;
  open(GLINT_TRACK0);
  EXPECT_EQ(glint->mode_flags & GLINT_TRACK_MASK, 0u);
  EXPECT_EQ(glinter::state_of(glint)->timing_track, -1);
  EXPECT_EQ(GlintDecodeFrame(glint), 0);
  EXPECT_EQ(GlintSoundSwitch(glint, 0), 1);
}

TEST_F(Tracks, DataIsCutToWholeSampleFramesAndToTheRing) {
  struct Case {
    const char* name;
    uint32_t format;
    std::vector<uint8_t> chunk;
    uint64_t written;
    uint64_t overflows;
  };
  const uint32_t mono16 = 8000 | kData | GLINT_FORMAT_16BIT;
  const uint32_t stereo16 = 8000 | kData | GLINT_FORMAT_16BIT | GLINT_FORMAT_STEREO;
  const uint32_t mono8 = 8000 | kData;
  const uint32_t packed = GLINT_FORMAT_COMPRESSED;
  const Case cases[] = {
      {"raw 16-bit, odd length", mono16, raw_chunk(std::vector<uint8_t>(7, 0x11)), 6, 0},
      {"compressed 16-bit stereo, length 7", stereo16 | packed, compressed_chunk(2, 2, 7), 4, 0},
      {"chunk says 16-bit stereo, track is 8-bit mono", mono8 | packed, compressed_chunk(2, 2, 6),
       4, 0},
      {"chunk says 8-bit mono, track is 16-bit stereo", stereo16 | packed,
       compressed_chunk(1, 1, 6), 4, 0},
      {"raw chunk larger than the ring", mono8, raw_chunk(std::vector<uint8_t>(20001, 0x22)), 12288,
       1},
      {"compressed chunk larger than the ring, 16-bit", mono16 | packed,
       compressed_chunk(1, 2, 50001), 20480, 1},
  };
  for (const Case& c : cases) {
    gnt = SimpleGnt{};
    gnt.file.track_format[0] = c.format;
    add_frame(1, {{0, c.chunk}});
    add_frame(2, {});
    GlintClose(glint);
    open(GLINT_TRACK0);
    glinter::GlintTrack& track = *slot(0).track;
    GlintDecodeFrame(glint);
    EXPECT_EQ(track.written.load(), c.written) << c.name;
    EXPECT_EQ(track.write_pos, c.written % track.ring_size) << c.name;
    EXPECT_EQ(slot(0).overflows, c.overflows) << c.name;
  }
}

TEST_F(Tracks, AnOverflowKeepsTheHeadOfTheData) {
  gnt.file.track_format[0] = 8000 | kData;
  std::vector<uint8_t> pcm(20000);
  for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = uint8_t(i * 7);
  add_frame(1, {{0, raw_chunk(pcm)}});
  add_frame(2, {{0, raw_chunk({9, 9, 9, 9})}});
  open(GLINT_TRACK0);
  glinter::GlintTrack& track = *slot(0).track;
  GlintDecodeFrame(glint);
  ASSERT_EQ(track.ring_size, 12288u);
  EXPECT_TRUE(std::equal(track.ring.get(), track.ring.get() + track.ring_size, pcm.begin()));
  GlintAdvanceFrame(glint);
  GlintDecodeFrame(glint);  // the ring is still full: all of it is dropped
  EXPECT_EQ(slot(0).overflows, 2u);
  EXPECT_EQ(track.written.load(), 12288u);
}

}  // namespace
}  // namespace glint::test
