#include "resample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

#include "imaging/operations/mono_bits.h"
#include "imaging/operations/parallel_rows.h"

namespace vistrel {

namespace {

constexpr std::array<std::string_view, 7> kFilterNames = {"none",     "triangle", "hermite", "bell",
                                                          "bspline", "lanczos3", "mitchell"};

double Sinc(double x) {
  if (x == 0) return 1;
  x *= std::numbers::pi;
  return std::sin(x) / x;
}

// Taps of one output pixel: first source index and weights in 1/256.
struct TContrib {
  int first = 0;
  std::vector<int> weights;
};

// Source taps of every output position along one axis. Positions beyond
// either edge mirror back into the picture with the edge pixel repeated
// (-1 reads 0, size reads size - 1); weights are normalised to 256. The
// right half is the left half mirrored, so a mirrored picture resamples to
// the mirrored result exactly.
std::vector<TContrib> Contributions(int oldSize, int newSize, TResampleFilter filter) {
  const bool single = oldSize == 1 || newSize == 1;
  const double scale = single ? double(newSize) / oldSize : double(newSize - 1) / (oldSize - 1);
  const double support = FilterSupport(filter);
  const double width = scale < 1 ? support / scale : support;
  const double fscale = scale < 1 ? 1 / scale : 1;
  std::vector<TContrib> out(std::size_t(newSize), TContrib{});
  std::vector<double> w;
  std::vector<int> idx;
  for (int i = 0; i <= newSize - 1 - i; ++i) {
    // A single pixel on either side sits at the other side's middle.
    const double center = single ? (i + 0.5) / scale - 0.5 : i / scale;
    const int left = int(std::ceil(center - width));
    const int right = int(std::floor(center + width));
    w.clear();
    idx.clear();
    double total = 0;
    for (int j = left; j <= right; ++j) {
      const double weight = FilterWeight(filter, (center - j) / fscale) / fscale;
      if (weight == 0) continue;
      int n = j < 0 ? -j - 1 : (j >= oldSize ? 2 * oldSize - 1 - j : j);
      n = std::clamp(n, 0, oldSize - 1);
      w.push_back(weight);
      idx.push_back(n);
      total += weight;
    }
    if (w.empty() || total == 0) {  // no tap: take the nearest pixel
      w.assign(1, 1.0);
      idx.assign(1, std::clamp(int(std::lround(center)), 0, oldSize - 1));
      total = 1;
    }
    // Taps as a dense run from the lowest to the highest source index, so
    // the inner loops walk memory in order.
    const auto [lo, hi] = std::minmax_element(idx.begin(), idx.end());
    TContrib& c = out[std::size_t(i)];
    c.first = *lo;
    std::vector<double> dense(std::size_t(*hi - *lo + 1), 0.0);
    for (std::size_t k = 0; k < w.size(); ++k) dense[std::size_t(idx[k] - *lo)] += w[k] / total;
    c.weights.resize(dense.size());
    int sum = 0, biggest = 0;
    for (std::size_t k = 0; k < dense.size(); ++k) {
      c.weights[k] = int(std::lround(dense[k] * 256));
      sum += c.weights[k];
      if (std::abs(c.weights[k]) > std::abs(c.weights[std::size_t(biggest)])) biggest = int(k);
    }
    // Rounding must not brighten or darken flat areas. The middle output
    // of the axis keeps its taps symmetric: the correction goes to the
    // middle tap, or half to each of the two middle ones.
    const std::size_t n = c.weights.size();
    if (i == newSize - 1 - i && std::equal(c.weights.begin(), c.weights.end(), c.weights.rbegin())) {
      if (n % 2 == 1) {
        c.weights[n / 2] += 256 - sum;
      } else {
        c.weights[n / 2 - 1] += (256 - sum) / 2;
        c.weights[n / 2] += (256 - sum) / 2;
      }
    } else {
      c.weights[std::size_t(biggest)] += 256 - sum;
    }
    if (i != newSize - 1 - i) {
      TContrib& m = out[std::size_t(newSize - 1 - i)];
      m.first = oldSize - c.first - int(n);
      m.weights.assign(c.weights.rbegin(), c.weights.rend());
    }
  }
  return out;
}

std::uint8_t Clamp8(int v) { return std::uint8_t(std::clamp(v, 0, 255)); }

TPictureBitmap ToColor(const TPictureBitmap& mono) {
  TPictureBitmap out(mono.Width(), mono.Height());
  out.SetDpi(mono.DpiX(), mono.DpiY());
  for (int y = 0; y < mono.Height(); ++y) {
    const std::uint8_t* s = mono.Row(y);
    std::uint8_t* d = out.Row(y);
    for (int x = 0; x < mono.Width(); ++x, d += 3) d[0] = d[1] = d[2] = MonoBit(s, x) ? 255 : 0;
  }
  return out;
}

// The source pixel under the centre of output pixel `i`. A centre on the
// border between two pixels takes the one nearer the middle of the axis,
// so both halves map alike.
int NearestSource(int i, int newSize, int oldSize) {
  const std::int64_t t = (2 * std::int64_t(i) + 1) * oldSize, d = 2 * std::int64_t(newSize);
  const int k = int(t / d);
  return t % d == 0 && 2 * std::int64_t(i) + 1 < newSize ? k - 1 : std::min(k, oldSize - 1);
}

TPictureBitmap Nearest(const TPictureBitmap& src, int width, int height, TProgress& progress) {
  TPictureBitmap out(width, height, src.Format());
  out.SetDpi(src.DpiX(), src.DpiY());
  std::vector<int> xs(std::size_t(width), 0);
  for (int x = 0; x < width; ++x) xs[std::size_t(x)] = NearestSource(x, width, src.Width());
  ParallelRows(height, std::int64_t(width) * height, progress, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      const std::uint8_t* s = src.Row(NearestSource(y, height, src.Height()));
      std::uint8_t* d = out.Row(y);
      if (src.IsMono()) {
        for (int x = 0; x < width; ++x) SetMonoBit(d, x, MonoBit(s, xs[std::size_t(x)]));
        continue;
      }
      for (int x = 0; x < width; ++x, d += 3) {
        const std::uint8_t* p = s + std::size_t(xs[std::size_t(x)]) * 3;
        d[0] = p[0];
        d[1] = p[1];
        d[2] = p[2];
      }
    }
  });
  return out;
}

