// Opens a picture window over a made-up desktop so that it can be looked at
// (not a test): picture_window_preview [MENU] [SECONDS]. MENU is the object
// name of a menu to open ("FileMenu", "EditMenu", ..., "PopupMenu1"), or
// "progress" for an operation standing at 60 percent.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "commands/TActionList1.h"
#include "commands/app_context.h"
#include "picture/TMainForm1.h"
#include "platform/fake/fake_cursor_source.h"
#include "platform/fake/fake_hotkeys.h"
#include "platform/fake/fake_screen_source.h"
#include "platform/fake/fake_sound.h"
#include "platform/fake/fake_window_source.h"
#include "platform/platform.h"

using namespace vistrel;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString menu_name = argc > 1 ? argv[1] : QString();
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 5;

  TPlatform platform;
  auto screen = std::make_unique<FakeScreenSource>();
  screen->monitors = {TMonitor{TScreenRect{0, 0, 800, 600}, true, "ONE"}};
  screen->desktop.Allocate(800, 600);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x)
      screen->desktop.SetPixel(x, y, MakeColor(std::uint8_t(x / 4), std::uint8_t(y / 3),
                                               std::uint8_t(((x / 40 + y / 40) & 1) * 160)));
  platform.screen = std::move(screen);
  platform.cursor = std::make_unique<FakeCursorSource>();
  platform.windows = std::make_unique<FakeWindowSource>();
  platform.hotkeys = std::make_unique<FakeHotkeys>();
  platform.sound = std::make_unique<FakeSoundPlayer>();
  FakeBeeper beeper;
  TActionList1 commands;
  TrayOptions tray;
  TAppContext context{commands, tray, platform, beeper, [] { return false; }};

  TMainForm1 window(context);
  QTimer::singleShot(seconds * 1000, &window, &QWidget::close);
  if (!menu_name.isEmpty())
    QTimer::singleShot(700, &window, [&] {
      if (menu_name == "progress") {
        window.PictureProc1Progress(60);
        return;
      }
      if (menu_name == "PopupMenu1") {
        window.PopupMenu1()->popup(window.PictureView1->mapToGlobal(QPoint(120, 80)));
        return;
      }
      for (QAction* title : window.menuBar()->actions())
        if (title->menu() && title->menu()->objectName() == menu_name)
          window.menuBar()->setActiveAction(title);
    });
  window.ShowModal();
  return 0;
}
