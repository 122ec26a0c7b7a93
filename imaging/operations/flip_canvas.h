// Mirroring and canvas changes without scaling.
#pragma once

#include "imaging/operations/progress.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

enum class TFlipDirection { Horizontal = 0, Vertical = 1 };

// Horizontal reverses each row (mirror left-right); vertical reverses the
// row order (upside down). Both pixel formats.
void FlipPicture(TPictureBitmap& picture, TFlipDirection direction, TProgress& progress);

// Alignment of the old picture on a resized canvas: 0 left/top, 1 centre,
// 2 right/bottom.
enum class TCanvasAlign { Start = 0, Center = 1, End = 2 };

// A new picture of the given size in the background colour, with the old
// picture copied in at the aligned position (cut off where it does not fit).
// Raises PictureSizeError for sizes the buffer refuses.
TPictureBitmap ResizeCanvas(const TPictureBitmap& picture, int width, int height, TCanvasAlign horizontal,
                            TCanvasAlign vertical, TColor background);

}  // namespace vistrel
