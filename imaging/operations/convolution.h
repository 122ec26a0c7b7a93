// 3 x 3 convolution of 24-bit pictures.
#pragma once

#include <array>

#include "imaging/operations/progress.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

// Row-major: kernel[0..2] applies to the row above, kernel[j * 3 + 0] to the
// pixel on the left. No flipping.
using TKernel3 = std::array<int, 9>;

constexpr TKernel3 kSharpenKernel = {-1, 0, -1, 0, 20, 0, -1, 0, -1};
constexpr int kSharpenDivisor = 16;
constexpr TKernel3 kEmbossKernel = {-1, 0, 1, -1, 1, 1, -1, 0, 1};
constexpr int kEmbossDivisor = 1;

// Largest kernel value accepted: keeps every sum exact in single precision.
constexpr int kMaxKernelValue = 7000;

// For each pixel and channel: sum of kernel x neighbourhood (edge pixels
// repeat beyond the border) div divisor (0 counts as 1), clamped to 0..255.
// Reads the picture as it was before. Kernel values beyond
// +-kMaxKernelValue are clamped. 1-bit pictures are left alone.
void Convolve3x3(TPictureBitmap& picture, const TKernel3& kernel, int divisor, TProgress& progress);

}  // namespace vistrel
