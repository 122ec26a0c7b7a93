#include "app/one_shot_capture.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "app/application_setup.h"
#include "app/capture_channel.h"
#include "capture/command_line_request.h"
#include "capture/forms/capture_hooks.h"
#include "capture/forms/capture_pipeline.h"
#include "commands/TActionList1.h"
#include "commands/option_defaults.h"
#include "commands/qt_beeper.h"
#include "output/printing_hooks.h"
#include "picture/TEditForm1.h"
#include "picture/app_context.h"
#include "platform/platform.h"
#include "platform/platform_choice.h"
#include "platform/qt/platform_loader.h"
#include "platform/print/printers.h"
#include "settings/settings_store.h"

namespace vistrel {

namespace {

void Report(int fd, const TCaptureReply& reply) {
  const std::string line = CaptureReplyLine(reply);
  for (std::size_t done = 0; done < line.size();) {
    const ssize_t n = write(fd, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // the asking process is gone
    done += std::size_t(n);
  }
  close(fd);
}

// The caller's terminal and pipes are let go: a shell waiting for the
// output goes on while this process holds the clipboard.
void Detach() {
  const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
  if (null < 0) return;
  for (int fd : {0, 1, 2}) dup2(null, fd);
  close(null);
  setsid();
}

}  // namespace

int RunOneShotCapture(int argc, char** argv, const std::vector<std::string>& args, int report_fd) {
  const TCommandLineRequest parsed = ParseCaptureArguments(args);
  if (!parsed.request) {
    Report(report_fd, {TCaptureExit::Usage, parsed.error});
    return int(TCaptureExit::Usage);
  }
  const TCaptureRequest& request = *parsed.request;
  std::string error;
  const std::optional<TPlatformKind> desktop = ChoosePlatform(CurrentPlatformEnvironment(), error);
  if (!desktop) {
    Report(report_fd, {TCaptureExit::Failed, error});
    return int(TCaptureExit::Failed);
  }
  // The desktop before Qt, which would end the process on one it cannot
  // reach, without saying which.
  std::unique_ptr<TPlatform> platform = OpenPlatform(*desktop, error);
  if (!platform) {
    Report(report_fd, {TCaptureExit::Failed, error});
    return int(TCaptureExit::Failed);
  }
  SelectQtPlatform(*desktop);
  QApplication app(argc, argv);
  SetUpApplication();

  TActionList1 commands;
  TrayOptions tray;
  {
    SettingsStore store;
    tray = TrayOptions::Load(store, CurrentOptionDefaults());
  }
  TQtBeeper beeper;
  TAppContext context(commands, tray, *platform, beeper, [] { return false; });
  context.flags.KeepSettingsFile = true;
  // A shown picture can do what it does in the running copy, but for the
  // dialogs that change the running copy's timer and hotkeys.
  const std::unique_ptr<IPrinters> printers = OpenCupsPrinters();
  LendCaptures(context.services);
  LendPrinting(context.services, *printers);
  TEditForm1 edit_form;
  edit_form.LendServices(context);

  if (request.delay_seconds > 0) std::this_thread::sleep_for(std::chrono::seconds(request.delay_seconds));
  TCapturePipeline pipeline(context);
  const TCaptureReply reply = ReplyForOutcome(pipeline.RunCaptureRequest(request));
  Report(report_fd, reply);

  QClipboard* clipboard = QGuiApplication::clipboard();
  if (reply.status != TCaptureExit::Done || !clipboard->ownsClipboard()) return int(reply.status);
  Detach();
  // Told when another program takes the clipboard, and asked once a
  // second besides: the news may come before the ownership has passed.
  const auto end_when_taken = [clipboard] {
    if (!clipboard->ownsClipboard()) QApplication::quit();
  };
  QObject::connect(clipboard, &QClipboard::changed, &app, end_when_taken);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &app, end_when_taken);
  poll.start(1000);
  QApplication::exec();
  return int(reply.status);
}

}  // namespace vistrel
