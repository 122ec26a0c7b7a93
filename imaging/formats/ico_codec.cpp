// Icons (.ico) read and written, cursors (.cur) read: a directory of images,
// each a DIB with doubled height and an AND mask, or an embedded PNG.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "imaging/formats/dib.h"
#include "imaging/formats/format_codecs.h"

namespace vistrel {
namespace {

struct TIconEntry {
  int width = 0, height = 0, bits = 0;
  std::uint32_t size = 0, offset = 0;
};

void ReadIconFile(TByteSpan data, int type, TPictureBitmap& picture, TIOParams& params) {
  TByteReader r(data);
  if (r.LE16() != 0 || r.LE16() != type) throw FormatError(type == 1 ? "Not an icon file" : "Not a cursor file");
  const int count = r.LE16();
  if (count == 0) throw FormatError("No picture in file");
  std::vector<TIconEntry> entries;
  for (int i = 0; i < count; ++i) {
    TIconEntry e;
    e.width = r.U8();
    e.height = r.U8();
    r.Skip(4);
    e.bits = r.LE16();
    e.size = r.LE32();
    e.offset = r.LE32();
    if (e.width == 0) e.width = 256;
    if (e.height == 0) e.height = 256;
    if (type == 2) e.bits = 0;  // cursors keep the hotspot there
    entries.push_back(e);
  }
  // The largest image, the deepest among equals.
  const TIconEntry* best = nullptr;
  for (const TIconEntry& e : entries) {
    if (e.offset >= data.size()) continue;
    if (!best || e.width * e.height > best->width * best->height ||
        (e.width * e.height == best->width * best->height && e.bits > best->bits))
      best = &e;
  }
  if (!best) throw FormatError("Icon images lie outside the file");
  const std::size_t end = std::min<std::size_t>(data.size(), std::size_t(best->offset) + best->size);
  TByteSpan image = data.subspan(best->offset, end - best->offset);
  static const std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (image.size() >= 8 && std::memcmp(image.data(), kPngSignature, 8) == 0) {
    ReadPng(image, picture, params);
  } else {
    DecodeDib({image, 0, std::nullopt, true}, picture, params);
  }
  params.ico_images.clear();
  for (const TIconEntry& e : entries) {
    if (int(params.ico_images.size()) == TIOParams::kMaxIcoImages) break;
    const int bits = e.bits == 1 || e.bits == 4 || e.bits == 8 ? e.bits : 24;
    params.ico_images.push_back({e.width, e.height, bits});
  }
}

// Bilinear resampling of a 24-bit picture ("fast linear filter").
TPictureBitmap ResampleLinear(const TPictureBitmap& src, int w, int h) {
  TPictureBitmap out(w, h);
  const double sx = double(src.Width()) / w, sy = double(src.Height()) / h;
  for (int y = 0; y < h; ++y) {
    const double fy = std::clamp((y + 0.5) * sy - 0.5, 0.0, double(src.Height() - 1));
    const int y0 = int(fy), y1 = std::min(y0 + 1, src.Height() - 1);
    const double ty = fy - y0;
    std::uint8_t* o = out.Row(y);
    for (int x = 0; x < w; ++x) {
      const double fx = std::clamp((x + 0.5) * sx - 0.5, 0.0, double(src.Width() - 1));
      const int x0 = int(fx), x1 = std::min(x0 + 1, src.Width() - 1);
      const double tx = fx - x0;
      for (int c = 0; c < 3; ++c) {
        const double top = src.Row(y0)[3 * x0 + c] * (1 - tx) + src.Row(y0)[3 * x1 + c] * tx;
        const double bottom = src.Row(y1)[3 * x0 + c] * (1 - tx) + src.Row(y1)[3 * x1 + c] * tx;
        o[3 * x + c] = std::uint8_t(std::lround(top * (1 - ty) + bottom * ty));
      }
    }
  }
  return out;
}

// Nearest-pixel resampling of a 1-bit picture.
TPictureBitmap ResampleNearest(const TPictureBitmap& src, int w, int h) {
  TPictureBitmap out(w, h, PixelFormat::Mono1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      out.SetPixel(x, y, src.Pixel(int(std::int64_t(x) * src.Width() / w), int(std::int64_t(y) * src.Height() / h)));
  return out;
}

std::vector<std::uint8_t> EncodeIconImage(const TPictureBitmap& picture, const TIcoImage& entry) {
  const TPictureBitmap image = picture.IsMono() ? ResampleNearest(picture, entry.width, entry.height)
                                                : ResampleLinear(picture, entry.width, entry.height);
  TPalette palette;
  if (entry.bits <= 8) palette = BuildPalette(image, 1 << entry.bits);
  TPaletteMapper mapper(palette.empty() ? TPalette{kBlack} : palette);
  TByteWriter w;
  w.LE32(40);
  w.LE32(std::uint32_t(entry.width));
  w.LE32(std::uint32_t(entry.height * 2));
  w.LE16(1);
  w.LE16(std::uint32_t(entry.bits));
  w.LE32(0);
  const std::size_t xor_bytes = TPictureBitmap::StrideFor(entry.width, entry.bits) * std::size_t(entry.height);
  const std::size_t and_bytes = TPictureBitmap::StrideFor(entry.width, 1) * std::size_t(entry.height);
  w.LE32(std::uint32_t(xor_bytes + and_bytes));
  w.LE32(0);
  w.LE32(0);
  w.LE32(std::uint32_t(palette.size()));
  w.LE32(0);
  AppendDibPalette(w, palette);
  AppendDibRows(w, image, &mapper, entry.bits);
  w.Fill(and_bytes, 0);  // every pixel opaque
  return std::move(w.Bytes());
}

}  // namespace

void ReadIco(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  ReadIconFile(data, 1, picture, params);
}

void ReadCur(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  ReadIconFile(data, 2, picture, params);
}

void WriteIco(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params) {
  std::vector<TIcoImage> list = params.ico_images;
  if (list.empty()) list.push_back(TIcoImage{});
  if (int(list.size()) > TIOParams::kMaxIcoImages) list.resize(TIOParams::kMaxIcoImages);
  for (const TIcoImage& e : list)
    if (e.width < 1 || e.width > 256 || e.height < 1 || e.height > 256 ||
        (e.bits != 1 && e.bits != 4 && e.bits != 8 && e.bits != 24))
      throw FormatError("Icon images are 1 to 256 pixels with 1, 4, 8 or 24 bits");
  std::vector<std::vector<std::uint8_t>> images;
  for (const TIcoImage& e : list) images.push_back(EncodeIconImage(picture, e));

  TByteWriter w;
  w.LE16(0);
  w.LE16(1);
  w.LE16(std::uint32_t(list.size()));
  std::uint32_t offset = 6 + 16 * std::uint32_t(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    const TIcoImage& e = list[i];
    w.U8(std::uint8_t(e.width & 0xFF));  // 256 is written as 0
    w.U8(std::uint8_t(e.height & 0xFF));
    w.U8(e.bits < 8 ? std::uint8_t(1 << e.bits) : 0);
    w.U8(0);
    w.LE16(1);
    w.LE16(std::uint32_t(e.bits));
    w.LE32(std::uint32_t(images[i].size()));
    w.LE32(offset);
    offset += std::uint32_t(images[i].size());
  }
  for (const auto& image : images) w.Append(image);
  WriteAll(file, w.Bytes());
}

}  // namespace vistrel
