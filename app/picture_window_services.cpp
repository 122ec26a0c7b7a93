#include "app/picture_window_services.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/TKeysForm1.h"
#include "app/help_document.h"
#include "app/shortcut_routine.h"
#include "capture/forms/capture_hooks.h"
#include "output/printing_hooks.h"
#include "picture/picture_services.h"
#include "picture/TMainForm1.h"

namespace vistrel {

void OpenHotKeySetup(THotKeys& hotkeys, QWidget* over) {
  TKeysForm1 dialog(hotkeys, over);
  dialog.adjustSize();
  // Centred over the picture window (or the screen), halves truncated
  // toward zero.
  const QRect w = over ? over->frameGeometry() : QGuiApplication::primaryScreen()->geometry();
  dialog.move(w.left() + (w.width() - dialog.width()) / 2,
              w.top() + (w.height() - dialog.height()) / 2);
  dialog.exec();
}

void LendPictureWindowServices(TPictureServices& hooks, THotKeys& hotkeys, IPrinters& printers,
                               std::function<void(TMainForm1&)> timer_setup) {
  LendCaptures(hooks);
  LendPrinting(hooks, printers);
  hooks.TimerSetup = std::move(timer_setup);
  hooks.HotKeySetup = [&hotkeys](TMainForm1& window) { OpenHotKeySetup(hotkeys, &window); };
  hooks.CreateRemoveShortcut = [](TMainForm1& window, TShortcutFolder folder) {
    CreateOrRemoveShortcut(&window, folder);
  };
  hooks.OpenHelp = [](TMainForm1& window) { OpenHelpDocument(&window); };
}

}  // namespace vistrel
