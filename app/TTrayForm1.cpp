#include "app/TTrayForm1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLocale>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

#include "app/app_texts.h"
#include "app/hint_hook.h"
#include "app/option_defaults.h"
#include "app/process_flags.h"
#include "app/settings/settings_store.h"

namespace vistrel {

TTrayForm1::TTrayForm1(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint) {
  setWindowTitle(texts::kTrayFormCaption);
  FormCreate();
}

TTrayForm1::~TTrayForm1() = default;

void TTrayForm1::FormCreate() {
  // 1. Dates are shown as "m.d.y" from here on (see ShortDateText).
  // 2. Hints: 4000 ms, at most 204 pixels wide.
  qApp->installEventFilter(new HintHook(this));

  // 3. The tray icon and its menu.
  TrayIcon1 = new QSystemTrayIcon(QIcon(":/vistrel-pro.svg"), this);
  TrayIcon1->setToolTip(texts::kTrayTooltip);
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setTitle(texts::kTrayMenuBanner);
  Action2 = new QAction("Terminate Vistrel-Pro", this);
  connect(Action2, &QAction::triggered, this, &TTrayForm1::Action2Execute);
  PopupMenu1->addAction(Action2);
  TrayIcon1->setContextMenu(PopupMenu1);
  TrayIcon1->show();

  // 4. The tray group of the settings.
  {
    SettingsStore store;
    options_ = TrayOptions::Load(store, CurrentOptionDefaults());
  }

  // 5. Hotkeys and 6. command captions join here with the command set.

  // 7. Captures may start from now on.
  CaptureIdle = true;

  // 8. Automatic Save left on at the last exit: the capture timer runs.
  Timer1 = new QTimer(this);
  if (options_.TimerEnabled) {
    Timer1->setInterval(int(std::min<long long>(options_.CaptureIntervalMs(), INT32_MAX)));
    Timer1->start();
  }
}

void TTrayForm1::Action2Execute() { CloseProgram(); }

void TTrayForm1::FormCloseQuery() {
  // Hotkeys are unregistered here once the hotkey window exists.
  QApplication::processEvents();
  SettingsStore store;
  if (ResetPending)
    store.EraseSection("Setup");
  else
    options_.SaveExitKeys(store);
}

void TTrayForm1::CloseProgram() {
  if (closed_) return;
  closed_ = true;
  FormCloseQuery();
  if (Timer1) Timer1->stop();
  if (TrayIcon1) TrayIcon1->hide();
  QApplication::exit(0);
}

void TTrayForm1::closeEvent(QCloseEvent* event) {
  CloseProgram();
  event->accept();
}

}  // namespace vistrel
