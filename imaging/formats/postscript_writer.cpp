// PostScript (.ps) and Encapsulated PostScript (.eps): the picture as one
// image in hexadecimal, scaled to fit an A4 page or, for EPS, at 72 dpi.
#include <algorithm>
#include <cmath>

#include "imaging/formats/format_codecs.h"

namespace vistrel {
namespace {

void WritePostScriptFile(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params, bool eps) {
  const int w = picture.Width(), h = picture.Height();
  long sw = w, sh = h, x0 = 0, y0 = 0;
  if (!eps) {
    const int pw = std::max(params.pdf_page_width, 1), ph = std::max(params.pdf_page_height, 1);
    const double s = std::min(double(pw) / w, double(ph) / h);
    sw = std::max(1L, std::lround(w * s));
    sh = std::max(1L, std::lround(h * s));
    y0 = ph - sh;
  }
  TByteWriter out;
  out.Append(std::string(eps ? "%!PS-Adobe-3.0 EPSF-3.0\n" : "%!PS-Adobe-3.0\n"));
  out.Append("%%BoundingBox: " + std::to_string(x0) + " " + std::to_string(y0) + " " + std::to_string(x0 + sw) + " " +
             std::to_string(y0 + sh) + "\n");
  out.Append(std::string("%%Creator: Vistrel-Pro\n%%Pages: 1\n%%EndComments\n%%Page: 1 1\ngsave\n"));
  out.Append(std::to_string(x0) + " " + std::to_string(y0) + " translate\n" + std::to_string(sw) + " " +
             std::to_string(sh) + " scale\n");
  const bool mono = picture.IsMono();
  const std::size_t row_bytes = mono ? (std::size_t(w) + 7) / 8 : std::size_t(w) * 3;
  out.Append("/row " + std::to_string(row_bytes) + " string def\n");
  out.Append(std::to_string(w) + " " + std::to_string(h) + " " + (mono ? "1" : "8") + " [" + std::to_string(w) +
             " 0 0 -" + std::to_string(h) + " 0 " + std::to_string(h) + "]\n");
  out.Append(std::string("{currentfile row readhexstring pop}\n") + (mono ? "image\n" : "false 3 colorimage\n"));
  static const char kHex[] = "0123456789abcdef";
  int column = 0;
  auto hex = [&](std::uint8_t v) {
    out.U8(std::uint8_t(kHex[v >> 4]));
    out.U8(std::uint8_t(kHex[v & 15]));
    if (++column == 38) {
      out.U8('\n');
      column = 0;
    }
  };
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* p = picture.Row(y);
    if (mono) {
      for (std::size_t k = 0; k < row_bytes; ++k) hex(p[k]);  // 1 is white, as PostScript's image reads it
    } else {
      for (int x = 0; x < w; ++x, p += 3) {
        hex(p[2]);
        hex(p[1]);
        hex(p[0]);
      }
    }
    if (out.Size() > (1u << 20)) {
      WriteAll(file, out.Bytes());
      out.Bytes().clear();
    }
  }
  out.Append(std::string("\ngrestore\nshowpage\n%%EOF\n"));
  WriteAll(file, out.Bytes());
}

}  // namespace

void WritePostScript(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params) {
  WritePostScriptFile(file, picture, params, false);
}

void WriteEps(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params) {
  WritePostScriptFile(file, picture, params, true);
}

}  // namespace vistrel
