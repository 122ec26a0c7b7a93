#include "app/TTrayForm1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolTip>
#include <QCursor>
#include <algorithm>
#include <cstdio>

#include "app/app_texts.h"
#include "app/command_line_captures.h"
#include "commands/TActionList1.h"
#include "commands/command_table.h"
#include "commands/error_guard.h"
#include "commands/message_boxes.h"
#include "app/hint_hook.h"
#include "app/TAboutForm1.h"
#include "app/picture_window_services.h"
#include "commands/option_defaults.h"
#include "app/tray_banner_menu.h"
#include "settings/date_time.h"
#include "output/TDefaultsForm1.h"
#include "platform/print/printers.h"
#include "mail/forms/TMailForm1.h"
#include "output/unsaved_recovery.h"
#include "settings/settings_store.h"
#include "capture/request_sources.h"
#include "capture/forms/TTimerForm1.h"
#include "capture/forms/dialog_placement.h"
#include "capture/forms/capture_pipeline.h"
#include "picture/picture_services.h"
#include "picture/MainFormIcons.h"
#include "picture/TMainForm1.h"
#include "platform/qt/desktop_notifier.h"
#include "platform/qt/hotkey_notifier.h"
#include "app/hotkeys/hotkey_rules.h"

namespace vistrel {

namespace {

// A key another program lets go of works again within this time.
constexpr int kHotKeyRetryMs = 5000;
// A panel started with the session may come up after the program.
constexpr int kTrayHostWaitMs = 3000;

// The tray icon with a small clock in its lower right quarter: Automatic
// Save is on and the capture timer runs.
QIcon IconWithClockMark(const QIcon& icon) {
  QIcon marked;
  for (int size : {16, 22, 24, 32, 48, 64}) {
    QPixmap pixmap = icon.pixmap(size, size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal d = size * 0.55;
    const QRectF face(size - d, size - d, d - 0.5, d - 0.5);
    painter.setPen(QPen(Qt::black, std::max(1.0, size / 16.0)));
    painter.setBrush(Qt::white);
    painter.drawEllipse(face);
    const QPointF centre = face.center();
    painter.drawLine(centre, centre - QPointF(0, d * 0.32));
    painter.drawLine(centre, centre + QPointF(d * 0.25, 0));
    marked.addPixmap(pixmap);
  }
  return marked;
}

// Marks the program busy for one capture and idle again afterwards, also
// when the capture ends with an error.
class BusyScope {
 public:
  explicit BusyScope(TProcessFlags& flags) : flags_(flags) { flags_.CaptureIdle = false; }
  ~BusyScope() { flags_.CaptureIdle = true; }

 private:
  TProcessFlags& flags_;
};
}  // namespace

TTrayForm1::TTrayForm1(std::unique_ptr<TPlatform> platform, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), platform_(std::move(platform)) {
  setWindowTitle(texts::kTrayFormCaption);
  FormCreate();
}

TTrayForm1::~TTrayForm1() = default;

void TTrayForm1::FormCreate() {
  // 1. Dates are shown in the user's short date format (the date pickers
  //    ask the locale).
  // 2. Hints: 4000 ms, at most 204 pixels wide.
  qApp->installEventFilter(new HintHook(this));


  // 3. The tray icon, its tooltip and its menu with the banner caption.
  ActionList1 = new TActionList1(this);
  ApplyCommandIcons(*ActionList1);
  TrayIcon1 = new QSystemTrayIcon(QApplication::windowIcon(), this);
  TrayIcon1->setToolTip(texts::kTrayTooltip);
  BuildTrayMenu();
  connect(TrayIcon1, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::DoubleClick) RunGuarded([this] { Action44Execute(); });
          });
  TrayIcon1->show();

