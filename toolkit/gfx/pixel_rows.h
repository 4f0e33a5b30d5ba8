// The pixel row loops behind every blit, line, fill and tile; all of them live in blit.cpp (text blending and
// screen copies are the platform's).
// Internal to toolkit/gfx (and its tests). Rows are 16-bit pixels with no alignment assumed.
#pragma once

#include <stdint.h>

// count pixels of one value, two per 32-bit pair (four per 64-bit store in the bulk).
void FillRow(uint8_t* row, uint32_t count, uint16_t pixel);
// count pixels downwards from top, one per row.
void FillColumn(uint8_t* top, uint32_t stride, uint32_t count, uint16_t pixel);
// Rows may overlap (a surface blitted onto itself): the row is moved as memory.
void CopyRow(uint8_t* destination, const uint8_t* source, uint32_t count);
// Source pixels equal to key leave the destination pixel unchanged. Groups of four (eight in the SSE2
// version) are merged branch-free; the last 0-3 pixels one at a time. Both versions give identical rows.
void CopyRowKeyedPortable(uint8_t* destination, const uint8_t* source, uint32_t count, uint16_t key);
#if defined(__SSE2__)
#define VQ_HAVE_SSE2_ROWS 1
void CopyRowKeyedSse2(uint8_t* destination, const uint8_t* source, uint32_t count, uint16_t key);
#endif
#if defined(__x86_64__) && defined(__GNUC__)
// 32-byte versions for rows of 16 pixels or more whose bytes lie apart, used where the processor has AVX2
// (RowsUseAvx2); they give the same rows as the others.
#define VQ_HAVE_AVX2_ROWS 1
void FillRowAvx2(uint8_t* row, uint32_t count, uint16_t pixel);
void CopyRowsAvx2(uint8_t* destination, uint32_t destinationStride, const uint8_t* source,
                  uint32_t sourceStride, uint32_t width, uint32_t count, int32_t keyed, uint16_t key);
#endif
int32_t RowsUseAvx2();
// The fastest keyed row the build has.
void CopyRowKeyed(uint8_t* destination, const uint8_t* source, uint32_t count, uint16_t key);

// count rows of width pixels, each side stepping by its own stride; keyed when keyed is non-zero.
void CopyRows(uint8_t* destination, uint32_t destinationStride, const uint8_t* source, uint32_t sourceStride,
              uint32_t width, uint32_t count, int32_t keyed, uint16_t key);
