// The texts of the picture window's status bar and the progress display.
#pragma once

#include <cstdint>
#include <string>

namespace vistrel {

// Second panel after a picture change without a selection.
std::string PictureInfoText(int width, int height, std::int64_t colours);

// Second panel after a picture change with a selection. The edges are the
// selection's box in picture pixels, right and bottom inclusive, so a
// selection 100 pixels wide shows 99.
std::string SelectionSizeText(int left, int top, int right, int bottom);

// Second panel while the left button drags and when a button is released:
// the pointer in the view's client pixels and the selection's box.
std::string PointerSelectionText(int x, int y, int left, int top, int right, int bottom);

// Third panel: the colour 0x00BBGGRR under the pointer, or -1 outside the
// picture (then shown as $FFFFFFFF and RGB 255,255,255).
std::string ColorText(std::int64_t color);

// The mouse cursor while an operation reports p percent: back to the
// default from 94 on, otherwise wait and "not allowed" alternate every ten
// percent (0-10 wait, 11-20 not allowed, 21-30 wait, ...).
enum class TProgressCursor { Default, Wait, NotAllowed };
TProgressCursor ProgressCursorFor(int percent);

// From this percentage on the progress display ends.
inline constexpr int kProgressEnd = 94;

}  // namespace vistrel
