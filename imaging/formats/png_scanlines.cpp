#include "imaging/formats/png_scanlines.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "imaging/formats/pixel_packing.h"

namespace vistrel {
namespace {

int FilterType(TPngFilter f) {
  switch (f) {
    case TPngFilter::Sub: return 1;
    case TPngFilter::Up: return 2;
    case TPngFilter::Average: return 3;
    case TPngFilter::Paeth: return 4;
    case TPngFilter::None: break;
  }
  return 0;
}

std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return std::uint8_t(a);
  return std::uint8_t(pb <= pc ? b : c);
}

// `prev` is null for the first scanline of a pass, which filters against zeros.
void FilterRow(int type, const std::uint8_t* raw, const std::uint8_t* prev, std::size_t n, std::size_t bpp,
               std::uint8_t* out) {
  *out++ = std::uint8_t(type);
  switch (type) {
    case 0: std::memcpy(out, raw, n); return;
    case 1:
      for (std::size_t i = 0; i < n; ++i) out[i] = std::uint8_t(raw[i] - (i >= bpp ? raw[i - bpp] : 0));
      return;
    case 2:
      for (std::size_t i = 0; i < n; ++i) out[i] = std::uint8_t(raw[i] - (prev ? prev[i] : 0));
      return;
    case 3:
      for (std::size_t i = 0; i < n; ++i) {
        const int left = i >= bpp ? raw[i - bpp] : 0, up = prev ? prev[i] : 0;
        out[i] = std::uint8_t(raw[i] - ((left + up) >> 1));
      }
      return;
    default:
      for (std::size_t i = 0; i < n; ++i) {
        const int left = i >= bpp ? raw[i - bpp] : 0, up = prev ? prev[i] : 0;
        const int upleft = prev && i >= bpp ? prev[i - bpp] : 0;
        out[i] = std::uint8_t(raw[i] - Paeth(left, up, upleft));
      }
  }
}

}  // namespace

TPngScanlines::TPngScanlines(const TPngImageRows& image, TPngFilter filter)
    : image_(image), filter_type_(FilterType(filter)) {
  struct TPass {
    int x0, y0, dx, dy;
  };
  static constexpr TPass kAdam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                     {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  static constexpr TPass kWhole[] = {{0, 0, 1, 1}};
  const TPass* passes = image.interlaced ? kAdam7 : kWhole;
  const int count = image.interlaced ? 7 : 1;
  for (int p = 0; p < count; ++p) {
    const TPass& pass = passes[p];
    if (image.width <= pass.x0 || image.height <= pass.y0) continue;  // empty passes have no scanlines
    const int width = (image.width - pass.x0 + pass.dx - 1) / pass.dx;
    for (int y = pass.y0; y < image.height; y += pass.dy)
      lines_.push_back({y, pass.x0, pass.dx, width, y == pass.y0});
  }
}

std::size_t TPngScanlines::RowBytes(const TLine& l) const {
  return (std::size_t(l.width) * std::size_t(image_.bits_per_pixel) + 7) / 8;
}

std::size_t TPngScanlines::FilteredSize(int first, int last) const {
  std::size_t n = 0;
  for (int i = first; i < last; ++i) n += 1 + RowBytes(lines_[std::size_t(i)]);
  return n;
}

void TPngScanlines::Raw(const TLine& l, std::uint8_t* out) const {
  const std::uint8_t* row = image_.first_row + std::size_t(l.y) * image_.stride;
  const int bits = image_.bits_per_pixel;
  if (bits == 24 && l.dx == 1 && image_.bgr) {
    SwapRedBlueRow(row, out, std::size_t(l.width));
  } else if (bits == 24) {
    const int r = image_.bgr ? 2 : 0, b = 2 - r;
    for (int i = 0, x = l.x0; i < l.width; ++i, x += l.dx, out += 3) {
      const std::uint8_t* px = row + 3 * std::size_t(x);
      out[0] = px[r], out[1] = px[1], out[2] = px[b];
    }
  } else if (bits == 8) {
    for (int i = 0, x = l.x0; i < l.width; ++i, x += l.dx) out[i] = row[x];
  } else if (l.dx == 1) {
    const std::size_t n = RowBytes(l);
    std::memcpy(out, row, n);
    const int spare = int(n * 8 - std::size_t(l.width) * std::size_t(bits));
    out[n - 1] &= std::uint8_t(0xFF << spare);  // padding bits are zero
  } else {
    std::memset(out, 0, RowBytes(l));
    const unsigned mask = (1u << bits) - 1;
    for (int i = 0, x = l.x0; i < l.width; ++i, x += l.dx) {
      const std::size_t from = std::size_t(x) * std::size_t(bits), to = std::size_t(i) * std::size_t(bits);
      const unsigned v = (row[from / 8] >> (8 - bits - int(from % 8))) & mask;
      out[to / 8] |= std::uint8_t(v << (8 - bits - int(to % 8)));
    }
  }
}

void TPngScanlines::Filter(int first, int last, std::uint8_t* out) const {
  if (first >= last) return;
  const std::size_t bpp = std::size_t(image_.bits_per_pixel >= 8 ? image_.bits_per_pixel / 8 : 1);
  std::size_t widest = 0;
  for (int i = first; i < last; ++i) widest = std::max(widest, RowBytes(lines_[std::size_t(i)]));
  std::vector<std::uint8_t> a(widest), b(widest);
  std::uint8_t* cur = a.data();
  std::uint8_t* prev = b.data();
  const bool needs_prev = filter_type_ >= 2;
  if (needs_prev && !lines_[std::size_t(first)].first_of_pass) Raw(lines_[std::size_t(first) - 1], prev);
  for (int i = first; i < last; ++i) {
    const TLine& l = lines_[std::size_t(i)];
    const std::size_t n = RowBytes(l);
    if (filter_type_ == 0) {  // unfiltered: straight into place
      *out = 0;
      Raw(l, out + 1);
      out += 1 + n;
      continue;
    }
    Raw(l, cur);
    FilterRow(filter_type_, cur, l.first_of_pass ? nullptr : prev, n, bpp, out);
    out += 1 + n;
    std::swap(cur, prev);
  }
}

}  // namespace vistrel
