// Wireless bitmap (WBMP type 0): 1-bit rows, a set bit is white.
#include "imaging/formats/format_codecs.h"
#include "imaging/formats/pixel_packing.h"

namespace vistrel {
namespace {

std::uint32_t ReadMultiByte(TByteReader& r) {
  std::uint32_t v = 0;
  for (int i = 0; i < 5; ++i) {
    const std::uint8_t b = r.U8();
    v = (v << 7) | (b & 0x7F);
    if (!(b & 0x80)) return v;
  }
  throw FormatError("Bad number in wireless bitmap");
}

void WriteMultiByte(TByteWriter& w, std::uint32_t v) {
  std::uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = std::uint8_t(v & 0x7F);
    v >>= 7;
  } while (v);
  while (n-- > 0) w.U8(std::uint8_t(groups[n] | (n ? 0x80 : 0)));
}

}  // namespace

void ReadWbmp(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  TByteReader r(data);
  if (ReadMultiByte(r) != 0) throw FormatError("Unsupported wireless bitmap type");
  if (r.U8() & 0x9F) throw FormatError("Not a wireless bitmap");
  const std::uint32_t w = ReadMultiByte(r), h = ReadMultiByte(r);
  CheckPictureSize(w, h);
  const std::size_t n = (std::size_t(w) + 7) / 8;
  if (r.Left() / n < h) throw FormatError("Unexpected end of file");
  TPictureBitmap result(int(w), int(h), PixelFormat::Mono1);
  for (int y = 0; y < int(h); ++y) {
    TByteSpan row = r.Bytes(n);
    std::copy(row.begin(), row.end(), result.Row(y));
  }
  params.bits_per_sample = 1;
  params.samples_per_pixel = 1;
  picture = std::move(result);
}

void WriteWbmp(std::FILE* file, const TPictureBitmap& picture, const TIOParams&) {
  TPictureBitmap storage;
  const TPictureBitmap& mono = ToMonoByIntensity(picture, storage);
  TByteWriter w;
  w.U8(0);
  w.U8(0);
  WriteMultiByte(w, std::uint32_t(mono.Width()));
  WriteMultiByte(w, std::uint32_t(mono.Height()));
  const std::size_t n = (std::size_t(mono.Width()) + 7) / 8;
  for (int y = 0; y < mono.Height(); ++y) w.Append(TByteSpan(mono.Row(y), n));
  WriteAll(file, w.Bytes());
}

}  // namespace vistrel
