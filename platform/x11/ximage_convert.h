// Turns the rows of an X ZPixmap image into 24-bit BGR picture rows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/picture_bitmap.h"

namespace vistrel {

// How the server lays out one pixel.
struct TXPixelLayout {
  int bits_per_pixel = 32;      // 16, 24 or 32
  bool msb_first = false;       // image byte order
  std::uint32_t red_mask = 0xFF0000;
  std::uint32_t green_mask = 0x00FF00;
  std::uint32_t blue_mask = 0x0000FF;
};

// True for layouts ConvertXImageRows understands.
bool SupportedXPixelLayout(const TXPixelLayout& layout);

// Converts `width` x `height` pixels from `src` (rows `src_stride` bytes
// apart) into `out`, starting at (dst_x, dst_y). The caller makes sure the
// area fits into `out`, which is 24-bit.
void ConvertXImageRows(const std::uint8_t* src, std::size_t src_stride, int width, int height,
                       const TXPixelLayout& layout, TPictureBitmap& out, int dst_x, int dst_y);

}  // namespace vistrel
