// The page image of the print preview: the recorded page drawn smoothly
// into its box; a click toggles "Original Size".
#pragma once

#include <QPicture>
#include <QPixmap>
#include <QWidget>

namespace vistrel {

class TPageImage : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
  // The page (`size` in screen pixels), rendered at the widget's size.
  void SetPage(const QPicture& page, QSize size);
  void Clear();
  bool HasPage() const { return !pixmap_.isNull(); }
  // The rendered page, for tests and screenshots.
  const QPixmap& Rendered() const { return pixmap_; }

 signals:
  void Clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QPixmap pixmap_;
};

}  // namespace vistrel
