#include "picture/TPictureView.h"

#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <algorithm>
#include <stdexcept>

#include "imaging/operations/picture_area.h"
#include "picture/PictureViewImage.h"
#include "picture/PictureViewSmoothZoom.h"

namespace vistrel {

namespace {

QColor ToQColor(TColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// Client coordinates of absurd zooms are kept within what QPainter handles;
// only the visible part of an outline matters.
int Drawable(int client) { return std::clamp(client, -1000000, 1000000); }

constexpr const char* kClipboardPictureUnreadable =
    "The picture on the clipboard cannot be read. The picture was not changed.";

}  // namespace

// Only the member's address is taken before it is constructed.
TPictureView::TPictureView(QWidget* parent) : TPictureView(own_picture_, parent) {}

TPictureView::TPictureView(TPictureBitmap& shown, QWidget* parent)
    : QAbstractScrollArea(parent), picture_(&shown) {
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setMouseTracking(true);
  viewport()->setAcceptDrops(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setToolTipDuration(4000);
  ShowCursorId(cursor_id_);
  outline_timer_.setInterval(kOutlineIntervalMs);
  connect(&outline_timer_, &QTimer::timeout, this, &TPictureView::AdvanceOutline);
  outline_timer_.start();
}

TPictureView::~TPictureView() = default;

QImage TPictureView::PictureCanvas() { return WrapPicture(*picture_); }

// ---- geometry -------------------------------------------------------------

TViewAxis TPictureView::AxisX() const { return {picture_->Width(), viewport()->width(), origin_x_}; }
TViewAxis TPictureView::AxisY() const { return {picture_->Height(), viewport()->height(), origin_y_}; }
int TPictureView::OffsetX() const { return ViewOffset(AxisX(), zoom_, center_); }
int TPictureView::OffsetY() const { return ViewOffset(AxisY(), zoom_, center_); }

int TPictureView::ScreenToPictureX(int client_x) const { return ClientToPicture(AxisX(), zoom_, center_, client_x); }
int TPictureView::ScreenToPictureY(int client_y) const { return ClientToPicture(AxisY(), zoom_, center_, client_y); }
int TPictureView::PictureToScreenX(int picture_x) const { return PictureToClient(AxisX(), zoom_, center_, picture_x); }
int TPictureView::PictureToScreenY(int picture_y) const { return PictureToClient(AxisY(), zoom_, center_, picture_y); }
QTransform TPictureView::PictureToClientTransform() const {
  const double z = zoom_ / 100.0;
  return QTransform(z, 0, 0, z, OffsetX() - FirstShown(AxisX(), zoom_) * z,
                    OffsetY() - FirstShown(AxisY(), zoom_) * z);
}
int TPictureView::VisibleExtentX() const { return VisibleExtent(AxisX(), zoom_); }
int TPictureView::VisibleExtentY() const { return VisibleExtent(AxisY(), zoom_); }

TPictureRect TPictureView::SelectionBox() const {
  if (!selection_.HasSelection()) return {0, 0, picture_->Width() - 1, picture_->Height() - 1};
  return selection_.BoundingBox();
}

void TPictureView::SetZoomPercent(double zoom_percent) {
  if (!IsUsableZoom(zoom_percent) || zoom_percent == zoom_) return;
  const int x = OriginAfterZoom(AxisX(), zoom_, zoom_percent);
  const int y = OriginAfterZoom(AxisY(), zoom_, zoom_percent);
  zoom_ = zoom_percent;
  origin_x_ = x;
  origin_y_ = y;
  Relayout();
}

void TPictureView::FitToWindow() {
  if (picture_->Empty()) return;
  // Fit the area the view has without scroll bars: a fitted picture needs none.
  const QSize area = contentsRect().size();
  SetZoomPercent(FitZoom(picture_->Width(), picture_->Height(), area.width(), area.height(), 0));
}

void TPictureView::ZoomAround(int client_x, int client_y, double zoom_percent) {
  if (picture_->Empty() || !IsUsableZoom(zoom_percent)) return;
  const int px = ScreenToPictureX(client_x);
  const int py = ScreenToPictureY(client_y);
  SetZoomPercent(zoom_percent);
  SetViewOrigin(OriginCentredOn(AxisX(), zoom_, px), OriginCentredOn(AxisY(), zoom_, py));
}

void TPictureView::SetViewOrigin(int x, int y) {
  const int nx = ClampOrigin(AxisX(), zoom_, x);
  const int ny = ClampOrigin(AxisY(), zoom_, y);
  if (nx == origin_x_ && ny == origin_y_) return;
  origin_x_ = nx;
  origin_y_ = ny;
  Relayout();
}

void TPictureView::SetZoomFilter(TResampleFilter filter) {
  if (filter == zoom_filter_) return;
  zoom_filter_ = filter;
  layer_valid_ = false;
  Repaint();
}

void TPictureView::SetCenter(bool center) {
  if (center == center_) return;
  center_ = center;
  Relayout();
}

void TPictureView::SetBackground(TColor color) {
  background_ = color;
  layer_valid_ = false;
  Repaint();
}

void TPictureView::SetScrollBars(TScrollBars bars) {
  scroll_bars_ = bars;
  Relayout();
}

void TPictureView::Relayout() {
  layer_valid_ = false;
  UpdateScrollBars();
  Repaint();
}

void TPictureView::UpdateScrollBars() {
  if (syncing_scroll_bars_) return;  // re-entered through the viewport's resize
  syncing_scroll_bars_ = true;
  // Bars are shown exactly when the zoomed picture exceeds the room left.
  // Deciding here (not through Qt's as-needed policy, which lays out later)
  // keeps the client size right for the caller's next conversion.
  const QSize full = contentsRect().size();
  const int bar_w = verticalScrollBar()->sizeHint().width();
  const int bar_h = horizontalScrollBar()->sizeHint().height();
  const bool allow_h = scroll_bars_ == TScrollBars::ssHorizontal || scroll_bars_ == TScrollBars::ssBoth;
  const bool allow_v = scroll_bars_ == TScrollBars::ssVertical || scroll_bars_ == TScrollBars::ssBoth;
  const int zw = ZoomedSize(picture_->Width(), zoom_);
  const int zh = ZoomedSize(picture_->Height(), zoom_);
  bool need_h = false, need_v = false;
  for (int pass = 0; pass < 2; ++pass) {
    need_h = allow_h && zw > full.width() - (need_v ? bar_w : 0);
    need_v = allow_v && zh > full.height() - (need_h ? bar_h : 0);
  }
  setHorizontalScrollBarPolicy(need_h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(need_v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);

  origin_x_ = ClampOrigin(AxisX(), zoom_, origin_x_);
  origin_y_ = ClampOrigin(AxisY(), zoom_, origin_y_);
  const auto sync = [this](QScrollBar* bar, const TViewAxis& axis) {
    bar->setRange(0, ScrollBarPosition(MaxOrigin(axis, zoom_), zoom_));
    const int page = std::max(1, ScrollBarPosition(axis.client, zoom_));
    bar->setPageStep(page);
    bar->setSingleStep(std::max(1, page / 20));
    bar->setValue(ScrollBarPosition(axis.origin, zoom_));
  };
  sync(horizontalScrollBar(), AxisX());
  sync(verticalScrollBar(), AxisY());
  syncing_scroll_bars_ = false;
}

void TPictureView::scrollContentsBy(int dx, int dy) {
  if (syncing_scroll_bars_) return;
  // Only the bar that moved changes its origin: converting the other bar's
  // position back could shift that axis by rounding.
  const int x = dx != 0 ? OriginFromScrollBar(horizontalScrollBar()->value(), zoom_) : origin_x_;
  const int y = dy != 0 ? OriginFromScrollBar(verticalScrollBar()->value(), zoom_) : origin_y_;
  SetViewOrigin(x, y);
}

void TPictureView::resizeEvent(QResizeEvent*) { Relayout(); }

// ---- painting -------------------------------------------------------------

void TPictureView::Repaint() {
  if (!PaintLocked()) viewport()->update();
}

void TPictureView::ComposeFrame() {
  const QSize size = viewport()->size();
  if (!layer_valid_ || layer_.size() != size) {
    layer_ = QImage(size, QImage::Format_RGB32);
    layer_.fill(ToQColor(background_));
    const QPoint offset(OffsetX(), OffsetY());
    if (zoom_ < 100 && zoom_filter_ != TResampleFilter::rfNone)
      DrawFilteredPicture(*picture_, AxisX(), AxisY(), zoom_, zoom_filter_, offset, layer_);
    else
      DrawZoomedPicture(*picture_, AxisX(), AxisY(), zoom_, offset, layer_);
    layer_valid_ = true;
  }
  frame_ = layer_;
  if (selection_.HasSelection() && !frame_.isNull()) {
    QPainter painter(&frame_);
    DrawSelection(painter);
  }
}

void TPictureView::paintEvent(QPaintEvent*) {
  // While locked the last frame stands: the picture may be half-changed.
  if (!PaintLocked()) ComposeFrame();
  QPainter painter(viewport());
  if (frame_.size() != viewport()->size()) painter.fillRect(viewport()->rect(), ToQColor(background_));
  painter.drawImage(0, 0, frame_);
}

QRect TPictureView::SelectionClientRect() const {
  const TPictureRect box = SelectionBox();
  return QRect(QPoint(Drawable(PictureToScreenX(box.left)), Drawable(PictureToScreenY(box.top))),
               QPoint(Drawable(PictureToScreenX(box.right + 1) - 1), Drawable(PictureToScreenY(box.bottom + 1) - 1)));
}

void TPictureView::DrawSelection(QPainter& painter) const {
  QPainterPath path;
  for (const TSelectionShape& shape : selection_.Shapes()) {
    QPolygon outline;
    if (shape.kind == TSelectionShape::Kind::Rectangle) {
      const TPictureRect& r = shape.rect;
      const int left = Drawable(PictureToScreenX(r.left));
      const int top = Drawable(PictureToScreenY(r.top));
      const int right = Drawable(PictureToScreenX(r.right + 1) - 1);
      const int bottom = Drawable(PictureToScreenY(r.bottom + 1) - 1);
      outline << QPoint(left, top) << QPoint(right, top) << QPoint(right, bottom) << QPoint(left, bottom);
    } else {
      for (const TPicturePoint& v : shape.polygon)
        outline << QPoint(Drawable(PictureToScreenX(v.x)), Drawable(PictureToScreenY(v.y)));
    }
    if (outline.isEmpty()) continue;
    outline << outline.front();
    path.addPolygon(QPolygonF(outline));
  }
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(ToQColor(outline_second_), 1));
  painter.drawPath(path);
  QPen dashes(ToQColor(outline_first_), 1);
  dashes.setDashPattern({kOutlinePhases / 2.0, kOutlinePhases / 2.0});
  dashes.setDashOffset(phase_);
  painter.setPen(dashes);
  painter.drawPath(path);

  if (!(options_ & soSizeable) || !selection_.IsSingleRect()) return;
  const QRect r = SelectionClientRect();
  const int xs[3] = {r.left(), (r.left() + r.right()) / 2, r.right()};
  const int ys[3] = {r.top(), (r.top() + r.bottom()) / 2, r.bottom()};
  painter.setPen(QPen(ToQColor(grip_outline_), 1));
  painter.setBrush(QBrush(ToQColor(grip_fill_), grip_style_));
  for (int j = 0; j < 3; ++j) {
    for (int i = 0; i < 3; ++i) {
      const bool corner = i != 1 && j != 1;
      const bool side = (i == 1) != (j == 1);
      if (!corner && !(side && extended_grips_)) continue;
      // A square reaching the grip size to each side of the grip point.
      painter.drawRect(QRect(xs[i] - grip_size_, ys[j] - grip_size_, 2 * grip_size_ - 1, 2 * grip_size_ - 1));
    }
  }
}

void TPictureView::AdvanceOutline() {
  if (drag_ != TDrag::None || !selection_.HasSelection() || !(options_ & soAnimated)) return;
  phase_ = (phase_ + 1) % kOutlinePhases;
  Repaint();
}

void TPictureView::EndPaintLock() {
  if (paint_lock_ == 0) return;
  if (--paint_lock_ == 0) UpdateView();
}

void TPictureView::UpdateView() {
  const int w = picture_->Empty() ? 0 : picture_->Width();
  const int h = picture_->Empty() ? 0 : picture_->Height();
  if (selection_.PictureWidth() != w || selection_.PictureHeight() != h) {
    selection_.SetPictureSize(w, h);
    drag_ = TDrag::None;
  }
  // Processing may have changed the selection behind the view's back.
  CommitSelection();
  Relayout();
}

void TPictureView::ImageChanged() {
  UpdateView();
  emit OnImageChange();
}

void TPictureView::ClearPicture() {
  picture_->Fill(background_);
  layer_valid_ = false;
  Repaint();
}

// ---- options --------------------------------------------------------------

void TPictureView::SetMouseInteract(TMouseInteract interact) {
  if (drag_ == TDrag::NewRect || drag_ == TDrag::NewEllipse) FinishDrag();
  interact_ = interact;
}

void TPictureView::SetSelectionOptions(TSelectionOptions options) {
  options_ = options;
  Repaint();
}

void TPictureView::SetCursor(int id) {
  cursor_id_ = id;
  ShowCursorId(id);
}

void TPictureView::ShowCursorId(int id) {
  if (id == shown_cursor_id_) return;
  shown_cursor_id_ = id;
  viewport()->setCursor(CursorForId(id));
}

void TPictureView::SetSelectionColors(TColor first, TColor second) {
  outline_first_ = first;
  outline_second_ = second;
  Repaint();
}

void TPictureView::SetSelectionGrips(TColor outline, TColor fill, Qt::BrushStyle style, int size, bool extended) {
  grip_outline_ = outline;
  grip_fill_ = fill;
  grip_style_ = style;
  grip_size_ = std::clamp(size, 1, 64);
  extended_grips_ = extended;
  Repaint();
}

void TPictureView::SetHint(const QString& hint) {
  hint_ = hint;
  // The program's hints break lines with CR LF; a tooltip wants LF alone.
  viewport()->setToolTip(QString(hint).replace("\r\n", "\n"));
}

bool TPictureView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip && !show_hint_) return true;
  return QAbstractScrollArea::viewportEvent(event);
}

void TPictureView::dragEnterEvent(QDragEnterEvent* event) { event->acceptProposedAction(); }
void TPictureView::dragMoveEvent(QDragMoveEvent* event) { event->acceptProposedAction(); }
void TPictureView::dropEvent(QDropEvent* event) { emit OnDragDrop(event); }

// ---- copying --------------------------------------------------------------

void TPictureView::CopySelectionTo(TPictureBitmap& target) const {
  target = selection_.HasSelection() ? CopyArea(*picture_, SelectionBox()) : *picture_;
}

void TPictureView::CopySelectionTo(TPictureView& target) const {
  TPictureBitmap copy;
  CopySelectionTo(copy);
  *target.picture_ = std::move(copy);
  target.background_ = background_;
  target.ImageChanged();
}

bool TPictureView::CopySelectionToClipboard() const {
  if (picture_->Empty()) return false;
  const QImage image = selection_.HasSelection() && !mask_.Empty()
                           ? PictureToImage(CopyMaskedArea(*picture_, mask_, background_))
                           : PictureToImage(*picture_);
  // The platform clipboard offers image data in every image format Qt
  // writes, image/png and image/bmp among them.
  auto* mime = new QMimeData;
  mime->setImageData(image);
  QGuiApplication::clipboard()->setMimeData(mime);
  return true;
}

bool TPictureView::PasteFromClipboard(TPictureProc& proc) {
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  if (!mime) return false;
  QImage image;
  bool offered = mime->hasImage();
  if (offered) image = qvariant_cast<QImage>(mime->imageData());
  for (const char* format : {"image/png", "image/bmp"}) {
    if (!mime->hasFormat(format)) continue;
    offered = true;
    if (image.isNull()) image = QImage::fromData(mime->data(format));
  }
  // A picture that is there but cannot be read is said so, not ignored.
  if (image.isNull() && offered) throw std::runtime_error(kClipboardPictureUnreadable);
  if (image.isNull()) return false;
  // Converting may raise before anything changed.
  if (!proc.ReplacePicture(PictureFromImage(image))) return false;
  ImageChanged();
  return true;
}

}  // namespace vistrel

// Compiled here rather than in the library-wide moc unit, so that users of the
// view link only the view.
#include "moc_TPictureView.cpp"
