// The hidden main form: owns the tray icon, the command set, the capture
// timer and the hotkey window, lives for the whole run and is never shown.
#pragma once

#include <QWidget>

#include "app/settings/other_options.h"

class QAction;
class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace vistrel {

class TTrayForm1 : public QWidget {
  Q_OBJECT
 public:
  explicit TTrayForm1(QWidget* parent = nullptr);
  ~TTrayForm1() override;

  // Runs the exit sequence once and ends the message loop. Every way out
  // (Terminate, Reset, another copy's close request, a signal) comes here.
  void CloseProgram();

  TrayOptions& Options() { return options_; }
  QTimer* CaptureTimer() const { return Timer1; }
  bool Closed() const { return closed_; }

  // "Terminate Vistrel-Pro".
  void Action2Execute();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void FormCloseQuery();

  TrayOptions options_;
  QSystemTrayIcon* TrayIcon1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* Action2 = nullptr;
  QTimer* Timer1 = nullptr;
  bool closed_ = false;
};

}  // namespace vistrel
