// The tray's popup menu with its vertical banner along the left side, which
// carries the banner caption read from bottom to top.
#pragma once

#include <QMenu>

namespace vistrel {

class TBannerMenu : public QMenu {
  Q_OBJECT
 public:
  static constexpr int kBannerWidth = 24;

  TBannerMenu(const QString& banner, QWidget* parent = nullptr);
  const QString& Banner() const { return banner_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString banner_;
};

}  // namespace vistrel
