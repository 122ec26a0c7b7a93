// The picture window's creation and destruction: the grab, the Monitors
// choice, the settings it reads and writes, its placement.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QMenuBar>

#include "window_fixture.h"
#include "capture/capture_mode.h"
#include "commands/command_table.h"

namespace vistrel::testing {
namespace {

constexpr TScreenRect kLeft{0, 0, 1024, 768};
constexpr TScreenRect kRight{1024, 0, 1664, 480};

bool ShowsDesktop(const TPictureBitmap& picture, const TScreenRect& area) {
  if (picture.Width() != area.Width() || picture.Height() != area.Height()) return false;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (picture.Pixel(x, y) != DesktopColour(area.left + x, area.top + y)) return false;
  return true;
}

QMenu* MonitorsMenu(const TMainForm1& window) { return window.findChild<QMenu*>("MonitorsMenu"); }

TEST_F(PictureWindowTest, CreatingTheWindowGrabsTheDesktopIntoTheView) {
  auto window = NewWindow();
  ASSERT_FALSE(Screen().grabs.empty());
  EXPECT_EQ(Screen().grabs.back(), kLeft);
  EXPECT_TRUE(ShowsDesktop(window->PictureView1->Picture(), kLeft));
  EXPECT_EQ(window->windowTitle(), "   Vistrel-Pro   v1.05 ( English )");
  EXPECT_EQ(window->minimumSize(), QSize(636, 434));
  EXPECT_FALSE(window->isVisible());
}

TEST_F(PictureWindowTest, DesktopWithoutMonitorsGivesAnEmptyPictureAndAWorkingWindow) {
  SetDesktop({});
  auto window = NewWindow();
  EXPECT_TRUE(window->PictureView1->Picture().Empty());
  window->show();
  QApplication::processEvents();
  EXPECT_EQ(window->StatusText(1), " Picture Width: 0 , Height: 0 , Number of Colors: 0");
  window->Action5Execute();
  FindItem(window->PopupMenu1()->actions().first()->menu(), "64 x 64")->trigger();
  EXPECT_FALSE(window->PictureView1->HasSelection());
}

TEST_F(PictureWindowTest, GrabTakesTheForegroundWindowForWindowModes) {
  auto& windows = static_cast<FakeWindowSource&>(*platform_.windows);
  windows.windows[7] = {TScreenRect{100, 50, 400, 250}, TScreenRect{110, 80, 390, 240}};
  windows.active = 7;
  StoreBool("Client_Area", true);
  auto window = NewWindow(*RequestForHotkey(cmActiveWindow, false));
  EXPECT_TRUE(ShowsDesktop(window->PictureView1->Picture(), {110, 80, 390, 240}));
}

TEST_F(PictureWindowTest, SoundBeforeTheGrabFollowsTheStoredCheckMark) {
  // No sound device here: the typewriter falls back to the beep.
  NewWindow();
  EXPECT_EQ(beeper_.beeps, 1);
  StoreBool("Sound", false);
  NewWindow();
  EXPECT_EQ(beeper_.beeps, 1);
  EXPECT_FALSE(commands_.Checked(cmd::kSound));
}

TEST_F(PictureWindowTest, LastCheckedMonitorDecidesTheGrab) {
  SetDesktop({{kLeft, true, "LEFT"}, {kRight, false, "RIGHT"}});
  StoreBool("Monitor_0", true);
  StoreBool("Monitor_2", true);
  auto window = NewWindow();
  EXPECT_EQ(context_.capture.CaptureBounds, kRight);
  EXPECT_TRUE(ShowsDesktop(window->PictureView1->Picture(), kRight));
}

TEST_F(PictureWindowTest, MonitorsMenuFollowsTheMonitorCount) {
  {
    auto window = NewWindow();
    EXPECT_FALSE(MonitorsMenu(*window)->menuAction()->isEnabled());
  }
  SetDesktop({{kLeft, true, "LEFT"}, {kRight, false, "RIGHT"}});
  auto window = NewWindow();
  QMenu* menu = MonitorsMenu(*window);
  ASSERT_TRUE(menu);
  EXPECT_EQ(MenuTexts(menu),
            QStringList({"All Monitors", "-", "Monitor 1", "Monitor 2", "Monitor 3", "Monitor 4"}));
  EXPECT_TRUE(menu->menuAction()->isEnabled());
  QStringList enabled;
  for (QAction* item : menu->actions())
    if (!item->isSeparator() && item->isEnabled()) enabled << item->text();
  EXPECT_EQ(enabled, QStringList({"All Monitors", "Monitor 1", "Monitor 2"}));
}

TEST_F(PictureWindowTest, UncheckingAMonitorStillSetsItsBoundsButStoresNoCheck) {
  SetDesktop({{kLeft, true, "LEFT"}, {kRight, false, "RIGHT"}});
  StoreBool("Monitor_0", false);
  StoreBool("Monitor_2", true);
  {
    auto window = NewWindow();
    QAction* monitor2 = FindItem(MonitorsMenu(*window), "Monitor 2");
    ASSERT_TRUE(monitor2 && monitor2->isChecked());
    FindItem(MonitorsMenu(*window), "Monitor 1")->trigger();
    EXPECT_EQ(context_.capture.CaptureBounds, kLeft);
    EXPECT_FALSE(monitor2->isChecked());  // one radio group
    FindItem(MonitorsMenu(*window), "Monitor 1")->trigger();
    monitor2->trigger();
    monitor2->trigger();  // checked, then unchecked again
    EXPECT_FALSE(monitor2->isChecked());
    EXPECT_EQ(context_.capture.CaptureBounds, kRight);
  }
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(StoredBool("Monitor_" + std::to_string(i))) << i;
  Screen().grabs.clear();
  NewWindow();
  EXPECT_EQ(Screen().grabs.back(), VirtualDesktopRect(Screen().monitors));
}

TEST_F(PictureWindowTest, DestroyingTheWindowWritesItsSettings) {
  tray_.AutoFileName = "Shot";
  {
    auto window = NewWindow();
    commands_.SetChecked(cmd::kIncludeCursor, true);  // Include Cursor
  }
  EXPECT_EQ(StoredInteger("MainFormState"), 1);
  EXPECT_EQ(StoredInteger("ResampleFilter"), 1);
  EXPECT_TRUE(StoredBool("IncludeCursor"));
  EXPECT_TRUE(StoredBool("Monitor_0"));
  EXPECT_EQ(SettingsStore().ReadString(kOtherOptionsSection, "AutoFileName", ""), "Shot");
  // The window's state is gone with it.
  EXPECT_TRUE(context_.picture.FirstPaintPending);
  EXPECT_FALSE(context_.picture.PictureBusy);
}

TEST_F(PictureWindowTest, NothingIsWrittenAfterAReset) {
  {
    auto window = NewWindow();
    context_.flags.ResetPending = true;
  }
  EXPECT_FALSE(SettingsStore().SectionExists(kOtherOptionsSection));
}

TEST_F(PictureWindowTest, StoredSizeLargerThanTheCaptureBoundsGives640x480) {
  Store("MainFormWidth", 3000);
  Store("MainFormHeight", 2000);
  Store("MainFormLeft", 10);
  Store("MainFormTop", 10);
  auto window = NewWindow();
  EXPECT_EQ(window->size(), QSize(640, 480));
}

TEST_F(PictureWindowTest, StoredPlacementIsKeptWhenItFits) {
  Store("MainFormWidth", 700);
  Store("MainFormHeight", 500);
  Store("MainFormLeft", 30);
  Store("MainFormTop", 40);
  {
    auto window = NewWindow();
    EXPECT_EQ(window->size(), QSize(700, 500));
    EXPECT_EQ(window->pos(), QPoint(30, 40));
  }
  EXPECT_EQ(StoredInteger("MainFormWidth"), 700);
  EXPECT_EQ(StoredInteger("MainFormLeft"), 30);
}

TEST_F(PictureWindowTest, MaximisedWindowKeepsItsNormalPlacementForNextTime) {
  Store("MainFormWidth", 700);
  Store("MainFormHeight", 500);
  Store("MainFormLeft", 30);
  Store("MainFormTop", 40);
  {
    auto window = NewWindow();
    window->show();
    QApplication::processEvents();
    window->move(50, 60);
    QApplication::processEvents();
    window->showMaximized();
    QApplication::processEvents();
    // Maximising remembered the normal rectangle.
    EXPECT_EQ(window->RestoredWindowRect(), (TScreenRect{50, 60, 750, 560}));
  }
  EXPECT_EQ(StoredInteger("MainFormState"), 2);
  EXPECT_EQ(StoredInteger("OldWinLeft"), 50);
  EXPECT_EQ(StoredInteger("OldWinBottom"), 560);
  // Position and size stay those of the last normal close.
  EXPECT_EQ(StoredInteger("MainFormLeft"), 30);
  EXPECT_EQ(StoredInteger("MainFormWidth"), 700);
  auto window = NewWindow();
  EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
}

TEST_F(PictureWindowTest, RestoringFromMinimisedUsesTheRememberedRectangle) {
  Store("OldWinLeft", 20);
  Store("OldWinTop", 30);
  Store("OldWinRight", 720);
  Store("OldWinBottom", 530);
  auto window = NewWindow();
  window->show();
  window->showMinimized();
  QApplication::processEvents();
  window->RestoreFromMinimised();
  QApplication::processEvents();
  EXPECT_FALSE(window->isMinimized());
  EXPECT_EQ(window->pos(), QPoint(20, 30));
  EXPECT_EQ(window->size(), QSize(700, 500));
}

TEST_F(PictureWindowTest, RestoreWindowToDefaultCentresTheSmallestWindow) {
  Store("MainFormWidth", 900);
  auto window = NewWindow();
  FindItem(window->findChild<QMenu*>("ViewMenu"), "Restore Window to Default")->trigger();
  QApplication::processEvents();  // the shown window is placed by the window system
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window->size(), QSize(636, 434));
  EXPECT_EQ(window->pos(), QPoint((screen.width() - 636) / 2, (screen.height() - 434) / 2));
}

QAction* FilterItem(const TMainForm1& window, const QString& name) {
  QMenu* options = window.findChild<QMenu*>("OptionsMenu");
  QMenu* quality = options->actions().first()->menu();
  return FindItem(quality, name);
}

TEST_F(PictureWindowTest, ResampleFilterIsReadCheckedAndWrittenBack) {
  Store("ResampleFilter", 3);
  {
    auto window = NewWindow();
    EXPECT_TRUE(FilterItem(*window, "Lanczos3")->isChecked());
    EXPECT_EQ(context_.picture.ResampleFilter, TResampleFilter::rfLanczos3);
    FilterItem(*window, "Bell")->trigger();
    EXPECT_EQ(context_.picture.ResampleFilter, TResampleFilter::rfBell);
  }
  EXPECT_EQ(StoredInteger("ResampleFilter"), 4);
}

TEST_F(PictureWindowTest, InvalidStoredFilterChangesNothing) {
  Store("ResampleFilter", 9);
  {
    auto window = NewWindow();
    EXPECT_TRUE(FilterItem(*window, "Mitchell")->isChecked());
    EXPECT_EQ(context_.picture.ResampleFilter, TResampleFilter::rfTriangle);
  }
  EXPECT_EQ(StoredInteger("ResampleFilter"), 1);
}

}  // namespace
}  // namespace vistrel::testing
