// GlintOpen and GlintClose: read and check the header, the frame tables and
// the trees, choose the buffering, and prepare frame 0.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "glinter/debug_log.h"
#include "glinter/glint_record.h"
#include "platform/paths.h"

namespace glint::glinter {

namespace {

constexpr const char* kCantOpen = "Couldn't open the Glinter file\r\n";
constexpr const char* kNoRecord = "Couldn't allocate Glint structure\r\n";
constexpr const char* kBadMagic = "Wasn't a Glinter file\r\n";
constexpr const char* kNoTables = "Couldn't allocate track table\r\n";
constexpr const char* kNoTreeMemory = "Couldn't allocate input buffer\r\n";
constexpr const char* kNoBuffer = "Couldn't allocate I/O buffer\r\n";
// Our own addition: sizes or trees in the file that cannot be right.
constexpr const char* kDamaged = "Damaged Glinter file\r\n";

constexpr uint64_t kMinRing = 8192;
constexpr uint64_t kMaxPicturePixels = uint64_t(1) << 28;
constexpr uint64_t kDefaultRingBytes = 0x3000;

uint64_t round_up(uint64_t value, uint64_t step) { return (value + step - 1) / step * step; }

std::string address_text(const void* address) {
  return std::to_string(reinterpret_cast<uintptr_t>(address));
}

void release(Glint* glint) {
  GlintState* state = state_of(glint);
  if (state) {
    close_tracks(*state);
    if (state->source.own_fd && state->source.fd >= 0) close(state->source.fd);
    delete state;
  }
  std::memset(glint, 0, sizeof(GlintRecord));
  aligned_free32(glint);
}

// Frees everything the open made so far and returns null.
Glint* fail(Glint* glint, const char* message) {
  debug_message(message);
  release(glint);
  return nullptr;
}

void read_header(Glint* glint, const uint8_t* bytes) {
  std::memcpy(glint->magic, bytes, 4);
  uint32_t* words[] = {&glint->width, &glint->height, &glint->frame_count,
                       reinterpret_cast<uint32_t*>(&glint->frame_period), &glint->header_flags};
  for (unsigned i = 0; i < 5; ++i) *words[i] = read_le32(bytes + 4 + 4 * i);
  for (unsigned k = 0; k < GLINT_TRACKS; ++k)
    glint->track_max_chunk[k] = read_le32(bytes + 24 + 4 * k);
  glint->tree_data_size = read_le32(bytes + 52);
  for (unsigned t = 0; t < 4; ++t) glint->tree_bytes[t] = read_le32(bytes + 56 + 4 * t);
  for (unsigned k = 0; k < GLINT_TRACKS; ++k)
    glint->track_format[k] = read_le32(bytes + 72 + 4 * k);
  glint->reserved = read_le32(bytes + 100);
}

void compute_statistics(Glint* glint, GlintState& state) {
  const uint32_t n = state.entry_count;
  uint64_t fps = 100000;
  if (state.timing.period_10us) fps = std::max<uint64_t>(1, 100000 / state.timing.period_10us);
  uint64_t sum = 0, largest = 0;
  for (uint32_t e : state.size_entries) {
    sum += e;
    largest = std::max<uint64_t>(largest, e);
  }
  glint->largest_frame_bytes = static_cast<uint32_t>(largest);
  state.stats.average_frame_bytes = n ? sum / n : 0;
  auto clamp32 = [](uint64_t v) {
    return static_cast<uint32_t>(std::min<uint64_t>(v, UINT32_MAX));
  };
  if (n == 0 || uint64_t(n) - 1 < fps) {
    glint->peak_second_bytes = clamp32(sum);
    glint->peak_second_frame = 1;
    return;
  }
  // Windows of fps entries starting at 1 .. n - 1 - fps.
  uint64_t window = 0;
  for (uint64_t i = 1; i <= fps && i < n; ++i) window += state.size_entries[i];
  uint64_t peak = 0, peak_start = 0;
  for (uint64_t start = 1; start + fps <= uint64_t(n) - 1; ++start) {
    if (start > 1)
      window += uint64_t(state.size_entries[start + fps - 1]) - state.size_entries[start - 1];
    if (window > peak) {
      peak = window;
      peak_start = start;
    }
  }
  glint->peak_second_bytes = clamp32(peak);
  glint->peak_second_frame = static_cast<uint32_t>(peak_start + 1);
}

}  // namespace

}  // namespace glint::glinter

