// Hiding parts of a picture: pixelate and Gaussian blur. Both compute new
// values from the pixels alone and keep nothing of the old ones, so the
// result can be shared. 24-bit pictures; 1-bit and empty ones stay as they
// are.
#pragma once

#include "imaging/operations/progress.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

// Blocks of block × block pixels from the top-left corner, each filled with
// its rounded mean colour; the blocks at the right and bottom edges are
// what is left of the picture there.
void PixelatePicture(TPictureBitmap& picture, int block, TProgress& progress);

// A Gaussian blur with standard deviation `sigma` pixels (above 0), the
// kernel reaching three sigma either way and the edge pixels extended.
void GaussianBlur(TPictureBitmap& picture, double sigma, TProgress& progress);

}  // namespace vistrel
