// "Object": the window or control the user points at on the frozen desktop.
#pragma once

#include <optional>
#include <string>

#include "imaging/picture_bitmap.h"

namespace vistrel {

struct TAppContext;
class TMainForm1;

// The object-picking overlay until a click or Esc; then the frozen pixels
// of the window under the pointer, or nothing when no window is there.
// Where the desktop picks windows in its own dialog, that pick instead; a
// pick the user left is nothing too. A desktop that could not be read (or
// a dialog that failed) shows no overlay and says why in `failure`.
std::optional<TPictureBitmap> PickObjectOnFrozenDesktop(TAppContext& context,
                                                        std::string& failure);

// The picked object replaces the picture (one undo entry); the window
// hides meanwhile. A failure leaves the picture and is named in an error
// box.
void PickObjectIntoPicture(TMainForm1& window);

}  // namespace vistrel
