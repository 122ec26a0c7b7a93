// GIF writer: global palette, graphic control extension, one image and a
// comment extension, whatever the version text says.
#include <algorithm>

#include "imaging/color_quantizer.h"
#include "imaging/formats/color_layout.h"
#include "imaging/formats/format_codecs.h"
#include "imaging/formats/gif_lzw.h"

namespace vistrel {
namespace {

// Row order of an interlaced image: every 8th from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(std::size_t(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = start[pass]; y < height; y += step[pass]) rows.push_back(y);
  return rows;
}

}  // namespace

void WriteGif(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params) {
  if (picture.Width() > 0xFFFF || picture.Height() > 0xFFFF)
    throw FormatError("GIF pictures are at most 65535 pixels wide and high");
  const int asked = std::clamp(params.bits_per_sample, 1, 8);
  const TColorRequest request{asked == 1 ? TColorLayout::BlackWhite : TColorLayout::Palette, asked,
                              DepthFromFile(params)};
  constexpr TWriterColors kGifColors{true, false, PaletteDepths({1, 2, 3, 4, 5, 6, 7, 8}), false};
  const TColorDecision colors = DecideColors(picture, request, kGifColors);
  const int b = colors.bits;
  TPalette palette = colors.layout == TColorLayout::BlackWhite ? TPalette{kBlack, kWhite}
                                                                : BuildPalette(picture, colors.colors);
  // Pixels map to the colours asked for; the file's table is padded after.
  TPaletteMapper mapper(palette);
  palette.resize(std::size_t(1) << b, kBlack);

  TByteWriter w;
  std::string version = params.gif_version;
  version.resize(6, ' ');
  w.Append(version);
  w.LE16(std::uint32_t(picture.Width()));
  w.LE16(std::uint32_t(picture.Height()));
  w.U8(std::uint8_t(0x80 | (b - 1) << 4 | (b - 1)));
  const TRgb& bg = params.gif_background;
  w.U8(mapper.Index(bg.r, bg.g, bg.b));
  w.U8(0);
  for (TColor c : palette) {
    w.U8(RedOf(c));
    w.U8(GreenOf(c));
    w.U8(BlueOf(c));
  }

  const TRgb& tc = params.gif_transparent_color;
  w.Append(std::string_view("\x21\xF9\x04", 3));
  w.U8(std::uint8_t((params.gif_transparent ? 1 : 0) | 0x08));
  w.LE16(std::uint32_t(params.gif_delay) & 0xFFFF);
  w.U8(mapper.Index(tc.r, tc.g, tc.b));
  w.U8(0);

  w.U8(0x2C);
  w.LE16(std::uint32_t(params.gif_left) & 0xFFFF);
  w.LE16(std::uint32_t(params.gif_top) & 0xFFFF);
  w.LE16(std::uint32_t(picture.Width()));
  w.LE16(std::uint32_t(picture.Height()));
  w.U8(params.gif_interlaced ? 0x40 : 0x00);

  const int code_size = std::max(b, 2);
  w.U8(std::uint8_t(code_size));
  {
    TGifLzwEncoder lzw(code_size, w.Bytes());
    std::vector<std::uint8_t> indices(std::size_t(picture.Width()));
    const std::uint8_t black = mapper.Index(kBlack), white = mapper.Index(kWhite);
    for (int y : RowOrder(picture.Height(), params.gif_interlaced)) {
      if (picture.IsMono()) {
        const std::uint8_t* row = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x)
          indices[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? white : black;
      } else {
        mapper.MapRow(picture.Row(y), picture.Width(), indices.data());
      }
      for (std::uint8_t i : indices) lzw.Put(i);
      if (w.Size() > (1u << 20)) {  // keep the memory small for big pictures
        WriteAll(file, w.Bytes());
        w.Bytes().clear();
      }
    }
    lzw.Finish();
  }
  w.U8(0);

  w.U8(0x21);
  w.U8(0xFE);
  for (const std::string& comment : params.gif_comments) {
    for (std::size_t at = 0; at < comment.size(); at += 255) {
      const std::size_t n = std::min<std::size_t>(comment.size() - at, 255);
      w.U8(std::uint8_t(n));
      w.Append(std::string_view(comment).substr(at, n));
    }
  }
  w.U8(0);
  w.U8(0x3B);
  WriteAll(file, w.Bytes());
}

}  // namespace vistrel
