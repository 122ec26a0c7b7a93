// PCX (ZSoft Paintbrush) and its multi-page container DCX.
#include <algorithm>
#include <cstring>

#include "imaging/formats/color_layout.h"
#include "imaging/formats/format_codecs.h"
#include "imaging/formats/pixel_packing.h"

namespace vistrel {
namespace {

constexpr std::uint32_t kDcxMagic = 0x3ADE68B1;

struct TPcxHeader {
  int version = 5, encoding = 1, bits = 8, planes = 3;
  int xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  int hdpi = 0, vdpi = 0;
  int bytes_per_line = 0;
  TPalette ega;  // 16 entries of the header
};

TPcxHeader ReadHeader(TByteReader& r) {
  TPcxHeader h;
  if (r.U8() != 10) throw FormatError("Not a PCX file");
  h.version = r.U8();
  h.encoding = r.U8();
  h.bits = r.U8();
  h.xmin = r.LE16();
  h.ymin = r.LE16();
  h.xmax = r.LE16();
  h.ymax = r.LE16();
  h.hdpi = r.LE16();
  h.vdpi = r.LE16();
  for (int i = 0; i < 16; ++i) {
    const std::uint8_t red = r.U8(), g = r.U8(), b = r.U8();
    h.ega.push_back(MakeColor(red, g, b));
  }
  r.Skip(1);
  h.planes = r.U8();
  h.bytes_per_line = r.LE16();
  r.Skip(128 - 68);
  return h;
}

void ReadPcxAt(TByteSpan data, std::size_t start, TPictureBitmap& picture, TIOParams& params) {
  TByteReader r(data, start);
  const TPcxHeader h = ReadHeader(r);
  const int bpp = h.bits * h.planes;
  const bool supported = (h.planes == 1 && (h.bits == 1 || h.bits == 2 || h.bits == 4 || h.bits == 8)) ||
                         (h.bits == 1 && h.planes >= 2 && h.planes <= 4) ||
                         (h.bits == 8 && (h.planes == 3 || h.planes == 4));
  if (!supported) throw FormatError("Unsupported PCX depth");
  const std::int64_t width = std::int64_t(h.xmax) - h.xmin + 1;
  const std::int64_t height = std::int64_t(h.ymax) - h.ymin + 1;
  CheckPictureSize(width, height);
  const int w = int(width), hgt = int(height);
  if (std::int64_t(h.bytes_per_line) * 8 < std::int64_t(w) * h.bits) throw FormatError("Bad PCX line length");

  TPalette palette = h.ega;
  if (h.planes == 1 && h.bits == 8) {
    // The 256-colour table closes the file after a 12 marker.
    palette.assign(256, kBlack);
    if (data.size() >= start + 128 + 769 && data[data.size() - 769] == 12) {
      const std::uint8_t* p = data.data() + data.size() - 768;
      for (int i = 0; i < 256; ++i) palette[i] = MakeColor(p[3 * i], p[3 * i + 1], p[3 * i + 2]);
    } else {
      for (int i = 0; i < 256; ++i) palette[i] = MakeColor(std::uint8_t(i), std::uint8_t(i), std::uint8_t(i));
    }
  }
  const std::size_t line = std::size_t(h.bytes_per_line) * std::size_t(h.planes);
  // Every line must be there, stored or in runs of at most 63 bytes from two.
  const std::uint64_t left = data.size() - r.Pos();
  if ((h.encoding == 1 ? (left / 2 + 1) * 63 : left) / line < std::uint64_t(hgt))
    throw FormatError("Unexpected end of file");
  const bool mono = bpp == 1;
  TPictureBitmap result(w, hgt, mono ? PixelFormat::Mono1 : PixelFormat::Bgr24);
  std::vector<std::uint8_t> scan(line);
  std::size_t pos = r.Pos();
  for (int y = 0; y < hgt; ++y) {
    if (h.encoding == 1) {
      std::size_t n = 0;
      while (n < line) {
        if (pos >= data.size()) throw FormatError("Unexpected end of file");
        std::uint8_t b = data[pos++];
        int count = 1;
        if ((b & 0xC0) == 0xC0) {
          count = b & 0x3F;
          if (pos >= data.size()) throw FormatError("Unexpected end of file");
          b = data[pos++];
        }
        // A run may reach into the next line; keep what fits.
        for (; count > 0 && n < line; --count) scan[n++] = b;
      }
    } else {
      if (data.size() - pos < line) throw FormatError("Unexpected end of file");
      std::memcpy(scan.data(), data.data() + pos, line);
      pos += line;
    }
    std::uint8_t* out = result.Row(y);
    if (mono) {
      std::memcpy(out, scan.data(), (std::size_t(w) + 7) / 8);
      continue;
    }
    for (int x = 0; x < w; ++x, out += 3) {
      TColor c;
      if (h.planes >= 3 && h.bits == 8) {
        c = MakeColor(scan[x], scan[h.bytes_per_line + x], scan[2 * std::size_t(h.bytes_per_line) + x]);
      } else if (h.planes == 1) {
        const int per_byte = 8 / h.bits;
        const int shift = 8 - h.bits * (x % per_byte + 1);
        c = palette[(scan[x / per_byte] >> shift) & ((1 << h.bits) - 1)];
      } else {
        int index = 0;
        for (int p = 0; p < h.planes; ++p)
          if (scan[std::size_t(p) * h.bytes_per_line + x / 8] & (0x80 >> (x & 7))) index |= 1 << p;
        c = palette[index];
      }
      out[0] = BlueOf(c);
      out[1] = GreenOf(c);
      out[2] = RedOf(c);
    }
  }
  params.pcx_version = h.version;
  params.pcx_rle = h.encoding == 1;
  const bool true_colour = h.bits == 8 && h.planes >= 3;
  params.bits_per_sample = true_colour ? 8 : bpp;
  params.samples_per_pixel = true_colour ? 3 : 1;
  if (h.hdpi > 0 && h.vdpi > 0) params.dpi_x = h.hdpi, params.dpi_y = h.vdpi;
  picture = std::move(result);
}

void AppendEncodedLine(TByteWriter& out, const std::uint8_t* line, std::size_t n, bool rle) {
  if (!rle) {
    out.Append(TByteSpan(line, n));
    return;
  }
  std::size_t i = 0;
  while (i < n) {
    std::size_t run = 1;
    while (i + run < n && run < 63 && line[i + run] == line[i]) ++run;
    if (run > 1 || (line[i] & 0xC0) == 0xC0) out.U8(std::uint8_t(0xC0 | run));
    out.U8(line[i]);
    i += run;
  }
}

// The PCX file of a picture; 16 colours go as 1 bit in 4 planes, the
// layout every PCX reader knows.
std::vector<std::uint8_t> EncodePcx(const TPictureBitmap& picture, const TIOParams& params) {
  if (picture.Width() > 0xFFFF || picture.Height() > 0xFFFF)
    throw FormatError("PCX pictures are at most 65535 pixels wide and high");
  constexpr TWriterColors kPcxColors{true, false, PaletteDepths({4, 8}), true};
  const TColorDecision colors = DecideColors(picture, DepthRequest(params), kPcxColors);
  int bits = 8, planes = 3;
  if (colors.layout == TColorLayout::BlackWhite) bits = 1, planes = 1;
  else if (colors.layout == TColorLayout::Palette && colors.bits == 4) bits = 1, planes = 4;
  else if (colors.layout == TColorLayout::Palette) bits = 8, planes = 1;

  TPalette palette;
  if (bits == 1 && planes == 1) palette = {kBlack, kWhite};
  else if (planes != 3) palette = BuildPalette(picture, colors.colors);
  // Pixels map to the colours asked for; the file's table is padded after.
  TPaletteMapper mapper(palette.empty() ? TPalette{kBlack} : palette);
  palette.resize(planes == 4 ? 16 : planes == 1 && bits == 8 ? 256 : palette.size(), kBlack);

  const int w = picture.Width();
  const int bytes_per_line = int((std::int64_t(w) * bits + 15) / 16 * 2);
  TByteWriter out;
  out.U8(10);
  out.U8(std::uint8_t(params.pcx_version));
  out.U8(params.pcx_rle ? 1 : 0);
  out.U8(std::uint8_t(bits));
  out.LE16(0);
  out.LE16(0);
  out.LE16(std::uint32_t(w - 1));
  out.LE16(std::uint32_t(picture.Height() - 1));
  out.LE16(std::uint32_t(std::clamp(params.dpi_x, 0, 0xFFFF)));
  out.LE16(std::uint32_t(std::clamp(params.dpi_y, 0, 0xFFFF)));
  for (int i = 0; i < 16; ++i) {
    const TColor c = i < int(palette.size()) && planes * bits <= 4 ? palette[i] : kBlack;
    out.U8(RedOf(c));
    out.U8(GreenOf(c));
    out.U8(BlueOf(c));
  }
  out.U8(0);
  out.U8(std::uint8_t(planes));
  out.LE16(std::uint32_t(bytes_per_line));
  out.LE16(1);  // colour palette
  out.LE16(0);
  out.LE16(0);
  out.Fill(54, 0);

  std::vector<std::uint8_t> line(std::size_t(bytes_per_line) * planes);
  // Rows in the form each layout reads: 1-bit, 24-bit or palette indices.
  TPictureBitmap storage;
  const TPictureBitmap& source = bits == 1 && planes == 1 ? ToMonoByIntensity(picture, storage)
                                 : planes == 3            ? AsBgr24(picture, storage)
                                                          : picture;
  const TPackedRows indices = planes == 3 || (bits == 1 && planes == 1) ? TPackedRows()
                                                                        : PackIndices(picture, mapper, 8);
  for (int y = 0; y < picture.Height(); ++y) {
    std::fill(line.begin(), line.end(), 0);
    if (bits == 1 && planes == 1) {
      std::memcpy(line.data(), source.Row(y), (std::size_t(w) + 7) / 8);
    } else if (planes == 3) {
      const std::uint8_t* src = source.Row(y);
      for (int x = 0; x < w; ++x) {
        line[x] = src[3 * x + 2];
        line[bytes_per_line + x] = src[3 * x + 1];
        line[2 * std::size_t(bytes_per_line) + x] = src[3 * x];
      }
    } else if (planes == 1) {
      std::copy_n(indices.Row(y), w, line.begin());
    } else {
      const std::uint8_t* index = indices.Row(y);
      for (int x = 0; x < w; ++x)
        for (int p = 0; p < 4; ++p)
          if (index[x] & (1 << p)) line[std::size_t(p) * bytes_per_line + x / 8] |= std::uint8_t(0x80 >> (x & 7));
    }
    for (int p = 0; p < planes; ++p)
      AppendEncodedLine(out, line.data() + std::size_t(p) * bytes_per_line, std::size_t(bytes_per_line), params.pcx_rle);
  }
  if (planes == 1 && bits == 8) {
    out.U8(12);
    for (TColor c : palette) {
      out.U8(RedOf(c));
      out.U8(GreenOf(c));
      out.U8(BlueOf(c));
    }
  }
  return std::move(out.Bytes());
}

}  // namespace

void ReadPcx(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  ReadPcxAt(data, 0, picture, params);
}

void WritePcx(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params) {
  WriteAll(file, EncodePcx(picture, params));
}

void ReadDcx(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  TByteReader r(data);
  if (r.LE32() != kDcxMagic) throw FormatError("Not a DCX file");
  const std::uint32_t first = r.LE32();
  if (first < 8 || first >= data.size()) throw FormatError("DCX without pages");
  ReadPcxAt(data, first, picture, params);
}

void WriteDcx(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params) {
  // One page: the directory holds its offset and the closing zero.
  TByteWriter w;
  w.LE32(kDcxMagic);
  w.LE32(12);
  w.LE32(0);
  WriteAll(file, w.Bytes());
  WriteAll(file, EncodePcx(picture, params));
}

}  // namespace vistrel
