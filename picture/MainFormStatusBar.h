// The picture window's status bar: three panels of 104, 308 and 200 pixels.
// The first one also shows the progress bar of a running operation.
#pragma once

#include <QFrame>
#include <QStatusBar>
#include <QString>

namespace vistrel {

class TStatusPanel : public QFrame {
  Q_OBJECT
 public:
  TStatusPanel(int width, QWidget* parent);

  QString Text() const { return text_; }
  void SetText(const QString& text);
  // Draws the bar p pixels long at once (the picture window's events may be
  // held up by the running operation); a negative p shows the text again.
  void SetProgress(int percent);
  int Progress() const { return progress_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  int progress_ = -1;
};

class TMainFormStatusBar : public QStatusBar {
  Q_OBJECT
 public:
  static constexpr int kPanelWidths[3] = {104, 308, 200};
  static constexpr int kSmallestFontPixels = 9;

  explicit TMainFormStatusBar(QWidget* parent);
  // Panels 0, 1, 2 from the left.
  TStatusPanel* Panel(int index) const { return panels_[index]; }
  // The panels keep their widths; the font narrows (condensed, then
  // smaller, down to 9 pixels) until each panel's widest text fits.
  void FitFontTo(const QString (&widest)[3]);

 private:
  TStatusPanel* panels_[3];
};

}  // namespace vistrel
