#include "capture/forms/TFrozenDesktopView.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <cmath>
#include <cstdlib>

#include "capture/overlay_marks.h"
#include "imaging/operations/picture_area.h"
#include "picture/PictureViewCursors.h"
#include "picture/PictureViewImage.h"
#include "platform/qt/device_pointer.h"

namespace vistrel {

namespace {
constexpr int kDash = 5;  // pixels of each colour along the outline
constexpr int kMarkFontPixels = 12;
constexpr int kMarkPadding = 3;

QRect QRectOf(const TScreenRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
}  // namespace

TFrozenDesktopView::TFrozenDesktopView(QWidget* parent)
    : QWidget(parent), normal_cursor_(CursorForId(crSelect)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  setToolTipDuration(4000);
  setCursor(normal_cursor_);
  outline_timer_.setInterval(kOutlineIntervalMs);
  connect(&outline_timer_, &QTimer::timeout, this, &TFrozenDesktopView::AdvanceOutline);
  outline_timer_.start();
}

void TFrozenDesktopView::PictureChanged() {
  image_ = WrapPicture(picture_);
  selection_.SetPictureSize(picture_.Width(), picture_.Height());
  selection_.Clear();
  drag_ = TDrag::None;
  update();
}

void TFrozenDesktopView::SelectRect(int left, int top, int right, int bottom) {
  const QRect old = OutlineRect();
  drag_ = TDrag::None;
  selection_.SelectRect(left, top, right, bottom);
  UpdateOutline(old);
  UpdateOutline(OutlineRect());
  emit OnSelectionShown();
}

void TFrozenDesktopView::ShareSelectionOf(const TFrozenDesktopView& other) {
  const QRect old = OutlineRect();
  selection_ = other.selection_;
  UpdateOutline(old);
  UpdateOutline(OutlineRect());
  RefreshMarks();
}

TPictureBitmap TFrozenDesktopView::CopySelection() const {
  return HasSelection() ? CopyArea(picture_, SelectionBox()) : picture_;
}

void TFrozenDesktopView::SetPictureOffset(QPoint device_offset) {
  fixed_offset_ = device_offset;
  update();
}

void TFrozenDesktopView::SetNormalCursor(const QCursor& cursor) {
  normal_cursor_ = cursor;
  setCursor(cursor);
}

void TFrozenDesktopView::SetMonitors(std::vector<TScreenRect> monitors) {
  monitors_ = std::move(monitors);
  RefreshMarks();
}

void TFrozenDesktopView::SetMagnifying(bool on) {
  if (on == magnifying_) return;
  magnifying_ = on;
  // Shift may come before the pointer has moved over the window.
  const QPointF local = mapFromGlobal(QCursor::pos().toPointF());
  if (on && rect().contains(local.toPoint())) pointer_device_ = DevicePoint(local);
  RefreshMarks();
}

void TFrozenDesktopView::SetHighlight(const std::optional<TScreenRect>& rect) {
  if (rect == highlight_) return;
  if (highlight_) UpdateOutline(QRectOf(*highlight_));
  highlight_ = rect;
  if (highlight_) UpdateOutline(QRectOf(*highlight_));
}

QString TFrozenDesktopView::SizeLabel() const {
  if (label_rect_.isNull()) return QString();
  const TPictureRect box = SelectionBox();
  return QString::fromStdString(SizeLabelText(box.Width(), box.Height()));
}

void TFrozenDesktopView::SetHint(const QString& hint) {
  hint_ = hint;
  // The program's hints break lines with CR LF; a tooltip wants LF alone.
  setToolTip(QString(hint).replace("\r\n", "\n"));
}

// ---- geometry --------------------------------------------------------------

double TFrozenDesktopView::Ratio() const { return devicePixelRatioF(); }

QPoint TFrozenDesktopView::PictureOffset() const {
  if (fixed_offset_) return *fixed_offset_;
  const double r = Ratio();
  const int w = int(std::lround(width() * r)), h = int(std::lround(height() * r));
  return QPoint((w - picture_.Width()) / 2, (h - picture_.Height()) / 2);
}

QPoint TFrozenDesktopView::DevicePoint(QPointF position) const {
  // The small bias keeps a fraction that stands for an exact device pixel
  // from rounding down to its neighbour.
  const double r = Ratio();
  const QPoint scaled(int(std::floor(position.x() * r + 1e-3)), int(std::floor(position.y() * r + 1e-3)));
  if (r == 1 || !screen_origin_) return scaled;
  // Qt rounds scaled positions to whole logical pixels; the desktop's own
  // position of this event is exact. It belongs to this event when it lies
  // within that rounding.
  const std::optional<TScreenPoint> pointer = TDevicePointer::LastScreenPosition();
  if (!pointer) return scaled;
  const QPoint exact(pointer->x - screen_origin_->x(), pointer->y - screen_origin_->y());
  const int reach = int(std::ceil(r));
  if (std::abs(exact.x() - scaled.x()) <= reach && std::abs(exact.y() - scaled.y()) <= reach) return exact;
  return scaled;
}

QPointF TFrozenDesktopView::PositionOf(QPoint picture_point) const {
  return QPointF(picture_point + PictureOffset()) / Ratio();
}

QPoint TFrozenDesktopView::ClampToPicture(QPoint p) const {
  return QPoint(std::clamp(p.x(), 0, std::max(picture_.Width() - 1, 0)),
                std::clamp(p.y(), 0, std::max(picture_.Height() - 1, 0)));
}

QRect TFrozenDesktopView::OutlineRect() const {
  if (!HasSelection()) return QRect();
  const TPictureRect box = SelectionBox();
  return QRect(QPoint(box.left, box.top), QPoint(box.right, box.bottom)).translated(PictureOffset());
}

TGrip TFrozenDesktopView::GripAt(QPoint device) const {
  if (!selection_.IsSingleRect()) return TGrip::None;
  const QRect r = OutlineRect();
  const int xs[3] = {r.left(), (r.left() + r.right()) / 2, r.right()};
  const int ys[3] = {r.top(), (r.top() + r.bottom()) / 2, r.bottom()};
  struct Spot { TGrip grip; int i, j; };
  // Corners first: on a small selection they win over the side grips.
  static constexpr Spot kSpots[] = {
      {TGrip::TopLeft, 0, 0}, {TGrip::TopRight, 2, 0}, {TGrip::BottomRight, 2, 2},
      {TGrip::BottomLeft, 0, 2}, {TGrip::Top, 1, 0}, {TGrip::Right, 2, 1},
      {TGrip::Bottom, 1, 2}, {TGrip::Left, 0, 1}};
  for (const Spot& s : kSpots)
    if (QRect(xs[s.i] - kGripSize, ys[s.j] - kGripSize, 2 * kGripSize, 2 * kGripSize).contains(device))
      return s.grip;
  return TGrip::None;
}

bool TFrozenDesktopView::InsideSelection(QPoint p) const {
  if (!HasSelection()) return false;
  const TPictureRect box = SelectionBox();
  return p.x() >= box.left && p.x() <= box.right && p.y() >= box.top && p.y() <= box.bottom;
}

void TFrozenDesktopView::ShowCursorFor(QPoint device) {
  if (!selecting_) return;
  const TGrip grip = GripAt(device);
  if (grip != TGrip::None) setCursor(CursorForId(GripCursorId(grip)));
  else if (InsideSelection(device - PictureOffset())) setCursor(CursorForId(crMove));
  else setCursor(normal_cursor_);
}

// ---- painting --------------------------------------------------------------

void TFrozenDesktopView::UpdateOutline(const QRect& outline) {
  if (outline.isNull()) return;
  // Only the outline and its grips change; the picture inside stays.
  const int reach = kGripSize + 1;
  const QRect outer = outline.adjusted(-reach, -reach, reach, reach);
  const QRect edges[4] = {QRect(outer.left(), outer.top(), outer.width(), 2 * reach + 1),
                          QRect(outer.left(), outline.bottom() - reach, outer.width(), 2 * reach + 1),
                          QRect(outer.left(), outer.top(), 2 * reach + 1, outer.height()),
                          QRect(outline.right() - reach, outer.top(), 2 * reach + 1, outer.height())};
  const double r = Ratio();
  for (const QRect& edge : edges)
    update(QRectF(edge.x() / r, edge.y() / r, edge.width() / r, edge.height() / r)
               .toAlignedRect()
               .adjusted(-1, -1, 1, 1));
}

void TFrozenDesktopView::AdvanceOutline() {
  // The outline stands still while it is being drawn, moved or resized.
  if (drag_ != TDrag::None || !HasSelection()) return;
  phase_ = (phase_ + 1) % (2 * kDash);
  UpdateOutline(OutlineRect());
}

void TFrozenDesktopView::UpdateDevice(const QRect& device) {
  if (device.isNull()) return;
  const double r = Ratio();
  update(QRectF(device.x() / r, device.y() / r, device.width() / r, device.height() / r)
             .toAlignedRect()
             .adjusted(-1, -1, 1, 1));
}

int TFrozenDesktopView::CellSize() const {
  // A whole number of device pixels per picture pixel keeps them crisp when
  // Qt scales the interface.
  return kMagnifierZoom * std::max(1, int(std::lround(Ratio())));
}

int TFrozenDesktopView::Padding() const { return int(std::lround(kMarkPadding * Ratio())); }

QFont TFrozenDesktopView::MarkFont() const {
  QFont mark = font();
  mark.setPixelSize(int(std::lround(kMarkFontPixels * Ratio())));
  return mark;
}

TScreenRect TFrozenDesktopView::MonitorAtPointer() const {
  const double r = Ratio();
  const TScreenRect whole{0, 0, int(std::lround(width() * r)), int(std::lround(height() * r))};
  return MonitorAt(monitors_, pointer_device_.x(), pointer_device_.y(), whole);
}

void TFrozenDesktopView::RefreshMarks() {
  const QRect old_label = label_rect_, old_magnifier = magnifier_rect_;
  const TScreenRect monitor = MonitorAtPointer();
  const QFontMetrics metrics(MarkFont());
  std::optional<TScreenRect> magnifier;
  if (magnifying_) {
    const int side = kMagnifierCells * CellSize() + 2;
    const int caption_width = metrics.horizontalAdvance(MagnifierCaptionText()) + 2 * Padding();
    magnifier = PlaceMagnifier(pointer_device_.x(), pointer_device_.y(), std::max(side, caption_width),
                               side + metrics.height() + 2 * Padding(), monitor);
  }
  magnifier_rect_ = magnifier ? QRectOf(*magnifier) : QRect();
  label_rect_ = QRect();
  if (drag_ != TDrag::None && moved_ && HasSelection()) {
    const TPictureRect box = SelectionBox();
    const QString text = QString::fromStdString(SizeLabelText(box.Width(), box.Height()));
    const QRect outline = OutlineRect();
    TScreenRect label = PlaceSizeLabel(
        {outline.left(), outline.top(), outline.right() + 1, outline.bottom() + 1},
        metrics.horizontalAdvance(text) + 2 * Padding(), metrics.height() + 2 * Padding(),
        monitor);
    if (magnifier) label = AvoidMagnifier(label, *magnifier, monitor);
    label_rect_ = QRectOf(label);
  }
  UpdateDevice(old_label);
  UpdateDevice(old_magnifier);
  UpdateDevice(label_rect_);
  UpdateDevice(magnifier_rect_);
}

void TFrozenDesktopView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const double r = Ratio();
  // From here on one unit is one device pixel: the picture is copied 1:1.
  painter.scale(1 / r, 1 / r);
  const QRectF dirty_f = QRectF(event->rect()).adjusted(-1, -1, 1, 1);
  const QRect dirty = QRectF(dirty_f.x() * r, dirty_f.y() * r, dirty_f.width() * r,
                             dirty_f.height() * r).toAlignedRect();
  const QRect shown = QRect(PictureOffset(), image_.size());
  painter.fillRect(dirty, Qt::white);
  const QRect part = dirty & shown;
  if (!part.isEmpty()) painter.drawImage(part.topLeft(), image_, part.translated(-shown.topLeft()));
  PaintSelection(painter);
  PaintMarks(painter);
}

void TFrozenDesktopView::PaintSelection(QPainter& painter) {
  const QRect outline = OutlineRect();
  if (outline.isNull()) return;
  QPen white(Qt::white, 0);
  QPen red(Qt::red, 0);
  red.setDashPattern({double(kDash), double(kDash)});
  red.setDashOffset(-phase_);
  const QLine lines[4] = {QLine(outline.topLeft(), outline.topRight()),
                          QLine(outline.topRight(), outline.bottomRight()),
                          QLine(outline.bottomRight(), outline.bottomLeft()),
                          QLine(outline.bottomLeft(), outline.topLeft())};
  for (const QPen& pen : {white, red}) {
    painter.setPen(pen);
    painter.drawLines(lines, 4);
  }
  if (!selection_.IsSingleRect()) return;
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(Qt::white);
  const int xs[3] = {outline.left(), (outline.left() + outline.right()) / 2, outline.right()};
  const int ys[3] = {outline.top(), (outline.top() + outline.bottom()) / 2, outline.bottom()};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (i != 1 || j != 1)
        painter.drawRect(xs[i] - kGripSize, ys[j] - kGripSize, 2 * kGripSize - 1, 2 * kGripSize - 1);
}

void TFrozenDesktopView::PaintMarks(QPainter& painter) {
  if (highlight_) {
    // On the window's own edge pixels, exactly what a click takes: red
    // outside, white inside, so that it shows on any colour.
    const QRect window = QRectOf(*highlight_);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(230, 0, 0), 0));
    painter.drawRect(window.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(Qt::white, 0));
    if (window.width() > 2 && window.height() > 2) painter.drawRect(window.adjusted(1, 1, -2, -2));
  }
  painter.setFont(MarkFont());
  if (!label_rect_.isNull()) {
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(QColor(255, 255, 225));
    painter.drawRect(label_rect_.adjusted(0, 0, -1, -1));
    painter.drawText(label_rect_, Qt::AlignCenter, SizeLabel());
  }
  if (!magnifier_rect_.isNull()) PaintMagnifier(painter);
}

