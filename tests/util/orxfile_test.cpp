// ORXFile: bit packing, the buffer across mode switches and seeks, lines,
// alignment, sharing between open records, names and times.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "orxutil/orxutil.h"
#include "support/temp_dir.h"
#include "util/orxfile_names.h"
#include "util/orxfile_record.h"

namespace {

using glint::test::TempDir;

// Buffer sizes that put the buffer edges in different places: unbuffered,
// tiny, odd and the size the library's users pass for big files.
constexpr int32_t kBufferSizes[] = {0, 1, 2, 3, 5, 16, 64000};

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// Bit `k` of a byte string, least significant bit first.
uint32_t stream_bits(const std::string& data, uint64_t first, uint32_t n) {
  uint32_t value = 0;
  for (uint32_t i = 0; i < n; ++i) {
    uint64_t k = first + i;
    if (k / 8 >= data.size()) break;
    value |= ((static_cast<uint8_t>(data[k / 8]) >> (k % 8)) & 1u) << i;
  }
  return value;
}

struct Closer {
  ORXFile* f;
  ~Closer() { ORXFileClose(f); }
};

TEST(OrxFileBits, PackedLeastSignificantBitFirst) {
  for (int32_t size : kBufferSizes) {
    SCOPED_TRACE("buffer size " + std::to_string(size));
    TempDir dir;
    std::string name = dir.file("bits.bin");
    ORXFile* f = ORXFileCreate(size, name.c_str());
    ASSERT_NE(f, nullptr);
    ORXFilePutBits(f, 5, 3);
    ORXFilePutBits(f, 1, 1);
    ORXFilePutBits(f, 0x1234, 16);
    EXPECT_EQ(ORXFileBitPos(f), 4u);
    EXPECT_EQ(ORXFileGetPos(f), 2u);  // the partial byte is not in the file yet
    ORXFileByteAlign(f);
    EXPECT_EQ(ORXFileGetPos(f), 3u);
    ORXFileClose(f);
    EXPECT_EQ(dir.read("bits.bin"), bytes({0x4D, 0x23, 0x01}));

    f = ORXFileOpen(size, name.c_str(), ORXFILE_READ);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ORXFileGetBits(f, 3), 5u);
    EXPECT_EQ(ORXFileGetBits(f, 1), 1u);
    EXPECT_EQ(ORXFileGetBits(f, 16), 0x1234u);
    ORXFileClose(f);
  }
}

TEST(OrxFileBits, FieldsAreTheNextStreamBits) {
  const std::string data = bytes({0xAB, 0xCD, 0xEF, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE,
                                  0xF0, 0x0F, 0x5A, 0xA5, 0xC3, 0x3C, 0x99, 0x66, 0x81, 0x18});
  // Width sequences that start fields at every bit offset and cross bytes.
  const std::vector<std::vector<uint32_t>> sequences = {
      {8, 16, 32, 24},          {1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13},
      {13, 13, 13, 13, 13, 13}, {3, 32, 5, 32, 7, 31, 1, 17},
      {7, 8, 16, 24, 32, 2},
  };
  TempDir dir;
  dir.write("pattern.bin", data);
  for (int32_t size : kBufferSizes) {
    for (const auto& widths : sequences) {
      SCOPED_TRACE("buffer size " + std::to_string(size) + ", sequence of " +
                   std::to_string(widths.size()));
      ORXFile* f = ORXFileOpen(size, dir.file("pattern.bin").c_str(), ORXFILE_READ);
      ASSERT_NE(f, nullptr);
      Closer closer{f};
      uint64_t bit = 0;
      for (uint32_t n : widths) {
        uint32_t expected = stream_bits(data, bit, n);
        uint32_t got = n == 8    ? ORXFileGet8(f)
                       : n == 16 ? ORXFileGet16(f)
                       : n == 32 ? ORXFileGet32(f)
                                 : ORXFileGetBits(f, n);
        ASSERT_EQ(got, expected) << "field of " << n << " at bit " << bit;
        bit += n;
        ASSERT_EQ(ORXFileBitPos(f), bit % 8);
        ASSERT_EQ(ORXFileGetPos(f), bit / 8);
      }
      // Whole bytes through the cursor realign the same way.
      char chunk[4];
      ASSERT_EQ(ORXFileGet(f, chunk, 4), 4u);
      for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(static_cast<uint8_t>(chunk[i]), stream_bits(data, bit + 8 * i, 8));
      }
    }
  }
}

