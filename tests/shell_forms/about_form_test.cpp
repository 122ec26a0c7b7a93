#include "app/TAboutForm1.h"
#include "commands/command_table.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "commands/TActionList1.h"
#include "box_answerer.h"
#include "picture/picture_state.h"

namespace vistrel {
namespace {

namespace tx = about_form_texts;
using testing::BoxAnswerer;

QRect PlaceOf(const TAboutForm1& box, const char* name) {
  const QWidget* w = box.findChild<QWidget*>(name);
  EXPECT_NE(w, nullptr) << name;
  return w ? w->geometry() : QRect();
}

TEST(AboutForm, ClientAreaFrameAndElementsInTheirPlaces) {
  TAboutForm1 box;
  EXPECT_EQ(box.windowTitle(), "About Vistrel-Pro");
  EXPECT_EQ(box.size(), QSize(398, 312));
  EXPECT_EQ(box.minimumSize(), box.maximumSize());
  const Qt::WindowFlags flags = box.windowFlags();
  EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
  for (Qt::WindowType button : {Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint,
                                Qt::WindowMaximizeButtonHint, Qt::WindowContextHelpButtonHint})
    EXPECT_FALSE(flags & button);

  EXPECT_EQ(PlaceOf(box, "ProductName"), QRect(12, 4, 288, 56));
  EXPECT_EQ(PlaceOf(box, "Version"), QRect(308, 24, 80, 33));
  EXPECT_EQ(PlaceOf(box, "HomePage"), QRect(92, 140, 187, 16));
  EXPECT_EQ(box.findChild<QGroupBox*>()->geometry(), QRect(4, 164, 389, 101));
  EXPECT_EQ(box.findChild<QGroupBox*>()->title(), "Credits");
  auto* credits = box.findChild<QPlainTextEdit*>("Credits");
  EXPECT_EQ(credits->geometry(), QRect(8, 16, 373, 73));
  EXPECT_TRUE(credits->isReadOnly());
  EXPECT_EQ(credits->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(box.OkButton()->geometry(), QRect(156, 276, 69, 25));
  EXPECT_TRUE(box.OkButton()->isDefault());

  const QFont product = box.findChild<QLabel*>("ProductName")->font();
  EXPECT_EQ(product.pixelSize(), 40);
  EXPECT_TRUE(product.bold());
  const QLabel* version = box.findChild<QLabel*>("Version");
  EXPECT_EQ(version->font().pixelSize(), 24);
  EXPECT_EQ(version->palette().color(QPalette::WindowText), QColor(175, 6, 1));
  EXPECT_EQ(box.Link()->text(), tx::kHomePage);
  EXPECT_EQ(box.Link()->toolTip(), tx::kHomePage);
  EXPECT_EQ(box.Link()->cursor().shape(), Qt::PointingHandCursor);
}

TEST(AboutForm, CentredOnTheScreenAndClosedByOkOrEsc) {
  for (bool by_escape : {false, true}) {
    TAboutForm1 box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const QRect screen = QApplication::primaryScreen()->geometry();
    EXPECT_LE(std::abs(box.frameGeometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(box.frameGeometry().center().y() - screen.center().y()), 1);
    if (by_escape)
      QTest::keyClick(&box, Qt::Key_Escape);
    else
      QTest::mouseClick(box.OkButton(), Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
  }
}

TEST(AboutForm, TheLinkLightsUpUnderThePointer) {
  TAboutForm1 box;
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  QLabel* link = box.Link();
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_TRUE(link->font().bold());
  EXPECT_FALSE(link->font().underline());
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(link, &enter);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
  EXPECT_TRUE(link->font().bold());
  EXPECT_TRUE(link->font().underline());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(link, &leave);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_FALSE(link->font().underline());
}

TEST(AboutForm, NoOpenerGivesCouldNotFindHomePage) {
  // The offscreen platform has no program to open addresses with.
  TAboutForm1 box;
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  BoxAnswerer boxes;
  QTest::mouseClick(box.Link(), Qt::LeftButton, {}, QPoint(10, 8));
  EXPECT_EQ(boxes.texts, QStringList{"Could not find home-page"});
  EXPECT_TRUE(box.isVisible());
}

TEST(AboutCommand, ClipboardCommandsAreOffWhileTheBoxIsOpenAndNothingWhileBusy) {
  TActionList1 commands;
  TPictureState picture;
  picture.PictureBusy = true;
  Action1Execute(commands, picture);  // returns at once: no box to close
  picture.PictureBusy = false;
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<TAboutForm1*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seen = true;
    for (int n : {cmd::kCopy, cmd::kPaste, cmd::kCut})
      EXPECT_FALSE(commands.Action(n)->isEnabled()) << n;
    box->OkButton()->click();
  });
  Action1Execute(commands, picture);
  EXPECT_TRUE(seen);
  EXPECT_TRUE(commands.Action(cmd::kCopy)->isEnabled());
}

}  // namespace
}  // namespace vistrel
