#include "platform/fake/fake_printers.h"

#include "platform/print/printer_setup_dialog.h"

#include <QPainter>
#include <algorithm>

namespace vistrel {

namespace {

TPageMetrics MetricsFor(TPageOrientation orientation) {
  if (orientation == TPageOrientation::Landscape)
    return {TFakePrinters::kHeight, TFakePrinters::kWidth, TFakePrinters::kDpi, TFakePrinters::kDpi};
  return {TFakePrinters::kWidth, TFakePrinters::kHeight, TFakePrinters::kDpi, TFakePrinters::kDpi};
}

class FakeJob : public IPrintJob {
 public:
  FakeJob(std::deque<TFakeJob>& jobs, std::size_t index, bool refuse)
      : jobs_(jobs), index_(index), refuse_(refuse) {
    StartPage();
  }
  ~FakeJob() override {
    if (painter_.isActive()) painter_.end();
  }
  QPainter& Canvas() override { return painter_; }
  TPageMetrics Metrics() const override { return MetricsFor(Job().setup.orientation); }
  void NewPage() override {
    painter_.end();
    StartPage();
  }
  TJobReceipt End() override {
    painter_.end();
    if (refuse_) throw PrinterError("Printer \"" + Job().setup.printer + "\" refused the print job");
    Job().ended = true;
    return {Job().setup.printer, int(index_) + 1};
  }
  void Abort() override {
    if (painter_.isActive()) painter_.end();
    Job().aborted = true;
  }

 private:
  TFakeJob& Job() const { return jobs_[index_]; }
  void StartPage() {
    Job().pages.emplace_back();
    painter_.begin(&Job().pages.back());
  }

  std::deque<TFakeJob>& jobs_;
  std::size_t index_;
  bool refuse_;
  QPainter painter_;
};

}  // namespace

TPrinterList TFakePrinters::List() {
  ++list_calls;
  if (!list_fault.empty()) throw PrinterError(list_fault);
  return list;
}

void TFakePrinters::Check(const std::string& name) const {
  if (!list.answered)
    throw PrinterError("Printer \"" + name + "\": the print system (CUPS) is not running");
  if (name.empty()) throw PrinterError("There is no default printer currently selected");
  if (std::find(list.names.begin(), list.names.end(), name) == list.names.end())
    throw PrinterError("Printer \"" + name + "\" is not installed");
}

TPageMetrics TFakePrinters::Metrics(const TPageSetup& setup) {
  Check(setup.printer);
  return MetricsFor(setup.orientation);
}

std::unique_ptr<IPrintJob> TFakePrinters::BeginJob(const TPageSetup& setup, const std::string& title) {
  Check(setup.printer);
  jobs.push_back({title, setup, {}, false, false});
  return std::make_unique<FakeJob>(jobs, jobs.size() - 1, refuse_jobs);
}

bool TFakePrinters::SetupDialog(TPageSetup& setup, const std::vector<std::string>& queues,
                                QWidget* parent) {
  Check(setup.printer);
  if (setup_dialog) return setup_dialog(setup);
  return RunPrinterSetupDialog(
      setup, queues,
      [this](const std::string& queue) {
        Check(queue);
        return choices;
      },
      parent);
}

}  // namespace vistrel
