#include "output/print_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vistrel {

int MulDiv(int a, int b, int c) {
  if (c == 0) return 0;
  const std::int64_t num = std::int64_t(a) * b;
  const std::int64_t den = c;
  const std::int64_t q = num / den;
  const std::int64_t rem = num % den;
  // Halves and more round away from zero.
  if (2 * std::llabs(rem) >= std::llabs(den)) return int(q + ((num < 0) != (den < 0) ? -1 : 1));
  return int(q);
}

int RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff > 0.5) return int(floor) + 1;
  if (diff < 0.5) return int(floor);
  return std::fmod(floor, 2.0) == 0 ? int(floor) : int(floor) + 1;
}

TPrintGeometry PrintGeometry(const TPrintGeometryInput& in) {
  TPrintGeometry g;
  const int fx = in.screen_dpi_x > 0 ? RoundHalfEven(double(in.printer_dpi_x) / in.screen_dpi_x) : 1;
  const int fy = in.screen_dpi_y > 0 ? RoundHalfEven(double(in.printer_dpi_y) / in.screen_dpi_y) : 1;
  int w = in.picture_width * fx;
  int h = in.picture_height * fy;
  const int pw = in.page_width;

  // A line's height and 4 pixels go even without a footer line.
  const int footer = (in.footer_lines + 1) * in.line_height;
  const int ph = in.page_height - footer - (footer > 0 ? 4 : 0);
  g.area_height = ph;

  if (in.scaling == TPrintScaling::PicturePercent) {
    w = MulDiv(w, in.picture_percent, 100);
    h = MulDiv(h, in.picture_percent, 100);
  } else if (in.scaling == TPrintScaling::PagePercent) {
    w = MulDiv(pw, in.page_percent, 100);
    h = MulDiv(ph, in.page_percent, 100);
  }

  if (in.keep_proportions) {
    if (w >= pw && pw > 0) {
      const double r = double(w) / pw;
      h = RoundHalfEven(h / r);
      w = pw;
    }
    if (h >= ph && ph > 0) {
      const double r = double(h) / ph;
      w = RoundHalfEven(w / r);
      h = ph;
    }
  } else {
    w = std::min(w, pw);
    h = std::min(h, ph);
  }

  int x = 0, y = 0;
  switch (in.alignment) {
    case 0: x = (pw - w) / 2; y = (ph - h) / 2; break;
    case 1: break;
    case 2: x = pw - w; break;
    case 3: x = (pw - w) / 2; break;
    case 4: y = ph - h; break;
    case 5: x = pw - w; y = ph - h; break;
    case 6: x = (pw - w) / 2; y = ph - h; break;
    case 7: y = (ph - h) / 2; break;
    case 8: x = pw - w; y = (ph - h) / 2; break;
    default: break;
  }
  g.x = x;
  g.y = y;
  g.width = w;
  g.height = h;
  g.footer_x = in.line_height / 2;
  g.footer_y = ph + in.line_height / 2;
  return g;
}

TPreviewPaper PreviewPaper(int page_width, int page_height, bool landscape, bool original_size) {
  TPreviewPaper p;
  const int paper_height = landscape ? 236 : 310;
  const int cap = landscape ? 310 : 236;
  const int steps = std::max(1, page_height / paper_height);
  p.width = std::clamp(page_width / steps, 0, cap);
  p.height = paper_height;
  p.left = (kPreviewAreaWidth - p.width - 8) / 2;
  p.top = (kPreviewAreaHeight - p.height - 8) / 2;
  if (original_size) {
    p.left = p.top = 0;
    p.width *= 4;
    p.height *= 4;
  }
  return p;
}

}  // namespace vistrel
