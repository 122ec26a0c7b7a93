// The CUPS requests of the print backend, each made on its own connection
// from a worker (cups_call.h): the queue list, a queue's paper, and handing
// a finished PDF document to a queue.
#pragma once

#include <QByteArray>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/print/cups_call.h"
#include "platform/print/printers.h"

namespace vistrel {

// A sheet of a queue, hundredths of millimetres, portrait; margins at the
// queue's minimum.
struct TQueueMedia {
  std::string name;  // PWG media name, for the job's "media" option
  int width = 0, length = 0;
  int left = 0, top = 0, right = 0, bottom = 0;
};

using TJobOptions = std::vector<std::pair<std::string, std::string>>;

TPrinterList QueryPrinters(TCupsProgress& progress);
// The sheet of the Windows paper-size code on the queue, or the queue's
// default sheet. PrinterError when the queue is not installed.
TQueueMedia QueryMedia(const std::string& queue, int paper_size, TCupsProgress& progress);
TQueueChoices QueryChoices(const std::string& queue, TCupsProgress& progress);

// Creates the job, sends the document and checks that the queue took it.
// PrinterError naming the queue and CUPS's reason otherwise.
TJobReceipt SubmitPdf(const std::string& queue, const std::string& title,
                      const TJobOptions& options, const QByteArray& pdf, TCupsProgress& progress);

}  // namespace vistrel
