// Counting the distinct colours of a picture.
#pragma once

#include <cstdint>

#include "imaging/picture_bitmap.h"
#include "imaging/picture_mask.h"

namespace vistrel {

// Distinct RGB values inside the box (clipped to the picture); 2 for any
// 1-bit picture, 0 for an empty box.
std::int64_t CountDistinctColors(const TPictureBitmap& picture, const TPictureRect& box);

}  // namespace vistrel