  // 4. The tray group of the settings.
  {
    SettingsStore store;
    options_ = TrayOptions::Load(store, CurrentOptionDefaults());
  }
  ActionList1->SetChecked(cmd::kAutomaticSave, options_.TimerEnabled);
  ActionList1->SetChecked(cmd::kDirectPrinting, options_.DirectPrint);
  Timer1 = new QTimer(this);
  connect(Timer1, &QTimer::timeout, this, Guarded([this] { Timer1Timer(); }));
  context_ = std::make_unique<TAppContext>(TAppContext{
      *ActionList1, options_, *platform_, beeper_, [this] { return Timer1->isActive(); }});
  pipeline_ = std::make_unique<TCapturePipeline>(*context_);
  command_line_ = new TCommandLineCaptures(
      {[this] { return context_->flags.CaptureIdle; },
       [this](const TCaptureRequest& request) {
         BusyScope busy(context_->flags);
         return pipeline_->RunCaptureRequest(request);
       },
       [this](const QString& status) {
         if (status.isEmpty())
           UpdateTrayStatus();
         else
           TrayIcon1->setToolTip(status);
         // A tooltip on the screen keeps the text it was shown with.
         if (QToolTip::isVisible() && TrayIcon1->geometry().contains(QCursor::pos()))
           QToolTip::showText(QCursor::pos(), TrayIcon1->toolTip());
       }},
      60000, this);
  // Printing through CUPS; nothing asks it anything before a print is due.
  printers_ = OpenCupsPrinters();

  // 5. The hotkeys: stored or default, then registered in every case.
  hotkeys_ = std::make_unique<THotKeys>(*platform_->hotkeys);
  {
    SettingsStore store;
    LoadHotKeysAtStart(hotkeys_->Table(), store);
  }
  platform_->hotkeys->SetHandler([this](int id) { RunGuarded([this, id] { HotKeyPressed(id); }); });
  hotkey_notifier_ = new THotkeyNotifier(*platform_->hotkeys, this);
  notifier_ = new TDesktopNotifier(this);
  QTimer::singleShot(0, this, Guarded([this] { NoticeRecoveredPictures(); }));
  QTimer::singleShot(kTrayHostWaitMs, this, Guarded([this] { NoticeMissingTray(); }));
  HotKeyRetryTimer = new QTimer(this);
  HotKeyRetryTimer->setInterval(kHotKeyRetryMs);
  connect(HotKeyRetryTimer, &QTimer::timeout, this, Guarded([this] { hotkeys_->RetryRefused(); }));
  connect(PopupMenu1, &QMenu::aboutToShow, this, Guarded([this] { hotkeys_->RetryRefused(); }));
  connect(TrayIcon1, &QSystemTrayIcon::messageClicked, this,
          Guarded([this] { OpenHotKeySetupFromNotice(); }));
  hotkeys_->SetRefusedChanged([this] { HotKeysRefusedChanged(); });
  hotkeys_->RegisterHotKeys();
  // What the picture window takes from the other parts: captures on the
  // frozen desktop, printing, the timer dialog (whose Start runs the tray's
  // capture timer), hotkey setup, shortcuts and help.
  LendPictureWindowServices(context_->services, *hotkeys_, *printers_,
                            [this](TMainForm1& window) { TimerSetup(window); });

  // 6. The command captions come from the command table; the handlers.
  ConnectCommands();

  // 7. Captures may start from now on.
  context_->flags.CaptureIdle = true;

  // 8. Automatic Save left on at the last exit: the capture timer runs.
  if (ActionList1->Checked(cmd::kAutomaticSave)) StartCaptureTimer();
}

void TTrayForm1::UpdateTrayStatus() {
  const bool timer = Timer1 && Timer1->isActive();
  TrayIcon1->setToolTip(QString::fromStdString(
      TrayTooltipText(texts::kTrayTooltip, timer, hotkeys_->Table(), hotkeys_->Refused(),
                      platform_->hotkeys->Lending())));
  TrayIcon1->setIcon(timer ? IconWithClockMark(QApplication::windowIcon())
                           : QApplication::windowIcon());
}

