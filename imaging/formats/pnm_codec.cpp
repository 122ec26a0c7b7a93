// Portable bit, grey and pixel maps (P1 to P6), read and written.
#include <algorithm>
#include <string>

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
  auto sample = [&]() -> int {
    int v;
    if (ascii) {
      if (bits) {
        SkipSpaceAndComments(r);
        const std::uint8_t c = r.U8();
        if (c != '0' && c != '1') throw FormatError("Bad bit in portable bit map");
        return c - '0';
      }
      v = ReadNumber(r);
    } else {
      v = bytes == 2 ? r.BE16() : r.U8();
    }
    return std::min(v, maxval) * 255 / maxval;
  };
  if (!ascii) {
    const std::size_t row = bits ? (std::size_t(w) + 7) / 8 : std::size_t(w) * channels * bytes;
    if (r.Left() / row < std::size_t(h)) throw FormatError("Unexpected end of file");
  } else {
    // A digit a pixel at least, or a number and a blank a sample.
    const std::size_t samples = std::size_t(w) * std::size_t(h) * std::size_t(channels);
    if (r.Left() < (bits ? samples : 2 * samples - 1)) throw FormatError("Unexpected end of file");
  }
  TPictureBitmap result(w, h, bits ? PixelFormat::Mono1 : PixelFormat::Bgr24);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* out = result.Row(y);
    if (bits) {
      if (kind == 4) {
        TByteSpan row = r.Bytes((std::size_t(w) + 7) / 8);
        for (std::size_t k = 0; k < row.size(); ++k) out[k] = std::uint8_t(~row[k]);  // 1 is black
      } else {
        for (int x = 0; x < w; ++x)
          if (sample() == 0) out[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
      }
      continue;
    }
    for (int x = 0; x < w; ++x, out += 3) {
      const int red = sample();
      const int g = channels == 3 ? sample() : red;
      const int b = channels == 3 ? sample() : red;
      out[0] = std::uint8_t(b);
      out[1] = std::uint8_t(g);
      out[2] = std::uint8_t(red);
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
  TByteWriter out;
  const char* magic = kind == TPnmKind::Bits ? "P4" : kind == TPnmKind::Grey ? "P5" : "P6";
  out.Append(std::string(magic) + "\n" + std::to_string(w) + " " + std::to_string(h) + "\n" +
             (kind == TPnmKind::Bits ? "" : "255\n"));
  if (kind == TPnmKind::Bits) {
    TPictureBitmap storage;
    const TPictureBitmap& mono = ToMonoByIntensity(picture, storage);
    const std::size_t n = (std::size_t(w) + 7) / 8;
    for (int y = 0; y < h; ++y)
      for (std::size_t k = 0; k < n; ++k) {
        std::uint8_t v = std::uint8_t(~mono.Row(y)[k]);
        if (k == n - 1 && (w & 7)) v &= std::uint8_t(0xFF << (8 - (w & 7)));
        out.U8(v);
      }
  } else {
    TPictureBitmap storage;
    const TPictureBitmap& bgr = AsBgr24(picture, storage);
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* p = bgr.Row(y);
      for (int x = 0; x < w; ++x, p += 3) {
        if (kind == TPnmKind::Grey) {
          out.U8(std::uint8_t((p[2] * 299 + p[1] * 587 + p[0] * 114 + 500) / 1000));
        } else {
          out.U8(p[2]);
          out.U8(p[1]);
          out.U8(p[0]);
        }
      }
      if (out.Size() > (1u << 20)) {
        WriteAll(file, out.Bytes());
        out.Bytes().clear();
      }
    }
  }
  WriteAll(file, out.Bytes());
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
