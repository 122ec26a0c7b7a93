#include "picture/annotation/annotation_painter.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "imaging/operations/progress.h"
#include "imaging/operations/redaction.h"

namespace vistrel {

namespace {

QColor ToQColor(TColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

QPointF Centre(TPointF p) { return {p.x + 0.5, p.y + 0.5}; }

// The highlighter's stroke is this many times the chosen width.
constexpr int kHighlighterSpread = 5;

QPen Pen(const TAnnotation& a, int width) {
  QPen pen(ToQColor(a.color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  return pen;
}

void PaintArrow(QPainter& painter, const TAnnotation& a) {
  const QPointF from = Centre(a.points[0]), to = Centre(a.points[1]);
  const double dx = to.x() - from.x(), dy = to.y() - from.y();
  const double length = std::hypot(dx, dy);
  if (length < 0.5) return;
  const double ux = dx / length, uy = dy / length;
  const double head_length = std::min(length, 4.0 * a.width + 6);
  const double head_half = 2.0 * a.width + 3;
  const QPointF base(to.x() - ux * head_length, to.y() - uy * head_length);
  painter.setPen(Pen(a, a.width));
  painter.drawLine(from, base);
  QPainterPath head;
  head.moveTo(to);
  head.lineTo(base.x() - uy * head_half, base.y() + ux * head_half);
  head.lineTo(base.x() + uy * head_half, base.y() - ux * head_half);
  head.closeSubpath();
  painter.fillPath(head, ToQColor(a.color));
}

void PaintStroke(QPainter& painter, const TAnnotation& a, int width) {
  QPainterPath path(Centre(a.points[0]));
  for (std::size_t i = 1; i < a.points.size(); ++i) path.lineTo(Centre(a.points[i]));
  if (a.points.size() == 1) path.lineTo(Centre(a.points[0]) + QPointF(0.01, 0));
  painter.strokePath(path, Pen(a, width));
}

void PaintMarker(QPainter& painter, const TAnnotation& a) {
  const TRectF r = BoundsOf(a);
  const QRectF circle(r.left + 0.5, r.top + 0.5, r.right - r.left, r.bottom - r.top);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ToQColor(a.color));
  painter.drawEllipse(circle);
  // The digits in black on a light colour, in white on a dark one.
  const int light = RedOf(a.color) * 299 + GreenOf(a.color) * 587 + BlueOf(a.color) * 114;
  painter.setPen(light > 160000 ? Qt::black : Qt::white);
  QFont font;
  font.setBold(true);
  font.setPixelSize(int(circle.height() * 0.6));
  painter.setFont(font);
  painter.drawText(circle, Qt::AlignCenter, QString::number(a.number));
}

void PaintText(QPainter& painter, const TAnnotation& a) {
  QFont font(QString::fromStdString(a.font));
  font.setPixelSize(std::max(1, a.font_size));
  painter.setFont(font);
  painter.setPen(ToQColor(a.color));
  const TPointF at = a.points[0];
  painter.drawText(QRectF(at.x, at.y, std::max(1.0, a.extent.x), std::max(1.0, a.extent.y)),
                   Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(a.text));
}

QImage PictureImage(TPictureBitmap& picture) {
  return QImage(picture.Row(0), picture.Width(), picture.Height(), int(picture.Stride()),
                QImage::Format_BGR888);
}

// The drag's pixels, both ends included, as a selection takes them, cut to
// the picture: left, top, right and bottom (exclusive).
TRedactedRect RedactedRect(const TPictureBitmap& picture, const TAnnotation& annotation) {
  const TRectF r = SpannedRect(annotation.points.front(), annotation.points.back());
  const int l = std::clamp(int(std::floor(r.left)), 0, picture.Width());
  const int t = std::clamp(int(std::floor(r.top)), 0, picture.Height());
  const int rr = std::clamp(int(std::floor(r.right)) + 1, l, picture.Width());
  const int b = std::clamp(int(std::floor(r.bottom)) + 1, t, picture.Height());
  return {l, t, rr, b};
}

// FNV-1a over the rectangle's bytes, eight at a time: far cheaper than a
// blur of them.
std::uint64_t HashOf(const TPictureBitmap& picture, const TRedactedRect& rect) {
  std::uint64_t hash = 14695981039346656037ull;
  const auto mix = [&hash](std::uint64_t word) { hash = (hash ^ word) * 1099511628211ull; };
  const std::size_t bytes = std::size_t(rect[2] - rect[0]) * 3;
  for (int y = rect[1]; y < rect[3]; ++y) {
    const std::uint8_t* row = picture.Row(y) + std::size_t(rect[0]) * 3;
    std::size_t i = 0;
    for (std::uint64_t word; i + 8 <= bytes; i += 8) {
      std::memcpy(&word, row + i, 8);
      mix(word);
    }
    for (; i < bytes; ++i) mix(row[i]);
  }
  return hash;
}

}  // namespace

TPictureBitmap RedactedArea(const TPictureBitmap& picture, const TAnnotation& annotation,
                            int* left, int* top) {
  const auto [l, t, rr, b] = RedactedRect(picture, annotation);
  *left = l, *top = t;
  TPictureBitmap area(rr - l, b - t);
  for (int y = t; y < b; ++y)
    std::copy_n(picture.Row(y) + std::size_t(l) * 3, std::size_t(rr - l) * 3, area.Row(y - t));
  TProgress progress;
  if (annotation.tool == TAnnotationTool::Pixelate)
    PixelatePicture(area, std::max(8, annotation.width), progress);
  else
    GaussianBlur(area, std::max(1, annotation.width), progress);
  return area;
}

const TPictureBitmap& TRedactionPreviews::Area(const TPictureBitmap& picture,
                                               const TAnnotation& annotation, int* left,
                                               int* top) {
  const TRedactedRect rect = RedactedRect(picture, annotation);
  const std::uint64_t source = HashOf(picture, rect);
  *left = rect[0], *top = rect[1];
  for (TEntry& e : entries_)
    if (e.tool == annotation.tool && e.width == annotation.width && e.rect == rect &&
        e.source == source) {
      e.used = true;
      return e.area;
    }
  entries_.push_back({annotation.tool, annotation.width, rect, source,
                      RedactedArea(picture, annotation, left, top), true});
  return entries_.back().area;
}

void TRedactionPreviews::DropUnused() {
  std::erase_if(entries_, [](const TEntry& e) { return !e.used; });
  for (TEntry& e : entries_) e.used = false;
}

void PaintAnnotation(QPainter& painter, const TAnnotation& a, const TPictureBitmap& picture,
                     TRedactionPreviews* previews) {
  if (a.points.empty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  switch (a.tool) {
    case TAnnotationTool::Arrow:
      if (a.points.size() >= 2) PaintArrow(painter, a);
      break;
    case TAnnotationTool::Line:
      if (a.points.size() >= 2) {
        painter.setPen(Pen(a, a.width));
        painter.drawLine(Centre(a.points[0]), Centre(a.points[1]));
      }
      break;
    case TAnnotationTool::Rectangle:
    case TAnnotationTool::Ellipse: {
      const TRectF r = SpannedRect(a.points.front(), a.points.back());
      const QRectF shape(r.left + 0.5, r.top + 0.5, r.right - r.left, r.bottom - r.top);
      painter.setPen(Pen(a, a.width));
      painter.setBrush(a.filled ? QBrush(ToQColor(a.color)) : QBrush(Qt::NoBrush));
      if (a.tool == TAnnotationTool::Rectangle) {
        painter.setPen(QPen(ToQColor(a.color), a.width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(shape);
      } else {
        painter.drawEllipse(shape);
      }
      break;
    }
    case TAnnotationTool::Pen:
      PaintStroke(painter, a, a.width);
      break;
    case TAnnotationTool::Highlighter:
      // Multiplied: the colour darkens what is below, text stays readable.
      painter.setCompositionMode(QPainter::CompositionMode_Multiply);
      PaintStroke(painter, a, a.width * kHighlighterSpread);
      break;
    case TAnnotationTool::Marker:
      PaintMarker(painter, a);
      break;
    case TAnnotationTool::Text:
      PaintText(painter, a);
      break;
    case TAnnotationTool::Pixelate:
    case TAnnotationTool::Blur: {
      if (picture.IsMono() || picture.Width() == 0) break;
      int left = 0, top = 0;
      TPictureBitmap computed;
      const TPictureBitmap& area =
          previews ? previews->Area(picture, a, &left, &top)
                   : (computed = RedactedArea(picture, a, &left, &top));
      if (area.Width() == 0) break;
      painter.setRenderHint(QPainter::Antialiasing, false);
      painter.drawImage(QPointF(left, top),
                        QImage(area.Row(0), area.Width(), area.Height(), int(area.Stride()),
                               QImage::Format_BGR888));
      break;
    }
    case TAnnotationTool::None:
      break;
  }
  painter.restore();
}

void DrawAnnotationsInto(TPictureBitmap& picture, const std::vector<TAnnotation>& layer) {
  if (picture.IsMono() || picture.Width() == 0) return;
  for (const TAnnotation& a : layer) {
    if (a.points.empty()) continue;
    if (a.tool == TAnnotationTool::Pixelate || a.tool == TAnnotationTool::Blur) {
      int left = 0, top = 0;
      const TPictureBitmap area = RedactedArea(picture, a, &left, &top);
      for (int y = 0; y < area.Height(); ++y)
        std::copy_n(area.Row(y), std::size_t(area.Width()) * 3,
                    picture.Row(top + y) + std::size_t(left) * 3);
      continue;
    }
    QImage image = PictureImage(picture);
    QPainter painter(&image);
    PaintAnnotation(painter, a, picture);
  }
}

}  // namespace vistrel