TPictureBitmap Horizontal(const TPictureBitmap& src, int width, TResampleFilter filter, TProgress& progress) {
  const std::vector<TContrib> contribs = Contributions(src.Width(), width, filter);
  TPictureBitmap out(width, src.Height());
  std::int64_t taps = 0;
  for (const TContrib& c : contribs) taps += std::int64_t(c.weights.size());
  ParallelRows(src.Height(), taps * src.Height(), progress, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      const std::uint8_t* s = src.Row(y);
      std::uint8_t* d = out.Row(y);
      for (const TContrib& c : contribs) {
        const std::uint8_t* p = s + std::size_t(c.first) * 3;
        int b = 0, g = 0, r = 0;
        for (const int w : c.weights) {
          b += p[0] * w;
          g += p[1] * w;
          r += p[2] * w;
          p += 3;
        }
        d[0] = Clamp8((b + 128) >> 8);
        d[1] = Clamp8((g + 128) >> 8);
        d[2] = Clamp8((r + 128) >> 8);
        d += 3;
      }
    }
  });
  return out;
}

TPictureBitmap Vertical(const TPictureBitmap& src, int height, TResampleFilter filter, TProgress& progress) {
  const std::vector<TContrib> contribs = Contributions(src.Height(), height, filter);
  TPictureBitmap out(src.Width(), height);
  const int bytes = src.Width() * 3;
  std::int64_t taps = 0;
  for (const TContrib& c : contribs) taps += std::int64_t(c.weights.size());
  ParallelRows(height, taps * bytes / 3, progress, [&](int y0, int y1) {
    std::vector<int> acc(std::size_t(bytes), 0);
    for (int y = y0; y < y1; ++y) {
      const TContrib& c = contribs[std::size_t(y)];
      std::fill(acc.begin(), acc.end(), 128);
      // Whole source rows are added in turn: long, vectorisable loops.
      for (std::size_t k = 0; k < c.weights.size(); ++k) {
        const std::uint8_t* s = src.Row(c.first + int(k));
        const int w = c.weights[k];
        int* a = acc.data();
        for (int i = 0; i < bytes; ++i) a[i] += s[i] * w;
      }
      std::uint8_t* d = out.Row(y);
      for (int i = 0; i < bytes; ++i) d[i] = Clamp8(acc[std::size_t(i)] >> 8);
    }
  });
  return out;
}

}  // namespace

std::string_view ResampleFilterName(TResampleFilter filter) { return kFilterNames[std::size_t(filter)]; }

