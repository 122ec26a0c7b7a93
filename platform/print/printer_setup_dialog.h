// The printer set-up dialog ("Print Setup"): the queue, its paper size and
// source, and the orientation.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/print/printers.h"

class QWidget;

namespace vistrel {

using TChoicesOf = std::function<TQueueChoices(const std::string& queue)>;

// Opens on `setup`; true on OK with the choices written back. `choices`
// is asked whenever another queue is chosen; its PrinterError for the first
// queue reaches the caller, later ones show in the dialog.
bool RunPrinterSetupDialog(TPageSetup& setup, const std::vector<std::string>& queues,
                           const TChoicesOf& choices, QWidget* parent);

}  // namespace vistrel
