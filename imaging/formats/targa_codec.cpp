// Truevision Targa: colour-mapped, true-colour and grey, raw or run-length.
#include <algorithm>

#include "imaging/color_quantizer.h"
#include "imaging/formats/format_codecs.h"

namespace vistrel {
namespace {

TColor From16(std::uint32_t v) {
  auto scale = [](std::uint32_t c) { return std::uint8_t((c << 3) | (c >> 2)); };
  return MakeColor(scale((v >> 10) & 31), scale((v >> 5) & 31), scale(v & 31));
}

// Reads one pixel of `bytes` bytes as a colour.
TColor ReadColor(TByteReader& r, int bytes) {
  switch (bytes) {
    case 1: {
      const std::uint8_t v = r.U8();
      return MakeColor(v, v, v);
    }
    case 2: return From16(r.LE16());
    case 3: {
      const std::uint8_t b = r.U8(), g = r.U8(), red = r.U8();
      return MakeColor(red, g, b);
    }
    default: {
      const std::uint8_t b = r.U8(), g = r.U8(), red = r.U8();
      const int a = r.U8();
      // Alpha over white, as the view shows it.
      auto over = [a](int v) { return std::uint8_t((v * a + 255 * (255 - a) + 127) / 255); };
      return a == 255 ? MakeColor(red, g, b) : MakeColor(over(red), over(g), over(b));
    }
  }
}

}  // namespace

void ReadTarga(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  TByteReader r(data);
  const int id_length = r.U8();
  const int map_type = r.U8();
  const int type = r.U8();
  const int map_first = r.LE16();
  const int map_length = r.LE16();
  const int map_bits = r.U8();
  r.Skip(4);
  const int w = r.LE16(), h = r.LE16();
  const int bits = r.U8();
  const int descriptor = r.U8();
  const int base = type & 7;
  const bool rle = type & 8;
  if ((type & ~11) != 0 || base < 1 || base > 3 || map_type > 1) throw FormatError("Not a Targa file");
  if (base == 1 && (map_type != 1 || (bits != 8 && bits != 16))) throw FormatError("Unsupported Targa palette");
  if (base == 2 && bits != 15 && bits != 16 && bits != 24 && bits != 32) throw FormatError("Unsupported Targa depth");
  if (base == 3 && bits != 8) throw FormatError("Unsupported Targa grey depth");
  CheckPictureSize(w, h);
  r.Skip(std::size_t(id_length));
  TPalette palette;
  if (map_type == 1) {
    const int entry_bytes = (map_bits + 7) / 8;
    if (entry_bytes < 2 || entry_bytes > 4) throw FormatError("Unsupported Targa palette");
    for (int i = 0; i < map_length; ++i) palette.push_back(ReadColor(r, entry_bytes));
  }
  const int bytes = (bits + 7) / 8;
  auto pixel = [&]() -> TColor {
    if (base != 1) return ReadColor(r, bytes);
    const int index = (bytes == 1 ? r.U8() : r.LE16()) - map_first;
    return index >= 0 && index < int(palette.size()) ? palette[index] : kBlack;
  };
  // Refuse before allocating what the file cannot hold: every pixel stored,
  // or 128 from each packet of a head byte and one pixel.
  const std::uint64_t stored = rle ? (r.Left() / (1 + std::size_t(bytes)) + 1) * 128 : r.Left() / std::size_t(bytes);
  if (stored < std::uint64_t(w) * std::uint64_t(h)) throw FormatError("Unexpected end of file");
  TPictureBitmap result(w, h);
  const bool top_down = descriptor & 0x20;
  const bool right_to_left = descriptor & 0x10;
  const std::int64_t total = std::int64_t(w) * h;
  std::int64_t i = 0;
  auto put = [&](TColor c) {
    const int row = int(i / w), col = int(i % w);
    result.SetPixel(right_to_left ? w - 1 - col : col, top_down ? row : h - 1 - row, c);
    ++i;
  };
  while (i < total) {
    if (!rle) {
      put(pixel());
      continue;
    }
    const int head = r.U8();
    const int count = (head & 0x7F) + 1;
    if (head & 0x80) {
      const TColor c = pixel();
      for (int k = 0; k < count && i < total; ++k) put(c);
    } else {
      for (int k = 0; k < count && i < total; ++k) put(pixel());
    }
  }
  params.bits_per_sample = base == 2 ? 8 : bits;
  params.samples_per_pixel = base == 2 ? 3 : 1;
  picture = std::move(result);
}

void WriteTarga(std::FILE* file, const TPictureBitmap& picture, const TIOParams&) {
  if (picture.Width() > 0xFFFF || picture.Height() > 0xFFFF)
    throw FormatError("Targa pictures are at most 65535 pixels wide and high");
  // Uncompressed 24-bit true colour, rows from the top.
  TByteWriter w;
  w.U8(0);
  w.U8(0);
  w.U8(2);
  w.Fill(5, 0);
  w.LE16(0);
  w.LE16(0);
  w.LE16(std::uint32_t(picture.Width()));
  w.LE16(std::uint32_t(picture.Height()));
  w.U8(24);
  w.U8(0x20);
  TPictureBitmap storage;
  const TPictureBitmap& bgr = AsBgr24(picture, storage);
  for (int y = 0; y < picture.Height(); ++y) w.Append(TByteSpan(bgr.Row(y), std::size_t(picture.Width()) * 3));
  WriteAll(file, w.Bytes());
}

}  // namespace vistrel
