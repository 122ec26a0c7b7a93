#include "imaging/formats/dib.h"

#include <algorithm>
#include <bit>

#include "imaging/formats/pixel_packing.h"

namespace vistrel {
namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitFields = 3;

struct TDibHeader {
  std::int64_t width = 0, height = 0;
  bool top_down = false;
  int bits = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t colors_used = 0;
  std::uint32_t xppm = 0, yppm = 0;
  std::uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  bool core = false;  // 12-byte header, 3-byte palette entries
  std::size_t size = 0;
};

TDibHeader ReadHeader(TByteReader& r) {
  TDibHeader h;
  h.size = r.LE32();
  if (h.size == 12) {
    h.core = true;
    h.width = r.LE16();
    h.height = r.LE16();
    r.Skip(2);
    h.bits = r.LE16();
    return h;
  }
  if (h.size < 40 || h.size > 1024) throw FormatError("Unknown bitmap header size " + std::to_string(h.size));
  h.width = std::int32_t(r.LE32());
  h.height = std::int32_t(r.LE32());
  r.Skip(2);
  h.bits = r.LE16();
  h.compression = r.LE32();
  r.Skip(4);
  h.xppm = r.LE32();
  h.yppm = r.LE32();
  h.colors_used = r.LE32();
  r.Skip(4);
  if (h.size >= 52) {
    for (int i = 0; i < (h.size >= 56 ? 4 : 3); ++i) h.masks[i] = r.LE32();
    r.Skip(h.size - (h.size >= 56 ? 56 : 52));
  } else {
    r.Skip(h.size - 40);
    if (h.compression == kBiBitFields)
      for (int i = 0; i < 3; ++i) h.masks[i] = r.LE32();
  }
  if (h.height < 0) {
    h.top_down = true;
    h.height = -h.height;
  }
  return h;
}

// Extracts a channel through a bit mask and scales it to 0..255.
struct TMaskChannel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;
  explicit TMaskChannel(std::uint32_t m = 0) : mask(m) {
    if (!m) return;
    shift = std::countr_zero(m);
    max = m >> shift;
  }
  std::uint8_t operator()(std::uint32_t v) const {
    if (!mask) return 0;
    return std::uint8_t(std::uint64_t((v & mask) >> shift) * 255 / max);
  }
};

// Run-length data into the picture, which holds the first colour where the
// data leaves pixels out.
void DecodeRle(TByteReader& r, const TDibHeader& h, const TPalette& palette, TPictureBitmap& picture) {
  const int w = int(h.width), height = int(h.height);
  int x = 0, row = 0;  // row counted from the bottom
  auto put = [&](std::uint8_t v) {
    if (x < w && row < height) picture.SetPixel(x, height - 1 - row, palette[v]);
    ++x;
  };
  while (row < height && !r.AtEnd()) {
    const int count = r.U8();
    const int value = r.U8();
    if (count > 0) {
      for (int i = 0; i < count; ++i)
        put(h.compression == kBiRle8 ? std::uint8_t(value)
                                     : std::uint8_t(i % 2 ? value & 15 : value >> 4));
    } else if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      x += r.U8();
      row += r.U8();
    } else {
      const int bytes = h.compression == kBiRle8 ? value : (value + 1) / 2;
      TByteSpan lit = r.Bytes(std::size_t(bytes));
      for (int i = 0; i < value; ++i)
        put(h.compression == kBiRle8 ? lit[i] : std::uint8_t(i % 2 ? lit[i / 2] & 15 : lit[i / 2] >> 4));
      if (bytes & 1) r.Skip(1);
    }
  }
}

bool IsBlack(TColor c) { return c == kBlack; }
bool IsWhite(TColor c) { return c == kWhite; }

}  // namespace

