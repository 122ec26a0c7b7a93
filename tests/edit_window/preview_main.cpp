// Shows the standard editing window beside a picture window over a made-up
// desktop so that it can be looked at (not a test):
// edit_window_preview [OUTPUT.png] — with a file name the editing window is
// written there and the program ends; without one it stays for a while.
#include <QApplication>
#include <QTimer>

#include "commands/TActionList1.h"
#include "commands/command_table.h"
#include "commands/app_context.h"
#include "picture/TEditForm1.h"
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
  const QString output = argc > 1 ? argv[1] : QString();

  TPlatform platform;
  auto screen = std::make_unique<FakeScreenSource>();
  screen->monitors = {TMonitor{TScreenRect{0, 0, 800, 600}, true, "ONE"}};
  screen->desktop.Allocate(800, 600);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x)
      screen->desktop.SetPixel(x, y, MakeColor(std::uint8_t(x / 4), std::uint8_t(y / 3), 120));
  platform.screen = std::move(screen);
  platform.cursor = std::make_unique<FakeCursorSource>();
  platform.windows = std::make_unique<FakeWindowSource>();
  platform.hotkeys = std::make_unique<FakeHotkeys>();
  platform.sound = std::make_unique<FakeSoundPlayer>();
  FakeBeeper beeper;
  TActionList1 commands;
  TrayOptions tray;
  TAppContext context{commands, tray, platform, beeper, [] { return false; }};

  TEditForm1 form;
  form.InstallHooks();
  TMainForm1 window(context);
  window.show();
  QTimer::singleShot(300, &window, [&] {
    commands.Action(cmd::kStandardEditing)->trigger();
    if (output.isEmpty()) return;
    QTimer::singleShot(300, &window, [&] {
      form.grab().save(output);
      window.close();
      QApplication::quit();
    });
  });
  if (output.isEmpty()) QTimer::singleShot(15000, &app, &QApplication::quit);
  return app.exec();
}
