#include "convolution.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "imaging/operations/parallel_rows.h"

namespace vistrel {

namespace {

std::uint8_t Finish(int sum, float divisor) {
  // Truncation toward zero of an exact quotient: |sum| < 2^24 makes the
  // single-precision quotient never reach the next integer.
  const int q = divisor == 1.0f ? sum : int(float(sum) / divisor);
  return std::uint8_t(std::clamp(q, 0, 255));
}

// One output row from the rows above, at and below (already clamped to
// the picture). Bytes are filtered as a flat array: neighbours of a byte lie
// three bytes to either side.
void FilterRow(const std::uint8_t* up, const std::uint8_t* mid, const std::uint8_t* down, std::uint8_t* out,
               int width, const int* k, float divisor) {
  const int bytes = width * 3;
  auto at_edge = [&](int x) {
    const int xl = std::max(x - 1, 0), xr = std::min(x + 1, width - 1);
    for (int c = 0; c < 3; ++c) {
      const int l = xl * 3 + c, m = x * 3 + c, r = xr * 3 + c;
      const int sum = k[0] * up[l] + k[1] * up[m] + k[2] * up[r] + k[3] * mid[l] + k[4] * mid[m] +
                      k[5] * mid[r] + k[6] * down[l] + k[7] * down[m] + k[8] * down[r];
      out[m] = Finish(sum, divisor);
    }
  };
  at_edge(0);
  if (width > 1) at_edge(width - 1);
  const int k0 = k[0], k1 = k[1], k2 = k[2], k3 = k[3], k4 = k[4], k5 = k[5], k6 = k[6], k7 = k[7], k8 = k[8];
  if (divisor == 1.0f) {
    for (int i = 3; i < bytes - 3; ++i) {
      const int sum = k0 * up[i - 3] + k1 * up[i] + k2 * up[i + 3] + k3 * mid[i - 3] + k4 * mid[i] +
                      k5 * mid[i + 3] + k6 * down[i - 3] + k7 * down[i] + k8 * down[i + 3];
      out[i] = std::uint8_t(std::clamp(sum, 0, 255));
    }
    return;
  }
  for (int i = 3; i < bytes - 3; ++i) {
    const int sum = k0 * up[i - 3] + k1 * up[i] + k2 * up[i + 3] + k3 * mid[i - 3] + k4 * mid[i] +
                    k5 * mid[i + 3] + k6 * down[i - 3] + k7 * down[i] + k8 * down[i + 3];
    out[i] = std::uint8_t(std::clamp(int(float(sum) / divisor), 0, 255));
  }
}

}  // namespace

void Convolve3x3(TPictureBitmap& picture, const TKernel3& kernel, int divisor, TProgress& progress) {
  if (picture.Empty() || picture.IsMono()) return;
  int k[9];
  for (int i = 0; i < 9; ++i) k[i] = std::clamp(kernel[std::size_t(i)], -kMaxKernelValue, kMaxKernelValue);
  const float div = divisor == 0 ? 1.0f : float(divisor);
  const int w = picture.Width(), h = picture.Height();
  TPictureBitmap result(w, h);
  result.SetDpi(picture.DpiX(), picture.DpiY());
  const TPictureBitmap& src = picture;
  ParallelRows(h, std::int64_t(w) * h * 9, progress, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y)
      FilterRow(src.Row(std::max(y - 1, 0)), src.Row(y), src.Row(std::min(y + 1, h - 1)), result.Row(y), w, k,
                div);
  });
  picture = std::move(result);
}

}  // namespace vistrel
