// vistrel-pro-gui, the windowed program that the vistrel-pro launcher
// runs: start-up, the single-instance guard and the message loop.
#include <QApplication>
#include <malloc.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/app_texts.h"
#include "app/application_setup.h"
#include "app/capture_channel.h"
#include "capture/command_line_request.h"
#include "app/one_shot_capture.h"
#include "app/running_copy_server.h"
#include "app/exit_signals.h"
#include "settings/settings_store.h"
#include "app/single_instance.h"
#include "app/TTrayForm1.h"
#include "commands/option_defaults.h"
#include "output/stale_save_files.h"
#include "settings/other_options.h"
#include "picture/TEditForm1.h"
#include "platform/platform.h"
#include "platform/platform_choice.h"
#include "platform/qt/platform_loader.h"

namespace {

enum class Switch { None, Close, Uninstall, Help, Version };

Switch SwitchOf(int argc, char** argv) {
  if (argc < 2) return Switch::None;
  if (strcasecmp(argv[1], "/C") == 0) return Switch::Close;
  if (strcasecmp(argv[1], "/U") == 0) return Switch::Uninstall;
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) return Switch::Help;
  if (std::strcmp(argv[1], "--version") == 0) return Switch::Version;
  return Switch::None;
}

// How long a second start waits for a copy that answered its close request
// to let go of the guard.
constexpr int kGuardWaitMs = 5000;

void PrintUsage() {
  std::printf(
      "Usage: vistrel-pro [/C | /U | --help | --version]\n"
      "       vistrel-pro --capture MODE [OPTION...]\n"
      "A resident screen-capture tool: it starts without a window, puts its icon\n"
      "into the tray and waits for its hotkeys. A start closes a running copy.\n"
      "\n"
      "  /C         close the running copy and end\n"
      "  /U         close the running copy, erase every setting and end\n"
      "  --help     show this text and end\n"
      "  --version  show the version and end\n"
      "\n"
      "One capture, made by the running copy, or by this process alone when no\n"
      "copy runs (then without tray and hotkeys):\n"
      "  --capture MODE     desktop   the desktop (the stored Monitors choice)\n"
      "                     monitor   one monitor, with --monitor N\n"
      "                     window    the foreground window with its frame\n"
      "                     client    the foreground window's client area\n"
      "                     area      a rectangle dragged over the frozen desktop\n"
      "                     object    a window or control picked on it\n"
      "                     custom    the stored custom capture rectangle\n"
      "  --monitor N        monitor N, counted from 1\n"
      "  --delay SECONDS    wait first (counted down in the tray tooltip)\n"
      "  --cursor, --no-cursor\n"
      "                     draw the mouse cursor in, or leave it out (default:\n"
      "                     the stored \"Include Cursor\")\n"
      "  --output FILE      save to FILE, the format from its extension, the\n"
      "                     writer settings from the stored picture type defaults;\n"
      "                     \"-\" writes PNG to standard output\n"
      "  --output-dir DIR   save into DIR under the automatic save's next name\n"
      "  --clipboard        copy the picture to the clipboard\n"
      "  --print            print the picture\n"
      "  --show             show it in the picture window as well\n"
      "Without --output, --output-dir, --clipboard and --print the picture window\n"
      "shows the capture, as a hotkey does. The path written is printed.\n"
      "Exit status: 0 done, 1 cancelled (Esc, nothing selected), 2 bad usage,\n"
      "3 failure (no display, grab or save refused, the running copy busy for a\n"
      "minute).\n"
      "\n"
      "Settings: %s\n",
      vistrel::SettingsFilePath().c_str());
}

