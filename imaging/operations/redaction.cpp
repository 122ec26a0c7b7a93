#include "imaging/operations/redaction.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "imaging/operations/parallel_rows.h"

namespace vistrel {

namespace {

// Weights in 1/2^14: 255 times a full kernel still fits 32 bits many times.
constexpr int kWeightBits = 14;

std::vector<std::uint32_t> GaussianWeights(double sigma) {
  const int radius = std::max(1, int(std::ceil(3 * sigma)));
  std::vector<double> exact(std::size_t(2 * radius + 1));
  double sum = 0;
  for (int k = -radius; k <= radius; ++k)
    sum += exact[std::size_t(k + radius)] = std::exp(-0.5 * k * k / (sigma * sigma));
  std::vector<std::uint32_t> weights(exact.size());
  std::uint32_t total = 0;
  for (std::size_t i = 0; i < exact.size(); ++i)
    total += weights[i] = std::uint32_t(std::lround(exact[i] / sum * (1 << kWeightBits)));
  // The rounding error goes to the centre: a flat picture stays exactly flat.
  weights[std::size_t(radius)] += (1u << kWeightBits) - total;
  return weights;
}

// sum[i] += w * source[i]: the blur's inner loop, in vector code where
// the processor has it.
__attribute__((target_clones("avx2", "default"))) void AddWeighted(
    std::uint32_t* sum, const std::uint8_t* source, std::uint32_t w, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) sum[i] += w * source[i];
}

// sum[i] += w * (a[i] + b[i]): the kernel is symmetric, so each weight
// serves the pixels on both sides at one multiplication.
__attribute__((target_clones("avx2", "default"))) void AddWeightedPair(
    std::uint32_t* sum, const std::uint8_t* a, const std::uint8_t* b, std::uint32_t w,
    std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) sum[i] += w * std::uint32_t(a[i] + b[i]);
}

__attribute__((target_clones("avx2", "default"))) void Narrow(
    std::uint8_t* out, const std::uint32_t* sum, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) out[i] = std::uint8_t(sum[i] >> kWeightBits);
}

}  // namespace

void PixelatePicture(TPictureBitmap& picture, int block, TProgress& progress) {
  if (picture.IsMono() || picture.Width() == 0 || block <= 1) return;
  const int width = picture.Width(), height = picture.Height();
  const int bands = (height + block - 1) / block;
  ParallelRows(bands, std::int64_t(width) * height, progress, [&](int b0, int b1) {
    std::vector<std::uint32_t> sums;
    for (int band = b0; band < b1; ++band) {
      const int top = band * block, bottom = std::min(height, top + block);
      for (int left = 0; left < width; left += block) {
        const int right = std::min(width, left + block);
        std::uint32_t sum[3] = {0, 0, 0};
        for (int y = top; y < bottom; ++y) {
          const std::uint8_t* p = picture.Row(y) + std::size_t(left) * 3;
          for (int x = left; x < right; ++x, p += 3) {
            sum[0] += p[0];
            sum[1] += p[1];
            sum[2] += p[2];
          }
        }
        const std::uint32_t count = std::uint32_t((bottom - top) * (right - left));
        std::uint8_t mean[3];
        for (int c = 0; c < 3; ++c) mean[c] = std::uint8_t((sum[c] + count / 2) / count);
        for (int y = top; y < bottom; ++y) {
          std::uint8_t* p = picture.Row(y) + std::size_t(left) * 3;
          for (int x = left; x < right; ++x, p += 3) std::copy(mean, mean + 3, p);
        }
      }
    }
  });
}

void GaussianBlur(TPictureBitmap& picture, double sigma, TProgress& progress) {
  if (picture.IsMono() || picture.Width() == 0 || !(sigma > 0)) return;
  const std::vector<std::uint32_t> weights = GaussianWeights(sigma);
  const int radius = int(weights.size() / 2);
  const int width = picture.Width(), height = picture.Height();
  const std::size_t bytes = std::size_t(width) * 3;
  const std::uint32_t half = 1u << (kWeightBits - 1);
  TPictureBitmap blurred(width, height);

  // Each output row: the column pass over the source rows around it into a
  // row padded with its edge pixels, then the row pass into the result.
  // Both passes run over contiguous bytes.
  ParallelRows(height, std::int64_t(width) * height * std::int64_t(weights.size()) / 4, progress,
               [&](int y0, int y1) {
    std::vector<std::uint32_t> sums(bytes);
    std::vector<std::uint8_t> padded(bytes + std::size_t(2 * radius) * 3);
    std::uint8_t* const middle = padded.data() + std::size_t(radius) * 3;
    for (int y = y0; y < y1; ++y) {
      std::fill(sums.begin(), sums.end(), half);
      AddWeighted(sums.data(), picture.Row(y), weights[std::size_t(radius)], bytes);
      for (int k = 1; k <= radius; ++k)
        AddWeightedPair(sums.data(), picture.Row(std::max(y - k, 0)),
                        picture.Row(std::min(y + k, height - 1)),
                        weights[std::size_t(radius + k)], bytes);
      Narrow(middle, sums.data(), bytes);
      for (int x = 1; x <= radius; ++x)
        for (int c = 0; c < 3; ++c) {
          middle[-3 * x + c] = middle[c];
          middle[bytes - 3 + 3 * x + c] = middle[bytes - 3 + c];
        }

      std::fill(sums.begin(), sums.end(), half);
      AddWeighted(sums.data(), middle, weights[std::size_t(radius)], bytes);
      for (int k = 1; k <= radius; ++k)
        AddWeightedPair(sums.data(), middle - 3 * k, middle + 3 * k,
                        weights[std::size_t(radius + k)], bytes);
      Narrow(blurred.Row(y), sums.data(), bytes);
    }
  });
  picture = std::move(blurred);
}

}  // namespace vistrel
