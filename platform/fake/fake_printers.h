// Printers for tests: fixed queues of a 600-dpi printer whose printable
// area is 4760 x 6779 pixels (portrait), jobs recorded as QPicture pages.
#pragma once

#include <QPicture>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/print/printers.h"

namespace vistrel {

struct TFakeJob {
  std::string title;
  TPageSetup setup;
  std::deque<QPicture> pages;
  bool ended = false;
  bool aborted = false;
};

class TFakePrinters : public IPrinters {
 public:
  static constexpr int kDpi = 600;
  static constexpr int kWidth = 4760;
  static constexpr int kHeight = 6779;

  TPrinterList list{true, {"Laser", "Inkjet"}, "Laser"};
  bool refuse_jobs = false;       // End() fails
  std::string list_fault;         // List() fails with this text
  int list_calls = 0;
  std::deque<TFakeJob> jobs;  // a deque: pages being recorded never move
  // The set-up dialog: changes the set-up and answers OK or Cancel; unset,
  // the program's dialog opens, offering `choices` for every queue.
  std::function<bool(TPageSetup&)> setup_dialog;
  TQueueChoices choices{{{9, "A4"}, {1, "Letter"}}, {{1, "top"}, {4, "manual"}}};

  TPrinterList List() override;
  TPageMetrics Metrics(const TPageSetup& setup) override;
  std::unique_ptr<IPrintJob> BeginJob(const TPageSetup& setup, const std::string& title) override;
  bool SetupDialog(TPageSetup& setup, const std::vector<std::string>& queues,
                   QWidget* parent) override;

 private:
  void Check(const std::string& name) const;
};

}  // namespace vistrel
