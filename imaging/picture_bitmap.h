// The picture buffer every window, operation and file format works on.
//
// Pixels are either 24-bit (three bytes a pixel in the order blue, green,
// red) or 1-bit black and white (eight pixels a byte, most significant bit
// first, a set bit is white). Rows run top-down and each row starts on a
// four-byte boundary, so a row can be handed to a QImage (Format_BGR888 or
// Format_Mono) or written to a bottom-up DIB without repacking.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace vistrel {

enum class PixelFormat { Bgr24, Mono1 };

// A colour as the program stores it: 0x00BBGGRR.
using TColor = std::uint32_t;

constexpr TColor MakeColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
constexpr std::uint8_t RedOf(TColor c) { return std::uint8_t(c & 0xFF); }
constexpr std::uint8_t GreenOf(TColor c) { return std::uint8_t((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(TColor c) { return std::uint8_t((c >> 16) & 0xFF); }

constexpr TColor kBlack = MakeColor(0, 0, 0);
constexpr TColor kWhite = MakeColor(255, 255, 255);

// Raised when a size is negative or the picture would exceed kMaxPixels.
class PictureSizeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TPictureBitmap {
 public:
  // Largest picture the program accepts (2^28 pixels, 768 MiB at 24 bits).
  static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 28;

  TPictureBitmap() = default;
  TPictureBitmap(int width, int height, PixelFormat format = PixelFormat::Bgr24);

  // Reallocates; the contents become black (24-bit) or black (1-bit).
  void Allocate(int width, int height, PixelFormat format = PixelFormat::Bgr24);
  void Clear() { Allocate(0, 0, format_); }

  int Width() const { return width_; }
  int Height() const { return height_; }
  PixelFormat Format() const { return format_; }
  bool IsMono() const { return format_ == PixelFormat::Mono1; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  int BitsPerPixel() const { return IsMono() ? 1 : 24; }
  std::size_t Stride() const { return stride_; }

  std::uint8_t* Row(int y) { return data_.data() + std::size_t(y) * stride_; }
  const std::uint8_t* Row(int y) const { return data_.data() + std::size_t(y) * stride_; }
  std::uint8_t* Bits() { return data_.data(); }
  const std::uint8_t* Bits() const { return data_.data(); }

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // Colour at (x, y); callers check Contains first.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor c);
  // Colour at (x, y), or -1 outside the picture.
  std::int64_t PixelOrNone(int x, int y) const {
    return Contains(x, y) ? std::int64_t(Pixel(x, y)) : -1;
  }
  void Fill(TColor c);

  // Resolution in dots per inch, set by readers and used by printing.
  int DpiX() const { return dpi_x_; }
  int DpiY() const { return dpi_y_; }
  void SetDpi(int x, int y) { dpi_x_ = x; dpi_y_ = y; }

  // Bytes a row takes at `bits` per pixel, padded to four bytes.
  static std::size_t StrideFor(int width, int bits) {
    return (std::size_t(width) * std::size_t(bits) + 31) / 32 * 4;
  }

  bool operator==(const TPictureBitmap& o) const;

 private:
  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::Bgr24;
  std::size_t stride_ = 0;
  int dpi_x_ = 96;
  int dpi_y_ = 96;
  std::vector<std::uint8_t> data_;
};

}  // namespace vistrel
