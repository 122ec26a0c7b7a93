// The picture view: a scrollable, zoomable control that shows a picture,
// draws it and lets the user drag a rectangular or elliptical selection.
// It shows a picture it is given (the picture window's document) or one of
// its own.
//
// Coordinates named "client" are pixels of the viewport; selections are kept
// in picture pixels, so they stay on the same pixels when the view zooms or
// scrolls. The view geometry itself lives in imaging/view_geometry.h.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QString>
#include <QTimer>
#include <QTransform>

#include "imaging/picture_bitmap.h"
#include "imaging/operations/resample.h"
#include "imaging/picture_mask.h"
#include "imaging/picture_proc.h"
#include "imaging/selection_geometry.h"
#include "imaging/view_geometry.h"
#include "picture/PictureViewCursors.h"
#include "picture/PictureViewGrips.h"

class QDropEvent;

namespace vistrel {

class TPictureView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // What a left-button drag does; the program sets one of them or none.
  enum TMouseInteractMode { miSelect = 0x1, miSelectCircle = 0x2 };
  Q_DECLARE_FLAGS(TMouseInteract, TMouseInteractMode)

  enum TSelectionOption { soAnimated = 0x1, soSizeable = 0x2, soMoveable = 0x4, soCutBorders = 0x8 };
  Q_DECLARE_FLAGS(TSelectionOptions, TSelectionOption)

  enum class TScrollBars { ssNone, ssHorizontal, ssVertical, ssBoth };

  // The outline's dash pattern repeats every kOutlinePhases pixels; the
  // timer shifts it by one pixel a tick.
  static constexpr int kOutlinePhases = 10;
  static constexpr int kOutlineIntervalMs = 210;

  // With a picture of its own.
  explicit TPictureView(QWidget* parent = nullptr);
  // Showing `shown`, which must outlive the view.
  TPictureView(TPictureBitmap& shown, QWidget* parent);
  ~TPictureView() override;

  // The picture. After changing it directly call UpdateView (or
  // ImageChanged, which also raises OnImageChange).
  TPictureBitmap& Picture() { return *picture_; }
  const TPictureBitmap& Picture() const { return *picture_; }
  // A QPainter-able surface over the picture's own rows (see WrapPicture).
  QImage PictureCanvas();

  // Zoom in percent. Values <= 0, non-finite values and the current zoom are
  // ignored; a new zoom keeps the point under the client centre.
  double ZoomPercent() const { return zoom_; }
  void SetZoomPercent(double zoom_percent);
  // Zooms so that the whole picture fits the client area.
  void FitToWindow();
  // Sets the zoom, then scrolls the picture pixel that was under the client
  // point to the client centre.
  void ZoomAround(int client_x, int client_y, double zoom_percent);

  int ViewOriginX() const { return origin_x_; }
  int ViewOriginY() const { return origin_y_; }
  void SetViewOriginX(int x) { SetViewOrigin(x, origin_y_); }
  void SetViewOriginY(int y) { SetViewOrigin(origin_x_, y); }
  // Clamped to the scroll range; repaints and moves the scroll bars.
  void SetViewOrigin(int x, int y);

  int ScreenToPictureX(int client_x) const;
  int ScreenToPictureY(int client_y) const;
  int PictureToScreenX(int picture_x) const;
  int PictureToScreenY(int picture_y) const;
  // Picture coordinates to client coordinates at the current zoom and
  // scroll position, for drawing over the picture.
  QTransform PictureToClientTransform() const;
  int VisibleExtentX() const;
  int VisibleExtentY() const;

  // Filter for drawing the picture below 100 %; rfNone draws nearest
  // pixels, as every zoom above 100 % does.
  TResampleFilter ZoomFilter() const { return zoom_filter_; }
  void SetZoomFilter(TResampleFilter filter);

  bool Center() const { return center_; }
  void SetCenter(bool center);
  TColor Background() const { return background_; }
  void SetBackground(TColor color);
  void SetScrollBars(TScrollBars bars);
  // When on, the mouse wheel does not zoom.
  void SetAutoFit(bool on) { auto_fit_ = on; }

  TMouseInteract MouseInteract() const { return interact_; }
  // Ends a selection being drawn first.
  void SetMouseInteract(TMouseInteract interact);
  void SetSelectionOptions(TSelectionOptions options);

  // Normal cursor identifier (TViewCursorId), shown where no grip or
  // selection is under the mouse.
  int Cursor() const { return cursor_id_; }
  void SetCursor(int id);

  void SetSelectionColors(TColor first, TColor second);
  void SetSelectionGrips(TColor outline, TColor fill, Qt::BrushStyle style, int size, bool extended);

  bool HasSelection() const { return selection_.HasSelection(); }
  // Bounding box in picture pixels, right and bottom inclusive; the whole
  // picture without a selection.
  int SelectionLeft() const { return SelectionBox().left; }
  int SelectionTop() const { return SelectionBox().top; }
  int SelectionRight() const { return SelectionBox().right; }
  int SelectionBottom() const { return SelectionBox().bottom; }
  const TSelection& Selection() const { return selection_; }
  // For the processing component; after it changed the selection (or the
  // picture) call UpdateView.
  TSelection& Selection() { return selection_; }
  // Mask of the committed selection (rebuilt when a drag ends).
  const TPictureMask& SelectionMask() const { return mask_; }
  // Replaces any selection with this rectangle (clipped to the picture).
  void SelectRect(int left, int top, int right, int bottom);
  void ClearSelection();

