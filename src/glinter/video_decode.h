// Decodes one frame's video data into the output buffer (4 x 4 blocks coded
// as changes to the previous picture) and fills the change map.
#pragma once

#include <cstdint>
#include <span>

#include "glinter/output_descriptor.h"
#include "glinter/video_trees.h"

namespace glint::glinter {

// Run lengths of the 64 run indices of a type value.
inline constexpr uint32_t run_length(uint32_t index) {
  return index < 59 ? index + 1 : 128u << (index - 59);
}

// Bits past the end of `data` read as zeros. `wide` picks the 64-bit reader.
void decode_video(std::span<const uint8_t> data, const VideoTrees& trees, OutputDescriptor& out,
                  bool wide);

}  // namespace glint::glinter
