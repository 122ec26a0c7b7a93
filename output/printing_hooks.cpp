#include "output/printing_hooks.h"

#include "commands/error_guard.h"
#include "output/TPrintForm1.h"
#include "picture/MainFormHooks.h"
#include "picture/TMainForm1.h"

namespace vistrel {

namespace {
std::unique_ptr<IPrinters>& Printers() {
  static std::unique_ptr<IPrinters> printers;
  return printers;
}
}  // namespace

TPrintForm1* PrintForm(TMainForm1& window) { return window.findChild<TPrintForm1*>("PrintForm1"); }

void InstallPrinting(std::unique_ptr<IPrinters> printers) {
  Printers() = std::move(printers);
  TMainFormHooks& hooks = MainFormHooks();
  // The dialog is the window's child: it goes when the window goes.
  hooks.CreatePrintSetup = [](TMainForm1& window) { new TPrintForm1(window, *Printers()); };
  // Every way to print ends here; a printer fault is reported, never thrown
  // on into the caller (a button, a shortcut or the capture pipeline).
  hooks.PrintPicture = [](TMainForm1& window) {
    bool printed = false;
    RunGuarded([&window, &printed] {
      if (TPrintForm1* form = PrintForm(window)) printed = form->ToolButton11Click(false);
    });
    return printed;
  };
  hooks.ShowPrintSetup = [](TMainForm1& window) {
    RunGuarded([&window] {
      if (TPrintForm1* form = PrintForm(window)) form->ToolButton9Click();
    });
  };
  hooks.BuildPageMenu = [](TMainForm1& window, QMenu& menu) {
    if (TPrintForm1* form = PrintForm(window)) form->BuildPageMenu(menu);
  };
}

void RemovePrinting() {
  TMainFormHooks& hooks = MainFormHooks();
  hooks.CreatePrintSetup = nullptr;
  hooks.PrintPicture = nullptr;
  hooks.ShowPrintSetup = nullptr;
  hooks.BuildPageMenu = nullptr;
  Printers().reset();
}

}  // namespace vistrel
