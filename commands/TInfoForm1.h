// The info popup: a small borderless note near the cursor that confirms an
// automatic save, shown without taking the focus.
#pragma once

#include <QWidget>

class QLabel;

namespace vistrel {

class TInfoForm1 : public QWidget {
  Q_OBJECT
 public:
  // The smallest size; a longer text widens and heightens the text box.
  static constexpr int kWidth = 152;
  static constexpr int kHeight = 42;
  static constexpr int kShowMs = 1500;

  explicit TInfoForm1(QWidget* parent = nullptr);
  void SetText(const QString& text);
  QString Text() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QLabel* Label1;
};

// Shows the popup with its top-left corner at (x, y) for 1.5 seconds when
// `show_info` ("Show Info Message") is on. The user-interface thread waits
// meanwhile, so a hotkey pressed now is handled after the popup has gone.
void ShowInfoPopup(int x, int y, const QString& text, bool show_info);

}  // namespace vistrel
