// Shows the capture windows over a made-up desktop so that they can be
// looked at (not a test): capture_area_preview WHAT [SECONDS]. WHAT is
// "fullrect" (a selection on the frozen desktop), "rect" (Custom Rectangle)
// or "timer" (Timer Setup).
#include <QApplication>
#include <QTimer>

#include "commands/TActionList1.h"
#include "commands/app_context.h"
#include "settings/date_time.h"
#include "capture/capture_state.h"
#include "capture/forms/TFullRectForm1.h"
#include "capture/forms/TRectForm1.h"
#include "capture/forms/TTimerForm1.h"
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
  const QString what = argc > 1 ? argv[1] : QString("fullrect");
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

  if (what == "rect") {
    TRectForm1 dialog(window.Options(), beeper, 800, 600);
    QTimer::singleShot(seconds * 1000, &dialog, &QDialog::accept);
    dialog.exec();
  } else if (what == "timer") {
    TTimerForm1 dialog(tray, NowAsDateTime);
    QTimer::singleShot(seconds * 1000, &dialog, &QDialog::reject);
    dialog.exec();
  } else {
    TFullRectForm1 form(window);
    form.FormCreate();
    form.Preselect(CaptureState().CustomCaptureRect);
    form.PresetClick(128, 128);
    QTimer::singleShot(seconds * 1000, &form, &QWidget::close);
    form.ShowModal();
  }
  return 0;
}
