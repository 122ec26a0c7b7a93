#include "selection_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vistrel {

namespace {

// Calls fn(y, x0, x1) for every run of selected pixels of a polygon (pixel
// centres inside by the even-odd rule), rows clipped to 0..height-1 and
// columns to 0..width-1. Each edge adds its crossings only to the rows it
// spans, so the cost follows the outline, not rows times vertices.
template <typename Fn>
void ForEachPolygonSpan(const std::vector<TPicturePoint>& poly, int width, int height, Fn fn) {
  if (poly.size() < 3) return;
  struct Crossing {
    int y;
    double x;
    bool operator<(const Crossing& o) const { return y != o.y ? y < o.y : x < o.x; }
  };
  std::vector<Crossing> crossings;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const TPicturePoint& p = poly[i];
    const TPicturePoint& q = poly[(i + 1) % poly.size()];
    if (p.y == q.y) continue;
    // Rows whose centre y + 0.5 lies in [min, max) of the edge.
    const int lo = std::max(std::min(p.y, q.y), 0);
    const int hi = std::min(std::max(p.y, q.y), height);
    for (int y = lo; y < hi; ++y) {
      const double yc = y + 0.5;
      crossings.push_back({y, p.x + (yc - p.y) * (q.x - p.x) / double(q.y - p.y)});
    }
  }
  std::sort(crossings.begin(), crossings.end());
  for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
    const Crossing& a = crossings[i];
    const Crossing& b = crossings[i + 1];
    if (a.y != b.y) {  // cannot happen with a closed outline; stay in step
      --i;
      continue;
    }
    // Pixel x is inside when a.x <= x + 0.5 < b.x.
    const int x0 = std::max(0, int(std::ceil(a.x - 0.5)));
    const int x1 = std::min(width - 1, int(std::ceil(b.x - 0.5)) - 1);
    if (x0 <= x1) fn(a.y, x0, x1);
  }
}

TPictureRect ClipRect(TPictureRect r, int width, int height) {
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, width - 1);
  r.bottom = std::min(r.bottom, height - 1);
  return r;
}

TPictureRect Join(const TPictureRect& a, const TPictureRect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

}  // namespace

TSelection::TSelection(int pictureWidth, int pictureHeight) { SetPictureSize(pictureWidth, pictureHeight); }

void TSelection::SetPictureSize(int width, int height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  if (width_ == 0 || height_ == 0) width_ = height_ = 0;
  shapes_.clear();
}

void TSelection::SelectRect(int left, int top, int right, int bottom, bool add) {
  if (!add) shapes_.clear();
  TSelectionShape shape;
  shape.rect = ClipRect({std::min(left, right), std::min(top, bottom), std::max(left, right),
                         std::max(top, bottom)},
                        width_, height_);
  if (!shape.rect.Empty()) shapes_.push_back(shape);
}

int TSelection::EllipseVertexCount(double rx, double ry) {
  const double r = std::min(std::fabs(rx), std::fabs(ry));
  const double n = std::round(r * 2 * std::numbers::pi);
  // Radii beyond any picture would ask for absurd counts; 1 << 20 is plenty.
  return int(std::clamp(n, 50.0, double(1 << 20)));
}

std::vector<TPicturePoint> TSelection::EllipsePolygon(double cx, double cy, double rx, double ry,
                                                      int pictureWidth, int pictureHeight) {
  rx = std::fabs(rx);
  ry = std::fabs(ry);
  const int n = EllipseVertexCount(rx, ry);
  std::vector<TPicturePoint> poly(std::size_t(n), TPicturePoint{});
  for (int k = 0; k < n; ++k) {
    const double a = 2 * std::numbers::pi * k / n;
    const double x = std::clamp(std::round(cx + rx * std::cos(a)), 0.0, double(std::max(0, pictureWidth)));
    const double y = std::clamp(std::round(cy + ry * std::sin(a)), 0.0, double(std::max(0, pictureHeight)));
    poly[std::size_t(k)] = {int(x), int(y)};
  }
  return poly;
}

void TSelection::SelectEllipse(double cx, double cy, double rx, double ry, bool add) {
  if (!add) shapes_.clear();
  if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(rx) || !std::isfinite(ry)) return;
  TSelectionShape shape;
  shape.kind = TSelectionShape::Kind::Polygon;
  shape.polygon = EllipsePolygon(cx, cy, rx, ry, width_, height_);
  if (ShapeHasPixels(shape)) shapes_.push_back(std::move(shape));
}

TPictureRect TSelection::ShapeBox(const TSelectionShape& shape) const {
  if (shape.kind == TSelectionShape::Kind::Rectangle) return ClipRect(shape.rect, width_, height_);
  TPictureRect box;
  ForEachPolygonSpan(shape.polygon, width_, height_, [&](int y, int x0, int x1) {
    box = Join(box, TPictureRect{x0, y, x1, y});
  });
  return box;
}

bool TSelection::ShapeHasPixels(const TSelectionShape& shape) const { return !ShapeBox(shape).Empty(); }

TPictureRect TSelection::BoundingBox() const {
  if (shapes_.empty()) return TPictureRect{0, 0, width_ - 1, height_ - 1};
  TPictureRect box;
  for (const TSelectionShape& shape : shapes_) box = Join(box, ShapeBox(shape));
  return box;
}

bool TSelection::IsSingleRect() const {
  return shapes_.size() == 1 && shapes_[0].kind == TSelectionShape::Kind::Rectangle;
}

void TSelection::MoveBy(int dx, int dy) {
  for (TSelectionShape& shape : shapes_) {
    if (shape.kind == TSelectionShape::Kind::Rectangle) {
      shape.rect = {shape.rect.left + dx, shape.rect.top + dy, shape.rect.right + dx, shape.rect.bottom + dy};
    } else {
      for (TPicturePoint& p : shape.polygon) p = {p.x + dx, p.y + dy};
    }
  }
  ClipToPicture();
}

TPicturePoint TSelection::LimitMove(int dx, int dy) const {
  if (shapes_.empty()) return {0, 0};
  const TPictureRect box = BoundingBox();
  dx = std::clamp(dx, -box.left, width_ - 1 - box.right);
  dy = std::clamp(dy, -box.top, height_ - 1 - box.bottom);
  return {dx, dy};
}

void TSelection::ClipToPicture() {
  for (TSelectionShape& shape : shapes_) {
    if (shape.kind == TSelectionShape::Kind::Rectangle) {
      shape.rect = ClipRect(shape.rect, width_, height_);
    } else {
      for (TPicturePoint& p : shape.polygon) p = {std::clamp(p.x, 0, width_), std::clamp(p.y, 0, height_)};
    }
  }
  std::erase_if(shapes_, [this](const TSelectionShape& s) { return !ShapeHasPixels(s); });
}

TPictureMask TSelection::BuildMask() const {
  TPictureMask mask(width_, height_);
  if (shapes_.empty()) return mask;
  mask.Reserve(BoundingBox());
  for (const TSelectionShape& shape : shapes_) {
    if (shape.kind == TSelectionShape::Kind::Rectangle) {
      const TPictureRect r = ClipRect(shape.rect, width_, height_);
      for (int y = r.top; y <= r.bottom; ++y) mask.SetSpan(y, r.left, r.right);
    } else {
      ForEachPolygonSpan(shape.polygon, width_, height_,
                         [&](int y, int x0, int x1) { mask.SetSpan(y, x0, x1); });
    }
  }
  mask.Shrink();
  return mask;
}

}  // namespace vistrel
