// Grips of a rectangular selection and the rules for dragging them.
//
// Plain geometry in picture pixels (rectangles right and bottom inclusive),
// kept apart from the widget so the side-swapping and ratio rules can be
// tested without a display.
#pragma once

#include "imaging/picture_mask.h"

namespace vistrel {

enum class TGrip { None, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

// Which side a grip moves along one axis: -1 the low side (left or top),
// +1 the high side (right or bottom), 0 none.
int GripSideX(TGrip grip);
int GripSideY(TGrip grip);
// The grip that moves these sides (None for 0, 0).
TGrip GripForSides(int side_x, int side_y);
bool IsCornerGrip(TGrip grip);

// Cursor identifier shown over a grip: 1786 top-left and bottom-right,
// 1788 top-right and bottom-left, 1789 left and right, 1787 top and bottom.
int GripCursorId(TGrip grip);

// One resize drag: the rectangle and grip at the button press, and which
// side each dragged edge is on now (it changes when an edge is dragged past
// the opposite one).
class TGripDrag {
 public:
  TGripDrag() = default;
  TGripDrag(const TPictureRect& start, TGrip grip);

  // The rectangle after the mouse moved (dx, dy) picture pixels since the
  // press. A dragged side never lands on the opposite side (it stays one
  // pixel short) and crosses over it when dragged further, so the rectangle
  // never becomes 0 pixels wide or high. keep_ratio keeps the width-to-height
  // ratio of the start. With cut the rectangle stays inside the picture.
  TPictureRect Drag(int dx, int dy, bool keep_ratio, int picture_w, int picture_h, bool cut);

  // The grip as it sits after the last Drag (swapped when sides crossed).
  TGrip CurrentGrip() const { return GripForSides(side_x_, side_y_); }

 private:
  TPictureRect start_;
  TGrip start_grip_ = TGrip::None;
  int side_x_ = 0;
  int side_y_ = 0;
};

// Rectangle from the press point to the current point; with square both
// sides take the longer length, shortened so that with cut the square stays
// inside the picture.
TPictureRect DragRect(int x0, int y0, int x1, int y1, bool square, int picture_w, int picture_h,
                      bool cut);

}  // namespace vistrel
