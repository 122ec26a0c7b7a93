// Captures on the frozen desktop that the picture window starts, and the
// area step of a capture request.
#pragma once

#include <QSize>
#include <optional>
#include <string>

#include "imaging/picture_bitmap.h"
#include "platform/screen_rect.h"

namespace vistrel {

struct TAppContext;
class TMainForm1;

// The selection window over the whole desktop, shown until the user takes
// a selection or leaves; `preselect` (screen pixels) is selected first.
// `custom_preset` is the fifth preset rectangle; `desktop_grab`: see
// TFullRectForm1::FormCreate. Returns the pixels taken, if any. A desktop
// that could not be read shows no window and says why in `failure`.
std::optional<TPictureBitmap> SelectAreaOnFrozenDesktop(
    TAppContext& context, QSize custom_preset, std::string& failure,
    const std::optional<TScreenRect>& preselect = std::nullopt,
    const TPictureBitmap* desktop_grab = nullptr);

// "Rect.": an area of the frozen desktop replaces the picture (one undo
// entry); the window hides meanwhile. A desktop that could not be read
// leaves the picture and is named in an error box.
void SelectAreaIntoPicture(TMainForm1& window);

// "Define Capture Rectangle": the selection left on the frozen desktop
// becomes the custom capture rectangle; the picture stays. As "Rect." when
// the desktop could not be read.
void DefineCaptureRectangle(TMainForm1& window);

// Blocks the program for `ms` milliseconds after the window system has been
// told what is pending (a hidden window is then off the screen).
void WaitForDesktop(int ms);

}  // namespace vistrel
