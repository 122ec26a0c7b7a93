#include "picture/annotation/annotation_objects.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vistrel {

namespace {

// A marker's radius: room for two digits at any width.
double MarkerRadius(const TAnnotation& a) { return 10 + 2.0 * a.width; }

double DistanceToSegment(TPointF p, TPointF a, TPointF b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  const double t =
      length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

TRectF PointsBounds(const std::vector<TPointF>& points) {
  TRectF r{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const TPointF& p : points) {
    r.left = std::min(r.left, p.x), r.top = std::min(r.top, p.y);
    r.right = std::max(r.right, p.x), r.bottom = std::max(r.bottom, p.y);
  }
  return r;
}

}  // namespace

bool IsTwoPointShape(TAnnotationTool tool) {
  return tool == TAnnotationTool::Arrow || tool == TAnnotationTool::Line ||
         tool == TAnnotationTool::Rectangle || tool == TAnnotationTool::Ellipse ||
         tool == TAnnotationTool::Pixelate || tool == TAnnotationTool::Blur;
}

TAnnotationTool ToolForKey(char key) {
  switch (key) {
    case 'A': case 'a': return TAnnotationTool::Arrow;
    case 'L': case 'l': return TAnnotationTool::Line;
    case 'R': case 'r': return TAnnotationTool::Rectangle;
    case 'E': case 'e': return TAnnotationTool::Ellipse;
    case 'P': case 'p': return TAnnotationTool::Pen;
    case 'H': case 'h': return TAnnotationTool::Highlighter;
    case 'N': case 'n': return TAnnotationTool::Marker;
    case 'T': case 't': return TAnnotationTool::Text;
    case 'X': case 'x': return TAnnotationTool::Pixelate;
    case 'B': case 'b': return TAnnotationTool::Blur;
    default: return TAnnotationTool::None;
  }
}

TPointF ConstrainedEnd(TAnnotationTool tool, TPointF start, TPointF end) {
  const double dx = end.x - start.x, dy = end.y - start.y;
  if (tool == TAnnotationTool::Line || tool == TAnnotationTool::Arrow) {
    const double step = std::numbers::pi / 4;
    const double angle = std::round(std::atan2(dy, dx) / step) * step;
    const double length = std::hypot(dx, dy);
    // Exact multiples of 45 degrees: no drift from sine and cosine.
    const double c = std::round(std::cos(angle) * 1e12) / 1e12;
    const double s = std::round(std::sin(angle) * 1e12) / 1e12;
    const double k = (c != 0 && s != 0) ? length / std::numbers::sqrt2 : length;
    return {start.x + (c > 0 ? k : c < 0 ? -k : 0), start.y + (s > 0 ? k : s < 0 ? -k : 0)};
  }
  if (tool == TAnnotationTool::Rectangle || tool == TAnnotationTool::Ellipse) {
    const double side = std::max(std::abs(dx), std::abs(dy));
    return {start.x + (dx < 0 ? -side : side), start.y + (dy < 0 ? -side : side)};
  }
  return end;
}

int NextMarkerNumber(const std::vector<TAnnotation>& layer) {
  int highest = 0;
  for (const TAnnotation& a : layer)
    if (a.tool == TAnnotationTool::Marker) highest = std::max(highest, a.number);
  return highest + 1;
}

TRectF SpannedRect(TPointF a, TPointF b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

TRectF BoundsOf(const TAnnotation& annotation) {
  if (annotation.points.empty()) return {};
  const TPointF first = annotation.points.front();
  switch (annotation.tool) {
    case TAnnotationTool::Marker: {
      const double r = MarkerRadius(annotation);
      return {first.x - r, first.y - r, first.x + r, first.y + r};
    }
    case TAnnotationTool::Text:
      return {first.x, first.y, first.x + annotation.extent.x, first.y + annotation.extent.y};
    case TAnnotationTool::Pixelate:
    case TAnnotationTool::Blur:
      return PointsBounds(annotation.points);
    default: {
      TRectF r = PointsBounds(annotation.points);
      // An arrow's head reaches out about three widths beside its line.
      const double half =
          annotation.width * (annotation.tool == TAnnotationTool::Arrow ? 3.0 : 0.5) + 1;
      return {r.left - half, r.top - half, r.right + half, r.bottom + half};
    }
  }
}

std::optional<std::size_t> ObjectAt(const std::vector<TAnnotation>& layer, TPointF point,
                                    double tolerance) {
  for (std::size_t i = layer.size(); i-- > 0;) {
    const TAnnotation& a = layer[i];
    if (a.points.empty()) continue;
    const double reach = tolerance + a.width / 2.0;
    bool hit = false;
    switch (a.tool) {
      case TAnnotationTool::Arrow:
      case TAnnotationTool::Line:
        hit = a.points.size() >= 2 && DistanceToSegment(point, a.points[0], a.points[1]) <= reach;
        break;
      case TAnnotationTool::Pen:
      case TAnnotationTool::Highlighter:
        for (std::size_t k = 0; k < a.points.size() && !hit; ++k)
          hit = DistanceToSegment(point, a.points[k], a.points[std::min(k + 1, a.points.size() - 1)]) <=
                reach;
        break;
      case TAnnotationTool::Rectangle:
      case TAnnotationTool::Ellipse: {
        // Filled shapes are taken anywhere inside; outlines near their line.
        const TRectF r = SpannedRect(a.points[0], a.points.back());
        const TRectF outer{r.left - reach, r.top - reach, r.right + reach, r.bottom + reach};
        const TRectF inner{r.left + reach, r.top + reach, r.right - reach, r.bottom - reach};
        hit = outer.Contains(point) && (a.filled || !inner.Contains(point));
        break;
      }
      default:
        hit = BoundsOf(a).Contains(point);
    }
    if (hit) return i;
  }
  return std::nullopt;
}

void MoveAnnotation(TAnnotation& annotation, double dx, double dy) {
  for (TPointF& p : annotation.points) p = {p.x + dx, p.y + dy};
}

TRectF FrameOf(const TAnnotation& annotation) {
  if (annotation.points.empty()) return {};
  if (annotation.tool == TAnnotationTool::Marker || annotation.tool == TAnnotationTool::Text)
    return BoundsOf(annotation);
  return PointsBounds(annotation.points);
}

void ResizeAnnotation(TAnnotation& annotation, const TRectF& frame) {
  if (annotation.points.empty()) return;
  const TRectF old = FrameOf(annotation);
  if (annotation.tool == TAnnotationTool::Marker || annotation.tool == TAnnotationTool::Text)
    return MoveAnnotation(annotation, frame.left - old.left, frame.top - old.top);
  const double sx = old.right > old.left ? (frame.right - frame.left) / (old.right - old.left) : 1;
  const double sy = old.bottom > old.top ? (frame.bottom - frame.top) / (old.bottom - old.top) : 1;
  for (TPointF& p : annotation.points)
    p = {frame.left + (p.x - old.left) * sx, frame.top + (p.y - old.top) * sy};
}

}  // namespace vistrel
