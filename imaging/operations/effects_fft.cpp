// Frequency filter: each channel through a two-dimensional fast Fourier
// transform (radix 2, sizes padded to powers of two with edge pixels).
#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "imaging/operations/effects.h"

namespace vistrel {

namespace {

using Complex = std::complex<double>;

int PowerOfTwoAtLeast(int n) {
  int p = 1;
  while (p < n) p *= 2;
  return p;
}

// In-place transform of n values spaced `stride` apart; inverse without the
// 1/n scaling.
void Fft(Complex* data, int n, int stride, bool inverse) {
  for (int i = 1, j = 0; i < n; ++i) {
    int bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(data[i * stride], data[j * stride]);
  }
  for (int len = 2; len <= n; len <<= 1) {
    const double angle = 2 * std::numbers::pi / len * (inverse ? 1 : -1);
    const Complex step(std::cos(angle), std::sin(angle));
    for (int i = 0; i < n; i += len) {
      Complex w(1);
      for (int k = 0; k < len / 2; ++k, w *= step) {
        Complex& a = data[(i + k) * stride];
        Complex& b = data[(i + k + len / 2) * stride];
        const Complex t = b * w;
        b = a - t;
        a += t;
      }
    }
  }
}

void Fft2d(std::vector<Complex>& grid, int w, int h, bool inverse) {
  for (int y = 0; y < h; ++y) Fft(&grid[std::size_t(y) * std::size_t(w)], w, 1, inverse);
  for (int x = 0; x < w; ++x) Fft(&grid[std::size_t(x)], h, w, inverse);
}

}  // namespace

void EffectFft(TPictureBitmap& picture, int mode, int cutoff, TProgress& progress) {
  cutoff = std::clamp(cutoff, 0, 100);
  const bool low_pass = mode == 0;
  if (picture.Empty() || picture.IsMono() || (low_pass && cutoff == 100) || (!low_pass && cutoff == 0)) return;
  const int w = picture.Width(), h = picture.Height();
  const int fw = PowerOfTwoAtLeast(w), fh = PowerOfTwoAtLeast(h);
  const double limit = cutoff / 100.0;
  std::vector<Complex> grid(std::size_t(fw) * std::size_t(fh));
  for (int c = 0; c < 3; ++c) {
    for (int y = 0; y < fh; ++y) {
      const std::uint8_t* row = picture.Row(std::min(y, h - 1));
      for (int x = 0; x < fw; ++x) grid[std::size_t(y) * std::size_t(fw) + std::size_t(x)] = row[std::min(x, w - 1) * 3 + c];
    }
    Fft2d(grid, fw, fh, false);
    for (int y = 0; y < fh; ++y) {
      const double fy = double(std::min(y, fh - y)) / (fh / 2.0);
      for (int x = 0; x < fw; ++x) {
        const double fx = double(std::min(x, fw - x)) / (fw / 2.0);
        const double f = std::hypot(fx, fy) / std::numbers::sqrt2;
        const bool keep = low_pass ? f <= limit : (f >= limit || (x == 0 && y == 0));
        if (!keep) grid[std::size_t(y) * std::size_t(fw) + std::size_t(x)] = 0;
      }
    }
    Fft2d(grid, fw, fh, true);
    const double scale = 1.0 / (double(fw) * fh);
    for (int y = 0; y < h; ++y) {
      std::uint8_t* row = picture.Row(y);
      for (int x = 0; x < w; ++x)
        row[x * 3 + c] = std::uint8_t(
            std::clamp(std::lround(grid[std::size_t(y) * std::size_t(fw) + std::size_t(x)].real() * scale), 0L, 255L));
    }
    progress.Report(c + 1, 3);
  }
}

}  // namespace vistrel