TEST(OrxFileBits, WidthsWrapAtThirtyTwo) {
  struct Case {
    uint32_t n;
    uint32_t effective;
  };
  const Case cases[] = {{0, 0}, {1, 1}, {32, 32}, {33, 1}, {40, 8}, {64, 32}, {0xFFFFFFFF, 31}};
  const std::string data = bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  TempDir dir;
  dir.write("ones.bin", data);
  for (const Case& c : cases) {
    SCOPED_TRACE("n = " + std::to_string(c.n));
    ORXFile* f = ORXFileOpen(16, dir.file("ones.bin").c_str(), ORXFILE_READ);
    ASSERT_NE(f, nullptr);
    Closer closer{f};
    uint32_t mask = c.effective == 32 ? 0xFFFFFFFFu : (1u << c.effective) - 1;
    EXPECT_EQ(ORXFileGetBits(f, c.n), mask);
    EXPECT_EQ(ORXFileGetPos(f) * 8 + ORXFileBitPos(f), c.effective);
  }
  // Writing wraps the same way; 0 writes nothing.
  ORXFile* f = ORXFileCreate(16, dir.file("w.bin").c_str());
  ASSERT_NE(f, nullptr);
  ORXFilePutBits(f, 0xFFFFFFFF, 0);
  ORXFilePutBits(f, 0xFFFFFFFF, 33);
  ORXFilePutBits(f, 0xFFFFFFFF, 40);
  EXPECT_EQ(ORXFileGetPos(f), 1u);
  EXPECT_EQ(ORXFileBitPos(f), 1u);
  ORXFileClose(f);
  EXPECT_EQ(dir.read("w.bin"), bytes({0xFF, 0x01}));
}

TEST(OrxFileBits, ReadingPastTheEndGivesTheBitsThatWereThere) {
  struct Case {
    const char* what;
    std::string content;
    uint32_t skip_bits;  // read first
    uint32_t n;          // then this field
    uint32_t expected;
  };
  const Case cases[] = {
      {"16 from 1 byte", bytes({0xAB}), 0, 16, 0x00AB},
      {"32 from 3 bytes", bytes({0x01, 0x02, 0x03}), 0, 32, 0x030201},
      {"8 from 5 bits", bytes({0xF8}), 3, 8, 0x1F},
      {"13 from 12 bits", bytes({0x34, 0xF2}), 4, 13, 0xF23},
      {"5 from nothing", bytes({0x12}), 8, 5, 0},
      {"5 from empty", "", 0, 5, 0},
  };
  TempDir dir;
  for (const Case& c : cases) {
    for (int32_t size : {0, 1, 4096}) {
      SCOPED_TRACE(std::string(c.what) + ", buffer size " + std::to_string(size));
      dir.write("short.bin", c.content);
      ORXFile* f = ORXFileOpen(size, dir.file("short.bin").c_str(), ORXFILE_READ);
      ASSERT_NE(f, nullptr);
      Closer closer{f};
      if (c.skip_bits) ORXFileGetBits(f, c.skip_bits);
      EXPECT_EQ(ORXFileGetBits(f, c.n), c.expected);
      // Everything is used up: aligned at the end.
      EXPECT_EQ(ORXFileBitPos(f), 0u);
      EXPECT_EQ(ORXFileGetPos(f), c.content.size());
      EXPECT_EQ(ORXFileAtEnd(f), 1);
      EXPECT_EQ(ORXFileGet8(f), 0u);
    }
  }
}

