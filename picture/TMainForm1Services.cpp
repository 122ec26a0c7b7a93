// The picture window's items that reach the program's shell: the hotkey
// setup dialog, the shortcuts and the help document.
#include "commands/error_guard.h"
#include "picture/app_context.h"
#include "picture/TMainForm1.h"

namespace vistrel {

namespace {

void CreateRemoveShortcut(TMainForm1& window, TShortcutFolder folder) {
  const TPictureServices& services = window.Context().services;
  if (services.CreateRemoveShortcut)
    RunGuarded([&] { services.CreateRemoveShortcut(window, folder); });
}

}  // namespace

void TMainForm1::Setup2Click() {
  if (context_.picture.PictureBusy || !context_.services.HotKeySetup) return;
  RunGuarded([this] { context_.services.HotKeySetup(*this); });
}

void TMainForm1::CShortcut1Click() { CreateRemoveShortcut(*this, TShortcutFolder::Desktop); }

void TMainForm1::CShortcut2Click() { CreateRemoveShortcut(*this, TShortcutFolder::StartMenu); }

void TMainForm1::CreateShortcutonStartupFolder1Click() {
  CreateRemoveShortcut(*this, TShortcutFolder::Startup);
}

void TMainForm1::QuickHelp1Click() {
  if (context_.services.OpenHelp) RunGuarded([this] { context_.services.OpenHelp(*this); });
}

}  // namespace vistrel