using namespace glint::glinter;

extern "C" ORX_API Glint* GlintOpen(const void* source, uint32_t flags, int32_t buffer_size) {
  if (!source) return nullptr;
  debug_enabled();  // read the switch on the first call
  const uint32_t start_ms = ORXTimerRead();

  int fd = -1;
  uint64_t base = 0;
  const bool from_handle = flags & GLINT_FROM_HANDLE;
  if (from_handle) {
    fd = static_cast<int>(reinterpret_cast<intptr_t>(source));
    debug_message("GlintOpen - file handle: " + std::to_string(fd) + "\r\n");
    off_t position = fd < 0 ? -1 : lseek(fd, 0, SEEK_CUR);
    if (position < 0) {
      debug_message(kCantOpen);
      return nullptr;
    }
    base = static_cast<uint64_t>(position);
  } else {
    const char* name = static_cast<const char*>(source);
    debug_message(std::string("GlintOpen - file: ") + name + "\r\n");
    std::string path = glint::platform::host_path(name);
    fd = path.empty() ? -1 : open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      debug_message(kCantOpen);
      return nullptr;
    }
#ifdef POSIX_FADV_SEQUENTIAL
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || uint64_t(info.st_size) < base) {
    if (!from_handle) close(fd);
    debug_message(kCantOpen);
    return nullptr;
  }
  const uint64_t file_size = uint64_t(info.st_size) - base;

  auto* record = static_cast<GlintRecord*>(aligned_calloc32(sizeof(GlintRecord)));
  GlintState* state = record ? new (std::nothrow) GlintState : nullptr;
  if (!state) {
    aligned_free32(record);
    if (!from_handle) close(fd);
    debug_message(kNoRecord);
    return nullptr;
  }
  record->state = state;
  Glint* glint = &record->pub;
  FrameSource& src = state->source;
  src.fd = fd;
  src.own_fd = !from_handle;
  src.base = base;
  state->stats.open_ms = start_ms;

  uint8_t header[kHeaderBytes];
  if (!read_exact(glint, 0, header, kHeaderBytes)) return fail(glint, kBadMagic);
  read_header(glint, header);
  if (std::memcmp(glint->magic, "GNT2", 4) != 0 && std::memcmp(glint->magic, "GNT4", 4) != 0)
    return fail(glint, kBadMagic);

  // Pictures beyond 2^28 pixels (16,384 x 16,384) are not animations any
  // player could show; refusing them keeps every block count in 32 bits.
  if (uint64_t(glint->width) * glint->height > kMaxPicturePixels) return fail(glint, kDamaged);

  const int32_t period = glint->frame_period;
  state->timing.period_10us = period > 0 ? uint32_t(period) * 100u : uint32_t(0) - uint32_t(period);
  if (period > 0 && uint64_t(period) * 100 > UINT32_MAX) state->timing.period_10us = UINT32_MAX;

  // Tables: N size entries, then N type bytes; they must lie inside the file.
  const uint64_t n =
      uint64_t(glint->frame_count) + ((glint->header_flags & GLINT_HEADER_RING) ? 1 : 0);
  if (n > UINT32_MAX || kHeaderBytes + 5 * n > file_size) return fail(glint, kDamaged);
  state->entry_count = static_cast<uint32_t>(n);
  std::vector<uint8_t> table_bytes;
  try {
    table_bytes.resize(5 * n);
    state->size_entries.resize(n);
    state->types.resize(n);
    state->offsets.resize(n + 1);
  } catch (const std::bad_alloc&) {
    return fail(glint, kNoTables);
  }
  if (n && !read_exact(glint, kHeaderBytes, table_bytes.data(), 5 * n))
    return fail(glint, kDamaged);
  for (uint64_t i = 0; i < n; ++i) state->size_entries[i] = read_le32(&table_bytes[4 * i]);
  if (n) std::memcpy(state->types.data(), table_bytes.data() + 4 * n, n);

  // Tree data.
  const uint64_t tree_offset = kHeaderBytes + 5 * n;
  if (glint->tree_data_size > file_size - tree_offset) return fail(glint, kDamaged);
  {
    std::vector<uint8_t> tree_data;
    try {
      tree_data.resize(glint->tree_data_size);
    } catch (const std::bad_alloc&) {
      return fail(glint, kNoTreeMemory);
    }
    if (!tree_data.empty() && !read_exact(glint, tree_offset, tree_data.data(), tree_data.size()))
      return fail(glint, kDamaged);
    std::array<uint32_t, 4> tree_bytes{glint->tree_bytes[0], glint->tree_bytes[1],
                                       glint->tree_bytes[2], glint->tree_bytes[3]};
    TreeError built;
    try {
      built = build_video_trees(tree_data, tree_bytes, state->trees);
    } catch (const std::bad_alloc&) {
      return fail(glint, kNoTreeMemory);
    }
    if (built != TreeError::kNone) return fail(glint, kDamaged);
  }

  // Frame records: their masked sizes must fit in the rest of the file.
  src.data_start = tree_offset + glint->tree_data_size;
  uint64_t masked_sum = 0, masked_largest = 0;
  for (uint64_t i = 0; i < n; ++i) {
    uint64_t size = state->size_entries[i] & ~uint32_t(3);
    state->offsets[i] = masked_sum;
    masked_sum += size;
    masked_largest = std::max(masked_largest, size);
  }
  state->offsets[n] = masked_sum;
  if (masked_sum > file_size - src.data_start) return fail(glint, kDamaged);
  src.data_end = src.data_start + masked_sum;

  compute_statistics(glint, *state);

  // Buffering.
  uint64_t stored_sum = 0;
  for (uint32_t e : state->size_entries) stored_sum += e;
  bool whole = flags & GLINT_WHOLE_FILE;
  uint64_t ring_size = 0;
  if (!whole) {
    if (buffer_size < 0) {
      ring_size = state->timing.period_10us ? glint->peak_second_bytes : kDefaultRingBytes;
      ring_size = std::min(ring_size, stored_sum / 4);
      ring_size = std::max(ring_size, kDefaultRingBytes);
    } else {
      ring_size = uint64_t(buffer_size);
    }
    ring_size = std::max(round_up(ring_size, kBlock), kMinRing);
    if (ring_size * 5 >= stored_sum * 4) whole = true;
  }
  if (whole) {
    src.whole = make_aligned_bytes(masked_sum + 8);
    if (!src.whole) return fail(glint, kNoBuffer);
    if (masked_sum && !read_exact(glint, src.data_start, src.whole.get(), masked_sum))
      return fail(glint, kDamaged);
    if (src.own_fd) close(src.fd);
    src.fd = -1;
  } else {
    src.ring = make_aligned_bytes(ring_size);
    src.ring_capacity = ring_size;
    src.frame_buffer_size = masked_largest + 8;
    src.frame_buffer = make_aligned_bytes(src.frame_buffer_size);
    if (!src.ring || !src.frame_buffer) return fail(glint, kNoBuffer);
    src.window_start = src.window_end = src.data_start;
  }

  glint->mode_flags = flags & ~GLINT_TRACK_MASK;
  if (n > 0 && !load_frame(glint, 0)) return fail(glint, kDamaged);
  prepare_frame(glint, 0);

  open_tracks(glint, flags);

  const uint32_t geometry = glint->header_flags & (GLINT_HEADER_INTERLACED | GLINT_HEADER_DOUBLED);
  if (geometry == GLINT_HEADER_INTERLACED) glint->mode_flags |= GLINT_INTERLACED;
  if (geometry == GLINT_HEADER_DOUBLED) glint->mode_flags |= GLINT_DOUBLED;
  if (glint->mode_flags & (GLINT_INTERLACED | GLINT_DOUBLED)) glint->height *= 2;

  state->stats.open_ms = ORXTimerRead() - start_ms;
  debug_message("GlintOpen returned: " + address_text(glint) + "\r\n");
  return glint;
}

extern "C" ORX_API void GlintClose(Glint* glint) {
  if (!glint) return;
  debug_message("GlintClose: " + address_text(glint) + "\r\n");
  release(glint);
}