TEST(OrxFileBits, ByteReadsStopAtTheEnd) {
  TempDir dir;
  dir.write("abc", "abc");
  for (int32_t size : kBufferSizes) {
    SCOPED_TRACE("buffer size " + std::to_string(size));
    ORXFile* f = ORXFileOpen(size, dir.file("abc").c_str(), ORXFILE_READ);
    ASSERT_NE(f, nullptr);
    Closer closer{f};
    char out[8] = {};
    EXPECT_EQ(ORXFileGetNB(f, out, 8), 3u);
    EXPECT_EQ(std::string(out, 3), "abc");
    ORXFileSetPos(f, 0);
    ORXFileGetBits(f, 4);
    // 20 bits are left: two whole bytes, the rest is no byte.
    EXPECT_EQ(ORXFileGet(f, out, 8), 2u);
    EXPECT_EQ(static_cast<uint8_t>(out[0]), stream_bits("abc", 4, 8));
    EXPECT_EQ(static_cast<uint8_t>(out[1]), stream_bits("abc", 12, 8));
    EXPECT_EQ(ORXFileAtEnd(f), 1);
  }
}

TEST(OrxFileBuffer, WrittenBytesReadBackWithoutClosing) {
  for (int32_t size : kBufferSizes) {
    SCOPED_TRACE("buffer size " + std::to_string(size));
    TempDir dir;
    ORXFile* f = ORXFileCreate(size, dir.file("ten").c_str());
    ASSERT_NE(f, nullptr);
    Closer closer{f};
    EXPECT_EQ(ORXFilePutNB(f, "0123456789", 10), 10u);
    EXPECT_EQ(ORXFileSize(f), 10u);
    EXPECT_EQ(ORXFileSetPos(f, 0), 10u);
    char out[16] = {};
    EXPECT_EQ(ORXFileGet(f, out, 16), 10u);
    EXPECT_EQ(std::string(out), "0123456789");
    EXPECT_EQ(ORXFileAtEnd(f), 1);
  }
}

// A write on a reader starts at the reader's logical position: a partly
// read byte counts as unread, so the write replaces it, and none of the
// read bits leak into what is written. Unbuffered records behave the same.
TEST(OrxFileBuffer, WriteAfterPartialReadReplacesThatByte) {
  for (int32_t size : kBufferSizes) {
    SCOPED_TRACE("buffer size " + std::to_string(size));
    TempDir dir;
    dir.write("f", bytes({0xFF, 0xFF, 0xFF}));
    ORXFile* f = ORXFileOpen(size, dir.file("f").c_str(), ORXFILE_READWRITE);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ORXFileGet8(f), 0xFFu);
    EXPECT_EQ(ORXFileGetBits(f, 3), 7u);
    EXPECT_EQ(ORXFileGetPos(f), 1u);
    ORXFilePut8(f, 0x12);
    EXPECT_EQ(ORXFileGetPos(f), 2u);
    EXPECT_EQ(ORXFileBitPos(f), 0u);
    // And back to reading where the write stopped.
    EXPECT_EQ(ORXFileGet8(f), 0xFFu);
    ORXFileClose(f);
    EXPECT_EQ(dir.read("f"), bytes({0xFF, 0x12, 0xFF}));
  }
}

// Reading after writing bits completes the partial byte; the reader starts
// at the position the writer had, so it reads the padded byte.
TEST(OrxFileBuffer, ReadAfterPartialWriteReadsThePaddedByte) {
  for (int32_t size : kBufferSizes) {
    SCOPED_TRACE("buffer size " + std::to_string(size));
    TempDir dir;
    ORXFile* f = ORXFileCreate(size, dir.file("f").c_str());
    ASSERT_NE(f, nullptr);
    Closer closer{f};
    ORXFilePut16(f, 0xBEEF);
    ORXFilePutBits(f, 5, 3);
    EXPECT_EQ(ORXFileGet8(f), 5u);
    EXPECT_EQ(ORXFileGetPos(f), 3u);
    EXPECT_EQ(ORXFileSize(f), 3u);
    ORXFileSetPos(f, 0);
    EXPECT_EQ(ORXFileGet16(f), 0xBEEFu);
  }
}

