// Printing in the picture window: lends it the print setup dialog, the
// print routine and the Page menu, over the given printers (CUPS in the
// program, the fake in tests).
#pragma once

#include "platform/print/printers.h"

namespace vistrel {

class TMainForm1;
class TPrintForm1;
struct TPictureServices;

// `printers` must outlive every picture window.
void LendPrinting(TPictureServices& services, IPrinters& printers);
// Takes printing back: the windows made afterwards cannot print.
void WithdrawPrinting(TPictureServices& services);

// The window's print setup dialog, or null.
TPrintForm1* PrintForm(TMainForm1& window);

}  // namespace vistrel
