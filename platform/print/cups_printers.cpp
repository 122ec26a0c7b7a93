#include <cups/cups.h>

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "platform/print/printers.h"

namespace vistrel {

namespace {

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// Whether the CUPS server answers at all; a queue list alone cannot tell an
// empty system from a stopped server.
bool CupsAnswers() {
  http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                              5000, nullptr);
  if (!http) return false;
  httpClose(http);
  return true;
}

QPrinterInfo Installed(const std::string& name) {
  if (name.empty()) throw PrinterError("There is no default printer currently selected");
  QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
  if (info.isNull()) {
    if (!CupsAnswers())
      throw PrinterError("Printer " + Quoted(name) + ": the print system (CUPS) is not running");
    throw PrinterError("Printer " + Quoted(name) + " is not installed");
  }
  return info;
}

// Prepares a printer of the set-up's queue (made for that queue, so the
// default queue's description is never fetched): orientation, paper,
// margins at the queue's minimum.
void Configure(QPrinter& printer, const TPageSetup& setup) {
  printer.setFullPage(false);
  if (setup.paper_size != 0) {
    const QPageSize::PageSizeId id = QPageSize::id(setup.paper_size);
    if (id != QPageSize::Custom) printer.setPageSize(QPageSize(id));
  }
  if (const int source = PaperSourceFromBin(setup.paper_source); source >= 0)
    printer.setPaperSource(QPrinter::PaperSource(source));
  QPageLayout layout = printer.pageLayout();
  layout.setOrientation(setup.orientation == TPageOrientation::Landscape ? QPageLayout::Landscape
                                                                         : QPageLayout::Portrait);
  layout.setMargins(layout.minimumMargins());
  printer.setPageLayout(layout);
}

TPageMetrics MetricsOf(const QPrinter& printer) {
  return {printer.width(), printer.height(), printer.logicalDpiX(), printer.logicalDpiY()};
}

class CupsJob : public IPrintJob {
 public:
  CupsJob(const QPrinterInfo& queue, const TPageSetup& setup, const std::string& title)
      : printer_(queue, QPrinter::HighResolution), name_(setup.printer) {
    Configure(printer_, setup);
    printer_.setDocName(QString::fromStdString(title));
    printer_.setCreator(QString::fromStdString(title));
    if (!painter_.begin(&printer_))
      throw PrinterError("Printer " + Quoted(name_) + " refused the print job");
  }
  ~CupsJob() override {
    if (painter_.isActive()) Abort();
  }

  QPainter& Canvas() override { return painter_; }
  TPageMetrics Metrics() const override { return MetricsOf(printer_); }
  void NewPage() override { printer_.newPage(); }
  void End() override {
    painter_.end();
    if (printer_.printerState() == QPrinter::Error)
      throw PrinterError("Printer " + Quoted(name_) + " refused the print job");
  }
  void Abort() override {
    printer_.abort();
    if (painter_.isActive()) painter_.end();
  }

 private:
  QPrinter printer_;
  QPainter painter_;
  std::string name_;
};

class CupsPrinters : public IPrinters {
 public:
  TPrinterList List() override {
    TPrinterList list;
    list.answered = CupsAnswers();
    if (!list.answered) return list;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
      list.names.push_back(name.toStdString());
    list.default_name = QPrinterInfo::defaultPrinterName().toStdString();
    return list;
  }

  TPageMetrics Metrics(const TPageSetup& setup) override {
    QPrinter printer(Installed(setup.printer), QPrinter::HighResolution);
    Configure(printer, setup);
    return MetricsOf(printer);
  }

  std::unique_ptr<IPrintJob> BeginJob(const TPageSetup& setup, const std::string& title) override {
    return std::make_unique<CupsJob>(Installed(setup.printer), setup, title);
  }

  bool SetupDialog(TPageSetup& setup, QWidget* parent) override {
    QPrinter printer(Installed(setup.printer), QPrinter::HighResolution);
    Configure(printer, setup);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (dialog.exec() != QDialog::Accepted) return false;
    const QPageLayout layout = printer.pageLayout();
    setup.orientation = layout.orientation() == QPageLayout::Landscape ? TPageOrientation::Landscape
                                                                       : TPageOrientation::Portrait;
    setup.paper_size = layout.pageSize().windowsId();
    setup.paper_source = std::max(0, BinFromPaperSource(int(printer.paperSource())));
    return true;
  }
};

}  // namespace

std::unique_ptr<IPrinters> OpenCupsPrinters() { return std::make_unique<CupsPrinters>(); }

}  // namespace vistrel
