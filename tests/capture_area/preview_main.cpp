// Shows the capture windows over a made-up desktop so that they can be
// looked at (not a test): capture_area_preview WHAT [SECONDS]. WHAT is
// "fullrect" (a selection on the frozen desktop), "rect" (Custom Rectangle)
// or "timer" (Timer Setup).
#include <QApplication>
#include <QTimer>

#include "commands/TActionList1.h"
#include "settings/date_time.h"
#include "capture/forms/TFullRectForm1.h"
#include "capture/forms/TRectForm1.h"
#include "capture/forms/TTimerForm1.h"
#include "picture/TMainForm1.h"
#include "capture/forms/request_grab.h"
#include "capture/request_sources.h"
#include "support/preview_desktop.h"

using namespace vistrel;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString what = argc > 1 ? argv[1] : QString("fullrect");
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 5;

  testing::TPreviewDesktop desktop;
  TAppContext& context = desktop.context;
  LoadCaptureSettings(context);
  TMainForm1 window(context, GrabForCaptureRequest(context, RequestForOpen()));

  if (what == "rect") {
    TRectForm1 dialog(window.Options(), desktop.beeper, 800, 600);
    QTimer::singleShot(seconds * 1000, &dialog, &QDialog::accept);
    dialog.exec();
  } else if (what == "timer") {
    TTimerForm1 dialog(desktop.tray, NowAsDateTime);
    QTimer::singleShot(seconds * 1000, &dialog, &QDialog::reject);
    dialog.exec();
  } else {
    TFullRectForm1 form(context, {window.Options().CustomW, window.Options().CustomH});
    form.FormCreate();
    form.Preselect(context.capture.CustomCaptureRect);
    form.PresetClick(128, 128);
    QTimer::singleShot(seconds * 1000, &form, &QWidget::close);
    form.ShowModal();
  }
  return 0;
}
