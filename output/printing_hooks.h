// Printing in the picture window: installs the print setup dialog, the
// print routine and the Page menu into the window's hooks, over the given
// printers (CUPS in the program, the fake in tests).
#pragma once

#include <memory>

#include "platform/print/printers.h"

namespace vistrel {

class TMainForm1;
class TPrintForm1;

void InstallPrinting(std::unique_ptr<IPrinters> printers);
// Empties the hooks again and drops the printers.
void RemovePrinting();

// The window's print setup dialog, or null.
TPrintForm1* PrintForm(TMainForm1& window);

}  // namespace vistrel