// Steps 4 to 6: the application, the hidden tray form and the message loop.
int RunResident(int argc, char** argv, vistrel::TPlatformKind desktop) {
  using namespace vistrel;

  // Every capture allocates picture-sized buffers and frees them again.
  // Kept in the heap up to this size they are reused by the next capture
  // instead of being mapped anew and faulted in page by page, which took
  // about half of a command-line capture's time at 1920 x 1080.
  constexpr int kReusedHeapBytes = 32 << 20;
  mallopt(M_MMAP_THRESHOLD, kReusedHeapBytes);
  mallopt(M_TRIM_THRESHOLD, kReusedHeapBytes);

  // The desktop first: Qt would end the process on one it cannot reach,
  // without saying which.
  std::string error;
  std::unique_ptr<TPlatform> platform = OpenPlatform(desktop, error);
  if (!platform) {
    std::fprintf(stderr, "Vistrel-Pro: %s\n", error.c_str());
    return 1;
  }

  // 4. The application: no main window, no quitting when a window closes.
  SelectQtPlatform(desktop);
  QApplication app(argc, argv);
  SetUpApplication();

  // Saves that a killed copy never finished left their temporary files in
  // the folders the program saves to; no copy of ours is saving now.
  {
    SettingsStore store;
    const OptionDefaults defaults = CurrentOptionDefaults();
    RemoveStaleSaveFiles({TrayOptions::Load(store, defaults).AutoFolder,
                          PictureWindowOptions::Load(store, defaults).SaveFolder});
  }

  // 5. The hidden tray form.
  TTrayForm1 tray(std::move(platform));
  // The standard editing window, hidden until the picture window shows it.
  TEditForm1 edit_form;
  edit_form.LendServices(tray.Context());
  // Signals are routed before the close-request socket appears: whoever
  // sees this copy resident may end it either way and lose no settings.
  RouteExitSignals(&tray, [&tray] { tray.EndProgramBySignal(); });
  RunningCopyServer requests(
      {texts::kApplicationTitle, texts::kTrayFormCaption}, [&tray] { return tray.CloseProgram(); },
      [&tray](const std::vector<std::string>& args, RunningCopyServer::TReply reply) {
        tray.RunCommandLineCapture(args, std::move(reply));
      });
  if (!requests.Listen())
    std::fprintf(stderr, "Vistrel-Pro: other copies cannot reach this one: %s\n",
                 CloseRequestSocketPath().c_str());

  // 6. The message loop, until the tray form has closed.
  return tray.Closed() ? 0 : QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vistrel;

  // Questions about the program: answered without touching a running copy.
  if (const Switch sw = SwitchOf(argc, argv); sw == Switch::Help || sw == Switch::Version) {
    if (sw == Switch::Help)
      PrintUsage();
    else
      std::printf("%s %s\n", texts::kApplicationTitle, texts::kVersion);
    return 0;
  }

  // A capture asked for on the command line that the launcher found no
  // running copy for: this process makes it alone.
  if (argc >= 3 && std::strcmp(argv[1], kOneShotSwitch) == 0)
    return RunOneShotCapture(argc, argv, std::vector<std::string>(argv + 3, argv + argc),
                             std::atoi(argv[2]));
  // Asking a running copy belongs to the launcher alone; started here, the
  // request would be taken for a plain start and close that copy.
  if (AsksForCapture(std::vector<std::string>(argv + 1, argv + argc))) {
    std::fprintf(stderr, "vistrel-pro-gui: ask for captures with \"vistrel-pro --capture\"\n");
    return int(TCaptureExit::Usage);
  }

  // 1. Close an old release and a running copy; each finishes its exit
  //    sequence (and writes its settings) before we go on.
  SendCloseRequest(texts::kOldReleaseTitle);
  const TCloseReply running = SendCloseRequest(texts::kRunningCopyTitle);
  const bool closed_copy = running == TCloseReply::Closed;
  // The user kept an edited picture open: that copy goes on, and this one
  // ends as when the guard is held (for /U without erasing anything).
  if (running == TCloseReply::Kept) return 0;

  // 2. "/C" closes, "/U" closes and erases every setting.
  if (const Switch sw = SwitchOf(argc, argv); sw != Switch::None) {
    SendCloseRequest(texts::kSwitchCloseTitle);
    if (sw == Switch::Uninstall) {
      SettingsStore store;
      store.EraseSection("Setup");
    }
    return 0;
  }

  // 3. One copy at a time: a second one ends silently. A copy that has just
  //    answered our close request still ends its process; wait for it.
  InstanceGuard guard;
  if (!guard.Acquire(texts::kGuardName, closed_copy ? kGuardWaitMs : 0)) return 0;

  std::string error;
  const std::optional<TPlatformKind> desktop = ChoosePlatform(CurrentPlatformEnvironment(), error);
  if (!desktop) {
    std::fprintf(stderr, "Vistrel-Pro: %s\n", error.c_str());
    return 1;
  }

  const int code = RunResident(argc, argv, *desktop);

  // 7. Release the guard and end. Everything of the resident program is
  //    gone by now, the close-request socket included: a copy that takes
  //    the guard next must not lose its own socket to our clean-up.
  guard.Release();
  return code;
}
