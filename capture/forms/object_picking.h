// "Object": the window or control the user points at on the frozen desktop.
#pragma once

#include <optional>

#include "imaging/picture_bitmap.h"

namespace vistrel {

struct TAppContext;
class TMainForm1;

// The object-picking overlay until a click or Esc; then the frozen pixels
// of the window under the pointer, or nothing when no window is there.
std::optional<TPictureBitmap> PickObjectOnFrozenDesktop(TAppContext& context);

// The picked object replaces the picture (one undo entry); the window
// hides meanwhile.
void PickObjectIntoPicture(TMainForm1& window);

}  // namespace vistrel
