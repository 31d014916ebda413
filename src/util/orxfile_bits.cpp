// Bytes and bit fields through the bit cursor.
//
// Fields are packed least significant bit first and multi-byte values are
// little-endian, so a field of n bits is the next n bits of the stream with
// the first as its lowest. Both directions keep one fast path for every
// width: when the buffer holds (or has room for) the bytes the field spans,
// the field is assembled straight from or into it with one 32-bit load or
// store; only buffer edges, mode switches and the end of the file take the
// general routines.
//
// A read that runs into the end of the file delivers the bits that were
// there with zeros above and leaves the cursor aligned at the end.
#include <algorithm>
#include <cstring>

#include "util/orxfile_record.h"

namespace glint::orxfile {
namespace {

constexpr uint64_t low_mask(uint32_t n) { return (uint64_t{1} << n) - 1; }

// Widths wrap as ((n - 1) mod 32) + 1; 0 stays 0.
constexpr uint32_t field_width(uint32_t n) { return n == 0 ? 0 : ((n - 1) & 31u) + 1; }

uint32_t load_le(const uint8_t* p, uint32_t count) {
  uint32_t value = 0;
  for (uint32_t i = 0; i < count; ++i) value |= uint32_t{p[i]} << (8 * i);
  return value;
}

uint32_t load_le32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void store_le32(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
  p[2] = static_cast<uint8_t>(value >> 16);
  p[3] = static_cast<uint8_t>(value >> 24);
}

// n is 1..32.
inline uint32_t get_field(ORXFile* f, uint32_t n) {
  if (f->mode != kReading) begin_reading(f);
  uint32_t b = f->bit_count;
  // The unused high bits of the partial byte come first.
  uint32_t have = b != 0 ? 8 - b : 0;
  uint64_t low = b != 0 ? (f->bit_byte & 0xFFu) >> b : 0;
  if (n <= have) {
    f->bit_count = (b + n) & 7;
    return static_cast<uint32_t>(low & low_mask(n));
  }
  uint32_t bytes = (n - have + 7) / 8;  // 1..4 new raw bytes
  uint32_t buffered = f->valid - f->index;
  if (buffered >= bytes) {
    const uint8_t* p = f->buffer + f->index;
    uint32_t raw = buffered >= 4 ? load_le32(p) : load_le(p, bytes);
    f->index += bytes;
    f->bit_byte = p[bytes - 1];
    f->bit_count = (b + n) & 7;
    return static_cast<uint32_t>((low | uint64_t{raw} << have) & low_mask(n));
  }
  uint8_t raw_bytes[4] = {0, 0, 0, 0};
  uint32_t got = read_raw(f, raw_bytes, bytes);
  uint32_t raw = load_le(raw_bytes, 4);
  if (got == bytes) {
    f->bit_byte = raw_bytes[bytes - 1];
    f->bit_count = (b + n) & 7;
  } else {
    f->bit_byte = 0;
    f->bit_count = 0;
  }
  return static_cast<uint32_t>((low | uint64_t{raw} << have) & low_mask(n));
}

// n is 1..32.
inline void put_field(ORXFile* f, uint32_t value, uint32_t n) {
  if (f->mode != kWriting) begin_writing(f);
  uint32_t b = f->bit_count;
  uint64_t bits = (f->bit_byte & low_mask(b)) | (value & low_mask(n)) << b;
  uint32_t total = b + n;
  uint32_t bytes = total / 8;  // 0..4 complete bytes
  if (bytes > 0) {
    uint32_t room = f->buffer_size - f->index;
    if (f->buffer != nullptr && room >= 4) {
      store_le32(f->buffer + f->index, static_cast<uint32_t>(bits));
      f->index += bytes;
    } else {
      uint8_t out[4];
      store_le32(out, static_cast<uint32_t>(bits));
      write_raw(f, out, bytes);
    }
  }
  f->bit_byte = static_cast<uint32_t>((bits >> (8 * bytes)) & 0xFF);
  f->bit_count = total & 7;
}

}  // namespace
}  // namespace glint::orxfile

