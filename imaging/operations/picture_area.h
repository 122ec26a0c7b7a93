// Moving pixels between a picture and a box of it, optionally through a
// selection mask. Work for both pixel formats.
#pragma once

#include "imaging/picture_bitmap.h"
#include "imaging/picture_mask.h"

namespace vistrel {

// The pixels of `box` (clipped to the picture) as a new picture of the same
// format and resolution.
TPictureBitmap CopyArea(const TPictureBitmap& picture, const TPictureRect& box);

// Writes the pixels of `area` (a copy of the mask's bounding box) back into
// the picture wherever the mask selects them.
void PasteThroughMask(TPictureBitmap& picture, const TPictureBitmap& area, const TPictureMask& mask);

// The mask's bounding box as a new picture: selected pixels copied, the rest
// in the background colour.
TPictureBitmap CopyMaskedArea(const TPictureBitmap& picture, const TPictureMask& mask, TColor background);

// Copies `src` into `dst` with its top-left corner at (x, y); parts outside
// `dst` are cut off. Both pictures have the same format.
void Blit(const TPictureBitmap& src, TPictureBitmap& dst, int x, int y);

}  // namespace vistrel
