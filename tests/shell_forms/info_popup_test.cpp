#include <gtest/gtest.h>

#include <QLabel>

#include "commands/TInfoForm1.h"

namespace vistrel {
namespace {

TEST(InfoPopup, ShortTextKeepsTheSmallestSize) {
  TInfoForm1 popup;
  popup.SetText("Saved");
  EXPECT_EQ(popup.size(), QSize(152, 42));
}

TEST(InfoPopup, GrowsUntilEveryLineOfItsTextFits) {
  TInfoForm1 popup;
  const QString name = "AVeryLongPictureShotName_2026-12-09_0003.png";
  popup.SetText("Picture Saved as \r\n" + name);
  const QLabel* label = popup.findChild<QLabel*>("Label1");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(popup.width(), 42 + label->width());
  EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(name));
  EXPECT_GE(label->contentsRect().height(), 2 * label->fontMetrics().height());
  EXPECT_GE(popup.height(), 42);
  EXPECT_EQ(label->text(), "Picture Saved as \n" + name);

  // Many lines grow it downwards too.
  popup.SetText("1\r\n2\r\n3\r\n4\r\n5");
  EXPECT_GE(label->contentsRect().height(), 5 * label->fontMetrics().height());
  EXPECT_EQ(popup.width(), 152);
}

}  // namespace
}  // namespace vistrel
