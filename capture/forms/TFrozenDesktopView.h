// The view of a frozen desktop picture in the selection window: one screen
// pixel for each picture pixel, also when Qt scales the user interface, the
// picture centred on white, and a rectangle selection that the mouse draws,
// moves and resizes by its grips. Selections are kept in picture pixels,
// right and bottom inclusive. Over the picture, never into it, it shows the
// selection's size while it is dragged, a magnifier at the pointer while
// asked to, and the outline of a window about to be picked.
#pragma once

#include <QCursor>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <vector>

#include "capture/overlay_marks.h"
#include "imaging/picture_bitmap.h"
#include "imaging/selection_geometry.h"
#include "picture/PictureViewGrips.h"
#include "platform/screen_rect.h"

namespace vistrel {

class TFrozenDesktopView : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kGripSize = 3;
  static constexpr int kOutlineIntervalMs = 210;

  explicit TFrozenDesktopView(QWidget* parent = nullptr);

  // After changing the picture call PictureChanged, which also removes the
  // selection.
  TPictureBitmap& Picture() { return picture_; }
  const TPictureBitmap& Picture() const { return picture_; }
  void PictureChanged();

  bool HasSelection() const { return selection_.HasSelection(); }
  // Bounding box of the selection; the whole picture without one.
  TPictureRect SelectionBox() const { return selection_.BoundingBox(); }
  // Replaces any selection (clipped to the picture).
  void SelectRect(int left, int top, int right, int bottom);
  // The selected pixels, or the whole picture without a selection.
  TPictureBitmap CopySelection() const;
  // Shows what `other` has selected on the same picture, without raising
  // OnSelectionShown.
  void ShareSelectionOf(const TFrozenDesktopView& other);

  // Device pixels of the window from its top-left corner to the picture's.
  QPoint PictureOffset() const;
  // The widget point (logical) of a picture pixel's top-left corner.
  QPointF PositionOf(QPoint picture_point) const;

  // The object overlay shows the picture at a fixed place (device pixels
  // from the window's corner) and without selecting; the selection window
  // centres it.
  void SetPictureOffset(QPoint device_offset);
  void SetSelecting(bool on) { selecting_ = on; }
  // Where the view's top-left corner is on the screen, in screen pixels:
  // lets it read the exact pointer pixel when Qt scales the interface.
  void SetScreenOrigin(QPoint origin) { screen_origin_ = origin; }
  // Where on the screen (device pixels) the pointer was at the latest
  // pointer event of this view; nothing before the first one or without a
  // screen origin.
  std::optional<QPoint> PointerOnScreen() const;
  // Shown where no grip or selection is under the mouse.
  void SetNormalCursor(const QCursor& cursor);

  // The monitors in device pixels from the window's corner; each mark stays
  // inside the monitor it is shown on.
  void SetMonitors(std::vector<TScreenRect> monitors);
  // The magnifier follows the pointer while on (Shift is held).
  void SetMagnifying(bool on);
  // A window's outline (device pixels from the window's corner), or none.
  void SetHighlight(const std::optional<TScreenRect>& rect);
  std::optional<TScreenRect> Highlight() const { return highlight_; }
  // Where the size label and the magnifier are drawn (device pixels), null
  // while hidden; the label's text. The magnifier's lens is centred at its
  // top and shows each pixel 8 logical pixels wide.
  QRect SizeLabelRect() const { return label_rect_; }
  QString SizeLabel() const;
  QRect MagnifierRect() const { return magnifier_rect_; }
  // The magnifier names the pointer's pixel by its place on the screen:
  // where the picture's top-left pixel was grabbed.
  void SetPictureScreenOrigin(QPoint origin) { picture_screen_origin_ = origin; }
  QString MagnifierCaptionText() const;

  void SetHint(const QString& hint);
  // Tooltips are shown only while on.
  void SetShowHint(bool on) { show_hint_ = on; }
  int OutlinePhase() const { return phase_; }

 signals:
  // Raised before the view's own handling of the event.
  void OnMouseDown(Qt::MouseButton button);
  void OnMouseUp(Qt::MouseButton button);
  void OnMouseMove();
  void OnSelectionChange();
  // The outline moved: while dragging, when chosen, when cleared.
  void OnSelectionShown();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Where a window cannot learn where the pointer is (Wayland), a pointer
  // that comes onto the view tells its place with this event alone.
  void enterEvent(QEnterEvent* event) override;

 private:
  enum class TDrag { None, NewRect, Move, Resize };

  double Ratio() const;
  QPoint DevicePoint(QPointF position) const;
  QPoint ClampToPicture(QPoint picture_point) const;
  // The selection's outline in device pixels of the widget.
  QRect OutlineRect() const;
  TGrip GripAt(QPoint device) const;
  bool InsideSelection(QPoint picture_point) const;
  void ShowCursorFor(QPoint device);
  void UpdateOutline(const QRect& outline);
  void AdvanceOutline();
  void UpdateDevice(const QRect& device);
  QFont MarkFont() const;
  int CellSize() const;
  int Padding() const;
  TScreenRect MonitorAtPointer() const;
  // Places the marks for the current pointer and selection.
  void RefreshMarks();
  void PaintSelection(QPainter& painter);
  void PaintMarks(QPainter& painter);
  void PaintMagnifier(QPainter& painter);
  TMagnifierPixels MagnifiedPixels() const;

  TPictureBitmap picture_;
  QImage image_;
  std::optional<QPoint> fixed_offset_;
  std::optional<QPoint> screen_origin_;
  bool selecting_ = true;
  QCursor normal_cursor_;  // over picture_'s rows
  TSelection selection_;
  QString hint_;
  bool show_hint_ = true;
  QTimer outline_timer_;
  int phase_ = 0;
  std::vector<TScreenRect> monitors_;
  bool magnifying_ = false;
  QPoint pointer_device_;
  bool pointer_seen_ = false;
  QPoint picture_screen_origin_;
  std::optional<TScreenRect> highlight_;
  QRect label_rect_;
  QRect magnifier_rect_;

  TDrag drag_ = TDrag::None;
  QPoint press_device_;
  QPoint press_picture_;
  bool moved_ = false;
  TSelection drag_base_;
  TGripDrag grip_drag_;
};

}  // namespace vistrel
