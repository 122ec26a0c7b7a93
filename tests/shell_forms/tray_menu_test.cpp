#include <gtest/gtest.h>

#include <QImage>

#include "app/app_texts.h"
#include "app/tray_banner_menu.h"

namespace vistrel {
namespace {

int WhitePixels(const QImage& image, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixelColor(x, y) == Qt::white) ++count;
  return count;
}

TEST(TrayMenu, BannerAlongTheLeftSideCarriesTheCaptionAndItemsStartRightOfIt) {
  TBannerMenu menu(texts::kTrayMenuBanner);
  for (const char* item : {"About ...", "Open ...", "Automatic Save", "Direct Printing", "Suspend",
                           "Print the Desktop", "Get Rectangular Area",
                           "Reset to Default and Exit", "Terminate Vistrel-Pro"})
    menu.addAction(item);
  menu.adjustSize();
  EXPECT_EQ(menu.Banner(), QString("           Vistrel-Pro v1.05"));
  const QImage shot = menu.grab().toImage();
  const int w = TBannerMenu::kBannerWidth;
  // The strip is the banner's dark colour at the bottom, lighter at the top.
  const QColor bottom = shot.pixelColor(1, shot.height() - 2);
  const QColor top = shot.pixelColor(1, 1);
  EXPECT_GT(bottom.blue(), 100);
  EXPECT_LT(bottom.red(), 40);
  EXPECT_GT(top.green(), bottom.green());
  // The caption is written on it, above the blanks at the bottom.
  EXPECT_GT(WhitePixels(shot, QRect(0, 0, w, shot.height())), 30);
  EXPECT_EQ(WhitePixels(shot, QRect(0, shot.height() - 20, w, 20)), 0);
  // No item is drawn over the banner.
  for (QAction* action : menu.actions()) EXPECT_GE(menu.actionGeometry(action).left(), w);
}

}  // namespace
}  // namespace vistrel
