// Conversions between 24-bit and 1-bit pictures.
#pragma once

#include "imaging/operations/progress.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

// Threshold -1 asks for the automatic choice: the grey value of the
// picture's channel means, (21 mR + 71 mG + 8 mB) div 100.
constexpr int kAutomaticThreshold = -1;
int AutomaticThreshold(const TPictureBitmap& picture);

// A 1-bit picture: white where the grey value is at least the threshold.
TPictureBitmap ThresholdToMono(const TPictureBitmap& picture, int threshold, TProgress& progress);

// A 24-bit black-and-white copy of a 1-bit picture.
TPictureBitmap MonoTo24Bit(const TPictureBitmap& picture, TProgress& progress);

}  // namespace vistrel
