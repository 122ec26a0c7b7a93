// The copy of a picture that goes to the printer: always 24 bits, turned
// grey when asked ((r + g + b) div 3), or reduced to an 8-bit picture of
// at most 256 colours (octree, six bits a channel) with its colour table.
// Rows are top-down, each padded to four bytes as in a DIB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/octree_quantizer.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

struct TPrintPicture {
  int width = 0;
  int height = 0;
  int bits = 24;                    // 24 (blue, green, red) or 8 (palette index)
  std::size_t stride = 0;
  std::vector<TRgbQuad> palette;    // 256 entries for 8 bits
  std::vector<std::uint8_t> pixels;

  // What the print dialog reports in kilobytes.
  std::size_t PixelDataSize() const { return pixels.size(); }
};

TPrintPicture PreparePrintPicture(const TPictureBitmap& picture, bool grayscale, bool optimize);

// (r + g + b) div 3.
constexpr std::uint8_t PrintGrey(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return std::uint8_t((unsigned(r) + g + b) / 3);
}

}  // namespace vistrel
