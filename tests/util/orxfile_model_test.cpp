// Random operation sequences on tiny buffers against an in-memory model.
//
// The model holds the file's bytes and the cursor without any buffer and
// moves bit by bit, so every buffer edge, refill, flush and mode switch of
// the real record has to come out the same as the plain definition: fields
// least significant bit first; reading, a partly used byte counts as unread;
// writing, pending bits are not in the file until completed; reads past the
// end deliver the bits that were there and leave the cursor aligned at the
// end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "orxutil/orxutil.h"
#include "support/temp_dir.h"

namespace {

uint32_t field_width(uint32_t n) { return n == 0 ? 0 : ((n - 1) % 32) + 1; }

struct Model {
  std::vector<uint8_t> bytes;
  bool writing = false;
  uint64_t pos = 0;  // writing: the next byte; reading: the next raw byte
  uint32_t bits = 0;
  uint32_t bit_byte = 0;

  uint64_t logical() const { return writing ? pos : pos - (bits != 0 ? 1 : 0); }
  uint64_t size() const { return std::max<uint64_t>(bytes.size(), logical()); }

  void put_raw(uint8_t v) {
    if (pos >= bytes.size()) bytes.resize(pos + 1, 0);
    bytes[pos++] = v;
  }
  bool get_raw(uint8_t* v) {
    if (pos >= bytes.size()) return false;
    *v = bytes[pos++];
    return true;
  }
  void complete() {
    if (writing && bits != 0) put_raw(static_cast<uint8_t>(bit_byte));
    bits = 0;
    bit_byte = 0;
  }
  void to_reading() {
    if (!writing) return;
    uint64_t at = logical();
    complete();
    writing = false;
    pos = at;
  }
  void to_writing() {
    if (writing) return;
    uint64_t at = logical();
    writing = true;
    pos = at;
    bits = 0;
    bit_byte = 0;
  }
  bool get_bit(uint32_t* bit) {
    if (bits == 0) {
      uint8_t v;
      if (!get_raw(&v)) return false;
      bit_byte = v;
    }
    *bit = (bit_byte >> bits) & 1;
    bits = (bits + 1) & 7;
    return true;
  }
  void put_bit(uint32_t bit) {
    bit_byte |= bit << bits;
    if (++bits == 8) {
      put_raw(static_cast<uint8_t>(bit_byte));
      bits = 0;
      bit_byte = 0;
    }
  }
  // n stream bits; false when the file ended first.
  bool get_field(uint32_t n, uint32_t* value) {
    to_reading();
    *value = 0;
    for (uint32_t i = 0; i < n; ++i) {
      uint32_t bit;
      if (!get_bit(&bit)) return false;
      *value |= bit << i;
    }
    return true;
  }
  uint32_t get_bits(uint32_t n) {
    n = field_width(n);
    uint32_t value = 0;
    if (n != 0) get_field(n, &value);
    return value;
  }
  void put_bits(uint32_t value, uint32_t n) {
    n = field_width(n);
    if (n == 0) return;
    to_writing();
    for (uint32_t i = 0; i < n; ++i) put_bit((value >> i) & 1);
  }
  std::vector<uint8_t> get(uint32_t count) {
    std::vector<uint8_t> out;
    if (count == 0) return out;
    for (uint32_t i = 0; i < count; ++i) {
      uint32_t v;
      if (!get_field(8, &v)) break;
      out.push_back(static_cast<uint8_t>(v));
    }
    return out;
  }
  std::vector<uint8_t> get_nb(uint32_t count) {
    std::vector<uint8_t> out;
    if (count == 0) return out;
    to_reading();
    uint8_t v;
    while (out.size() < count && get_raw(&v)) out.push_back(v);
    return out;
  }
  void put(const std::vector<uint8_t>& data) {
    if (data.empty()) return;
    to_writing();
    for (uint8_t v : data) {
      for (int i = 0; i < 8; ++i) put_bit((v >> i) & 1);
    }
  }
  void put_nb(const std::vector<uint8_t>& data) {
    if (data.empty()) return;
    to_writing();
    for (uint8_t v : data) put_raw(v);
  }
  uint64_t set_pos(uint64_t to) {
    uint64_t at = logical();
    if (to == at) return at;
    if (writing) complete();
    pos = to;
    bits = 0;
    bit_byte = 0;
    return at;
  }
  void align(uint32_t n) {
    complete();
    if (n == 0) return;
    uint64_t at = logical();
    if (at % n == 0) return;
    uint64_t target = at + n - at % n;
    uint64_t end = size();
    if (target <= end) {
      set_pos(target);
      return;
    }
    set_pos(end);
    put_nb(std::vector<uint8_t>(target - end, 0));
  }
  std::string get_line(uint32_t capacity) {
    std::string line;
    if (capacity < 2) return line;
    while (line.size() + 1 < capacity && logical() < size()) {
      uint32_t v;
      if (!get_field(8, &v)) break;
      line.push_back(static_cast<char>(v));
      if (v == '\n') break;
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
  }
};

class ModelRun {
 public:
  ModelRun(uint64_t seed, int32_t buffer_size)
      : seed_(seed), buffer_size_(buffer_size), rng_(seed), name_(dir_.file("model.bin")) {}