  void BeginPaintLock() { ++paint_lock_; }
  // Never goes below zero; reaching zero updates the view from the picture.
  void EndPaintLock();
  bool PaintLocked() const { return paint_lock_ > 0; }

  QString Hint() const { return hint_; }
  void SetHint(const QString& hint);
  // Tooltips are shown only while on (the windows switch them off while a
  // mouse button is held).
  void SetShowHint(bool on) { show_hint_ = on; }

  // Recomputes the layout from the picture (a new size removes the
  // selection) and repaints.
  void UpdateView();
  // UpdateView, then OnImageChange.
  void ImageChanged();
  // Fills the picture with the background colour.
  void ClearPicture();

  // The picture, or the selection's bounding box when there is a selection.
  void CopySelectionTo(TPictureBitmap& target) const;
  // As above into another view, which also takes the background colour and
  // the resolution and raises its OnImageChange.
  void CopySelectionTo(TPictureView& target) const;

  // Puts the selection (its bounding box, unselected pixels in the
  // background colour) or the whole picture on the clipboard as an image,
  // offered as image/png and image/bmp. False for an empty picture.
  bool CopySelectionToClipboard() const;
  // Replaces the picture with the clipboard's image through the processing
  // component working on this view's picture (which saves the undo entry
  // "PasteFromClipboard" and reports progress), then raises OnImageChange.
  // Without an image nothing changes. Raises PictureSizeError for an image
  // beyond the size limit and std::runtime_error for one that cannot be
  // decoded; the picture is then untouched.
  bool PasteFromClipboard(TPictureProc& proc);

  // Current shift of the outline's dash pattern, 0..kOutlinePhases-1.
  int OutlinePhase() const { return phase_; }

 signals:
  void OnImageChange();
  void OnSelectionChanging();
  void OnSelectionChange();
  // Mouse events in client coordinates, raised before the view's own
  // selection handling.
  void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
  void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  // Raised for every wheel event before the view zooms.
  void OnMouseWheel(int delta, Qt::KeyboardModifiers modifiers, int x, int y);
  // Any drag is accepted over the view; a drop is reported here.
  void OnDragDrop(QDropEvent* event);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  enum class TDrag { None, NewRect, NewEllipse, Move, Resize };

  TViewAxis AxisX() const;
  TViewAxis AxisY() const;
  int OffsetX() const;
  int OffsetY() const;
  TPictureRect SelectionBox() const;

  void Relayout();
  void UpdateScrollBars();
  void Repaint();
  void ComposeFrame();
  void DrawSelection(QPainter& painter) const;

  // Client rectangle of the single-rectangle selection's outline.
  QRect SelectionClientRect() const;
  TGrip GripAt(QPoint client) const;
  bool InsideSelection(QPoint client) const;
  QPoint ClampToPicture(QPoint client) const;
  void ShowCursorFor(QPoint client);
  void ShowCursorId(int id);

  void BeginDrag(QPoint client, Qt::KeyboardModifiers modifiers);
  void ContinueDrag(QPoint client, Qt::KeyboardModifiers modifiers);
  void FinishDrag();
  void CommitSelection();
  void AdvanceOutline();

  TPictureBitmap own_picture_;
  TPictureBitmap* picture_ = &own_picture_;
  TSelection selection_;
  TPictureMask mask_;

  double zoom_ = 100;
  TResampleFilter zoom_filter_ = TResampleFilter::rfNone;
  int origin_x_ = 0;
  int origin_y_ = 0;
  bool center_ = true;
  TColor background_ = kWhite;
  TScrollBars scroll_bars_ = TScrollBars::ssBoth;
  bool auto_fit_ = false;
  int wheel_rest_ = 0;

  TMouseInteract interact_ = miSelect;
  TSelectionOptions options_ = TSelectionOptions(soAnimated | soSizeable | soMoveable | soCutBorders);
  int cursor_id_ = crSelect;
  int shown_cursor_id_ = 0;

  TColor outline_first_ = kBlack;
  TColor outline_second_ = kWhite;
  TColor grip_outline_ = kBlack;
  TColor grip_fill_ = kWhite;
  Qt::BrushStyle grip_style_ = Qt::SolidPattern;
  int grip_size_ = 5;
  bool extended_grips_ = true;

  int paint_lock_ = 0;
  QString hint_;
  bool show_hint_ = true;

  QTimer outline_timer_;
  int phase_ = 0;

  // The drag in progress.
  TDrag drag_ = TDrag::None;
  QPoint press_client_;
  TPicturePoint press_picture_;
  bool moved_ = false;
  bool adding_ = false;
  TSelection drag_base_;
  TGripDrag grip_drag_;

  // The picture drawn on the background at the current zoom and origin, and
  // the last composed frame (shown unchanged while the paint lock is held).
  QImage layer_;
  bool layer_valid_ = false;
  QImage frame_;
  bool syncing_scroll_bars_ = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TPictureView::TMouseInteract)
Q_DECLARE_OPERATORS_FOR_FLAGS(TPictureView::TSelectionOptions)

}  // namespace vistrel
