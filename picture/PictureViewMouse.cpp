// The picture view's selection and mouse handling: hit tests for grips and
// the inside of the selection, the drags that draw, move and resize it, the
// hover cursors and the wheel zoom.
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "picture/TPictureView.h"

namespace vistrel {

namespace {

// Wheel deltas come in notches of 120; finer wheels add up to notches.
constexpr int kWheelNotch = 120;

}  // namespace

// ---- selection ------------------------------------------------------------

void TPictureView::SelectRect(int left, int top, int right, int bottom) {
  drag_ = TDrag::None;
  selection_.SelectRect(left, top, right, bottom, false);
  CommitSelection();
  Repaint();
}

void TPictureView::ClearSelection() {
  drag_ = TDrag::None;
  selection_.Clear();
  CommitSelection();
  Repaint();
}

void TPictureView::CommitSelection() { mask_ = selection_.BuildMask(); }

TGrip TPictureView::GripAt(QPoint client) const {
  if (!(options_ & soSizeable) || !selection_.IsSingleRect()) return TGrip::None;
  const QRect r = SelectionClientRect();
  const int xs[3] = {r.left(), (r.left() + r.right()) / 2, r.right()};
  const int ys[3] = {r.top(), (r.top() + r.bottom()) / 2, r.bottom()};
  struct Spot { TGrip grip; int i, j; };
  // Corners first: on a small selection they win over the side grips.
  static constexpr Spot kSpots[] = {
      {TGrip::TopLeft, 0, 0},  {TGrip::TopRight, 2, 0}, {TGrip::BottomRight, 2, 2}, {TGrip::BottomLeft, 0, 2},
      {TGrip::Top, 1, 0},      {TGrip::Right, 2, 1},    {TGrip::Bottom, 1, 2},      {TGrip::Left, 0, 1}};
  for (const Spot& s : kSpots) {
    if (!IsCornerGrip(s.grip) && !extended_grips_) continue;
    if (QRect(xs[s.i] - grip_size_, ys[s.j] - grip_size_, 2 * grip_size_, 2 * grip_size_).contains(client)) return s.grip;
  }
  return TGrip::None;
}

bool TPictureView::InsideSelection(QPoint client) const {
  const int dx = client.x() - OffsetX(), dy = client.y() - OffsetY();
  if (dx < 0 || dy < 0 || dx >= VisibleExtentX() || dy >= VisibleExtentY()) return false;
  return mask_.Inside(DrawnPictureIndex(AxisX(), zoom_, dx), DrawnPictureIndex(AxisY(), zoom_, dy));
}

QPoint TPictureView::ClampToPicture(QPoint client) const {
  const int ox = OffsetX(), oy = OffsetY();
  return QPoint(std::clamp(client.x(), ox, ox + std::max(VisibleExtentX(), 1) - 1),
                std::clamp(client.y(), oy, oy + std::max(VisibleExtentY(), 1) - 1));
}

void TPictureView::ShowCursorFor(QPoint client) {
  if (drag_ != TDrag::None) return;
  int id = cursor_id_;
  if (interact_ & (miSelect | miSelectCircle)) {
    const TGrip grip = GripAt(client);
    if (grip != TGrip::None) id = GripCursorId(grip);
    else if ((options_ & soMoveable) && InsideSelection(client)) id = crMove;
  }
  ShowCursorId(id);
}

void TPictureView::BeginDrag(QPoint client, Qt::KeyboardModifiers modifiers) {
  press_client_ = client;
  const QPoint clamped = ClampToPicture(client);
  press_picture_ = {ScreenToPictureX(clamped.x()), ScreenToPictureY(clamped.y())};
  moved_ = false;
  adding_ = modifiers & Qt::ShiftModifier;
  const TGrip grip = GripAt(client);
  if (grip != TGrip::None) {
    drag_ = TDrag::Resize;
    grip_drag_ = TGripDrag(SelectionBox(), grip);
  } else if ((options_ & soMoveable) && InsideSelection(client)) {
    drag_ = TDrag::Move;
    drag_base_ = selection_;
  } else {
    drag_ = (interact_ & miSelectCircle) ? TDrag::NewEllipse : TDrag::NewRect;
    drag_base_ = selection_;
    if (!adding_) drag_base_.Clear();
  }
  emit OnSelectionChanging();
}

void TPictureView::ContinueDrag(QPoint client, Qt::KeyboardModifiers modifiers) {
  if (!moved_ && client == press_client_) return;
  moved_ = true;
  const bool keep_shape = modifiers & Qt::AltModifier;
  const bool cut = options_ & soCutBorders;
  const int w = picture_->Width(), h = picture_->Height();
  // Mouse movement in picture pixels, for moving and resizing.
  const int dx = RoundToInt((client.x() - press_client_.x()) * 100.0 / zoom_);
  const int dy = RoundToInt((client.y() - press_client_.y()) * 100.0 / zoom_);
  const QPoint clamped = ClampToPicture(client);
  const int px = ScreenToPictureX(clamped.x()), py = ScreenToPictureY(clamped.y());
  switch (drag_) {
    case TDrag::NewRect: {
      const TPictureRect r = DragRect(press_picture_.x, press_picture_.y, px, py, keep_shape, w, h, cut);
      selection_ = drag_base_;
      selection_.SelectRect(r.left, r.top, r.right, r.bottom, adding_);
      break;
    }
    case TDrag::NewEllipse: {
      double rx = std::abs(double(px) - press_picture_.x), ry = std::abs(double(py) - press_picture_.y);
      if (keep_shape) rx = ry = std::max(rx, ry);
      selection_ = drag_base_;
      selection_.SelectEllipse(press_picture_.x, press_picture_.y, rx, ry, adding_);
      break;
    }
    case TDrag::Move: {
      const TPicturePoint d = cut ? drag_base_.LimitMove(dx, dy) : TPicturePoint{dx, dy};
      selection_ = drag_base_;
      selection_.MoveBy(d.x, d.y);
      break;
    }
    case TDrag::Resize: {
      const TPictureRect r = grip_drag_.Drag(dx, dy, keep_shape, w, h, cut);
      selection_.SelectRect(r.left, r.top, r.right, r.bottom, false);
      ShowCursorId(GripCursorId(grip_drag_.CurrentGrip()));
      break;
    }
    case TDrag::None: return;
  }
  emit OnSelectionChanging();
  Repaint();
}

void TPictureView::FinishDrag() {
  const TDrag kind = drag_;
  drag_ = TDrag::None;
  if (!moved_ && (kind == TDrag::NewRect || kind == TDrag::NewEllipse)) selection_.Clear();
  CommitSelection();
  Repaint();
  emit OnSelectionChange();
}

void TPictureView::mousePressEvent(QMouseEvent* event) {
  event->accept();
  // Another button pressed during a left-button drag is ignored altogether.
  if (event->button() != Qt::LeftButton && (event->buttons() & Qt::LeftButton)) return;
  const QPoint p = event->position().toPoint();
  emit OnMouseDown(event->button(), event->modifiers(), p.x(), p.y());
  if (event->button() != Qt::LeftButton || drag_ != TDrag::None) return;
  // Nothing to select on where no picture is drawn (empty, or zoomed to nothing).
  if (!(interact_ & (miSelect | miSelectCircle)) || VisibleExtentX() <= 0 || VisibleExtentY() <= 0) return;
  BeginDrag(p, event->modifiers());
  Repaint();
}

void TPictureView::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  const QPoint p = event->position().toPoint();
  emit OnMouseMove(event->buttons(), event->modifiers(), p.x(), p.y());
  if (drag_ == TDrag::None) ShowCursorFor(p);
  else if (event->buttons() & Qt::LeftButton) ContinueDrag(p, event->modifiers());
}

void TPictureView::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton && (event->buttons() & Qt::LeftButton)) return;
  const QPoint p = event->position().toPoint();
  emit OnMouseUp(event->button(), event->modifiers(), p.x(), p.y());
  if (event->button() == Qt::LeftButton && drag_ != TDrag::None) FinishDrag();
  ShowCursorFor(p);
}

void TPictureView::wheelEvent(QWheelEvent* event) {
  event->accept();
  const int delta = event->angleDelta().y();
  const QPoint p = event->position().toPoint();
  emit OnMouseWheel(delta, event->modifiers(), p.x(), p.y());
  if (auto_fit_ || delta == 0) return;  // a purely sideways scroll is no zoom
  if ((wheel_rest_ > 0) != (delta > 0)) wheel_rest_ = 0;
  wheel_rest_ += delta;
  while (std::abs(wheel_rest_) >= kWheelNotch) {
    const int notch = wheel_rest_ > 0 ? 1 : -1;
    wheel_rest_ -= notch * kWheelNotch;
    SetZoomPercent(WheelZoom(zoom_, notch));  // an unusable result is ignored
  }
}

}  // namespace vistrel
