// Opens a picture window over a made-up desktop so that it can be looked at
// (not a test): picture_window_preview [MENU] [SECONDS]. MENU is the object
// name of a menu to open ("FileMenu", "EditMenu", ..., "PopupMenu1"), or
// "progress" for an operation standing at 60 percent.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "commands/TActionList1.h"
#include "picture/TMainForm1.h"
#include "capture/forms/request_grab.h"
#include "capture/request_sources.h"
#include "support/preview_desktop.h"

using namespace vistrel;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString menu_name = argc > 1 ? argv[1] : QString();
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 5;

  testing::TPreviewDesktop desktop;
  TAppContext& context = desktop.context;

  LoadCaptureSettings(context);
  TMainForm1 window(context, GrabForCaptureRequest(context, RequestForOpen()));
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