void TTrayForm1::HotKeysRefusedChanged() {
  const std::vector<int>& refused = hotkeys_->Refused();
  UpdateTrayStatus();
  if (refused.empty()) {
    HotKeyRetryTimer->stop();
    return;
  }
  // Asking again helps only where another program may let a key go.
  if (platform_->hotkeys->Lending() == THotkeyLending::Grabs && !HotKeyRetryTimer->isActive())
    HotKeyRetryTimer->start();
  if (!refused_noticed_) {
    refused_noticed_ = true;
    // After start-up has finished, so the tray icon is in place for the
    // balloon and the notice does not hold the start up.
    QTimer::singleShot(0, this, Guarded([this] { NoticeRefusedHotKeys(); }));
  }
}

void TTrayForm1::NoticeRefusedHotKeys() {
  const std::vector<int>& refused = hotkeys_->Refused();
  if (refused.empty()) return;
  const THotkeyLending lending = platform_->hotkeys->Lending();
  const QString summary = QString::fromStdString(RefusedHotKeysSummary(lending));
  const QString body =
      QString::fromStdString(RefusedHotKeysNotice(hotkeys_->Table(), refused, lending));
  if (!notifier_->Notify(summary, body, "Hotkey Setup",
                         [this] { RunGuarded([this] { OpenHotKeySetupFromNotice(); }); }))
    TrayIcon1->showMessage(summary, body, QSystemTrayIcon::Warning, 15000);
}

void TTrayForm1::OpenHotKeySetupFromNotice() {
  if (context_->flags.CaptureIdle) {
    BusyScope busy(context_->flags);
    OpenHotKeySetup(*hotkeys_, nullptr);
  } else if (pipeline_->PictureWindow() && !context_->picture.PictureBusy) {
    OpenHotKeySetup(*hotkeys_, pipeline_->PictureWindow());
  }
}

void TTrayForm1::StartCaptureTimer() {
  Timer1->setInterval(int(std::min<long long>(options_.CaptureIntervalMs(), INT32_MAX)));
  Timer1->start();
  UpdateTrayStatus();
}

void TTrayForm1::RunCommandLineCapture(const std::vector<std::string>& args,
                                       std::function<void(const TCaptureReply&)> reply) {
  command_line_->Add(args, std::move(reply));
}

void TTrayForm1::Timer1Timer() {
  if (!options_.TimedCaptureDue(NowAsDateTime()) || !context_->flags.CaptureIdle) return;
  BusyScope busy(context_->flags);
  pipeline_->RunCaptureRequest(RequestForTimerTick());
}

void TTrayForm1::TimerSetup(TMainForm1& window) {
  TTimerForm1 dialog(options_, NowAsDateTime, &window);
  CentreOver(dialog, window);
  if (dialog.exec() != QDialog::Accepted) return;
  // Start: Automatic Save on without the question, the timer anew.
  ActionList1->SetChecked(cmd::kAutomaticSave, true);
  StartCaptureTimer();
}

void TTrayForm1::Action43Execute() {
  // The action has flipped its check mark already.
  if (ActionList1->Checked(cmd::kAutomaticSave) &&
      !AskQuestionYesNo(nullptr, "Do you want to enable automatic save ?")) {
    ActionList1->SetChecked(cmd::kAutomaticSave, false);
    return;
  }
  if (ActionList1->Checked(cmd::kAutomaticSave))
    StartCaptureTimer();
  else
    Timer1->stop();
  UpdateTrayStatus();
}

