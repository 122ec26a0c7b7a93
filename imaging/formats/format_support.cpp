#include "imaging/formats/format_support.h"

#include <cmath>
#include <cstring>

namespace vistrel {

void CheckPictureSize(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0)
    throw FormatError("Invalid picture size " + std::to_string(width) + " x " +
                      std::to_string(height));
  if (width > TPictureBitmap::kMaxPixels || height > TPictureBitmap::kMaxPixels ||
      width * height > TPictureBitmap::kMaxPixels)
    throw FormatError("Picture too large: " + std::to_string(width) + " x " +
                      std::to_string(height) + " pixels");
}

void TByteReader::Need(std::size_t n) const {
  if (n > data_.size() - pos_) throw FormatError("Unexpected end of file");
}

std::uint8_t TByteReader::U8() {
  Need(1);
  return data_[pos_++];
}

std::uint16_t TByteReader::LE16() {
  Need(2);
  const std::uint16_t v = std::uint16_t(data_[pos_] | (data_[pos_ + 1] << 8));
  pos_ += 2;
  return v;
}

std::uint32_t TByteReader::LE32() {
  const std::uint32_t lo = LE16();
  return lo | (std::uint32_t(LE16()) << 16);
}

std::uint16_t TByteReader::BE16() {
  Need(2);
  const std::uint16_t v = std::uint16_t((data_[pos_] << 8) | data_[pos_ + 1]);
  pos_ += 2;
  return v;
}

std::uint32_t TByteReader::BE32() {
  const std::uint32_t hi = BE16();
  return (hi << 16) | BE16();
}

TByteSpan TByteReader::Bytes(std::size_t n) {
  Need(n);
  TByteSpan s = data_.subspan(pos_, n);
  pos_ += n;
  return s;
}

void TByteReader::Skip(std::size_t n) {
  Need(n);
  pos_ += n;
}

void TByteReader::Seek(std::size_t pos) {
  if (pos > data_.size()) throw FormatError("Unexpected end of file");
  pos_ = pos;
}

void TByteWriter::LE16(std::uint32_t v) {
  U8(std::uint8_t(v));
  U8(std::uint8_t(v >> 8));
}

void TByteWriter::LE32(std::uint32_t v) {
  LE16(v & 0xFFFF);
  LE16(v >> 16);
}

void WriteAll(std::FILE* file, TByteSpan bytes) {
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
    throw FormatError(std::string("Write failed: ") + std::strerror(errno));
}

std::uint32_t DpiToPixelsPerMetre(int dpi) {
  if (dpi <= 0) return 0;
  return std::uint32_t(std::lround(dpi * 100.0 / 2.54));
}

int PixelsPerMetreToDpi(std::uint32_t ppm) {
  if (ppm == 0 || ppm > 10000000) return 0;
  return int(std::lround(ppm * 2.54 / 100.0));
}

const TPictureBitmap& AsBgr24(const TPictureBitmap& picture, TPictureBitmap& storage) {
  if (!picture.IsMono()) return picture;
  storage.Allocate(picture.Width(), picture.Height(), PixelFormat::Bgr24);
  storage.SetDpi(picture.DpiX(), picture.DpiY());
  for (int y = 0; y < picture.Height(); ++y) {
    const std::uint8_t* src = picture.Row(y);
    std::uint8_t* dst = storage.Row(y);
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint8_t v = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      dst[3 * x] = dst[3 * x + 1] = dst[3 * x + 2] = v;
    }
  }
  return storage;
}

}  // namespace vistrel
