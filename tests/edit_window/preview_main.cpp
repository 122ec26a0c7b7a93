// Shows the standard editing window beside a picture window over a made-up
// desktop so that it can be looked at (not a test):
// edit_window_preview [OUTPUT.png] — with a file name the editing window is
// written there and the program ends; without one it stays for a while.
#include <QApplication>
#include <QTimer>

#include "commands/TActionList1.h"
#include "commands/command_table.h"
#include "picture/TEditForm1.h"
#include "picture/TMainForm1.h"
#include "capture/forms/request_grab.h"
#include "capture/request_sources.h"
#include "support/preview_desktop.h"

using namespace vistrel;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString output = argc > 1 ? argv[1] : QString();

  testing::TPreviewDesktop desktop;
  TAppContext& context = desktop.context;

  TEditForm1 form;
  form.LendServices(context);
  LoadCaptureSettings(context);
  TMainForm1 window(context, GrabForCaptureRequest(context, RequestForOpen()));
  window.show();
  QTimer::singleShot(300, &window, [&] {
    desktop.commands.Action(cmd::kStandardEditing)->trigger();
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