  void run(int steps) {
    // Half the runs start on a file with content, half on a new one.
    if (rng_() % 2) {
      model_.bytes = random_bytes(rng_() % 40);
      dir_.write("model.bin", std::string(model_.bytes.begin(), model_.bytes.end()));
      file_ = ORXFileOpen(buffer_size_, name_.c_str(), ORXFILE_READWRITE);
      model_.writing = false;
    } else {
      file_ = ORXFileCreate(buffer_size_, name_.c_str());
      model_.writing = true;
    }
    ASSERT_NE(file_, nullptr);
    for (step_ = 0; step_ < steps; ++step_) {
      one_step();
      if (::testing::Test::HasFatalFailure()) break;
      ASSERT_EQ(ORXFileGetPos(file_), model_.logical()) << where();
      ASSERT_EQ(ORXFileBitPos(file_), model_.bits) << where();
    }
    ORXFileClose(file_);
    file_ = nullptr;
    if (!::testing::Test::HasFatalFailure()) {
      model_.complete();
      expect_file_matches();
    }
  }

  ~ModelRun() { ORXFileClose(file_); }

 private:
  std::string where() const {
    std::ostringstream out;
    out << "seed " << seed_ << ", buffer size " << buffer_size_ << ", step " << step_
        << "; last operations:";
    for (const std::string& op : history_) out << ' ' << op;
    return out.str();
  }

  void note(std::string op) {
    history_.push_back(std::move(op));
    if (history_.size() > 12) history_.pop_front();
  }

  std::vector<uint8_t> random_bytes(size_t count) {
    std::vector<uint8_t> data(count);
    for (auto& v : data) {
      uint32_t r = rng_() % 8;
      v = r == 0 ? '\n' : r == 1 ? '\r' : static_cast<uint8_t>(rng_());
    }
    return data;
  }

  // Counts around the buffer size, so that transfers both fit and bypass it.
  uint32_t random_count() {
    uint32_t magnitude = static_cast<uint32_t>(buffer_size_ < 0 ? -buffer_size_ : buffer_size_);
    uint32_t limit = 3 * std::min<uint32_t>(magnitude, 1024) + 6;
    return rng_() % 6 == 0 ? 0 : static_cast<uint32_t>(rng_() % limit);
  }

  uint32_t random_width() {
    uint32_t r = rng_() % 10;
    if (r < 6) return static_cast<uint32_t>(rng_() % 33);  // 0..32
    if (r < 9) return 8u * (1 + rng_() % 4);               // whole bytes, the fast paths
    return static_cast<uint32_t>(33 + rng_() % 40);        // wraps
  }

  void expect_file_matches() {
    std::string disk = dir_.read("model.bin");
    ASSERT_EQ(disk, std::string(model_.bytes.begin(), model_.bytes.end())) << where();
  }

