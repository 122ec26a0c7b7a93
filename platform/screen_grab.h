// GrabScreenRect: the one primitive every capture uses to copy screen pixels.
#pragma once

#include <string>

#include "imaging/picture_bitmap.h"
#include "platform/screen_rect.h"
#include "platform/screen_source.h"

namespace vistrel {

// Confines a requested rectangle to the capture bounds. A rectangle partly
// outside is cut to the bounds; an axis on which nothing of it remains (or
// that is empty or inverted) takes the bounds' full extent.
TScreenRect ConfineToCaptureBounds(const TScreenRect& rect, const TScreenRect& bounds);

// Copies the screen pixels of `rect`, confined to `bounds`, into `bitmap`,
// which becomes a 24-bit picture of the confined size (its old content is
// gone). Returns the confined rectangle, i.e. where on the screen the
// picture's top-left pixel was. A screen that cannot be read leaves the
// picture black; `failure`, where given, then says why (else it is left).
TScreenRect GrabScreenRect(IScreenSource& screen, const TScreenRect& bounds,
                           TPictureBitmap& bitmap, const TScreenRect& rect,
                           std::string* failure = nullptr);

}  // namespace vistrel
