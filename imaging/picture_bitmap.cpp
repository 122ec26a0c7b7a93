#include "picture_bitmap.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace vistrel {

TPictureBitmap::TPictureBitmap(int width, int height, PixelFormat format) {
  Allocate(width, height, format);
}

void TPictureBitmap::Allocate(int width, int height, PixelFormat format) {
  if (width < 0 || height < 0)
    throw PictureSizeError("Invalid picture size " + std::to_string(width) + " x " +
                           std::to_string(height));
  if (std::int64_t(width) * height > kMaxPixels)
    throw PictureSizeError("Picture too large: " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels");
  if (width == 0 || height == 0) width = height = 0;
  const int bits = format == PixelFormat::Mono1 ? 1 : 24;
  const std::size_t size = StrideFor(width, bits) * std::size_t(height);
  std::vector<std::uint8_t> data;
  data.reserve(size);
  // Large pictures in large pages: a few page faults instead of thousands.
  if (size >= (std::size_t(4) << 20)) {
    const auto base = reinterpret_cast<std::uintptr_t>(data.data());
    const std::uintptr_t start = (base + 4095) & ~std::uintptr_t(4095);
    ::madvise(reinterpret_cast<void*>(start), size - (start - base), MADV_HUGEPAGE);
  }
  data.resize(size);
  data_.swap(data);
  width_ = width;
  height_ = height;
  format_ = format;
  stride_ = StrideFor(width, bits);
}

TColor TPictureBitmap::Pixel(int x, int y) const {
  const std::uint8_t* row = Row(y);
  if (IsMono()) return (row[x >> 3] & (0x80 >> (x & 7))) ? kWhite : kBlack;
  const std::uint8_t* p = row + std::size_t(x) * 3;
  return MakeColor(p[2], p[1], p[0]);
}

void TPictureBitmap::SetPixel(int x, int y, TColor c) {
  std::uint8_t* row = Row(y);
  if (IsMono()) {
    // A colour counts as white when its intensity is in the upper half.
    const bool white = RedOf(c) + GreenOf(c) + BlueOf(c) >= 384;
    const std::uint8_t bit = std::uint8_t(0x80 >> (x & 7));
    row[x >> 3] = white ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit);
    return;
  }
  std::uint8_t* p = row + std::size_t(x) * 3;
  p[0] = BlueOf(c);
  p[1] = GreenOf(c);
  p[2] = RedOf(c);
}

void TPictureBitmap::Fill(TColor c) {
  if (Empty()) return;
  for (int x = 0; x < width_; ++x) SetPixel(x, 0, c);
  for (int y = 1; y < height_; ++y) std::memcpy(Row(y), Row(0), stride_);
}

bool TPictureBitmap::operator==(const TPictureBitmap& o) const {
  if (width_ != o.width_ || height_ != o.height_ || format_ != o.format_) return false;
  // Compare only the pixel bytes; row padding carries no meaning.
  const std::size_t used = IsMono() ? (std::size_t(width_) + 7) / 8 : std::size_t(width_) * 3;
  for (int y = 0; y < height_; ++y) {
    if (IsMono() && (width_ & 7)) {
      const std::size_t full = std::size_t(width_) / 8;
      if (std::memcmp(Row(y), o.Row(y), full) != 0) return false;
      const std::uint8_t mask = std::uint8_t(0xFF << (8 - (width_ & 7)));
      if ((Row(y)[full] & mask) != (o.Row(y)[full] & mask)) return false;
    } else if (std::memcmp(Row(y), o.Row(y), used) != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace vistrel