using namespace glint::orxfile;

extern "C" {

ORX_API uint32_t ORXFileGetNB(ORXFile* file, void* destination, uint32_t count) {
  if (!is_open(file) || destination == nullptr || count == 0) return 0;
  begin_reading(file);
  return read_raw(file, static_cast<uint8_t*>(destination), count);
}

ORX_API uint32_t ORXFileGet(ORXFile* file, void* destination, uint32_t count) {
  if (!is_open(file) || destination == nullptr || count == 0) return 0;
  begin_reading(file);
  auto* out = static_cast<uint8_t*>(destination);
  uint32_t got = read_raw(file, out, count);
  uint32_t b = file->bit_count;
  if (b == 0) return got;
  // Realign in place: each byte is the rest of the previous raw byte with
  // the low bits of the next one above it.
  uint32_t previous = file->bit_byte & 0xFF;
  for (uint32_t i = 0; i < got; ++i) {
    uint32_t raw = out[i];
    out[i] = static_cast<uint8_t>((previous >> b) | (raw << (8 - b)));
    previous = raw;
  }
  if (got == count) {
    file->bit_byte = previous;
  } else {
    // The file ended inside a byte: the bits that are left make no whole
    // byte, and the cursor stays aligned at the end.
    file->bit_byte = 0;
    file->bit_count = 0;
  }
  return got;
}

ORX_API uint32_t ORXFileGet8(ORXFile* file) { return is_open(file) ? get_field(file, 8) : 0; }
ORX_API uint32_t ORXFileGet16(ORXFile* file) { return is_open(file) ? get_field(file, 16) : 0; }
ORX_API uint32_t ORXFileGet32(ORXFile* file) { return is_open(file) ? get_field(file, 32) : 0; }

ORX_API uint32_t ORXFileGetBits(ORXFile* file, uint32_t n) {
  n = field_width(n);
  if (!is_open(file) || n == 0) return 0;
  return get_field(file, n);
}

ORX_API uint32_t ORXFilePutNB(ORXFile* file, const void* source, uint32_t count) {
  if (!is_open(file) || source == nullptr || count == 0) return 0;
  begin_writing(file);
  return write_raw(file, static_cast<const uint8_t*>(source), count);
}

ORX_API uint32_t ORXFilePut(ORXFile* file, const void* source, uint32_t count) {
  if (!is_open(file) || source == nullptr || count == 0) return 0;
  begin_writing(file);
  const auto* in = static_cast<const uint8_t*>(source);
  uint32_t b = file->bit_count;
  if (b == 0) return write_raw(file, in, count);
  // Shift the bytes in chunks behind the pending bits.
  uint32_t carry = file->bit_byte & ((1u << b) - 1);
  uint32_t total = 0;
  uint8_t chunk[512];
  for (uint32_t done = 0; done < count;) {
    uint32_t n = std::min<uint32_t>(count - done, sizeof chunk);
    for (uint32_t i = 0; i < n; ++i) {
      uint32_t v = in[done + i];
      chunk[i] = static_cast<uint8_t>(carry | (v << b));
      carry = v >> (8 - b);
    }
    total += write_raw(file, chunk, n);
    done += n;
  }
  file->bit_byte = carry;
  return total;
}

ORX_API void ORXFilePut8(ORXFile* file, uint32_t value) {
  if (is_open(file)) put_field(file, value, 8);
}
ORX_API void ORXFilePut16(ORXFile* file, uint32_t value) {
  if (is_open(file)) put_field(file, value, 16);
}
ORX_API void ORXFilePut32(ORXFile* file, uint32_t value) {
  if (is_open(file)) put_field(file, value, 32);
}

ORX_API void ORXFilePutBits(ORXFile* file, uint32_t value, uint32_t n) {
  n = field_width(n);
  if (is_open(file) && n != 0) put_field(file, value, n);
}

ORX_API uint32_t ORXFileBitPos(ORXFile* file) { return is_open(file) ? file->bit_count : 0; }

}  // extern "C"
