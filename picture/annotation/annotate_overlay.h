// The annotation layer on screen: a transparent widget over the picture
// view's viewport that shows the marks at the view's zoom and takes the
// mouse while a tool is active, so a drag draws, moves or resizes a mark and
// never selects or crops. Marks are kept in picture pixels; the overlay
// only maps them to the screen.
#pragma once

#include <QWidget>
#include <algorithm>
#include <optional>
#include <vector>

#include "picture/annotation/annotation_objects.h"
#include "picture/annotation/annotation_painter.h"
#include "settings/annotate_options.h"

class QKeyEvent;

namespace vistrel {

class TPictureView;

class TAnnotateOverlay : public QWidget {
  Q_OBJECT

 public:
  explicit TAnnotateOverlay(TPictureView& view);

  TAnnotationTool Tool() const { return tool_; }
  // Shown with a tool, hidden without one. Ends any typing and drag.
  void SetTool(TAnnotationTool tool);

  const std::vector<TAnnotation>& Layer() const { return layer_; }
  // The marks, handed over for drawing into the picture; the layer is
  // empty afterwards.
  std::vector<TAnnotation> TakeLayer();

  std::optional<std::size_t> Selected() const { return selected_; }

  // What new marks are drawn with. A colour, width or font chosen while a
  // mark is selected also applies to that mark.
  const AnnotateOptions& Style() const { return style_; }
  void SetStyle(const AnnotateOptions& style) { style_ = style; }
  void ApplyColor(TColor color);
  void ApplyWidth(int width);
  void ApplyFont(const std::string& family, int size);
  // The colour the next mark of the active tool takes.
  TColor ToolColor() const;

  // Numbered markers drawn into the picture already: the next marker
  // goes on from `number`.
  void ContinueMarkersAfter(int number) { markers_done_ = std::max(markers_done_, number); }

  // Del: the selected mark goes. Ctrl+Z: the newest mark goes. False when
  // there was none.
  bool RemoveSelected();
  bool RemoveLast();

  // A text mark takes the keys while it is typed into: letters, Enter for
  // a new line, Backspace; Esc ends the typing.
  bool Typing() const { return typing_.has_value(); }
  void TypeKey(const QKeyEvent& event);
  // Ends the typing; a text left empty goes.
  void EndTyping();

 signals:
  void LayerChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class TDrag { None, Draw, Move, Resize };

  TPointF PicturePoint(QPoint client) const;
  // The selected mark's frame on screen and its eight grips.
  QRectF SelectedClientFrame() const;
  int GripAt(QPoint client) const;
  void StartMark(TPointF at, Qt::KeyboardModifiers modifiers);
  void FitText(TAnnotation& text) const;
  void Changed();

  TPictureView& view_;
  TAnnotationTool tool_ = TAnnotationTool::None;
  std::vector<TAnnotation> layer_;
  std::optional<std::size_t> selected_;
  std::optional<std::size_t> typing_;
  AnnotateOptions style_;
  int markers_done_ = 0;
  TRedactionPreviews previews_;

  TDrag drag_ = TDrag::None;
  TPointF press_;
  TPointF last_;
  int grip_ = -1;
  TRectF frame_at_press_;
};

}  // namespace vistrel
