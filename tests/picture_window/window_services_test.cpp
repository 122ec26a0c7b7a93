// The picture window's Hotkey, Shortcuts and Help items and the services
// behind them.
#include <QMenuBar>

#include "picture/picture_services.h"
#include "window_fixture.h"

namespace vistrel::testing {
namespace {

QAction* Item(TMainForm1& window, const QString& menu_title, const QString& text) {
  for (QAction* top : window.menuBar()->actions()) {
    if (top->text() != menu_title) continue;
    QList<QAction*> items = top->menu()->actions();
    for (int i = 0; i < items.size(); ++i) {
      if (items[i]->menu()) items += items[i]->menu()->actions();
      if (items[i]->text() == text) return items[i];
    }
  }
  ADD_FAILURE() << text.toStdString() << " not in " << menu_title.toStdString();
  return nullptr;
}

class WindowServicesTest : public PictureWindowTest {
 protected:
  void TearDown() override {
    context_.services.HotKeySetup = nullptr;
    context_.services.CreateRemoveShortcut = nullptr;
    context_.services.OpenHelp = nullptr;
    PictureWindowTest::TearDown();
  }
};

TEST_F(WindowServicesTest, ItemsStayDisabledWithoutTheirService) {
  auto window = NewWindow();
  EXPECT_FALSE(Item(*window, "Hotkey", "Setup")->isEnabled());
  EXPECT_FALSE(Item(*window, "&Help", "Vistrel-Pro Help")->isEnabled());
  EXPECT_FALSE(Item(*window, "&Options", "Create/Remove Shortcut on [ Desktop ]")->isEnabled());
}

TEST_F(WindowServicesTest, EachItemReachesItsServiceAndSetupWaitsWhileBusy) {
  int setups = 0, helps = 0;
  std::vector<TShortcutFolder> folders;
  context_.services.HotKeySetup = [&](TMainForm1&) { ++setups; };
  context_.services.OpenHelp = [&](TMainForm1&) { ++helps; };
  context_.services.CreateRemoveShortcut = [&](TMainForm1&, TShortcutFolder f) { folders.push_back(f); };
  auto window = NewWindow();
  QAction* setup = Item(*window, "Hotkey", "Setup");
  ASSERT_TRUE(setup->isEnabled());
  context_.picture.PictureBusy = true;
  setup->trigger();
  EXPECT_EQ(setups, 0);
  context_.picture.PictureBusy = false;
  setup->trigger();
  EXPECT_EQ(setups, 1);
  Item(*window, "&Help", "Vistrel-Pro Help")->trigger();
  EXPECT_EQ(helps, 1);
  for (const char* text : {"Create/Remove Shortcut on [ Startup Folder ]",
                           "Create/Remove Shortcut on [ Desktop ]",
                           "Create/Remove Shortcut on [ Start Menu ]"})
    Item(*window, "&Options", text)->trigger();
  EXPECT_EQ(folders, (std::vector<TShortcutFolder>{TShortcutFolder::Startup,
                                                   TShortcutFolder::Desktop,
                                                   TShortcutFolder::StartMenu}));
}

}  // namespace
}  // namespace vistrel::testing
