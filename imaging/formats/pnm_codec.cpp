// Portable bit, grey and pixel maps (P1 to P6), read and written.
#include <algorithm>
#include <string>
#include <vector>

#include "imaging/formats/format_codecs.h"
#include "imaging/formats/pixel_packing.h"

namespace vistrel {
namespace {

void SkipSpaceAndComments(TByteReader& r) {
  while (!r.AtEnd()) {
    TByteReader peek = r;
    const std::uint8_t c = peek.U8();
    if (c == '#') {
      while (!r.AtEnd() && r.U8() != '\n') {
      }
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
      r.Skip(1);
    } else {
      return;
    }
  }
}

int ReadNumber(TByteReader& r) {
  SkipSpaceAndComments(r);
  std::int64_t v = 0;
  int digits = 0;
  while (!r.AtEnd()) {
    TByteReader peek = r;
    const std::uint8_t c = peek.U8();
    if (c < '0' || c > '9') break;
    r.Skip(1);
    v = v * 10 + (c - '0');
    if (v > 0x7FFFFFFF) throw FormatError("Number too large in portable map");
    ++digits;
  }
  if (digits == 0) throw FormatError("Bad portable map header");
  return int(v);
}

// Binary samples of one row to 8 bits by the table `scale` (one entry a
// value up to the maximum); samples above the maximum count as it.
void ReadBinaryRow(const std::uint8_t* in, int width, int channels, int bytes, int maxval,
                   const std::vector<std::uint8_t>& scale, std::uint8_t* out) {
  const std::size_t samples = std::size_t(width) * std::size_t(channels);
  if (bytes == 1 && maxval == 255 && channels == 3) {
    SwapRedBlueRow(in, out, std::size_t(width));
    return;
  }
  auto value = [&](std::size_t i) -> std::uint8_t {
    const int v = bytes == 2 ? in[2 * i] << 8 | in[2 * i + 1] : in[i];
    return scale[std::size_t(std::min(v, maxval))];
  };
  if (channels == 3) {
    for (std::size_t i = 0; i < samples; i += 3, out += 3) {
      out[0] = value(i + 2);
      out[1] = value(i + 1);
      out[2] = value(i);
    }
  } else {
    for (std::size_t i = 0; i < samples; ++i, out += 3) out[0] = out[1] = out[2] = value(i);
  }
}

}  // namespace

void ReadPortableMap(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  TByteReader r(data);
  if (r.U8() != 'P') throw FormatError("Not a portable map");
  const int kind = r.U8() - '0';
  if (kind < 1 || kind > 6) throw FormatError("Not a portable map");
  const int w = ReadNumber(r), h = ReadNumber(r);
  const int maxval = (kind == 1 || kind == 4) ? 1 : ReadNumber(r);
  if (maxval < 1 || maxval > 65535) throw FormatError("Bad portable map maximum value");
  CheckPictureSize(w, h);
  const bool ascii = kind <= 3;
  if (!ascii) r.Skip(1);  // the single blank after the header
  const bool bits = kind == 1 || kind == 4;
  const int channels = (kind == 3 || kind == 6) ? 3 : 1;
  const int bytes = maxval > 255 ? 2 : 1;
  const std::size_t row_bytes = bits ? (std::size_t(w) + 7) / 8 : std::size_t(w) * channels * bytes;
  if (!ascii) {
    if (r.Left() / row_bytes < std::size_t(h)) throw FormatError("Unexpected end of file");
  } else {
    // A digit a pixel at least, or a number and a blank a sample.
    const std::size_t samples = std::size_t(w) * std::size_t(h) * std::size_t(channels);
    if (r.Left() < (bits ? samples : 2 * samples - 1)) throw FormatError("Unexpected end of file");
  }
  std::vector<std::uint8_t> scale(std::size_t(maxval) + 1);
  for (int v = 0; v <= maxval; ++v) scale[std::size_t(v)] = std::uint8_t(v * 255 / maxval);
  auto ascii_sample = [&]() -> int {
    if (bits) {
      SkipSpaceAndComments(r);
      const std::uint8_t c = r.U8();
      if (c != '0' && c != '1') throw FormatError("Bad bit in portable bit map");
      return c - '0';
    }
    return scale[std::size_t(std::min(ReadNumber(r), maxval))];
  };
  TPictureBitmap result(w, h, bits ? PixelFormat::Mono1 : PixelFormat::Bgr24);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* out = result.Row(y);
    if (!ascii) {
      TByteSpan row = r.Bytes(row_bytes);
      if (bits) {
        for (std::size_t k = 0; k < row_bytes; ++k) out[k] = std::uint8_t(~row[k]);  // 1 is black
      } else {
        ReadBinaryRow(row.data(), w, channels, bytes, maxval, scale, out);
      }
    } else if (bits) {
      for (int x = 0; x < w; ++x)
        if (ascii_sample() == 0) out[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
    } else {
      for (int x = 0; x < w; ++x, out += 3) {
        const int red = ascii_sample();
        const int g = channels == 3 ? ascii_sample() : red;
        const int b = channels == 3 ? ascii_sample() : red;
        out[0] = std::uint8_t(b);
        out[1] = std::uint8_t(g);
        out[2] = std::uint8_t(red);
      }
    }
  }
  params.bits_per_sample = bits ? 1 : bytes * 8;
  params.samples_per_pixel = channels;
  picture = std::move(result);
}

namespace {

enum class TPnmKind { Bits, Grey, Pixels, Any };

void WritePnm(std::FILE* file, const TPictureBitmap& picture, TPnmKind kind) {
  if (kind == TPnmKind::Any) kind = picture.IsMono() ? TPnmKind::Bits : TPnmKind::Pixels;
  const int w = picture.Width(), h = picture.Height();
  const char* magic = kind == TPnmKind::Bits ? "P4" : kind == TPnmKind::Grey ? "P5" : "P6";
  const std::string header = std::string(magic) + "\n" + std::to_string(w) + " " + std::to_string(h) + "\n" +
                             (kind == TPnmKind::Bits ? "" : "255\n");
  WriteAll(file, TByteSpan(reinterpret_cast<const std::uint8_t*>(header.data()), header.size()));
  TPictureBitmap storage;
  const TPictureBitmap& rows = kind == TPnmKind::Bits ? ToMonoByIntensity(picture, storage) : AsBgr24(picture, storage);
  const std::size_t row_bytes = kind == TPnmKind::Bits   ? (std::size_t(w) + 7) / 8
                                : kind == TPnmKind::Grey ? std::size_t(w)
                                                         : std::size_t(w) * 3;
  // Rows go out in blocks of about a megabyte.
  const int rows_per_block = int(std::clamp<std::size_t>((std::size_t(1) << 20) / row_bytes, 1, std::size_t(h)));
  std::vector<std::uint8_t> block(row_bytes * std::size_t(rows_per_block));
  for (int y0 = 0; y0 < h; y0 += rows_per_block) {
    const int n = std::min(rows_per_block, h - y0);
    for (int i = 0; i < n; ++i) {
      const std::uint8_t* p = rows.Row(y0 + i);
      std::uint8_t* out = block.data() + std::size_t(i) * row_bytes;
      if (kind == TPnmKind::Pixels) {
        SwapRedBlueRow(p, out, std::size_t(w));
      } else if (kind == TPnmKind::Grey) {
        for (int x = 0; x < w; ++x, p += 3) out[x] = std::uint8_t((p[2] * 299 + p[1] * 587 + p[0] * 114 + 500) / 1000);
      } else {
        for (std::size_t k = 0; k < row_bytes; ++k) out[k] = std::uint8_t(~p[k]);  // 1 is black
        if (w & 7) out[row_bytes - 1] &= std::uint8_t(0xFF << (8 - (w & 7)));
      }
    }
    WriteAll(file, TByteSpan(block.data(), row_bytes * std::size_t(n)));
  }
}

}  // namespace

void WritePbm(std::FILE* file, const TPictureBitmap& picture, const TIOParams&) {
  WritePnm(file, picture, TPnmKind::Bits);
}
void WritePgm(std::FILE* file, const TPictureBitmap& picture, const TIOParams&) {
  WritePnm(file, picture, TPnmKind::Grey);
}
void WritePpm(std::FILE* file, const TPictureBitmap& picture, const TIOParams&) {
  WritePnm(file, picture, TPnmKind::Pixels);
}
void WritePxm(std::FILE* file, const TPictureBitmap& picture, const TIOParams&) {
  WritePnm(file, picture, TPnmKind::Any);
}

}  // namespace vistrel
