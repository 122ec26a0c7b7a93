#include "app/picture_window_services.h"

#include "app/TKeysForm1.h"
#include "app/help_document.h"
#include "app/shortcut_routine.h"
#include "picture/MainFormHooks.h"
#include "picture/TMainForm1.h"

namespace vistrel {

void InstallPictureWindowServices(THotKeys& hotkeys) {
  TMainFormHooks& hooks = MainFormHooks();
  hooks.HotKeySetup = [&hotkeys](TMainForm1& window) {
    TKeysForm1 dialog(hotkeys, &window);
    dialog.adjustSize();
    // Centred over the picture window, halves truncated toward zero.
    const QRect w = window.frameGeometry();
    dialog.move(w.left() + (w.width() - dialog.width()) / 2,
                w.top() + (w.height() - dialog.height()) / 2);
    dialog.exec();
  };
  hooks.CreateRemoveShortcut = [](TMainForm1& window, TShortcutFolder folder) {
    CreateOrRemoveShortcut(&window, folder);
  };
  hooks.OpenHelp = [](TMainForm1& window) { OpenHelpDocument(&window); };
}

}  // namespace vistrel
