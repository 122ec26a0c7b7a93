// Hue, saturation and luminosity changes of 24-bit pictures.
#pragma once

#include "imaging/operations/progress.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

// Converts each pixel to hue, saturation, luminosity (0..1 each), adds
// hue/360, saturation/100 and luminosity/100 (hue wraps, the others clamp)
// and converts back. 1-bit pictures are left alone.
void AdjustHsl(TPictureBitmap& picture, double hue, double saturation, double luminosity, TProgress& progress);

}  // namespace vistrel
