// Opens arbitrary bytes as a .gnt file (through a descriptor, whole-file and
// streaming, with and without its sound tracks) and plays every frame into
// a buffer, rectangles included, pausing and resuming the sound.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "orxutil/glint.h"

namespace {

constexpr uint64_t kMaxPixels = 1u << 18;

void play(int fd, uint32_t flags, int32_t buffer_size, bool clip) {
  lseek(fd, 0, SEEK_SET);
  Glint* glint =
      GlintOpen(reinterpret_cast<void*>(intptr_t(fd)), flags | GLINT_FROM_HANDLE, buffer_size);
  if (!glint) return;
  uint64_t pixels = uint64_t(glint->width) * glint->height;
  std::vector<uint8_t> buffer;
  if (!clip && pixels > 0 && pixels <= kMaxPixels) {
    buffer.resize(pixels);
    GlintSetOutput(glint, 0, 0, int32_t(glint->width), glint->height, buffer.data(), 0);
  } else {
    buffer.resize(37 * 23);
    GlintSetOutput(glint, 5, 3, 37, 23, buffer.data(), GLINT_OUTPUT_BOTTOM_UP);
  }
  uint32_t frames = glint->frame_count + 2;
  if (frames > 64) frames = 64;
  if (pixels > kMaxPixels) frames = 0;  // huge pictures are slow by nature: open and close only
  for (uint32_t i = 0; i < frames; ++i) {
    GlintDecodeFrame(glint);
    while (GlintNextRect(glint, int(i % 2))) {
    }
    GlintCheckWait(glint);
    if (i == 3) GlintSoundSwitch(glint, 0);
    if (i == 5) GlintSoundSwitch(glint, 1);
    GlintAdvanceFrame(glint);
  }
  GlintGotoFrame(glint, 2);
  if (frames) GlintDecodeFrame(glint);
  GlintClose(glint);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int fd = memfd_create("gnt", 0);
  if (fd < 0) return 0;
  if (size && write(fd, data, size) != ssize_t(size)) {
    close(fd);
    return 0;
  }
  play(fd, GLINT_WHOLE_FILE, 0, false);
  // Every track through the standard sound output on the virtual device.
  play(fd, GLINT_WHOLE_FILE | GLINT_TRACK_MASK, 0, false);
  play(fd, 0, 0, size % 2);
  GlintEnableMMX(0);
  play(fd, 0, -1, false);
  GlintEnableMMX(1);
  close(fd);
  return 0;
}