void TTrayForm1::BuildTrayMenu() {
  PopupMenu1 = new TBannerMenu(texts::kTrayMenuBanner, this);
  PopupMenu1->setObjectName("PopupMenu1");
  PrintDesktop1 = new QAction("Print the Desktop", this);
  PrintDesktop1->setObjectName("PrintDesktop1");
  GetRectangularArea1 = new QAction("Get Rectangular Area", this);
  GetRectangularArea1->setObjectName("GetRectangularArea1");

  PopupMenu1->addAction(ActionList1->Action(cmd::kAbout));
  PopupMenu1->addAction(ActionList1->Action(cmd::kOpen));
  PopupMenu1->setDefaultAction(ActionList1->Action(cmd::kOpen));
  PopupMenu1->addSeparator();
  PopupMenu1->addAction(ActionList1->Action(cmd::kAutomaticSave));
  PopupMenu1->addAction(ActionList1->Action(cmd::kDirectPrinting));
  PopupMenu1->addAction(ActionList1->Action(cmd::kSuspend));
  PopupMenu1->addSeparator();
  PopupMenu1->addAction(PrintDesktop1);
  PopupMenu1->addAction(GetRectangularArea1);
  PopupMenu1->addSeparator();
  PopupMenu1->addAction(ActionList1->Action(cmd::kResetAndExit));
  PopupMenu1->addSeparator();
  PopupMenu1->addAction(ActionList1->Action(cmd::kTerminate));
  TrayIcon1->setContextMenu(PopupMenu1);
}

void TTrayForm1::ConnectCommands() {
  auto on = [this](int number, void (TTrayForm1::*handler)()) {
    connect(ActionList1->Action(number), &QAction::triggered, this,
            Guarded([this, handler] { (this->*handler)(); }));
  };
  connect(ActionList1->Action(cmd::kAbout), &QAction::triggered, this,
          Guarded([this] { Action1Execute(*ActionList1, context_->picture); }));
  on(cmd::kTerminate, &TTrayForm1::Action2Execute);
  on(cmd::kResetAndExit, &TTrayForm1::Action32Execute);
  on(cmd::kAutomaticSave, &TTrayForm1::Action43Execute);
  on(cmd::kOpen, &TTrayForm1::Action44Execute);
  on(cmd::kTypeDefaults, &TTrayForm1::Action45Execute);
  on(cmd::kSendEMail, &TTrayForm1::Action47Execute);
  on(cmd::kSuspend, &TTrayForm1::Action51Execute);
  connect(PrintDesktop1, &QAction::triggered, this, Guarded([this] { PrintDesktop1Click(); }));
  connect(GetRectangularArea1, &QAction::triggered, this,
          Guarded([this] { GetRectangularArea1Click(); }));
}

void TTrayForm1::Action2Execute() { CloseProgram(); }

void TTrayForm1::Action45Execute() {
  TMainForm1* window = pipeline_->PictureWindow();
  if (!window || context_->picture.PictureBusy) return;
  TDefaultsForm1 dialog(options_, window->Options(), window);
  dialog.adjustSize();
  // Centred over the picture window, halves truncated toward zero.
  const QRect w = window->frameGeometry();
  dialog.move(w.left() + (w.width() - dialog.width()) / 2,
              w.top() + (w.height() - dialog.height()) / 2);
  const bool stored = dialog.exec() == QDialog::Accepted;
  window->PictureTypeDefaultsClosed(stored);
}

void TTrayForm1::Action47Execute() {
  TMainForm1* window = pipeline_->PictureWindow();
  if (!window || context_->picture.PictureBusy) return;
  TMailForm1 dialog(window->Document(), options_.AutoFolder, window);
  // Ending the program (Terminate, a close request, a signal) stops a send.
  dialog.SetProgramEnding([this] { return closed_; });
  dialog.SetSettingsErased([this] { return context_->flags.ResetPending; });
  // Centred over the picture window, halves truncated toward zero.
  const QRect w = window->frameGeometry();
  dialog.move(w.left() + (w.width() - dialog.width()) / 2,
              w.top() + (w.height() - dialog.height()) / 2);
  dialog.exec();
}

void TTrayForm1::Action32Execute() {
  if (!AskWarningYesNo(nullptr, "Reset Vistrel-Pro to default\r\nand Terminate it")) return;
  context_->flags.ResetPending = true;
  // A picture kept open keeps the settings as well.
  if (!CloseProgram()) context_->flags.ResetPending = false;
}

