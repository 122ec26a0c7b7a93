// Windows BMP: "BM" file header, then a DIB.
#include <algorithm>

#include "imaging/formats/color_layout.h"
#include "imaging/formats/dib.h"
#include "imaging/formats/format_codecs.h"
#include "imaging/formats/pixel_packing.h"

namespace vistrel {
namespace {

// Run-length coding of one row of indices: runs as (count, value), stretches
// of differing values of three or more as absolute blocks padded to a word.
// 4-bit rows pack two pixels a byte in both forms.
void AppendRleRow(TByteWriter& out, const std::uint8_t* px, int width, int bits) {
  int i = 0;
  while (i < width) {
    int run = 1;
    while (i + run < width && run < 255 && px[i + run] == px[i]) ++run;
    if (run >= 3 || i + run == width) {
      out.U8(std::uint8_t(run));
      out.U8(bits == 8 ? px[i] : std::uint8_t(px[i] << 4 | px[i]));
      i += run;
      continue;
    }
    // Gather a literal stretch until a run of three begins.
    int len = 0;
    while (i + len < width && len < 255) {
      if (i + len + 2 < width && px[i + len] == px[i + len + 1] && px[i + len] == px[i + len + 2])
        break;
      ++len;
    }
    if (len < 3) {
      for (int k = 0; k < len; ++k) {
        out.U8(1);
        out.U8(bits == 8 ? px[i + k] : std::uint8_t(px[i + k] << 4));
      }
    } else {
      out.U8(0);
      out.U8(std::uint8_t(len));
      int bytes = 0;
      if (bits == 8) {
        for (int k = 0; k < len; ++k) out.U8(px[i + k]);
        bytes = len;
      } else {
        for (int k = 0; k < len; k += 2)
          out.U8(std::uint8_t(px[i + k] << 4 | (k + 1 < len ? px[i + k + 1] : 0)));
        bytes = (len + 1) / 2;
      }
      if (bytes & 1) out.U8(0);
    }
    i += len;
  }
  out.U8(0);
  out.U8(0);
}

}  // namespace

void ReadBmp(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  TByteReader r(data);
  if (data.size() < 18 || r.U8() != 'B' || r.U8() != 'M') throw FormatError("Not a BMP file");
  r.Skip(8);
  const std::uint32_t offset = r.LE32();
  TDibSource source{data, 14, std::nullopt, false};
  if (offset >= 14 + 12 && offset < data.size()) source.pixels = offset;
  DecodeDib(source, picture, params);
}

void WriteBmp(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params) {
  // 1 and 4 bits per sample give 1- and 4-bit files whatever the samples.
  const int bps = params.bits_per_sample;
  TColorRequest request{TColorLayout::Rgb, 8, DepthFromFile(params)};
  if (bps == 1) request.layout = TColorLayout::BlackWhite, request.bits = 1;
  else if (bps == 4) request.layout = TColorLayout::Palette, request.bits = 4;
  else if (params.samples_per_pixel == 1) request.layout = TColorLayout::Palette, request.bits = 8;
  constexpr TWriterColors kBmpColors{true, false, PaletteDepths({1, 4, 8}), true};
  const TColorDecision colors = DecideColors(picture, request, kBmpColors);
  const int bits = colors.layout == TColorLayout::Rgb ? 24 : colors.bits;
  const bool os2 = params.bmp_header == TBmpHeader::Os2;
  const bool rle = params.bmp_rle && (bits == 4 || bits == 8) && !os2;
  if (os2 && (picture.Width() > 0xFFFF || picture.Height() > 0xFFFF))
    throw FormatError("OS/2 bitmaps are at most 65535 pixels wide and high");

  TPalette palette;
  if (colors.layout == TColorLayout::BlackWhite) palette = {kBlack, kWhite};
  else if (bits <= 8) palette = BuildPalette(picture, colors.colors);
  // Pixels map to the colours asked for; the file's table is padded after.
  TPaletteMapper mapper(palette.empty() ? TPalette{kBlack} : palette);
  if (bits <= 8) palette.resize(std::size_t(1) << bits, kBlack);

  const std::uint32_t header_size = os2 ? 12 : 40;
  const std::uint32_t palette_bytes = std::uint32_t(palette.size()) * (os2 ? 3 : 4);
  const std::uint32_t offset = 14 + header_size + palette_bytes;

  TByteWriter pixels;
  if (rle) {
    const TPackedRows rows = PackIndices(picture, mapper, 8);
    for (int y = picture.Height() - 1; y >= 0; --y)
      AppendRleRow(pixels, rows.Row(y), picture.Width(), bits);
    pixels.U8(0);
    pixels.U8(1);
  } else {
    AppendDibRows(pixels, picture, &mapper, bits);
  }
  if (std::uint64_t(offset) + pixels.Size() > 0xFFFFFFFFu) throw FormatError("Picture too large for BMP");

  TByteWriter w;
  w.U8('B');
  w.U8('M');
  w.LE32(offset + std::uint32_t(pixels.Size()));
  w.LE32(0);
  w.LE32(offset);
  w.LE32(header_size);
  if (os2) {
    w.LE16(std::uint32_t(picture.Width()));
    w.LE16(std::uint32_t(picture.Height()));
    w.LE16(1);
    w.LE16(std::uint32_t(bits));
    for (TColor c : palette) {
      w.U8(BlueOf(c));
      w.U8(GreenOf(c));
      w.U8(RedOf(c));
    }
  } else {
    w.LE32(std::uint32_t(picture.Width()));
    w.LE32(std::uint32_t(picture.Height()));
    w.LE16(1);
    w.LE16(std::uint32_t(bits));
    w.LE32(rle ? (bits == 8 ? 1 : 2) : 0);
    w.LE32(std::uint32_t(pixels.Size()));
    w.LE32(DpiToPixelsPerMetre(params.dpi_x));
    w.LE32(DpiToPixelsPerMetre(params.dpi_y));
    w.LE32(std::uint32_t(palette.size()));
    w.LE32(0);
    AppendDibPalette(w, palette);
  }
  WriteAll(file, w.Bytes());
  WriteAll(file, pixels.Bytes());
}

}  // namespace vistrel
