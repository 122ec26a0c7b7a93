#include "picture/annotation/annotate_overlay.h"

#include <QFont>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "picture/TPictureView.h"
#include "picture/annotation/annotation_painter.h"

namespace vistrel {

namespace {

// Screen pixels around a thin line that still count as on it.
constexpr double kReachOnScreen = 4;
constexpr int kGripSize = 7;
// Shorter drags are clicks: nothing is drawn.
constexpr double kLeastDrag = 1;

// Grip k of a frame: corners and edge middles, clockwise from top-left.
QPointF GripPoint(const QRectF& f, int k) {
  const double xs[] = {f.left(), f.center().x(), f.right(), f.right(),
                       f.right(), f.center().x(), f.left(), f.left()};
  const double ys[] = {f.top(), f.top(), f.top(), f.center().y(),
                       f.bottom(), f.bottom(), f.bottom(), f.center().y()};
  return {xs[k], ys[k]};
}

// The frame after grip k was dragged by (dx, dy) picture pixels.
TRectF DraggedFrame(TRectF f, int grip, double dx, double dy) {
  if (grip == 0 || grip == 6 || grip == 7) f.left += dx;
  if (grip == 2 || grip == 3 || grip == 4) f.right += dx;
  if (grip == 0 || grip == 1 || grip == 2) f.top += dy;
  if (grip == 4 || grip == 5 || grip == 6) f.bottom += dy;
  return f;
}

}  // namespace

TAnnotateOverlay::TAnnotateOverlay(TPictureView& view) : QWidget(view.viewport()), view_(view) {
  setObjectName("AnnotateOverlay");
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(false);
  setGeometry(view.viewport()->rect());
  view.viewport()->installEventFilter(this);
  hide();
}

bool TAnnotateOverlay::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_.viewport() && event->type() == QEvent::Resize)
    setGeometry(view_.viewport()->rect());
  return false;
}

void TAnnotateOverlay::SetTool(TAnnotationTool tool) {
  EndTyping();
  drag_ = TDrag::None;
  tool_ = tool;
  setVisible(tool != TAnnotationTool::None);
  setCursor(tool == TAnnotationTool::Text ? Qt::IBeamCursor : Qt::CrossCursor);
  update();
}

std::vector<TAnnotation> TAnnotateOverlay::TakeLayer() {
  EndTyping();
  drag_ = TDrag::None;
  selected_.reset();
  std::vector<TAnnotation> marks = std::move(layer_);
  layer_.clear();
  // The hidden overlay paints no more: its areas would stay until the next tool.
  previews_.Clear();
  update();
  return marks;
}

TColor TAnnotateOverlay::ToolColor() const {
  const bool highlighter = selected_ ? layer_[*selected_].tool == TAnnotationTool::Highlighter
                                     : tool_ == TAnnotationTool::Highlighter;
  return highlighter ? style_.HighlighterColor : style_.Color;
}

void TAnnotateOverlay::ApplyColor(TColor color) {
  const bool highlighter = selected_ ? layer_[*selected_].tool == TAnnotationTool::Highlighter
                                     : tool_ == TAnnotationTool::Highlighter;
  (highlighter ? style_.HighlighterColor : style_.Color) = color;
  if (selected_) {
    layer_[*selected_].color = color;
    Changed();
  }
}

void TAnnotateOverlay::ApplyWidth(int width) {
  style_.Width = width;
  if (selected_) {
    layer_[*selected_].width = width;
    Changed();
  }
}

void TAnnotateOverlay::ApplyFont(const std::string& family, int size) {
  style_.Font = family;
  style_.FontSize = size;
  if (selected_ && layer_[*selected_].tool == TAnnotationTool::Text) {
    layer_[*selected_].font = family;
    layer_[*selected_].font_size = size;
    FitText(layer_[*selected_]);
    Changed();
  }
}

bool TAnnotateOverlay::RemoveSelected() {
  if (!selected_) return false;
  if (typing_ == selected_) typing_.reset();
  layer_.erase(layer_.begin() + std::ptrdiff_t(*selected_));
  selected_.reset();
  Changed();
  return true;
}

