#include "rotate.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "imaging/operations/mono_bits.h"
#include "imaging/operations/parallel_rows.h"

namespace vistrel {

namespace {

TPictureBitmap SameKind(const TPictureBitmap& picture, int width, int height) {
  TPictureBitmap out(width, height, picture.Format());
  out.SetDpi(picture.DpiX(), picture.DpiY());
  return out;
}

// dst(x', y') = src(map(x', y')) for a quarter or half turn; tiles keep the
// column walks of the source in cache.
template <typename Map>
void Remap24(const TPictureBitmap& src, TPictureBitmap& dst, Map map) {
  constexpr int kTile = 64;
  for (int ty = 0; ty < dst.Height(); ty += kTile)
    for (int tx = 0; tx < dst.Width(); tx += kTile)
      for (int y = ty; y < std::min(ty + kTile, dst.Height()); ++y) {
        std::uint8_t* d = dst.Row(y) + std::size_t(tx) * 3;
        for (int x = tx; x < std::min(tx + kTile, dst.Width()); ++x, d += 3) {
          int sx, sy;
          map(x, y, sx, sy);
          const std::uint8_t* s = src.Row(sy) + std::size_t(sx) * 3;
          d[0] = s[0];
          d[1] = s[1];
          d[2] = s[2];
        }
      }
}

template <typename Map>
void RemapMono(const TPictureBitmap& src, TPictureBitmap& dst, Map map) {
  for (int y = 0; y < dst.Height(); ++y) {
    std::uint8_t* d = dst.Row(y);
    for (int x = 0; x < dst.Width(); ++x) {
      int sx, sy;
      map(x, y, sx, sy);
      SetMonoBit(d, x, MonoBit(src.Row(sy), sx));
    }
  }
}

template <typename Map>
TPictureBitmap Remap(const TPictureBitmap& src, int width, int height, Map map) {
  TPictureBitmap dst = SameKind(src, width, height);
  if (src.IsMono())
    RemapMono(src, dst, map);
  else
    Remap24(src, dst, map);
  return dst;
}

struct TBgr {
  std::uint8_t b, g, r;
};

// One pass of the shear rotation: for each output line, the source line is
// read shifted by a per-line (horizontal pass) or per-column (vertical
// pass) offset, blending two neighbours with 1/256 weights; positions
// outside the source give the background.
struct TShift {
  int whole;   // floor of the offset
  int weight;  // weight of the second neighbour, 0..256
};

TShift MakeShift(double offset, bool antialias) {
  if (!antialias) return {int(std::lround(offset)), 0};
  const double fl = std::floor(offset);
  int weight = int(std::lround((offset - fl) * 256));
  int whole = int(fl);
  if (weight == 256) {
    ++whole;
    weight = 0;
  }
  return {whole, weight};
}

inline void Blend(std::uint8_t* d, const std::uint8_t* a, const std::uint8_t* b, int weight) {
  const int wa = 256 - weight;
  d[0] = std::uint8_t((a[0] * wa + b[0] * weight + 128) >> 8);
  d[1] = std::uint8_t((a[1] * wa + b[1] * weight + 128) >> 8);
  d[2] = std::uint8_t((a[2] * wa + b[2] * weight + 128) >> 8);
}

// Output row `out` (width outW) from source row `src` (width srcW): pixel i
// reads source positions i + shift.whole and the one after.
void ShiftRow(const std::uint8_t* src, int srcW, std::uint8_t* out, int outW, TShift shift, const TBgr& bg) {
  const std::uint8_t bgp[3] = {bg.b, bg.g, bg.r};
  auto at = [&](int sx) { return sx >= 0 && sx < srcW ? src + std::size_t(sx) * 3 : bgp; };
  // Inside: both neighbours are real pixels.
  const int in0 = std::clamp(-shift.whole, 0, outW);
  const int in1 = std::clamp(srcW - 1 - shift.whole, in0, outW);
  for (int i = 0; i < in0; ++i) Blend(out + i * 3, at(i + shift.whole), at(i + shift.whole + 1), shift.weight);
  if (shift.weight == 0) {
    std::copy_n(src + std::size_t(in0 + shift.whole) * 3, std::size_t(in1 - in0) * 3, out + std::size_t(in0) * 3);
  } else {
    const std::uint8_t* s = src + std::size_t(in0 + shift.whole) * 3;
    for (int i = in0; i < in1; ++i, s += 3) Blend(out + i * 3, s, s + 3, shift.weight);
  }
  for (int i = in1; i < outW; ++i) Blend(out + i * 3, at(i + shift.whole), at(i + shift.whole + 1), shift.weight);
}

// Horizontal shear: row j of the output is the source row shifted by
// (srcW - outW) / 2 - a * v, v being the row's distance from the centre.
TPictureBitmap ShearRows(const TPictureBitmap& src, int outW, double a, bool antialias, const TBgr& bg,
                         TProgress& progress) {
  TPictureBitmap out = SameKind(src, outW, src.Height());
  const int h = src.Height();
  ParallelRows(h, std::int64_t(outW) * h, progress, [&](int y0, int y1) {
    for (int j = y0; j < y1; ++j) {
      const double v = j + 0.5 - h / 2.0;
      const TShift shift = MakeShift((src.Width() - outW) / 2.0 - a * v, antialias);
      ShiftRow(src.Row(j), src.Width(), out.Row(j), outW, shift, bg);
    }
  });
  return out;
}

// The second and third shears together, row by row: row j of the vertical
// shear (column x of `src` shifted by (srcH - outH) / 2 - b * u, u being the
// column's distance from the centre) goes to a scratch row, which the
// second horizontal shear then writes into the output. This spares a full
// intermediate picture.
TPictureBitmap ShearColumnsThenRows(const TPictureBitmap& src, int outW, int outH, double a, double b,
                                    bool antialias, const TBgr& bg, TProgress& progress) {
  const int w = src.Width(), h = src.Height();
  TPictureBitmap out = SameKind(src, outW, outH);
  std::vector<TShift> shifts(std::size_t(w), TShift{});
  for (int x = 0; x < w; ++x)
    shifts[std::size_t(x)] = MakeShift((h - outH) / 2.0 - b * (x + 0.5 - w / 2.0), antialias);
  const std::uint8_t bgp[3] = {bg.b, bg.g, bg.r};
  ParallelRows(outH, std::int64_t(w + outW) * outH, progress, [&](int y0, int y1) {
    std::vector<std::uint8_t> scratch(std::size_t(w) * 3);
    for (int j = y0; j < y1; ++j) {
      std::uint8_t* d = scratch.data();
      for (int x = 0; x < w; ++x, d += 3) {
        const TShift s = shifts[std::size_t(x)];
        const int sy = j + s.whole;
        const std::uint8_t* p0 = sy >= 0 && sy < h ? src.Row(sy) + std::size_t(x) * 3 : bgp;
        if (s.weight == 0) {
          d[0] = p0[0];
          d[1] = p0[1];
          d[2] = p0[2];
          continue;
        }
        const std::uint8_t* p1 = sy + 1 >= 0 && sy + 1 < h ? src.Row(sy + 1) + std::size_t(x) * 3 : bgp;
        Blend(d, p0, p1, s.weight);
      }
      const double v = j + 0.5 - outH / 2.0;
      ShiftRow(scratch.data(), w, out.Row(j), outW, MakeShift((w - outW) / 2.0 - a * v, antialias), bg);
    }
  });
  return out;
}

// |degrees| <= 45, not 0.
TPictureBitmap ShearRotate(const TPictureBitmap& picture, double degrees, bool antialias, TColor background,
                           TProgress& progress) {
  const double theta = degrees * std::numbers::pi / 180;
  // In screen coordinates (y down) a counter-clockwise turn is
  // Sx(a) Sy(b) Sx(a) with a = tan(theta / 2), b = -sin(theta).
  const double a = std::tan(theta / 2), b = -std::sin(theta);
  int outW, outH;
  RotatedSize(picture.Width(), picture.Height(), degrees, outW, outH);
  const int midW = int(std::ceil(picture.Width() + std::fabs(a) * picture.Height() - 1e-9));
  // Every pass allocates before it writes, so a refused size leaves nothing
  // half done.
  if (std::int64_t(midW) * picture.Height() > TPictureBitmap::kMaxPixels ||
      std::int64_t(outW) * outH > TPictureBitmap::kMaxPixels)
    throw PictureSizeError("Picture too large: " + std::to_string(outW) + " x " + std::to_string(outH) +
                           " pixels after rotation");
  const TBgr bg{BlueOf(background), GreenOf(background), RedOf(background)};
  TProgress first_part = progress.Part(0, 40), rest = progress.Part(40, 100);
  const TPictureBitmap first = ShearRows(picture, midW, a, antialias, bg, first_part);
  return ShearColumnsThenRows(first, outW, outH, a, b, antialias, bg, rest);
}

// |degrees| <= 45, not 0; 1-bit pictures.
TPictureBitmap NearestRotate(const TPictureBitmap& picture, double degrees, TColor background, TProgress& progress) {
  const double theta = degrees * std::numbers::pi / 180;
  const double c = std::cos(theta), s = std::sin(theta);
  int outW, outH;
  RotatedSize(picture.Width(), picture.Height(), degrees, outW, outH);
  TPictureBitmap out = SameKind(picture, outW, outH);
  out.Fill(background);
  const bool bg_white = out.Pixel(0, 0) == kWhite;
  const int w = picture.Width(), h = picture.Height();
  for (int j = 0; j < outH; ++j) {
    std::uint8_t* d = out.Row(j);
    const double v = j + 0.5 - outH / 2.0;
    for (int i = 0; i < outW; ++i) {
      const double u = i + 0.5 - outW / 2.0;
      // Inverse of x' = x c + y s, y' = -x s + y c.
      const int sx = int(std::floor(u * c - v * s + w / 2.0));
      const int sy = int(std::floor(u * s + v * c + h / 2.0));
      SetMonoBit(d, i, sx >= 0 && sx < w && sy >= 0 && sy < h ? MonoBit(picture.Row(sy), sx) : bg_white);
    }
    progress.Report(j + 1, outH);
  }
  return out;
}

}  // namespace

TPictureBitmap RotateQuarter(const TPictureBitmap& picture, bool counterClockwise) {
  const int w = picture.Width(), h = picture.Height();
  if (counterClockwise)
    return Remap(picture, h, w, [w](int x, int y, int& sx, int& sy) {
      sx = w - 1 - y;
      sy = x;
    });
  return Remap(picture, h, w, [h](int x, int y, int& sx, int& sy) {
    sx = y;
    sy = h - 1 - x;
  });
}

TPictureBitmap RotateHalf(const TPictureBitmap& picture) {
  const int w = picture.Width(), h = picture.Height();
  return Remap(picture, w, h, [w, h](int x, int y, int& sx, int& sy) {
    sx = w - 1 - x;
    sy = h - 1 - y;
  });
}

void RotatedSize(int width, int height, double degrees, int& outWidth, int& outHeight) {
  const double theta = degrees * std::numbers::pi / 180;
  const double c = std::fabs(std::cos(theta)), s = std::fabs(std::sin(theta));
  // A hair of tolerance keeps exact sizes from growing by rounding noise.
  outWidth = std::max(1, int(std::ceil(width * c + height * s - 1e-6)));
  outHeight = std::max(1, int(std::ceil(width * s + height * c - 1e-6)));
}

TPictureBitmap RotatePicture(const TPictureBitmap& picture, double degrees, bool antialias, TColor background,
                             TProgress& progress) {
  if (picture.Empty() || !std::isfinite(degrees)) return picture;
  long long milli = std::llround(std::fmod(degrees, 360.0) * 1000) % 360000;
  int quarters = 0;
  while (milli > 45000) {
    milli -= 90000;
    ++quarters;
  }
  while (milli < -45000) {
    milli += 90000;
    --quarters;
  }
  quarters = ((quarters % 4) + 4) % 4;
  TPictureBitmap turned;
  const TPictureBitmap* current = &picture;
  if (quarters != 0) {
    turned = quarters == 2 ? RotateHalf(picture) : RotateQuarter(picture, quarters == 1);
    current = &turned;
  }
  if (milli == 0) {
    progress.Finish();
    if (quarters == 0) return picture;
    return turned;
  }
  const double rest = milli / 1000.0;
  if (current->IsMono()) return NearestRotate(*current, rest, background, progress);
  return ShearRotate(*current, rest, antialias, background, progress);
}

}  // namespace vistrel