// Moving inside the buffered bytes must not keep the partial byte of the
// old place: the next field starts at the new place's first bit.
TEST(OrxFileBuffer, SeekDropsThePartialByte) {
  const std::string data = bytes({0x10, 0x21, 0x32, 0x43, 0x54, 0x65, 0x76, 0x87});
  TempDir dir;
  dir.write("f", data);
  struct Case {
    uint64_t from_bit;
    uint64_t to;
  };
  const Case cases[] = {{3, 1}, {3, 5}, {11, 0}, {21, 7}, {61, 2}};
  for (int32_t size : kBufferSizes) {
    for (const Case& c : cases) {
      SCOPED_TRACE("buffer size " + std::to_string(size) + ", from bit " +
                   std::to_string(c.from_bit) + " to " + std::to_string(c.to));
      ORXFile* f = ORXFileOpen(size, dir.file("f").c_str(), ORXFILE_READ);
      ASSERT_NE(f, nullptr);
      Closer closer{f};
      for (uint64_t left = c.from_bit; left > 0; left -= std::min<uint64_t>(left, 32)) {
        ORXFileGetBits(f, static_cast<uint32_t>(std::min<uint64_t>(left, 32)));
      }
      EXPECT_EQ(ORXFileSetPos(f, c.to), c.from_bit / 8);
      EXPECT_EQ(ORXFileBitPos(f), 0u);
      EXPECT_EQ(ORXFileGetPos(f), c.to);
      EXPECT_EQ(ORXFileGet8(f), static_cast<uint8_t>(data[c.to]));
    }
  }
}

TEST(OrxFileBuffer, IsInBufferCoversTheLastFill) {
  TempDir dir;
  dir.write("f", std::string(100, 'x'));
  // The magnitude of a negative size is used.
  ORXFile* f = ORXFileOpen(-16, dir.file("f").c_str(), ORXFILE_READ);
  ASSERT_NE(f, nullptr);
  Closer closer{f};
  EXPECT_EQ(ORXFileIsInBuffer(f, 0), 0);  // nothing read yet
  ORXFileSetPos(f, 40);
  ORXFileGet8(f);
  EXPECT_EQ(ORXFileIsInBuffer(f, 39), 0);
  EXPECT_EQ(ORXFileIsInBuffer(f, 40), 1);
  EXPECT_EQ(ORXFileIsInBuffer(f, 55), 1);
  EXPECT_EQ(ORXFileIsInBuffer(f, 56), 0);
  char rest[15];
  ORXFileGetNB(f, rest, 15);
  EXPECT_EQ(ORXFileIsInBuffer(f, 50), 0);  // all consumed
  ORXFilePut8(f, 1);  // fails on a read-only file, but the record is writing now
  EXPECT_EQ(ORXFileIsInBuffer(f, 56), 0);
}

// The size is the file's size or the position when that is further; seeking
// past the end and back does not make the file bigger.
TEST(OrxFileSize, FollowsWritesNotSeeks) {
  for (int32_t size : kBufferSizes) {
    SCOPED_TRACE("buffer size " + std::to_string(size));
    TempDir dir;
    dir.write("f", std::string(10, 'a'));
    ORXFile* f = ORXFileOpen(size, dir.file("f").c_str(), ORXFILE_READWRITE);
    ASSERT_NE(f, nullptr);
    Closer closer{f};
    EXPECT_EQ(ORXFileSize(f), 10u);
    ORXFileSetPos(f, 100);
    EXPECT_EQ(ORXFileSize(f), 100u);
    EXPECT_EQ(ORXFileAtEnd(f), 1);
    ORXFileSetPos(f, 0);
    EXPECT_EQ(ORXFileSize(f), 10u);
    EXPECT_EQ(ORXFileAtEnd(f), 0);
    ORXFileSetPos(f, 20);
    ORXFilePutNB(f, "zz", 2);  // the gap reads as zeros
    ORXFileSetPos(f, 0);
    EXPECT_EQ(ORXFileSize(f), 22u);
    ORXFileSetPos(f, 15);
    EXPECT_EQ(ORXFileGet8(f), 0u);
  }
}