bool TAnnotateOverlay::RemoveLast() {
  if (layer_.empty()) return false;
  typing_.reset();
  selected_.reset();
  layer_.pop_back();
  Changed();
  return true;
}

void TAnnotateOverlay::TypeKey(const QKeyEvent& event) {
  if (!typing_) return;
  TAnnotation& text = layer_[*typing_];
  switch (event.key()) {
    case Qt::Key_Escape:
      EndTyping();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      text.text += '\n';
      break;
    case Qt::Key_Backspace:
      if (!text.text.empty()) {
        // Whole UTF-8 characters: drop continuation bytes with their lead.
        std::size_t end = text.text.size() - 1;
        while (end > 0 && (static_cast<unsigned char>(text.text[end]) & 0xC0) == 0x80) --end;
        text.text.erase(end);
      }
      break;
    default: {
      const QString typed = event.text();
      if (typed.isEmpty() || !typed.at(0).isPrint()) return;
      text.text += typed.toStdString();
    }
  }
  FitText(text);
  Changed();
}

void TAnnotateOverlay::EndTyping() {
  if (!typing_) return;
  const std::size_t index = *typing_;
  typing_.reset();
  if (layer_[index].text.empty()) {
    layer_.erase(layer_.begin() + std::ptrdiff_t(index));
    if (selected_ == index) selected_.reset();
  }
  Changed();
}

void TAnnotateOverlay::FitText(TAnnotation& text) const {
  QFont font(QString::fromStdString(text.font));
  font.setPixelSize(std::max(1, text.font_size));
  const QFontMetricsF metrics(font);
  // An empty line still shows where the text goes.
  const QString shown = QString::fromStdString(text.text) + QStringLiteral(" ");
  const QRectF box = metrics.boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop, shown);
  text.extent = {std::ceil(box.width()), std::ceil(box.height())};
}

void TAnnotateOverlay::Changed() {
  update();
  emit LayerChanged();
}

TPointF TAnnotateOverlay::PicturePoint(QPoint client) const {
  // The picture pixel drawn under the pointer's pixel.
  const QPointF p = view_.PictureToClientTransform().inverted().map(QPointF(client) + QPointF(0.5, 0.5));
  return {std::floor(p.x()), std::floor(p.y())};
}

QRectF TAnnotateOverlay::SelectedClientFrame() const {
  if (!selected_) return {};
  const TRectF f = FrameOf(layer_[*selected_]);
  return view_.PictureToClientTransform().mapRect(QRectF(QPointF(f.left, f.top), QPointF(f.right + 1, f.bottom + 1)));
}

int TAnnotateOverlay::GripAt(QPoint client) const {
  if (!selected_) return -1;
  const QRectF frame = SelectedClientFrame();
  for (int k = 0; k < 8; ++k) {
    const QPointF g = GripPoint(frame, k);
    if (std::abs(client.x() - g.x()) <= kGripSize / 2.0 + 1 && std::abs(client.y() - g.y()) <= kGripSize / 2.0 + 1)
      return k;
  }
  return -1;
}

void TAnnotateOverlay::StartMark(TPointF at, Qt::KeyboardModifiers modifiers) {
  TAnnotation mark;
  mark.tool = tool_;
  mark.color = ToolColor();
  mark.width = style_.Width;
  mark.points = {at};
  switch (tool_) {
    case TAnnotationTool::Marker:
      mark.number = std::max(NextMarkerNumber(layer_), markers_done_ + 1);
      layer_.push_back(mark);
      Changed();
      return;
    case TAnnotationTool::Text:
      mark.font = style_.Font;
      mark.font_size = style_.FontSize;
      FitText(mark);
      layer_.push_back(mark);
      typing_ = layer_.size() - 1;
      Changed();
      return;
    case TAnnotationTool::Rectangle:
    case TAnnotationTool::Ellipse:
      mark.filled = modifiers & Qt::ControlModifier;
      break;
    default:
      break;
  }
  if (IsTwoPointShape(tool_)) mark.points.push_back(at);
  layer_.push_back(mark);
  drag_ = TDrag::Draw;
  update();
}

