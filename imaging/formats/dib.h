// Device-independent bitmaps: the pixel part of BMP files and icons.
#pragma once

#include <optional>

#include "imaging/color_quantizer.h"
#include "imaging/formats/format_support.h"
#include "imaging/formats/io_params.h"

namespace vistrel {

struct TDibSource {
  TByteSpan data;              // the whole file
  std::size_t header = 0;      // where the information header starts
  std::optional<std::size_t> pixels;  // where the pixel data starts; else after the palette
  bool icon = false;           // height counts the AND mask too; the mask follows the colours
};

// Decodes a DIB with a 12-byte or a 40-byte-or-longer information header:
// 1, 4, 8, 16, 24 and 32 bits, run-length 4 and 8, bit fields. Black-and-
// white pictures stay 1-bit. Sets depth, resolution and the BMP fields.
void DecodeDib(const TDibSource& source, TPictureBitmap& picture, TIOParams& params);

// Appends the rows bottom-up at `bits` per pixel (1, 4, 8: indices of
// `mapper`'s palette; 24: blue, green, red), each padded to four bytes.
void AppendDibRows(TByteWriter& out, const TPictureBitmap& picture, TPaletteMapper* mapper,
                   int bits);

// Appends the palette as blue, green, red, 0 quadruples.
void AppendDibPalette(TByteWriter& out, const TPalette& palette);

}  // namespace vistrel
