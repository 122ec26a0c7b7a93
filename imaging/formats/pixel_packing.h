// Rows of palette indices or black-and-white bits as writers need them.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/color_quantizer.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

// Rows of `bits` per pixel (1, 2, 4 or 8), most significant bits first,
// each padded to four bytes.
class TPackedRows {
 public:
  TPackedRows() = default;
  TPackedRows(int width, int height, int bits);
  bool Empty() const { return bytes_.empty(); }
  int Bits() const { return bits_; }
  std::size_t Stride() const { return stride_; }
  std::uint8_t* Row(int y) { return bytes_.data() + std::size_t(y) * stride_; }
  const std::uint8_t* Row(int y) const { return bytes_.data() + std::size_t(y) * stride_; }
  void Set(int y, int x, unsigned value);
  unsigned Get(int y, int x) const;

 private:
  int bits_ = 8;
  std::size_t stride_ = 0;
  std::vector<std::uint8_t> bytes_;
};

// The picture's pixels as indices into the mapper's palette, packed at
// `bits` per pixel. A 1-bit picture maps its black and white.
TPackedRows PackIndices(const TPictureBitmap& picture, TPaletteMapper& mapper, int bits);

// Copies `pixels` three-byte pixels swapping their first and third bytes:
// blue-first rows to red-first ones and back. `in` and `out` may be equal.
void SwapRedBlueRow(const std::uint8_t* in, std::uint8_t* out, std::size_t pixels);

// A 1-bit copy: a colour is white when red + green + blue >= 384.
const TPictureBitmap& ToMonoByIntensity(const TPictureBitmap& picture, TPictureBitmap& storage);

}  // namespace vistrel
