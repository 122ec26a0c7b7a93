#include "app/application_setup.h"

#include <QApplication>
#include <QThread>

#include "app/app_texts.h"
#include "imaging/formats/decoder_child.h"
#include "picture/MainFormIcons.h"
#include "picture/PictureViewImage.h"
#include "program_info.h"

namespace vistrel {

namespace {
// Set for this process alone: programs it starts choose their own.
bool selected_qt_platform = false;
}  // namespace

void SelectQtPlatform(TPlatformKind desktop) {
  if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return;
  qputenv("QT_QPA_PLATFORM", QtPlatformPluginFor(desktop));
  selected_qt_platform = true;
}

void SetUpApplication() {
  if (selected_qt_platform) qunsetenv("QT_QPA_PLATFORM");
  // No main window, no quitting when a window closes.
  QApplication::setApplicationName(texts::kApplicationTitle);
  // Ties the windows to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(VISTREL_APP_ID);
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(ProgramIcon());
  // Metafiles are drawn in a child process: while it runs, the windows go
  // on painting and answering the window manager, taking no input.
  SetChildWaitHook([] {
    if (QThread::currentThread() == QCoreApplication::instance()->thread())
      QApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
  });
  AllowPictureSizedImages();
}

}  // namespace vistrel
