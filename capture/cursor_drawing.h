// Draws the captured mouse cursor into a grabbed picture.
#pragma once

#include "imaging/picture_bitmap.h"
#include "platform/cursor_source.h"

namespace vistrel {

// Blends the cursor image into `picture` with its top-left corner at
// (left, top), clipped by the picture's edges. 1-bit pictures are left alone.
void DrawCursorImage(TPictureBitmap& picture, const TCursorImage& cursor, int left, int top);

}  // namespace vistrel
