// Shows the print setup dialog over a picture window on a made-up desktop
// and the fake printers, and writes a picture of it (not a test):
// print_form_preview OUTPUT.png [landscape] [original] [footer] [setup]
// ("setup": the printer set-up dialog that its "Setup" button opens)
#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "commands/TActionList1.h"
#include "output/TPrintForm1.h"
#include "output/printing_hooks.h"
#include "picture/TMainForm1.h"
#include "platform/fake/fake_printers.h"
#include "capture/forms/request_grab.h"
#include "capture/request_sources.h"
#include "support/preview_desktop.h"

using namespace vistrel;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  const QString output = argv[1];
  const QStringList options = app.arguments().mid(2);

  testing::TPreviewDesktop desktop;
  TAppContext& context = desktop.context;
  TFakePrinters printers;
  LendPrinting(context.services, printers);

  LoadCaptureSettings(context);
  TMainForm1 window(context, GrabForCaptureRequest(context, RequestForOpen()));
  TPrintForm1* form = PrintForm(window);
  QTimer::singleShot(300, form, [&] {
    if (options.contains("setup")) {
      QTimer::singleShot(300, form, [&] {
        auto* setup = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (setup) {
          setup->grab().save(output);
          setup->reject();
        }
        form->reject();
      });
      form->findChild<QPushButton*>("SetupButton")->click();
      return;
    }
    if (options.contains("landscape")) form->findChild<QRadioButton*>("Landscape")->click();
    if (options.contains("footer"))
      for (int i = 0; i < 4; ++i)
        form->findChild<QListWidget*>("CheckListBox1")->item(i)->setCheckState(Qt::Checked);
    if (options.contains("original")) form->findChild<QCheckBox*>("OriginalSize")->click();
    QTimer::singleShot(300, form, [&] {
      form->grab().save(output);
      form->reject();
    });
  });
  form->ToolButton9Click();
  return 0;
}