void TFrozenDesktopView::PaintMagnifier(QPainter& painter) {
  const QRect frame = magnifier_rect_;
  const int size = CellSize(), side = kMagnifierCells * size;
  const QRect lens(frame.left() + (frame.width() - side) / 2, frame.top() + 1, side, side);
  painter.fillRect(frame, Qt::white);
  painter.fillRect(lens, Qt::darkGray);  // off the monitor or the picture
  const TMagnifierPixels pixels = MagnifiedPixels();
  for (int row = 0; row < kMagnifierCells; ++row)
    for (int col = 0; col < kMagnifierCells; ++col)
      if (const auto& p = pixels[row * kMagnifierCells + col]) {
        const TColor c = picture_.Pixel(p->x, p->y);
        painter.fillRect(lens.left() + col * size, lens.top() + row * size, size, size,
                         QColor(RedOf(c), GreenOf(c), BlueOf(c)));
      }
  // Crosshair: lines up to the centre pixel, which is boxed black and white.
  constexpr int kMiddle = kMagnifierCells / 2;
  const QRect cell(lens.left() + kMiddle * size, lens.top() + kMiddle * size, size, size);
  const int mx = cell.left() + size / 2, my = cell.top() + size / 2;
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0, 0, 0, 150), 0));
  painter.drawLine(lens.left(), my, cell.left() - 2, my);
  painter.drawLine(cell.right() + 2, my, lens.right(), my);
  painter.drawLine(mx, lens.top(), mx, cell.top() - 2);
  painter.drawLine(mx, cell.bottom() + 2, mx, lens.bottom());
  painter.setPen(QPen(Qt::black, 0));
  painter.drawRect(cell.adjusted(-1, -1, 0, 0));
  painter.setPen(QPen(Qt::white, 0));
  painter.drawRect(cell.adjusted(-2, -2, 1, 1));
  painter.setPen(QPen(Qt::black, 0));
  painter.drawRect(frame.adjusted(0, 0, -1, -1));
  painter.drawRect(lens.adjusted(-1, -1, 0, 0));
  const QRect caption(frame.left(), lens.bottom() + 1, frame.width(), frame.bottom() - lens.bottom());
  painter.drawText(caption, Qt::AlignCenter, MagnifierCaptionText());
}

