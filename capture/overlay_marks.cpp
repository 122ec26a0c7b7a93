#include "capture/overlay_marks.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace vistrel {

namespace {
constexpr int kLabelGap = 6;       // clear of the selection's grips
constexpr int kPointerGap = 20;    // clear of the cursor's shape

int Distance(const TScreenRect& r, int x, int y) {
  const int dx = x < r.left ? r.left - x : x >= r.right ? x - r.right + 1 : 0;
  const int dy = y < r.top ? r.top - y : y >= r.bottom ? y - r.bottom + 1 : 0;
  return dx + dy;
}

TScreenRect Box(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}
}  // namespace

std::string SizeLabelText(int width, int height) {
  return std::to_string(width) + " \u00d7 " + std::to_string(height);
}

std::vector<TScreenRect> MonitorsOnOverlay(const std::vector<TMonitor>& monitors,
                                           const TScreenRect& desktop) {
  std::vector<TScreenRect> rects;
  for (const TMonitor& m : monitors)
    rects.push_back({m.rect.left - desktop.left, m.rect.top - desktop.top,
                     m.rect.right - desktop.left, m.rect.bottom - desktop.top});
  return rects;
}

TScreenRect MonitorAt(const std::vector<TScreenRect>& monitors, int x, int y,
                      const TScreenRect& fallback) {
  const TScreenRect* best = nullptr;
  int best_distance = std::numeric_limits<int>::max();
  for (const TScreenRect& m : monitors) {
    const int d = Distance(m, x, y);
    if (d < best_distance) best = &m, best_distance = d;
  }
  return best ? *best : fallback;
}

TScreenRect KeepInside(const TScreenRect& box, const TScreenRect& monitor) {
  const int left = std::max(std::min(box.left, monitor.right - box.Width()), monitor.left);
  const int top = std::max(std::min(box.top, monitor.bottom - box.Height()), monitor.top);
  return Box(left, top, box.Width(), box.Height());
}

TScreenRect PlaceSizeLabel(const TScreenRect& selection, int width, int height,
                           const TScreenRect& monitor) {
  int top = selection.bottom + kLabelGap;
  if (top + height > monitor.bottom) top = selection.top - kLabelGap - height;
  return KeepInside(Box(selection.left, top, width, height), monitor);
}

TScreenRect AvoidMagnifier(const TScreenRect& label, const TScreenRect& magnifier,
                           const TScreenRect& monitor) {
  if (Intersection(label, magnifier).IsEmpty()) return label;
  const int w = label.Width(), h = label.Height();
  const TScreenRect sides[] = {Box(magnifier.left - kLabelGap - w, label.top, w, h),
                               Box(magnifier.right + kLabelGap, label.top, w, h),
                               Box(label.left, magnifier.top - kLabelGap - h, w, h),
                               Box(label.left, magnifier.bottom + kLabelGap, w, h)};
  for (const TScreenRect& side : sides) {
    const TScreenRect kept = KeepInside(side, monitor);
    if (Intersection(kept, magnifier).IsEmpty()) return kept;
  }
  return label;
}

TScreenRect PlaceMagnifier(int x, int y, int width, int height, const TScreenRect& monitor) {
  int left = x + kPointerGap, top = y + kPointerGap;
  if (left + width > monitor.right) left = x - kPointerGap - width;
  if (top + height > monitor.bottom) top = y - kPointerGap - height;
  return KeepInside(Box(left, top, width, height), monitor);
}

TMagnifierPixels MagnifierPixels(TPicturePoint centre, const TPictureRect& area) {
  TMagnifierPixels pixels;
  constexpr int kHalf = kMagnifierCells / 2;
  for (int row = 0; row < kMagnifierCells; ++row)
    for (int col = 0; col < kMagnifierCells; ++col) {
      const TPicturePoint p{centre.x - kHalf + col, centre.y - kHalf + row};
      if (area.Contains(p.x, p.y)) pixels[row * kMagnifierCells + col] = p;
    }
  return pixels;
}

std::string MagnifierCaption(TPicturePoint pixel, TColor colour) {
  char text[48];
  std::snprintf(text, sizeof text, "%d, %d  #%02X%02X%02X", pixel.x, pixel.y, RedOf(colour),
                GreenOf(colour), BlueOf(colour));
  return text;
}

}  // namespace vistrel
