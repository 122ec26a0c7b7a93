#include "picture/PictureViewGrips.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace vistrel {

namespace {

int ToInt(long long v) { return int(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

// One axis of a resize: the edge that stays, the direction from it to the
// dragged edge and the length between them.
struct Axis {
  long long fixed = 0;
  int dir = 1;
  long long length = 0;
};

}  // namespace

int GripSideX(TGrip grip) {
  switch (grip) {
    case TGrip::TopLeft: case TGrip::Left: case TGrip::BottomLeft: return -1;
    case TGrip::TopRight: case TGrip::Right: case TGrip::BottomRight: return 1;
    default: return 0;
  }
}

int GripSideY(TGrip grip) {
  switch (grip) {
    case TGrip::TopLeft: case TGrip::Top: case TGrip::TopRight: return -1;
    case TGrip::BottomLeft: case TGrip::Bottom: case TGrip::BottomRight: return 1;
    default: return 0;
  }
}

TGrip GripForSides(int side_x, int side_y) {
  if (side_y < 0) return side_x < 0 ? TGrip::TopLeft : side_x > 0 ? TGrip::TopRight : TGrip::Top;
  if (side_y > 0) return side_x < 0 ? TGrip::BottomLeft : side_x > 0 ? TGrip::BottomRight : TGrip::Bottom;
  return side_x < 0 ? TGrip::Left : side_x > 0 ? TGrip::Right : TGrip::None;
}

bool IsCornerGrip(TGrip grip) { return GripSideX(grip) != 0 && GripSideY(grip) != 0; }

int GripCursorId(TGrip grip) {
  switch (grip) {
    case TGrip::TopLeft: case TGrip::BottomRight: return 1786;
    case TGrip::TopRight: case TGrip::BottomLeft: return 1788;
    case TGrip::Left: case TGrip::Right: return 1789;
    case TGrip::Top: case TGrip::Bottom: return 1787;
    case TGrip::None: break;
  }
  return 0;
}

TGripDrag::TGripDrag(const TPictureRect& start, TGrip grip)
    : start_(start), start_grip_(grip), side_x_(GripSideX(grip)), side_y_(GripSideY(grip)) {}

namespace {

// Moves the dragged edge of one axis. `grip_side` is the side the grip had at
// the press, `side` the side it is on now (updated).
Axis DragAxis(int low0, int high0, int grip_side, int& side, long long delta, int size, bool cut) {
  Axis a;
  if (grip_side == 0) {
    a.fixed = low0;
    a.length = (long long)high0 - low0;
    return a;
  }
  a.fixed = grip_side < 0 ? high0 : low0;
  long long moving = (long long)(grip_side < 0 ? low0 : high0) + delta;
  if (cut) moving = std::clamp<long long>(moving, 0, std::max(size - 1, 0));
  if (moving != a.fixed) {
    side = moving < a.fixed ? -1 : 1;
  } else {
    // Stop one pixel short on the side the edge is on; at the picture's
    // border there is only the other side left.
    moving = a.fixed + side;
    if (cut && (moving < 0 || moving > size - 1)) {
      side = -side;
      moving = a.fixed + side;
      if (moving < 0 || moving > size - 1) moving = a.fixed;  // a 1-pixel picture
    }
  }
  a.dir = moving < a.fixed ? -1 : 1;
  a.length = std::llabs(moving - a.fixed);
  return a;
}

long long Room(const Axis& a, int size) {
  return a.dir > 0 ? size - 1 - a.fixed : a.fixed;
}

}  // namespace

TPictureRect TGripDrag::Drag(int dx, int dy, bool keep_ratio, int picture_w, int picture_h, bool cut) {
  const TGrip grip0 = start_grip_;
  Axis x = DragAxis(start_.left, start_.right, GripSideX(grip0), side_x_, dx, picture_w, cut);
  Axis y = DragAxis(start_.top, start_.bottom, GripSideY(grip0), side_y_, dy, picture_h, cut);

  const long long w0 = (long long)start_.right - start_.left;
  const long long h0 = (long long)start_.bottom - start_.top;
  if (keep_ratio && w0 > 0 && h0 > 0) {
    // A corner follows the axis that changed more, relative to its start.
    const bool x_drives = GripSideY(grip0) == 0 ||
                          (GripSideX(grip0) != 0 && std::llabs(x.length - w0) * h0 >= std::llabs(y.length - h0) * w0);
    if (x_drives) {
      y.length = std::max<long long>(1, std::llround(double(x.length) * double(h0) / double(w0)));
    } else {
      x.length = std::max<long long>(1, std::llround(double(y.length) * double(w0) / double(h0)));
    }
    if (cut) {
      if (x.length > Room(x, picture_w)) {
        x.length = std::max<long long>(0, Room(x, picture_w));
        y.length = std::llround(double(x.length) * double(h0) / double(w0));
      }
      if (y.length > Room(y, picture_h)) {
        y.length = std::max<long long>(0, Room(y, picture_h));
        x.length = std::llround(double(y.length) * double(w0) / double(h0));
      }
    }
  }
  const long long x1 = x.fixed + x.dir * x.length;
  const long long y1 = y.fixed + y.dir * y.length;
  return {ToInt(std::min(x.fixed, x1)), ToInt(std::min(y.fixed, y1)), ToInt(std::max(x.fixed, x1)),
          ToInt(std::max(y.fixed, y1))};
}

TPictureRect DragRect(int x0, int y0, int x1, int y1, bool square, int picture_w, int picture_h,
                      bool cut) {
  long long ex = x1, ey = y1;
  if (square) {
    const long long dx = (long long)x1 - x0, dy = (long long)y1 - y0;
    const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    long long side = std::max(std::llabs(dx), std::llabs(dy));
    if (cut) {
      const long long room_x = sx > 0 ? (long long)picture_w - 1 - x0 : x0;
      const long long room_y = sy > 0 ? (long long)picture_h - 1 - y0 : y0;
      side = std::max<long long>(0, std::min({side, room_x, room_y}));
    }
    ex = x0 + sx * side;
    ey = y0 + sy * side;
  }
  return {ToInt(std::min<long long>(x0, ex)), ToInt(std::min<long long>(y0, ey)),
          ToInt(std::max<long long>(x0, ex)), ToInt(std::max<long long>(y0, ey))};
}

}  // namespace vistrel