void TAnnotateOverlay::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || tool_ == TAnnotationTool::None) return;
  const QPoint client = event->position().toPoint();
  const TPointF at = PicturePoint(client);
  press_ = last_ = at;
  const std::optional<std::size_t> typed_before = typing_;
  EndTyping();
  if (const int grip = GripAt(client); grip >= 0) {
    drag_ = TDrag::Resize;
    grip_ = grip;
    frame_at_press_ = FrameOf(layer_[*selected_]);
    return;
  }
  const double reach = kReachOnScreen * 100.0 / view_.ZoomPercent();
  if (const auto hit = ObjectAt(layer_, at, reach)) {
    selected_ = hit;
    // A second click on a text goes on typing into it.
    if (tool_ == TAnnotationTool::Text && layer_[*hit].tool == TAnnotationTool::Text) {
      typing_ = hit;
    } else {
      drag_ = TDrag::Move;
    }
    update();
    return;
  }
  const bool was_selected = selected_.has_value();
  selected_.reset();
  // A click that only ends typing or drops the selection draws nothing.
  if ((typed_before || was_selected) &&
      (tool_ == TAnnotationTool::Text || tool_ == TAnnotationTool::Marker)) {
    update();
    return;
  }
  StartMark(at, event->modifiers());
}

void TAnnotateOverlay::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || drag_ == TDrag::None) return;
  const TPointF at = PicturePoint(event->position().toPoint());
  switch (drag_) {
    case TDrag::Draw: {
      TAnnotation& mark = layer_.back();
      if (IsTwoPointShape(mark.tool)) {
        mark.points[1] = (event->modifiers() & Qt::ShiftModifier)
                             ? ConstrainedEnd(mark.tool, mark.points[0], at)
                             : at;
      } else if (!(mark.points.back() == at)) {
        mark.points.push_back(at);
      }
      break;
    }
    case TDrag::Move:
      MoveAnnotation(layer_[*selected_], at.x - last_.x, at.y - last_.y);
      break;
    case TDrag::Resize: {
      TAnnotation& mark = layer_[*selected_];
      // The frame's right and bottom name its last pixel.
      const TRectF f = DraggedFrame(frame_at_press_, grip_, at.x - press_.x, at.y - press_.y);
      ResizeAnnotation(mark, SpannedRect({f.left, f.top}, {f.right, f.bottom}));
      break;
    }
    case TDrag::None:
      break;
  }
  last_ = at;
  update();
}

void TAnnotateOverlay::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || drag_ == TDrag::None) return;
  const TDrag finished = drag_;
  drag_ = TDrag::None;
  if (finished == TDrag::Draw) {
    const TAnnotation& mark = layer_.back();
    const TRectF span = FrameOf(mark);
    const bool dot = mark.tool == TAnnotationTool::Pen || mark.tool == TAnnotationTool::Highlighter;
    if (!dot && span.right - span.left < kLeastDrag && span.bottom - span.top < kLeastDrag) {
      layer_.pop_back();
      update();
      return;
    }
  }
  Changed();
}

void TAnnotateOverlay::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setTransform(view_.PictureToClientTransform());
  // Committing draws only what lies on the picture.
  painter.setClipRect(QRectF(0, 0, view_.Picture().Width(), view_.Picture().Height()));
  for (const TAnnotation& mark : layer_) PaintAnnotation(painter, mark, view_.Picture(), &previews_);
  previews_.DropUnused();
  painter.resetTransform();
  painter.setClipping(false);
  painter.setRenderHint(QPainter::Antialiasing, false);
  if (typing_) {
    const TAnnotation& text = layer_[*typing_];
    const TRectF f = FrameOf(text);
    const QRectF box = view_.PictureToClientTransform().mapRect(
        QRectF(QPointF(f.left, f.top), QPointF(f.right, f.bottom)));
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
  }
  if (selected_) {
    const QRectF frame = SelectedClientFrame();
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    for (int k = 0; k < 8; ++k) {
      const QPointF g = GripPoint(frame, k);
      painter.drawRect(QRectF(g.x() - kGripSize / 2, g.y() - kGripSize / 2, kGripSize - 1, kGripSize - 1));
    }
  }
}

}  // namespace vistrel
