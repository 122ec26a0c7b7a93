// The hidden main form: owns the tray icon, the command set, the capture
// timer, the hotkeys and the capture driver; lives for the whole run and is
// never shown.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/capture_channel.h"
#include "picture/app_context.h"
#include "commands/qt_beeper.h"
#include "app/hotkeys/hotkey_table.h"
#include "settings/other_options.h"
#include "platform/platform.h"
#include "platform/print/printers.h"

class QAction;
class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace vistrel {

class TActionList1;
class TCapturePipeline;
class TCommandLineCaptures;
class TDesktopNotifier;
class TMainForm1;
class THotkeyNotifier;

class TTrayForm1 : public QWidget {
  Q_OBJECT
 public:
  // `platform` is the desktop; the form keeps it for the whole run.
  explicit TTrayForm1(std::unique_ptr<TPlatform> platform, QWidget* parent = nullptr);
  ~TTrayForm1() override;

  // Runs the exit sequence once and ends the message loop. Every way out
  // (Terminate, Reset, another copy's close request) comes here; a modified
  // picture is asked about first, and false means the user kept it and the
  // program runs on.
  bool CloseProgram();
  // The same exit sequence without any question.
  void EndProgram();
  // A signal (the session ends): a modified picture is written for
  // recovery first, then the exit sequence runs.
  void EndProgramBySignal();
  bool Closed() const { return closed_; }

  TActionList1& Commands() { return *ActionList1; }
  THotKeys& HotKeys() { return *hotkeys_; }
  // What the picture windows share with the tray form.
  TAppContext& Context() { return *context_; }
  QMenu* TrayMenu() const { return PopupMenu1; }
  // A capture asked for on the command line (the arguments after the
  // program name); `reply` is called once, when it has ended.
  void RunCommandLineCapture(const std::vector<std::string>& args,
                             std::function<void(const TCaptureReply&)> reply);

  void Action2Execute();   // "Terminate Vistrel-Pro"
  void Action32Execute();  // "Reset to Default and Exit"
  void Action43Execute();  // "Automatic Save"
  void Action44Execute();  // "Open ..."
  void Action45Execute();  // "Save and Picture Type Defaults"
  void Action47Execute();  // "Send Picture as E-Mail"
  void Action51Execute();  // "Suspend"
  void PrintDesktop1Click();
  void GetRectangularArea1Click();
  // "Timer Setup" of the picture window.
  void TimerSetup(TMainForm1& window);
  // One tick of the capture timer.
  void Timer1Timer();
  // A hotkey with id 1000..1005 was pressed.
  void HotKeyPressed(int id);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void FormCloseQuery();
  void BuildTrayMenu();
  void StartCaptureTimer();
  void ConnectCommands();
  // Keys the desktop refused: the tooltip names them, a notice says so once
  // per run, and they are asked for again until the desktop lets them go.
  void HotKeysRefusedChanged();
  // The tooltip and icon: refused keys, and a clock while the timer runs.
  void UpdateTrayStatus();
  void NoticeRefusedHotKeys();
  // Pictures a signal made the last run write for recovery: named once.
  void NoticeRecoveredPictures();
  // No tray on the desktop a while after start-up: said once, as the
  // program stays without its icon and menu.
  void NoticeMissingTray();
  void OpenHotKeySetupFromNotice();

  TrayOptions options_;
  std::unique_ptr<TPlatform> platform_;
  TQtBeeper beeper_;
  TActionList1* ActionList1 = nullptr;
  std::unique_ptr<THotKeys> hotkeys_;
  std::unique_ptr<TAppContext> context_;
  std::unique_ptr<IPrinters> printers_;
  std::unique_ptr<TCapturePipeline> pipeline_;
  TCommandLineCaptures* command_line_ = nullptr;
  THotkeyNotifier* hotkey_notifier_ = nullptr;
  QSystemTrayIcon* TrayIcon1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* PrintDesktop1 = nullptr;
  QAction* GetRectangularArea1 = nullptr;
  QTimer* Timer1 = nullptr;
  QTimer* HotKeyRetryTimer = nullptr;
  TDesktopNotifier* notifier_ = nullptr;
  bool refused_noticed_ = false;
  bool closed_ = false;
};

}  // namespace vistrel
