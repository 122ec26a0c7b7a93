#include "picture/annotation/annotate_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>
#include <map>

#include "picture/stored_color.h"

namespace vistrel {

namespace {

constexpr int kSide = 24;

void DrawTool(QPainter& p, TAnnotationTool tool) {
  const QColor ink(40, 40, 40);
  const QColor red(220, 0, 0);
  p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  switch (tool) {
    case TAnnotationTool::Arrow: {
      p.drawLine(QPointF(4, 20), QPointF(16, 8));
      QPainterPath head(QPointF(20, 4));
      head.lineTo(11, 7);
      head.lineTo(17, 13);
      head.closeSubpath();
      p.fillPath(head, ink);
      break;
    }
    case TAnnotationTool::Line:
      p.drawLine(QPointF(4, 20), QPointF(20, 4));
      break;
    case TAnnotationTool::Rectangle:
      p.drawRect(QRectF(4, 6, 16, 12));
      break;
    case TAnnotationTool::Ellipse:
      p.drawEllipse(QRectF(3, 6, 18, 12));
      break;
    case TAnnotationTool::Pen: {
      QPainterPath squiggle(QPointF(3, 16));
      squiggle.cubicTo(7, 4, 11, 22, 15, 10);
      squiggle.cubicTo(17, 5, 20, 8, 21, 12);
      p.drawPath(squiggle);
      break;
    }
    case TAnnotationTool::Highlighter:
      p.setPen(QPen(QColor(255, 220, 0), 7, Qt::SolidLine, Qt::FlatCap));
      p.drawLine(QPointF(3, 14), QPointF(21, 14));
      p.setPen(QPen(ink, 1));
      p.drawLine(QPointF(5, 14), QPointF(19, 14));
      break;
    case TAnnotationTool::Marker: {
      p.setPen(Qt::NoPen);
      p.setBrush(red);
      p.drawEllipse(QRectF(3, 3, 18, 18));
      QFont font;
      font.setBold(true);
      font.setPixelSize(13);
      p.setFont(font);
      p.setPen(Qt::white);
      p.drawText(QRectF(3, 3, 18, 18), Qt::AlignCenter, QStringLiteral("1"));
      break;
    }
    case TAnnotationTool::Text: {
      QFont font(QStringLiteral("serif"));
      font.setBold(true);
      font.setPixelSize(20);
      p.setFont(font);
      p.drawText(QRectF(0, 0, kSide, kSide), Qt::AlignCenter, QStringLiteral("T"));
      break;
    }
    case TAnnotationTool::Pixelate:
      p.setPen(Qt::NoPen);
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
          const int shade = 70 + ((x * 5 + y * 3) % 7) * 25;
          p.fillRect(QRectF(4 + x * 4, 4 + y * 4, 4, 4), QColor(shade, shade, shade));
        }
      break;
    case TAnnotationTool::Blur: {
      QRadialGradient glow(QPointF(12, 12), 10);
      glow.setColorAt(0, ink);
      glow.setColorAt(1, Qt::transparent);
      p.setPen(Qt::NoPen);
      p.setBrush(glow);
      p.drawEllipse(QRectF(2, 2, 20, 20));
      break;
    }
    case TAnnotationTool::None:
      break;
  }
}

// Built once, as the window's other icons: every window asks again, and
// each new icon would keep pixmaps of its own in the pixmap cache. Kept to
// the end of the process, since a pixmap must not outlive the application.
template <typename Key>
QIcon Remembered(const Key& key, QIcon (*draw)(const Key&)) {
  static auto& icons = *new std::map<Key, QIcon>;
  if (const auto found = icons.find(key); found != icons.end()) return found->second;
  return icons.emplace(key, draw(key)).first->second;
}

QIcon DrawToolIcon(const TAnnotationTool& tool) {
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawTool(painter, tool);
  return QIcon(pixmap);
}

QIcon DrawSwatch(const TColor& color) {
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(QColor(90, 90, 90));
  painter.setBrush(QColorFromStored(color));
  painter.drawRect(QRect(3, 3, kSide - 7, kSide - 7));
  return QIcon(pixmap);
}

}  // namespace

QIcon AnnotationToolIcon(TAnnotationTool tool) { return Remembered(tool, &DrawToolIcon); }

QIcon ColorSwatchIcon(TColor color) { return Remembered(color, &DrawSwatch); }

}  // namespace vistrel
