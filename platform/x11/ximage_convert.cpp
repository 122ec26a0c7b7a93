#include "platform/x11/ximage_convert.h"

#include <bit>

namespace vistrel {
namespace {

struct Channel {
  int shift = 0;     // of the lowest mask bit
  int bits = 0;      // width of the mask
  std::uint32_t max = 0;
};

Channel ChannelOf(std::uint32_t mask) {
  Channel c;
  c.shift = std::countr_zero(mask);
  c.bits = std::popcount(mask);
  c.max = c.bits >= 32 ? 0xFFFFFFFFu : (1u << c.bits) - 1;
  return c;
}

bool Contiguous(std::uint32_t mask) {
  if (!mask) return false;
  const std::uint32_t low = mask >> std::countr_zero(mask);
  return (low & (low + 1)) == 0;
}

std::uint8_t Scale(std::uint32_t pixel, const Channel& c) {
  const std::uint32_t v = (pixel >> c.shift) & c.max;
  if (c.bits == 8) return std::uint8_t(v);
  if (c.bits > 8) return std::uint8_t(v >> (c.bits - 8));
  return std::uint8_t((v * 255 + c.max / 2) / c.max);
}

std::uint32_t ReadPixel(const std::uint8_t* p, int bytes, bool msb_first) {
  std::uint32_t v = 0;
  if (msb_first) {
    for (int i = 0; i < bytes; ++i) v = (v << 8) | p[i];
  } else {
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  }
  return v;
}

// The usual case: 32-bit pixels, least significant byte first, 8-bit
// channels at 0x00RRGGBB, so each pixel already starts with B, G, R.
bool IsBgrx(const TXPixelLayout& l) {
  return l.bits_per_pixel == 32 && !l.msb_first && l.red_mask == 0xFF0000 &&
         l.green_mask == 0x00FF00 && l.blue_mask == 0x0000FF;
}

void ConvertBgrxRow(const std::uint8_t* s, std::uint8_t* d, int width) {
  int x = 0;
  // Four pixels at a time into 12 bytes; the compiler keeps this in registers.
  for (; x + 4 <= width; x += 4, s += 16, d += 12) {
    d[0] = s[0]; d[1] = s[1]; d[2] = s[2];
    d[3] = s[4]; d[4] = s[5]; d[5] = s[6];
    d[6] = s[8]; d[7] = s[9]; d[8] = s[10];
    d[9] = s[12]; d[10] = s[13]; d[11] = s[14];
  }
  for (; x < width; ++x, s += 4, d += 3) {
    d[0] = s[0]; d[1] = s[1]; d[2] = s[2];
  }
}

}  // namespace

bool SupportedXPixelLayout(const TXPixelLayout& l) {
  if (l.bits_per_pixel != 16 && l.bits_per_pixel != 24 && l.bits_per_pixel != 32) return false;
  return Contiguous(l.red_mask) && Contiguous(l.green_mask) && Contiguous(l.blue_mask);
}

void ConvertXImageRows(const std::uint8_t* src, std::size_t src_stride, int width, int height,
                       const TXPixelLayout& layout, TPictureBitmap& out, int dst_x, int dst_y) {
  if (IsBgrx(layout)) {
    for (int y = 0; y < height; ++y)
      ConvertBgrxRow(src + std::size_t(y) * src_stride, out.Row(dst_y + y) + std::size_t(dst_x) * 3,
                     width);
    return;
  }
  const Channel r = ChannelOf(layout.red_mask);
  const Channel g = ChannelOf(layout.green_mask);
  const Channel b = ChannelOf(layout.blue_mask);
  const int bytes = layout.bits_per_pixel / 8;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* s = src + std::size_t(y) * src_stride;
    std::uint8_t* d = out.Row(dst_y + y) + std::size_t(dst_x) * 3;
    for (int x = 0; x < width; ++x, s += bytes, d += 3) {
      const std::uint32_t pixel = ReadPixel(s, bytes, layout.msb_first);
      d[0] = Scale(pixel, b);
      d[1] = Scale(pixel, g);
      d[2] = Scale(pixel, r);
    }
  }
}

}  // namespace vistrel