void TTrayForm1::Action44Execute() {
  if (!context_->flags.CaptureIdle) {
    pipeline_->RestoreMinimisedWindow();
    return;
  }
  BusyScope busy(context_->flags);
  pipeline_->RunCaptureRequest(RequestForOpen());
}

void TTrayForm1::Action51Execute() { hotkeys_->SetSuspended(ActionList1->Checked(cmd::kSuspend)); }

void TTrayForm1::PrintDesktop1Click() {
  if (!context_->flags.CaptureIdle) {
    if (!context_->picture.PictureBusy && pipeline_->PictureWindow()) pipeline_->PictureWindow()->ToolButton11Click();
    return;
  }
  BusyScope busy(context_->flags);
  pipeline_->RunCaptureRequest(RequestForPrintDesktop());
}

void TTrayForm1::GetRectangularArea1Click() {
  if (!context_->flags.CaptureIdle) {
    if (!context_->picture.PictureBusy && pipeline_->PictureWindow()) pipeline_->PictureWindow()->ToolButton12Click();
    return;
  }
  BusyScope busy(context_->flags);
  pipeline_->RunCaptureRequest(RequestForRectangularArea());
}

void TTrayForm1::HotKeyPressed(int id) {
  const std::optional<TCaptureRequest> request =
      RequestForHotkey(id, ActionList1->Checked(cmd::kDirectPrinting));
  if (!request) return;
  if (!context_->flags.CaptureIdle) {
    // Never a second capture: a minimised picture window comes back.
    pipeline_->RestoreMinimisedWindow();
    return;
  }
  BusyScope busy(context_->flags);
  pipeline_->RunCaptureRequest(*request);
}

void TTrayForm1::FormCloseQuery() {
  hotkeys_->UnregisterHotKeys();
  QApplication::processEvents();
  SettingsStore store;
  if (context_->flags.ResetPending) {
    store.EraseSection("Setup");
  } else {
    options_.TimerEnabled = ActionList1->Checked(cmd::kAutomaticSave);
    options_.DirectPrint = ActionList1->Checked(cmd::kDirectPrinting);
    options_.SaveExitKeys(store);
  }
}

bool TTrayForm1::CloseProgram() {
  if (closed_) return true;
  if (TMainForm1* window = pipeline_->PictureWindow(); window && !window->ConfirmClose())
    return false;
  EndProgram();
  return true;
}

void TTrayForm1::EndProgramBySignal() {
  TMainForm1* window = pipeline_->PictureWindow();
  if (!closed_ && window && window->PictureModified()) {
    std::string error;
    const std::string path =
        SaveUnsavedPicture(window->Document().Picture(), options_.AutoFolder, error);
    if (path.empty())
      std::fprintf(stderr, "Vistrel-Pro: the edited picture could not be kept: %s\n",
                   error.c_str());
    else
      window->MarkPictureSaved();
  }
  EndProgram();
}

void TTrayForm1::NoticeRecoveredPictures() {
  const std::vector<std::string> paths = TakeRecoveredPictures();
  if (paths.empty()) return;
  const QString summary = "Vistrel-Pro: an edited picture was kept";
  const QString body = QString::fromStdString(RecoveredPicturesNotice(paths));
  if (!notifier_->Notify(summary, body))
    TrayIcon1->showMessage(summary, body, QSystemTrayIcon::Information, 15000);
}

void TTrayForm1::NoticeMissingTray() {
  if (closed_ || QSystemTrayIcon::isSystemTrayAvailable()) return;
  if (!notifier_->Notify(texts::kNoTraySummary, texts::kNoTrayBody))
    std::fprintf(stderr, "%s: %s\n", texts::kNoTraySummary, texts::kNoTrayBody);
}

void TTrayForm1::EndProgram() {
  if (closed_) return;
  closed_ = true;
  FormCloseQuery();
  Timer1->stop();
  TrayIcon1->hide();
  QApplication::exit(0);
}

void TTrayForm1::closeEvent(QCloseEvent* event) {
  CloseProgram();
  event->accept();
}

}  // namespace vistrel