  void one_step() {
    switch (rng_() % 19) {
      case 0: {
        uint32_t n = random_width();
        note("GetBits(" + std::to_string(n) + ")");
        ASSERT_EQ(ORXFileGetBits(file_, n), model_.get_bits(n)) << where();
        break;
      }
      case 1: {
        uint32_t n = random_width();
        uint32_t value = static_cast<uint32_t>(rng_());
        note("PutBits(" + std::to_string(n) + ")");
        ORXFilePutBits(file_, value, n);
        model_.put_bits(value, n);
        break;
      }
      case 2: {
        note("Get8");
        ASSERT_EQ(ORXFileGet8(file_), model_.get_bits(8)) << where();
        break;
      }
      case 3: {
        note("Get16/32");
        if (rng_() % 2) {
          ASSERT_EQ(ORXFileGet16(file_), model_.get_bits(16)) << where();
        } else {
          ASSERT_EQ(ORXFileGet32(file_), model_.get_bits(32)) << where();
        }
        break;
      }
      case 4: {
        uint32_t value = static_cast<uint32_t>(rng_());
        switch (rng_() % 3) {
          case 0:
            note("Put8");
            ORXFilePut8(file_, value);
            model_.put_bits(value, 8);
            break;
          case 1:
            note("Put16");
            ORXFilePut16(file_, value);
            model_.put_bits(value, 16);
            break;
          default:
            note("Put32");
            ORXFilePut32(file_, value);
            model_.put_bits(value, 32);
            break;
        }
        break;
      }
      case 5:
      case 6: {
        uint32_t count = random_count();
        bool raw = rng_() % 2;
        note(std::string(raw ? "GetNB(" : "Get(") + std::to_string(count) + ")");
        std::vector<uint8_t> got(count + 1, 0xEE);
        uint32_t n =
            raw ? ORXFileGetNB(file_, got.data(), count) : ORXFileGet(file_, got.data(), count);
        std::vector<uint8_t> expected = raw ? model_.get_nb(count) : model_.get(count);
        ASSERT_EQ(n, expected.size()) << where();
        got.resize(n);
        ASSERT_EQ(got, expected) << where();
        break;
      }
      case 7:
      case 8: {
        std::vector<uint8_t> data = random_bytes(random_count());
        bool raw = rng_() % 2;
        note(std::string(raw ? "PutNB(" : "Put(") + std::to_string(data.size()) + ")");
        uint32_t n = raw ? ORXFilePutNB(file_, data.data(), static_cast<uint32_t>(data.size()))
                         : ORXFilePut(file_, data.data(), static_cast<uint32_t>(data.size()));
        ASSERT_EQ(n, data.size()) << where();
        if (raw) {
          model_.put_nb(data);
        } else {
          model_.put(data);
        }
        break;
      }
      case 9:
      case 10: {
        // Near the cursor (inside the buffer, often), anywhere, or just past the end.
        uint64_t here = model_.logical();
        uint64_t to;
        switch (rng_() % 4) {
          case 0:
            to = here;
            break;
          case 1:
            to = here >= 8 ? here - rng_() % 9 : rng_() % 9;
            break;
          case 2:
            to = here + rng_() % 9;
            break;
          default:
            to = rng_() % (model_.size() + 6);
            break;
        }
        note("SetPos(" + std::to_string(to) + ")");
        ASSERT_EQ(ORXFileSetPos(file_, to), model_.set_pos(to)) << where();
        break;
      }
      case 11: {
        note("Size/AtEnd");
        ASSERT_EQ(ORXFileSize(file_), model_.size()) << where();
        ASSERT_EQ(ORXFileAtEnd(file_), model_.logical() >= model_.size() ? 1 : 0) << where();
        break;
      }
      case 12: {
        note("ByteAlign");
        ORXFileByteAlign(file_);
        model_.complete();
        break;
      }
      case 13: {
        uint32_t n = static_cast<uint32_t>(rng_() % 10);
        note("Align(" + std::to_string(n) + ")");
        ORXFileAlign(file_, n);
        model_.align(n);
        break;
      }
      case 14: {
        note("Flush");
        ORXFileFlush(file_, 0);
        model_.complete();
        expect_file_matches();
        break;
      }
      case 15: {
        uint32_t capacity = static_cast<uint32_t>(rng_() % 12);
        note("GetLine(" + std::to_string(capacity) + ")");
        char line[16];
        ORXFileGetLine(file_, line, capacity);
        std::string expected = model_.get_line(capacity);
        if (capacity > 0) {
          // Compared as bytes: a line may hold NULs.
          ASSERT_EQ(std::string(line, expected.size() + 1), expected + '\0') << where();
        }
        break;
      }
      case 16: {
        uint64_t at = rng_() % (model_.size() + 4);
        int inside = ORXFileIsInBuffer(file_, at);
        // Only a reader holds buffered bytes, and only of bytes in the file.
        if (inside) {
          ASSERT_FALSE(model_.writing) << where();
          ASSERT_LT(at, model_.bytes.size()) << where();
        }
        break;
      }
      case 17: {
        if (rng_() % 8 != 0) break;
        note("reopen");
        ORXFileClose(file_);
        model_.complete();
        expect_file_matches();
        file_ = ORXFileOpen(buffer_size_, name_.c_str(), ORXFILE_READWRITE);
        ASSERT_NE(file_, nullptr) << where();
        model_.writing = false;
        model_.pos = 0;
        break;
      }
      default: {
        // A field written and read back at once, across the mode switch.
        uint32_t n = random_width();
        uint32_t value = static_cast<uint32_t>(rng_());
        note("PutBits+GetBits(" + std::to_string(n) + ")");
        ORXFilePutBits(file_, value, n);
        model_.put_bits(value, n);
        ASSERT_EQ(ORXFileGetBits(file_, n), model_.get_bits(n)) << where();
        break;
      }
    }
  }

  uint64_t seed_;
  int32_t buffer_size_;
  std::mt19937_64 rng_;
  glint::test::TempDir dir_;
  std::string name_;
  ORXFile* file_ = nullptr;
  Model model_;
  int step_ = 0;
  std::deque<std::string> history_;
};

TEST(OrxFileModel, RandomSequencesOnTinyBuffers) {
  constexpr int kSeedsPerSize = 4;
  constexpr int kSteps = 3000;
  for (int32_t size = 0; size <= 16; ++size) {
    for (int s = 0; s < kSeedsPerSize; ++s) {
      uint64_t seed = 1000u * static_cast<uint64_t>(size) + static_cast<uint64_t>(s);
      ModelRun run(seed, size);
      run.run(kSteps);
      if (HasFatalFailure()) return;
    }
  }
}

// The big buffer of real use and a negative size (its magnitude is used).
TEST(OrxFileModel, RandomSequencesOnLargeBuffers) {
  for (int32_t size : {1024, -64, 64000}) {
    for (uint64_t seed = 7; seed < 10; ++seed) {
      ModelRun run(seed * 7919 + static_cast<uint64_t>(size & 0xFFFF), size);
      run.run(2000);
      if (HasFatalFailure()) return;
    }
  }
}

}  // namespace