TEST(OrxFileAlign, PadsOrMoves) {
  struct Case {
    const char* what;
    int mode;  // 0 writing, 1 reading
    uint64_t position;
    uint32_t pending_bits;
    uint32_t n;
    uint64_t expected_position;
    uint64_t expected_size;
  };
  const Case cases[] = {
      {"at the end appends zeros", 0, 10, 0, 4, 12, 12},
      {"inside only moves", 0, 6, 0, 4, 8, 10},
      {"already aligned", 0, 8, 0, 4, 8, 10},
      {"n = 1", 0, 7, 0, 1, 7, 10},
      {"n = 0", 0, 7, 0, 0, 7, 10},
      {"pending bits are padded first", 0, 10, 3, 4, 12, 12},
      {"pending bits at 7 fill to 8", 0, 7, 3, 4, 8, 10},
      {"reading drops the partial byte", 1, 5, 3, 2, 6, 10},
      {"reading past the end appends", 1, 9, 0, 8, 16, 16},
  };
  for (const Case& c : cases) {
    for (int32_t size : {0, 3, 64000}) {
      SCOPED_TRACE(std::string(c.what) + ", buffer size " + std::to_string(size));
      TempDir dir;
      ORXFile* f = ORXFileCreate(size, dir.file("f").c_str());
      ASSERT_NE(f, nullptr);
      ORXFilePutNB(f, "abcdefghij", 10);
      ORXFileSetPos(f, c.position);
      if (c.mode == 1) {
        ORXFileGet8(f);
        ORXFileSetPos(f, c.position);
      }
      if (c.pending_bits) {
        if (c.mode == 0) {
          ORXFilePutBits(f, 0x7, c.pending_bits);
        } else {
          ORXFileGetBits(f, c.pending_bits);
        }
      }
      ORXFileAlign(f, c.n);
      EXPECT_EQ(ORXFileGetPos(f), c.expected_position);
      EXPECT_EQ(ORXFileBitPos(f), 0u);
      EXPECT_EQ(ORXFileSize(f), c.expected_size);
      ORXFileClose(f);
      std::string expected = std::string("abcdefghij").substr(0, c.expected_size);
      expected.resize(c.expected_size, '\0');
      if (c.mode == 0 && c.pending_bits) expected[c.position] = 0x7;
      EXPECT_EQ(dir.read("f"), expected);
    }
  }
}

TEST(OrxFileLine, Lines) {
  struct Case {
    const char* what;
    std::string content;
    uint32_t capacity;
    std::vector<std::string> lines;  // successive calls
    int at_end_after;
  };
  const Case cases[] = {
      {"long line split", "abcdefg", 5, {"abcd", "efg", ""}, 1},
      {"last line without feed", "one\nlast", 64, {"one", "last", ""}, 1},
      {"empty lines", "a\r\n\r\n\nb\n", 64, {"a", "", "", "b", ""}, 1},
      {"carriage returns stripped", "x\r\r\n", 64, {"x"}, 1},
      {"empty file", "", 64, {""}, 1},
      {"feed ends a full line", "abcd\nef", 5, {"abcd", "", "ef"}, 1},
      {"capacity 1", "abc", 1, {"", ""}, 0},
      {"capacity 2", "ab", 2, {"a", "b", ""}, 1},
  };
  TempDir dir;
  for (const Case& c : cases) {
    for (int32_t size : {0, 2, 4096}) {
      SCOPED_TRACE(std::string(c.what) + ", buffer size " + std::to_string(size));
      dir.write("lines.txt", c.content);
      ORXFile* f = ORXFileOpen(size, dir.file("lines.txt").c_str(), ORXFILE_READ);
      ASSERT_NE(f, nullptr);
      Closer closer{f};
      for (const std::string& line : c.lines) {
        char out[64];
        std::memset(out, '#', sizeof out);
        EXPECT_EQ(ORXFileGetLine(f, out, c.capacity), out);
        EXPECT_EQ(std::string(out), line);
      }
      EXPECT_EQ(ORXFileAtEnd(f), c.at_end_after);
    }
  }
  char untouched = '#';
  EXPECT_EQ(ORXFileGetLine(nullptr, &untouched, 0), &untouched);
  EXPECT_EQ(untouched, '#');
}