void DecodeDib(const TDibSource& source, TPictureBitmap& picture, TIOParams& params) {
  TByteReader r(source.data, source.header);
  TDibHeader h = ReadHeader(r);
  if (source.icon) h.height /= 2;
  if (h.bits != 1 && h.bits != 2 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 &&
      h.bits != 32)
    throw FormatError("Unsupported bitmap depth " + std::to_string(h.bits));
  if (h.compression == kBiRle8 && h.bits != 8) throw FormatError("Run-length 8 needs 8 bits");
  if (h.compression == kBiRle4 && h.bits != 4) throw FormatError("Run-length 4 needs 4 bits");
  if (h.compression == kBiBitFields && h.bits != 16 && h.bits != 32)
    throw FormatError("Bit fields need 16 or 32 bits");
  if (h.compression > kBiBitFields) throw FormatError("Unsupported bitmap compression");
  CheckPictureSize(h.width, h.height);
  const int w = int(h.width), height = int(h.height);

  TPalette palette;
  if (h.bits <= 8) {
    const std::uint32_t max_colors = 1u << h.bits;
    std::uint32_t n = h.colors_used && h.colors_used < max_colors ? h.colors_used : max_colors;
    for (std::uint32_t i = 0; i < n; ++i) {
      if (r.Left() < (h.core ? 3u : 4u)) break;  // short palettes happen; the rest is black
      const std::uint8_t b = r.U8(), g = r.U8(), red = r.U8();
      if (!h.core) r.U8();
      palette.push_back(MakeColor(red, g, b));
    }
    palette.resize(max_colors, kBlack);
  }
  if (source.pixels) r.Seek(*source.pixels);

  const std::size_t stride = TPictureBitmap::StrideFor(w, h.bits);
  // Refuse before allocating what the file cannot hold: all uncompressed
  // rows, or as many pixels as runs of 255 in every two bytes give.
  const bool rle = h.compression == kBiRle4 || h.compression == kBiRle8;
  if (rle ? (std::uint64_t(r.Left()) / 2 + 1) * 255 < std::uint64_t(w) * std::uint64_t(height)
          : r.Left() / stride < std::size_t(height))
    throw FormatError("Unexpected end of file");
  const bool mono = h.bits == 1 && ((IsBlack(palette[0]) && IsWhite(palette[1])) ||
                                    (IsWhite(palette[0]) && IsBlack(palette[1])));
  TPictureBitmap result(w, height, mono ? PixelFormat::Mono1 : PixelFormat::Bgr24);

  if (rle) {
    result.Fill(palette[0]);
    DecodeRle(r, h, palette, result);
  } else {
    const TMaskChannel red(h.compression == kBiBitFields ? h.masks[0] : h.bits == 16 ? 0x7C00 : 0xFF0000);
    const TMaskChannel green(h.compression == kBiBitFields ? h.masks[1] : h.bits == 16 ? 0x03E0 : 0xFF00);
    const TMaskChannel blue(h.compression == kBiBitFields ? h.masks[2] : h.bits == 16 ? 0x001F : 0xFF);
    const bool inverted = mono && IsWhite(palette[0]);
    for (int i = 0; i < height; ++i) {
      const int y = h.top_down ? i : height - 1 - i;
      TByteSpan row = r.Bytes(stride);
      std::uint8_t* out = result.Row(y);
      if (mono) {
        const std::size_t n = (std::size_t(w) + 7) / 8;
        for (std::size_t k = 0; k < n; ++k) out[k] = inverted ? std::uint8_t(~row[k]) : row[k];
        continue;
      }
      for (int x = 0; x < w; ++x, out += 3) {
        TColor c;
        if (h.bits <= 8) {
          const int per_byte = 8 / h.bits;
          const int shift = 8 - h.bits * (x % per_byte + 1);
          c = palette[(row[x / per_byte] >> shift) & ((1 << h.bits) - 1)];
        } else if (h.bits == 24) {
          c = MakeColor(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        } else {
          std::uint32_t v = h.bits == 16 ? std::uint32_t(row[2 * x] | row[2 * x + 1] << 8)
                                         : std::uint32_t(row[4 * x] | row[4 * x + 1] << 8 |
                                                         row[4 * x + 2] << 16 | row[4 * x + 3] << 24);
          c = MakeColor(red(v), green(v), blue(v));
          if (source.icon && h.bits == 32) {
            // Icons carry alpha in the top byte: show them over white.
            const int a = row[4 * x + 3];
            auto over = [a](int v8) { return std::uint8_t((v8 * a + 255 * (255 - a) + 127) / 255); };
            c = MakeColor(over(RedOf(c)), over(GreenOf(c)), over(BlueOf(c)));
          }
        }
        out[0] = BlueOf(c);
        out[1] = GreenOf(c);
        out[2] = RedOf(c);
      }
    }
    if (source.icon && h.bits != 32 && !mono) {
      // The AND mask: set bits are transparent, shown white. A missing mask
      // leaves the colours.
      const std::size_t mask_stride = TPictureBitmap::StrideFor(w, 1);
      if (r.Left() >= mask_stride * std::size_t(height)) {
        for (int i = 0; i < height; ++i) {
          const int y = h.top_down ? i : height - 1 - i;
          TByteSpan row = r.Bytes(mask_stride);
          for (int x = 0; x < w; ++x)
            if (row[x >> 3] & (0x80 >> (x & 7))) result.SetPixel(x, y, kWhite);
        }
      }
    }
  }

  params.bits_per_sample = h.bits <= 8 ? h.bits : 8;
  params.samples_per_pixel = h.bits <= 8 ? 1 : 3;
  const int dx = PixelsPerMetreToDpi(h.xppm), dy = PixelsPerMetreToDpi(h.yppm);
  if (dx > 0 && dy > 0) params.dpi_x = dx, params.dpi_y = dy;
  params.bmp_header = h.core ? TBmpHeader::Os2 : TBmpHeader::Windows;
  params.bmp_rle = h.compression == kBiRle4 || h.compression == kBiRle8;
  picture = std::move(result);
}

void AppendDibRows(TByteWriter& out, const TPictureBitmap& picture, TPaletteMapper* mapper,
                   int bits) {
  const int w = picture.Width();
  const std::size_t stride = TPictureBitmap::StrideFor(w, bits);
  const std::size_t start = out.Size();
  out.Fill(stride * std::size_t(picture.Height()), 0);
  std::uint8_t* base = out.Bytes().data() + start;
  TPictureBitmap expanded;
  const TPictureBitmap& bgr = bits == 24 ? AsBgr24(picture, expanded) : picture;
  if (bits == 24) {
    for (int y = 0; y < picture.Height(); ++y)
      std::copy_n(bgr.Row(y), std::size_t(w) * 3, base + stride * std::size_t(picture.Height() - 1 - y));
    return;
  }
  const TPackedRows rows = PackIndices(picture, *mapper, bits);
  for (int y = 0; y < picture.Height(); ++y)
    std::copy_n(rows.Row(y), stride, base + stride * std::size_t(picture.Height() - 1 - y));
}

void AppendDibPalette(TByteWriter& out, const TPalette& palette) {
  for (TColor c : palette) {
    out.U8(BlueOf(c));
    out.U8(GreenOf(c));
    out.U8(RedOf(c));
    out.U8(0);
  }
}

}  // namespace vistrel
