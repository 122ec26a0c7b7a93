// Shows "HotKey Setup" over the fake desktop and over a Wayland desktop
// that lends no keys, then the about box, so
// that they can be looked at (or grabbed: shell_forms_preview OUT_FOLDER).
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include "app/TAboutForm1.h"
#include "app/TKeysForm1.h"
#include "app/hotkeys/hotkey_table.h"
#include "platform/fake/fake_hotkeys.h"
#include "platform/wayland/no_global_hotkeys.h"

int main(int argc, char** argv) {
  // Closing the dialog stores the table: not into the user's settings.
  QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
  QApplication app(argc, argv);
  const QString out = argc > 1 ? QString(argv[1]) : QString();
  vistrel::FakeHotkeys desktop;
  vistrel::THotKeys keys(desktop);
  keys.Table().SetDefaultHotKeys();
  keys.Table().keys[4] = {122, 1, 12, 1};
  auto grab_and_close = [&out](QDialog& dialog, const char* name) {
    if (out.isEmpty()) return;
    QTimer::singleShot(300, &dialog, [&dialog, &out, name] {
      dialog.grab().save(out + "/" + name);
      dialog.done(0);
    });
  };
  {
    vistrel::TKeysForm1 form(keys);
    grab_and_close(form, "keys-form.png");
    form.exec();
  }
  {
    vistrel::NoGlobalHotkeys wayland;
    vistrel::THotKeys wayland_keys(wayland);
    wayland_keys.Table() = keys.Table();
    vistrel::TKeysForm1 form(wayland_keys);
    grab_and_close(form, "keys-form-wayland.png");
    form.exec();
  }
  vistrel::TAboutForm1 about;
  grab_and_close(about, "about-form.png");
  about.exec();
  return 0;
}
