// A colour box of the standard editing window: shows its colour, starts a
// drag that the picture view answers with the pixel under the drop point,
// and opens the colour dialog on a right click.
#pragma once

#include <QFrame>
#include <optional>

#include "imaging/picture_bitmap.h"

class QDropEvent;
class QMimeData;

namespace vistrel {

class TColorBox : public QFrame {
  Q_OBJECT
 public:
  // The drag's data format; its payload is the box's index.
  static constexpr const char* kMimeType = "application/x-vistrel-color-box";

  TColorBox(int index, TColor color, QWidget* parent = nullptr);

  int Index() const { return index_; }
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // The box a drop came from, if it came from one.
  static std::optional<int> DroppedBox(const QMimeData* data);

 signals:
  // The user chose a colour in the colour dialog.
  void ColorChosen();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  int index_;
  TColor color_;
  QPoint press_;
  bool pressed_ = false;
};

}  // namespace vistrel
