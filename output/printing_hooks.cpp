#include "output/printing_hooks.h"

#include "commands/error_guard.h"
#include "output/TPrintForm1.h"
#include "picture/picture_services.h"
#include "picture/TMainForm1.h"
#include "picture/TPictureView.h"

#include <QPointer>

namespace vistrel {

TPrintForm1* PrintForm(TMainForm1& window) { return window.findChild<TPrintForm1*>("PrintForm1"); }

void LendPrinting(TPictureServices& hooks, IPrinters& printers) {
  // The dialog is the window's child: it goes when the window goes.
  hooks.CreatePrintSetup = [&printers](TMainForm1& window) {
    QPointer<TMainForm1> shown(&window);
    new TPrintForm1({window.Context(), window.Document(), window.Options().FooterText,
                     [shown] {
                       if (shown) shown->PictureView1->ImageChanged();
                     },
                     [shown] {
                       if (shown) shown->close();
                     }},
                    printers, &window);
  };
  // Every way to print ends here; a printer fault is reported, never thrown
  // on into the caller (a button, a shortcut or the capture pipeline).
  hooks.PrintPicture = [](TMainForm1& window) {
    bool printed = false;
    RunGuarded([&window, &printed] {
      if (TPrintForm1* form = PrintForm(window)) printed = form->ToolButton11Click(false);
    });
    return printed;
  };
  hooks.PrintDocument = [&printers](TAppContext& context, TPictureDocument& document,
                                    std::string& footer_text, std::string* error) {
    TPrintForm1 form({context, document, footer_text, {}, {}}, printers, nullptr);
    bool printed = false;
    if (!error) {
      RunGuarded([&form, &printed] { printed = form.ToolButton11Click(false); });
      return printed;
    }
    try {
      printed = form.ToolButton11Click(false);
      if (!printed) *error = "the printer did not take every copy";
    } catch (const std::exception& e) {
      *error = e.what();
    }
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

void WithdrawPrinting(TPictureServices& hooks) {
  hooks.CreatePrintSetup = nullptr;
  hooks.PrintPicture = nullptr;
  hooks.PrintDocument = nullptr;
  hooks.ShowPrintSetup = nullptr;
  hooks.BuildPageMenu = nullptr;
}

}  // namespace vistrel