TMagnifierPixels TFrozenDesktopView::MagnifiedPixels() const {
  const QPoint offset = PictureOffset();
  const TScreenRect monitor = MonitorAtPointer();
  const TPictureRect area{std::max(monitor.left - offset.x(), 0), std::max(monitor.top - offset.y(), 0),
                          std::min(monitor.right - offset.x(), picture_.Width()) - 1,
                          std::min(monitor.bottom - offset.y(), picture_.Height()) - 1};
  const QPoint centre = pointer_device_ - offset;
  return MagnifierPixels({centre.x(), centre.y()}, area);
}

QString TFrozenDesktopView::MagnifierCaptionText() const {
  // Off the picture (on the white around it) there is no pixel to name.
  const QPoint p = pointer_device_ - PictureOffset();
  if (p.x() < 0 || p.y() < 0 || p.x() >= picture_.Width() || p.y() >= picture_.Height()) return QString();
  const QPoint on_screen = p + picture_screen_origin_;
  return QString::fromStdString(
      MagnifierCaption({on_screen.x(), on_screen.y()}, picture_.Pixel(p.x(), p.y())));
}

// ---- mouse -----------------------------------------------------------------

bool TFrozenDesktopView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && !show_hint_) return true;
  return QWidget::event(event);
}

std::optional<QPoint> TFrozenDesktopView::PointerOnScreen() const {
  if (!pointer_seen_ || !screen_origin_) return std::nullopt;
  return *screen_origin_ + pointer_device_;
}

