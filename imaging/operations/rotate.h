// Rotation. Positive angles turn counter-clockwise as seen on screen.
#pragma once

#include "imaging/operations/progress.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

// A quarter turn: counter-clockwise the top row becomes the left column,
// read bottom to top. Both pixel formats.
TPictureBitmap RotateQuarter(const TPictureBitmap& picture, bool counterClockwise);
TPictureBitmap RotateHalf(const TPictureBitmap& picture);

// Size of the box holding a w x h picture turned by the angle.
void RotatedSize(int width, int height, double degrees, int& outWidth, int& outHeight);

// The whole rotation. The angle is taken in thousandths of a degree modulo
// a full turn; quarter turns are exact, the remainder (at most 45 degrees
// either way) is applied by three shears for 24-bit pictures, linearly
// blended with `antialias`, and by nearest-pixel mapping for 1-bit ones.
// The picture grows to hold the result; uncovered corners take the
// background. Raises PictureSizeError when the result would be too large.
TPictureBitmap RotatePicture(const TPictureBitmap& picture, double degrees, bool antialias, TColor background,
                             TProgress& progress);

}  // namespace vistrel
