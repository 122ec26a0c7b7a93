#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "platform/print/cups_jobs.h"
#include "platform/print/printer_setup_dialog.h"
#include "platform/print/printers.h"

namespace vistrel {

namespace {

// Pages are drawn as PDF at this resolution; CUPS turns them into whatever
// the printer takes.
constexpr int kPdfDpi = 1200;

// The sheet in the set-up's orientation, its margins the queue's minimum
// (turned with the sheet in landscape).
QPageLayout LayoutOf(const TQueueMedia& m, TPageOrientation orientation) {
  const QPageSize size(QSizeF(m.width / 100.0, m.length / 100.0), QPageSize::Millimeter, QString(),
                       QPageSize::FuzzyMatch);
  const QMarginsF portrait(m.left / 100.0, m.top / 100.0, m.right / 100.0, m.bottom / 100.0);
  if (orientation == TPageOrientation::Landscape)
    return QPageLayout(size, QPageLayout::Landscape,
                       QMarginsF(portrait.top(), portrait.right(), portrait.bottom(), portrait.left()),
                       QPageLayout::Millimeter);
  return QPageLayout(size, QPageLayout::Portrait, portrait, QPageLayout::Millimeter);
}

TPageMetrics MetricsOf(const QPageLayout& layout) {
  const QRect area = layout.paintRectPixels(kPdfDpi);
  return {area.width(), area.height(), kPdfDpi, kPdfDpi};
}

TQueueMedia MediaOf(const TPageSetup& setup) {
  const std::string queue = setup.printer;
  const int paper = setup.paper_size;
  return CupsCall<TQueueMedia>(
      [queue, paper](TCupsProgress& progress) { return QueryMedia(queue, paper, progress); });
}

// The job's pages go into a PDF document in memory; End() hands it to CUPS.
class CupsJob : public IPrintJob {
 public:
  CupsJob(const TPageSetup& setup, const TQueueMedia& media, const std::string& title)
      : setup_(setup), media_(media), title_(title), layout_(LayoutOf(media, setup.orientation)) {
    buffer_.open(QIODevice::WriteOnly);
    writer_ = std::make_unique<QPdfWriter>(&buffer_);
    writer_->setResolution(kPdfDpi);
    writer_->setPageLayout(layout_);
    writer_->setTitle(QString::fromStdString(title));
    writer_->setCreator(QString::fromStdString(title));
    if (!painter_.begin(writer_.get()))
      throw PrinterError("Printer \"" + setup.printer + "\" refused the print job");
  }
  ~CupsJob() override {
    if (painter_.isActive()) painter_.end();
  }

  QPainter& Canvas() override { return painter_; }
  TPageMetrics Metrics() const override { return MetricsOf(layout_); }
  void NewPage() override { writer_->newPage(); }
  TJobReceipt End() override {
    painter_.end();
    buffer_.close();
    TJobOptions options = {{"copies", "1"}, {"media", media_.name}};
    if (const std::string source = MediaSourceFromBin(setup_.paper_source); !source.empty())
      options.emplace_back("media-source", source);
    const std::string queue = setup_.printer, title = title_;
    const QByteArray pdf = buffer_.data();
    return CupsCall<TJobReceipt>([queue, title, options, pdf](TCupsProgress& progress) {
      return SubmitPdf(queue, title, options, pdf, progress);
    });
  }
  void Abort() override {
    if (painter_.isActive()) painter_.end();
  }

 private:
  TPageSetup setup_;
  TQueueMedia media_;
  std::string title_;
  QPageLayout layout_;
  QBuffer buffer_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
};

class CupsPrinters : public IPrinters {
 public:
  TPrinterList List() override {
    return CupsCall<TPrinterList>([](TCupsProgress& progress) { return QueryPrinters(progress); });
  }

  TPageMetrics Metrics(const TPageSetup& setup) override {
    return MetricsOf(LayoutOf(MediaOf(setup), setup.orientation));
  }

  std::unique_ptr<IPrintJob> BeginJob(const TPageSetup& setup, const std::string& title) override {
    return std::make_unique<CupsJob>(setup, MediaOf(setup), title);
  }

  bool SetupDialog(TPageSetup& setup, const std::vector<std::string>& queues,
                   QWidget* parent) override {
    return RunPrinterSetupDialog(
        setup, queues,
        [](const std::string& queue) {
          return CupsCall<TQueueChoices>(
              [queue](TCupsProgress& progress) { return QueryChoices(queue, progress); });
        },
        parent);
  }
};

}  // namespace

std::unique_ptr<IPrinters> OpenCupsPrinters() { return std::make_unique<CupsPrinters>(); }

}  // namespace vistrel