TEST(OrxFileOpen, RefusesBadArguments) {
  TempDir dir;
  std::string missing = dir.file("missing");
  EXPECT_EQ(ORXFileOpen(0, missing.c_str(), 252), nullptr);
  EXPECT_EQ(ORXFileOpen(0, missing.c_str(), ORXFILE_READWRITE), nullptr);
  EXPECT_EQ(ORXFileOpen(0, missing.c_str(), ORXFILE_READ), nullptr);
  EXPECT_NE(access(missing.c_str(), F_OK), 0);  // nothing was created
  EXPECT_EQ(ORXFileOpen(0, nullptr, ORXFILE_READ), nullptr);
  EXPECT_EQ(ORXFileCreate(0, nullptr), nullptr);
  EXPECT_EQ(ORXFileOpen(0, dir.path().c_str(), ORXFILE_READ), nullptr);  // a directory

  // Names up to 127 bytes are kept; longer ones are refused, not cut.
  std::string prefix = dir.path() + "/";
  ASSERT_LT(prefix.size(), 100u);
  std::string longest = prefix + std::string(127 - prefix.size(), 'n');
  std::string too_long = longest + "x";
  ORXFile* f = ORXFileCreate(0, longest.c_str());
  ASSERT_NE(f, nullptr);
  char name[ORXFILE_NAME_MAX];
  EXPECT_EQ(std::string(ORXFileGetName(f, name)), longest);
  EXPECT_EQ(std::string(name), longest);
  ORXFileClose(f);
  dir.write(too_long.substr(prefix.size()), "keep");
  EXPECT_EQ(ORXFileOpen(0, too_long.c_str(), ORXFILE_READ), nullptr);
  EXPECT_EQ(ORXFileCreate(0, too_long.c_str()), nullptr);
  EXPECT_EQ(dir.read(too_long.substr(prefix.size())), "keep");
  EXPECT_EQ(ORXFileErase(too_long.c_str()), 2);
}

TEST(OrxFileOpen, CreateEmptiesAndOpenKeeps) {
  TempDir dir;
  dir.write("f", "old content");
  ORXFile* f = ORXFileOpen(1024, dir.file("f").c_str(), ORXFILE_READWRITE);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(ORXFileSize(f), 11u);
  ORXFilePutNB(f, "new", 3);
  ORXFileClose(f);
  EXPECT_EQ(dir.read("f"), "new content");
  f = ORXFileCreateWithRead(1024, dir.file("f").c_str());
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(ORXFileSize(f), 0u);
  ORXFileClose(f);
  EXPECT_EQ(dir.read("f"), "");
}

TEST(OrxFileOpen, NameIsKeptAsPassed) {
  TempDir dir;
  dir.write("Data.BIN", "x");
  // The mapper resolves another letter case to the existing file.
  std::string as_passed = dir.path() + "/DATA.bin";
  ORXFile* f = ORXFileOpen(0, as_passed.c_str(), ORXFILE_READ);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(std::string(ORXFileGetName(f, nullptr)), as_passed);
  EXPECT_EQ(ORXFileGet8(f), static_cast<uint32_t>('x'));
  ORXFileClose(f);
}