void TFrozenDesktopView::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  pointer_device_ = DevicePoint(event->position());
  pointer_seen_ = true;
  emit OnMouseMove();
}

void TFrozenDesktopView::mousePressEvent(QMouseEvent* event) {
  event->accept();
  pointer_device_ = DevicePoint(event->position());
  pointer_seen_ = true;
  // Another button pressed during a left-button drag is ignored altogether.
  if (event->button() != Qt::LeftButton && (event->buttons() & Qt::LeftButton)) return;
  emit OnMouseDown(event->button());
  if (!selecting_ || event->button() != Qt::LeftButton || drag_ != TDrag::None ||
      picture_.Empty())
    return;
  press_device_ = DevicePoint(event->position());
  press_picture_ = ClampToPicture(press_device_ - PictureOffset());
  moved_ = false;
  const TGrip grip = GripAt(press_device_);
  if (grip != TGrip::None) {
    drag_ = TDrag::Resize;
    grip_drag_ = TGripDrag(SelectionBox(), grip);
  } else if (InsideSelection(press_device_ - PictureOffset())) {
    drag_ = TDrag::Move;
    drag_base_ = selection_;
  } else {
    drag_ = TDrag::NewRect;
  }
}

void TFrozenDesktopView::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  const QPoint device = DevicePoint(event->position());
  pointer_device_ = device;
  pointer_seen_ = true;
  magnifying_ = event->modifiers() & Qt::ShiftModifier;
  emit OnMouseMove();
  if (drag_ == TDrag::None) {
    ShowCursorFor(device);
    RefreshMarks();
    return;
  }
  // Also a move that leaves the selection as it was moves the marks.
  RefreshMarks();
  if (!(event->buttons() & Qt::LeftButton) || (!moved_ && device == press_device_)) return;
  moved_ = true;
  const QRect old = OutlineRect();
  const bool keep_shape = event->modifiers() & Qt::AltModifier;
  const int w = picture_.Width(), h = picture_.Height();
  const int dx = device.x() - press_device_.x(), dy = device.y() - press_device_.y();
  switch (drag_) {
    case TDrag::NewRect: {
      const QPoint p = ClampToPicture(device - PictureOffset());
      const TPictureRect r = DragRect(press_picture_.x(), press_picture_.y(), p.x(), p.y(),
                                      keep_shape, w, h, true);
      selection_.SelectRect(r.left, r.top, r.right, r.bottom);
      break;
    }
    case TDrag::Move: {
      const TPicturePoint d = drag_base_.LimitMove(dx, dy);
      selection_ = drag_base_;
      selection_.MoveBy(d.x, d.y);
      break;
    }
    case TDrag::Resize: {
      const TPictureRect r = grip_drag_.Drag(dx, dy, keep_shape, w, h, true);
      selection_.SelectRect(r.left, r.top, r.right, r.bottom);
      setCursor(CursorForId(GripCursorId(grip_drag_.CurrentGrip())));
      break;
    }
    case TDrag::None: break;
  }
  UpdateOutline(old);
  UpdateOutline(OutlineRect());
  RefreshMarks();
  emit OnSelectionShown();
}

void TFrozenDesktopView::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  pointer_device_ = DevicePoint(event->position());
  pointer_seen_ = true;
  if (event->button() != Qt::LeftButton && (event->buttons() & Qt::LeftButton)) return;
  // The handler sees the selection as the drag left it.
  emit OnMouseUp(event->button());
  if (event->button() == Qt::LeftButton && drag_ != TDrag::None) {
    const TDrag kind = drag_;
    drag_ = TDrag::None;
    if (!moved_ && kind == TDrag::NewRect && HasSelection()) {
      // A click beside the selection removes it.
      const QRect old = OutlineRect();
      selection_.Clear();
      UpdateOutline(old);
      emit OnSelectionShown();
    }
    RefreshMarks();
    if (moved_ || kind == TDrag::NewRect) emit OnSelectionChange();
  }
  ShowCursorFor(DevicePoint(event->position()));
}

}  // namespace vistrel
