// The picture window's items that reach the program's shell: the hotkey
// setup dialog, the shortcuts and the help document.
#include "commands/error_guard.h"
#include "picture/MainFormHooks.h"
#include "picture/TMainForm1.h"
#include "picture/picture_state.h"

namespace vistrel {

namespace {

void CreateRemoveShortcut(TMainForm1& window, TShortcutFolder folder) {
  if (MainFormHooks().CreateRemoveShortcut)
    RunGuarded([&] { MainFormHooks().CreateRemoveShortcut(window, folder); });
}

}  // namespace

void TMainForm1::Setup2Click() {
  if (PictureBusy || !MainFormHooks().HotKeySetup) return;
  RunGuarded([this] { MainFormHooks().HotKeySetup(*this); });
}

void TMainForm1::CShortcut1Click() { CreateRemoveShortcut(*this, TShortcutFolder::Desktop); }

void TMainForm1::CShortcut2Click() { CreateRemoveShortcut(*this, TShortcutFolder::StartMenu); }

void TMainForm1::CreateShortcutonStartupFolder1Click() {
  CreateRemoveShortcut(*this, TShortcutFolder::Startup);
}

void TMainForm1::QuickHelp1Click() {
  if (MainFormHooks().OpenHelp) RunGuarded([this] { MainFormHooks().OpenHelp(*this); });
}

}  // namespace vistrel