// Sharing follows the Windows rules between the records of this process.
TEST(OrxFileShare, ConflictingOpensAreRefused) {
  enum Op { kRead, kReadWrite, kCreate, kCreateWithRead };
  auto run = [](Op op, const std::string& name) -> ORXFile* {
    switch (op) {
      case kRead:
        return ORXFileOpen(16, name.c_str(), ORXFILE_READ);
      case kReadWrite:
        return ORXFileOpen(16, name.c_str(), ORXFILE_READWRITE);
      case kCreate:
        return ORXFileCreate(16, name.c_str());
      case kCreateWithRead:
        return ORXFileCreateWithRead(16, name.c_str());
    }
    return nullptr;
  };
  struct Case {
    Op first, second;
    bool allowed;
  };
  const Case cases[] = {
      {kRead, kRead, true},
      {kRead, kReadWrite, false},
      {kReadWrite, kRead, false},
      {kReadWrite, kReadWrite, false},
      {kCreate, kRead, false},
      {kCreateWithRead, kRead, false},  // the reader would not share the writer's writing
      {kCreateWithRead, kReadWrite, false},
      {kRead, kCreateWithRead, false},
      {kRead, kCreate, false},
      {kCreate, kCreate, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("ops " + std::to_string(c.first) + " then " + std::to_string(c.second));
    TempDir dir;
    std::string name = dir.file("shared");
    dir.write("shared", "content");
    ORXFile* first = run(c.first, name);
    ASSERT_NE(first, nullptr);
    ORXFilePutNB(first, "x", c.first == kRead ? 0 : 1);
    ORXFileFlush(first, 0);
    std::string before = dir.read("shared");
    ORXFile* second = run(c.second, dir.path() + "/SHARED");  // same file, other spelling
    EXPECT_EQ(second != nullptr, c.allowed);
    if (!c.allowed) {
      EXPECT_EQ(dir.read("shared"), before);  // a refused create empties nothing
    }
    ORXFileClose(second);
    ORXFileClose(first);
    ORXFile* again = run(c.second, name);  // free again once closed
    EXPECT_NE(again, nullptr);
    ORXFileClose(again);
  }
}

TEST(OrxFileNames, Erase) {
  TempDir dir;
  dir.write("gone", "x");
  EXPECT_EQ(ORXFileErase(dir.file("gone").c_str()), 0);
  EXPECT_NE(access(dir.file("gone").c_str(), F_OK), 0);
  EXPECT_EQ(ORXFileErase(dir.file("gone").c_str()), 1);
  EXPECT_EQ(ORXFileErase(dir.file("no/such/dir").c_str()), 1);
  EXPECT_EQ(ORXFileErase(dir.path().c_str()), 2);  // a directory
  EXPECT_EQ(ORXFileErase(nullptr), 2);
  dir.write("open", "x");
  ORXFile* f = ORXFileOpen(0, dir.file("open").c_str(), ORXFILE_READ);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(ORXFileErase(dir.file("open").c_str()), 2);
  ORXFileClose(f);
  EXPECT_EQ(ORXFileErase(dir.file("open").c_str()), 0);
}

TEST(OrxFileNames, RenameNeverReplaces) {
  for (auto rename : {ORXFileRename, +[](const char*to, const char*from) {
                        // The fallback for file systems without a no-replace rename.
                        return glint::orxfile::rename_by_link(from, to);
                      }}) {
    TempDir dir;
    dir.write("a", "A");
    dir.write("b", "B");
    EXPECT_EQ(rename(dir.file("c").c_str(), dir.file("missing").c_str()), 1);
    EXPECT_EQ(rename(dir.file("b").c_str(), dir.file("a").c_str()), 2);
    EXPECT_EQ(dir.read("a"), "A");
    EXPECT_EQ(dir.read("b"), "B");
    EXPECT_EQ(rename(dir.file("c").c_str(), dir.file("a").c_str()), 0);
    EXPECT_EQ(dir.read("c"), "A");
    EXPECT_NE(access(dir.file("a").c_str(), F_OK), 0);
  }
  TempDir dir;
  dir.write("open", "x");
  ORXFile* f = ORXFileOpen(0, dir.file("open").c_str(), ORXFILE_READ);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(ORXFileRename(dir.file("moved").c_str(), dir.file("open").c_str()), 2);
  ORXFileClose(f);
  EXPECT_EQ(ORXFileRename(dir.file("moved").c_str(), dir.file("open").c_str()), 0);
  EXPECT_EQ(ORXFileRename(nullptr, dir.file("moved").c_str()), 2);
}

TEST(OrxFileTime, StampIsTheHighHalfOfTheWriteTime) {
  TempDir dir;
  ORXFile* f = ORXFileCreate(1024, dir.file("t").c_str());
  ASSERT_NE(f, nullptr);
  // 2020-01-01 00:00:00 UTC in 100 ns units since 1601, high half.
  const uint64_t units = (uint64_t{1577836800} + 11644473600u) * 10000000u;
  const uint32_t stamp = static_cast<uint32_t>(units >> 32);
  ORXFilePutNB(f, "data", 4);  // buffered: written before the time is set
  ORXFileSetTime(f, stamp);
  EXPECT_EQ(ORXFileGetTime(f), stamp);
  ORXFileClose(f);
  struct stat st {};
  ASSERT_EQ(stat(dir.file("t").c_str(), &st), 0);
  const uint64_t set_units = uint64_t{stamp} << 32;
  EXPECT_EQ(st.st_mtim.tv_sec, static_cast<time_t>(set_units / 10000000 - 11644473600u));
  EXPECT_EQ(st.st_mtim.tv_nsec, static_cast<long>(set_units % 10000000) * 100);
  EXPECT_EQ(st.st_atim.tv_sec, st.st_mtim.tv_sec);
  EXPECT_EQ(st.st_size, 4);
}

TEST(OrxFileClosed, NullHandleIsHarmless) {
  char buffer[8] = {'#'};
  EXPECT_EQ(ORXFileGetNB(nullptr, buffer, 8), 0u);
  EXPECT_EQ(ORXFileGet(nullptr, buffer, 8), 0u);
  EXPECT_EQ(ORXFileGet32(nullptr), 0u);
  EXPECT_EQ(ORXFileGetBits(nullptr, 5), 0u);
  EXPECT_EQ(ORXFilePutNB(nullptr, buffer, 8), 0u);
  EXPECT_EQ(ORXFilePut(nullptr, buffer, 8), 0u);
  ORXFilePutBits(nullptr, 1, 1);
  ORXFilePut32(nullptr, 1);
  EXPECT_EQ(ORXFileBitPos(nullptr), 0u);
  ORXFileByteAlign(nullptr);
  ORXFileAlign(nullptr, 4);
  ORXFileFlush(nullptr, 1);
  EXPECT_EQ(ORXFileGetPos(nullptr), 0u);
  EXPECT_EQ(ORXFileSetPos(nullptr, 5), 0u);
  EXPECT_EQ(ORXFileSize(nullptr), 0u);
  EXPECT_EQ(ORXFileAtEnd(nullptr), 1);
  EXPECT_EQ(ORXFileIsInBuffer(nullptr, 0), 0);
  EXPECT_EQ(ORXFileGetName(nullptr, buffer), nullptr);
  EXPECT_EQ(ORXFileGetLine(nullptr, buffer, 8), buffer);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(ORXFileGetTime(nullptr), 0u);
  ORXFileSetTime(nullptr, 1);
  ORXFileClose(nullptr);
}

TEST(OrxFileWrite, ShortWriteSetsTheFlagAndGoesOn) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  for (int32_t size : {0, 16}) {
    ORXFile* f = ORXFileCreate(size, "/dev/full");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->write_failed, 0);
    ORXFilePutNB(f, "0123456789abcdefghij", 20);
    ORXFilePut8(f, 1);
    ORXFileFlush(f, 1);
    EXPECT_EQ(f->write_failed, 1);
    ORXFileClose(f);
  }
}

}  // namespace
