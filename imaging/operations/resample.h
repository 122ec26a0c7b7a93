// Scaling to a new size, nearest-pixel or with a resampling filter.
#pragma once

#include <optional>
#include <string_view>

#include "imaging/operations/progress.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

enum class TResampleFilter { rfNone, rfTriangle, rfHermite, rfBell, rfBSpline, rfLanczos3, rfMitchell };

// "none", "triangle", "hermite", "bell", "bspline", "lanczos3", "mitchell".
std::string_view ResampleFilterName(TResampleFilter filter);
std::optional<TResampleFilter> ResampleFilterByName(std::string_view name);

// Kernel value at distance x, and the kernel's support.
double FilterWeight(TResampleFilter filter, double x);
double FilterSupport(TResampleFilter filter);

// The size Resample gives for requested (w, h): -1 keeps the aspect ratio
// from the other side, 0 the old size, other negatives their absolute value,
// at least 1. Returns false when both requests are negative (no change).
bool ResampleTargetSize(int oldWidth, int oldHeight, int requestWidth, int requestHeight, int& width,
                        int& height);

// Scales to width x height. rfNone keeps the pixel format and picks nearest
// pixels; the filters work in two passes (horizontal, then vertical) with
// weights in 1/256 and give a 24-bit picture. Raises PictureSizeError for
// sizes the buffer refuses.
TPictureBitmap ResamplePicture(const TPictureBitmap& picture, int width, int height, TResampleFilter filter,
                               TProgress& progress);

}  // namespace vistrel
