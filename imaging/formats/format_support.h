// What every reader and writer shares: the error they raise, bounded byte
// reading, little-endian byte building and the size check for new pictures.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/picture_bitmap.h"

namespace vistrel {

// A reader or writer failure; LoadPictureFile and SavePictureFile add the path.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using TByteSpan = std::span<const std::uint8_t>;

// Refuses sizes that are not positive or exceed TPictureBitmap::kMaxPixels,
// before anything is allocated for them.
void CheckPictureSize(std::int64_t width, std::int64_t height);

// Reads little- or big-endian values from a byte span; running past the end
// raises FormatError("Unexpected end of file").
class TByteReader {
 public:
  explicit TByteReader(TByteSpan data, std::size_t pos = 0) : data_(data), pos_(pos) {}
  std::uint8_t U8();
  std::uint16_t LE16();
  std::uint32_t LE32();
  std::uint16_t BE16();
  std::uint32_t BE32();
  TByteSpan Bytes(std::size_t n);
  void Skip(std::size_t n);
  void Seek(std::size_t pos);
  std::size_t Pos() const { return pos_; }
  std::size_t Left() const { return data_.size() - pos_; }
  bool AtEnd() const { return pos_ >= data_.size(); }

 private:
  void Need(std::size_t n) const;
  TByteSpan data_;
  std::size_t pos_;
};

// Builds a file in memory.
class TByteWriter {
 public:
  void U8(std::uint8_t v) { bytes_.push_back(v); }
  void LE16(std::uint32_t v);
  void LE32(std::uint32_t v);
  void Append(TByteSpan b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
  void Append(std::string_view s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }
  void Fill(std::size_t n, std::uint8_t v) { bytes_.insert(bytes_.end(), n, v); }
  std::size_t Size() const { return bytes_.size(); }
  std::vector<std::uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Writes all bytes or raises FormatError.
void WriteAll(std::FILE* file, TByteSpan bytes);

// Pixels per metre for a resolution in dots per inch, and back.
std::uint32_t DpiToPixelsPerMetre(int dpi);
int PixelsPerMetreToDpi(std::uint32_t ppm);

// The 24-bit form of a picture: the picture itself, or an expanded copy of a
// 1-bit one. `storage` keeps the copy alive.
const TPictureBitmap& AsBgr24(const TPictureBitmap& picture, TPictureBitmap& storage);

}  // namespace vistrel
