// A rectangle in screen (root window) pixels: left and top inclusive, right
// and bottom exclusive, as the capture code stores its rectangles.
#pragma once

#include <algorithm>

namespace vistrel {

struct TScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const TScreenRect&) const = default;
};

inline TScreenRect Intersection(const TScreenRect& a, const TScreenRect& b) {
  TScreenRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
  if (r.IsEmpty()) return TScreenRect{};
  return r;
}

inline TScreenRect Union(const TScreenRect& a, const TScreenRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return TScreenRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                     std::max(a.bottom, b.bottom)};
}

}  // namespace vistrel
