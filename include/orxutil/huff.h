/*
 * HuffEncoder: Huffman codes from value counts, written (tree and coded
 * values) into an ORXFile bit stream in the form the Glinter reader reads.
 *
 * Calling order: HuffOpen, HuffSetOutput, then per block of data:
 * HuffInitStats, HuffAddStat for every value, HuffStartEncode (writes the
 * tree), HuffEncode for every value in the same order; finally HuffClose.
 */
#ifndef ORXUTIL_HUFF_H
#define ORXUTIL_HUFF_H

#include "orxutil/orxutil.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct HuffEncoder HuffEncoder;

/* kind: low byte non-zero = 8-bit values (0-255), zero = 16-bit values */
ORX_API HuffEncoder* HuffOpen(uint32_t kind);
ORX_API void HuffSetOutput(HuffEncoder* encoder, ORXFile* output);
ORX_API void HuffClose(HuffEncoder* encoder);
ORX_API int32_t HuffInitStats(HuffEncoder* encoder);
ORX_API int32_t HuffInitLasts(HuffEncoder* encoder);
/* Values are taken modulo 65536, and modulo 256 by an 8-bit encoder. */
ORX_API void HuffAddStat(HuffEncoder* encoder, uint32_t value);
/* 12 (no values), 20 (one distinct value), 16 + 8 x nodes, or -1 when no
 * valid tree exists (a 16-bit block using all 65,536 values). A tree that
 * would need codes deeper than 30 bits is built from flattened counts. */
ORX_API int32_t HuffStartEncode(HuffEncoder* encoder);
/* Writes the code of one value; returns the number of bits written. */
ORX_API uint32_t HuffEncode(HuffEncoder* encoder, uint32_t value);

#ifdef __cplusplus
}
#endif

#endif /* ORXUTIL_HUFF_H */
