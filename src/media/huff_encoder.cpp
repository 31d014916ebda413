// The exported Huffman encoder: the Glinter tree writer with an ORXFile as
// its bit stream.
#include <memory>
#include <new>

#include "glinter/huff_coder.h"
#include "orxutil/huff.h"

struct HuffEncoder {
  std::unique_ptr<glint::glinter::HuffCoder> coder;
};

namespace {

void put_to_file(void* file, uint32_t value, uint32_t count) {
  ORXFilePutBits(static_cast<ORXFile*>(file), value, count);
}

}  // namespace

extern "C" ORX_API HuffEncoder* HuffOpen(uint32_t kind) {
  std::unique_ptr<HuffEncoder> encoder(new (std::nothrow) HuffEncoder);
  if (!encoder) return nullptr;
  encoder->coder = glint::glinter::huff_create((kind & 0xFF) == 0);
  if (!encoder->coder) return nullptr;
  return encoder.release();
}

extern "C" ORX_API void HuffSetOutput(HuffEncoder* encoder, ORXFile* output) {
  if (!encoder) return;
  glint::glinter::BitSink sink;
  if (output) sink = {output, put_to_file};
  glint::glinter::huff_set_output(*encoder->coder, sink);
}

extern "C" ORX_API void HuffClose(HuffEncoder* encoder) { delete encoder; }

extern "C" ORX_API int32_t HuffInitStats(HuffEncoder* encoder) {
  if (encoder) glint::glinter::huff_init_stats(*encoder->coder);
  return 0;
}

extern "C" ORX_API int32_t HuffInitLasts(HuffEncoder* encoder) {
  if (encoder) glint::glinter::huff_init_lasts(*encoder->coder);
  return 0;
}

extern "C" ORX_API void HuffAddStat(HuffEncoder* encoder, uint32_t value) {
  if (encoder) glint::glinter::huff_add_stat(*encoder->coder, value);
}

extern "C" ORX_API int32_t HuffStartEncode(HuffEncoder* encoder) {
  return encoder ? glint::glinter::huff_start_encode(*encoder->coder) : -1;
}

extern "C" ORX_API uint32_t HuffEncode(HuffEncoder* encoder, uint32_t value) {
  return encoder ? glint::glinter::huff_encode(*encoder->coder, value) : 0;
}