std::optional<TResampleFilter> ResampleFilterByName(std::string_view name) {
  for (std::size_t i = 0; i < kFilterNames.size(); ++i)
    if (kFilterNames[i] == name) return TResampleFilter(i);
  return std::nullopt;
}

double FilterSupport(TResampleFilter filter) {
  switch (filter) {
    case TResampleFilter::rfNone:
      return 0.5;
    case TResampleFilter::rfTriangle:
    case TResampleFilter::rfHermite:
      return 1.0;
    case TResampleFilter::rfBell:
      return 1.5;
    case TResampleFilter::rfBSpline:
    case TResampleFilter::rfMitchell:
      return 2.0;
    case TResampleFilter::rfLanczos3:
      return 3.0;
  }
  return 1.0;
}

double FilterWeight(TResampleFilter filter, double x) {
  x = std::fabs(x);
  switch (filter) {
    case TResampleFilter::rfNone:
      return x < 0.5 ? 1 : 0;
    case TResampleFilter::rfTriangle:
      return x < 1 ? 1 - x : 0;
    case TResampleFilter::rfHermite:
      return x < 1 ? (2 * x - 3) * x * x + 1 : 0;
    case TResampleFilter::rfBell:
      if (x < 0.5) return 0.75 - x * x;
      if (x < 1.5) return 0.5 * (x - 1.5) * (x - 1.5);
      return 0;
    case TResampleFilter::rfBSpline:
      if (x < 1) return 0.5 * x * x * x - x * x + 2.0 / 3;
      if (x < 2) return (2 - x) * (2 - x) * (2 - x) / 6;
      return 0;
    case TResampleFilter::rfLanczos3:
      return x < 3 ? Sinc(x) * Sinc(x / 3) : 0;
    case TResampleFilter::rfMitchell:
      if (x < 1) return (7 * x * x * x - 12 * x * x + 16.0 / 3) / 6;
      if (x < 2) return (-7.0 / 3 * x * x * x + 12 * x * x - 20 * x + 32.0 / 3) / 6;
      return 0;
  }
  return 0;
}

bool ResampleTargetSize(int oldWidth, int oldHeight, int requestWidth, int requestHeight, int& width,
                        int& height) {
  width = oldWidth;
  height = oldHeight;
  if (requestWidth < 0 && requestHeight < 0) return false;
  if (oldWidth <= 0 || oldHeight <= 0) return false;
  auto absolute = [](int v) { return v == INT32_MIN ? INT32_MAX : std::abs(v); };
  std::int64_t w, h;
  if (requestWidth == -1)
    w = std::int64_t(requestHeight == 0 ? oldHeight : absolute(requestHeight)) * oldWidth / oldHeight;
  else
    w = requestWidth == 0 ? oldWidth : absolute(requestWidth);
  w = std::max<std::int64_t>(w, 1);
  if (requestHeight == -1)
    h = w * oldHeight / oldWidth;
  else
    h = requestHeight == 0 ? oldHeight : absolute(requestHeight);
  h = std::max<std::int64_t>(h, 1);
  width = int(std::min<std::int64_t>(w, INT32_MAX));
  height = int(std::min<std::int64_t>(h, INT32_MAX));
  return true;
}

TPictureBitmap ResamplePicture(const TPictureBitmap& picture, int width, int height, TResampleFilter filter,
                               TProgress& progress) {
  if (width <= 0 || height <= 0)
    throw PictureSizeError("Invalid picture size " + std::to_string(width) + " x " + std::to_string(height));
  if (std::int64_t(width) * height > TPictureBitmap::kMaxPixels)
    throw PictureSizeError("Picture too large: " + std::to_string(width) + " x " + std::to_string(height) +
                           " pixels");
  if (picture.Empty()) return picture;
  if (filter == TResampleFilter::rfNone) return Nearest(picture, width, height, progress);
  const TPictureBitmap color = picture.IsMono() ? ToColor(picture) : TPictureBitmap();
  const TPictureBitmap& src = picture.IsMono() ? color : picture;
  if (std::int64_t(width) * src.Height() > TPictureBitmap::kMaxPixels)
    throw PictureSizeError("Picture too large: " + std::to_string(width) + " x " + std::to_string(src.Height()) +
                           " pixels");
  TProgress first = progress.Part(0, 50), second = progress.Part(50, 100);
  const TPictureBitmap wide = Horizontal(src, width, filter, first);
  TPictureBitmap out = Vertical(wide, height, filter, second);
  out.SetDpi(picture.DpiX(), picture.DpiY());
  return out;
}

}  // namespace vistrel
