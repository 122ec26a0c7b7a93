#include "output/TPrinter.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <cmath>

namespace vistrel {

namespace {
int Dpi(bool x) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return 96;
  return int(std::lround(x ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY()));
}
}  // namespace

int ScreenDpiX() { return Dpi(true); }
int ScreenDpiY() { return Dpi(false); }

TPrinter::~TPrinter() {
  if (job_) job_->Abort();
}

TPageMetrics TPrinter::Metrics() { return job_ ? job_->Metrics() : printers_.Metrics(Setup); }

QPainter& TPrinter::Canvas() {
  if (!job_) throw PrinterError("Printer \"" + Setup.printer + "\" is not currently printing");
  return job_->Canvas();
}

QPaintDevice* TPrinter::Handle() { return job_ ? job_->Canvas().device() : nullptr; }
int TPrinter::PageHeight() { return Metrics().height; }
int TPrinter::PageWidth() { return Metrics().width; }
int TPrinter::DpiX() { return Metrics().dpi_x; }
int TPrinter::DpiY() { return Metrics().dpi_y; }

void TPrinter::Abort() {
  if (!job_) return;
  std::unique_ptr<IPrintJob> job = std::move(job_);
  job->Abort();
}

void TPrinter::BeginDoc() {
  if (job_) throw PrinterError("Printer \"" + Setup.printer + "\" is printing already");
  job_ = printers_.BeginJob(Setup, Title);
}

std::optional<TJobReceipt> TPrinter::EndDoc() {
  if (!job_) return std::nullopt;
  std::unique_ptr<IPrintJob> job = std::move(job_);
  return job->End();
}

void TPrinter::NewPage() {
  if (job_) job_->NewPage();
}

}  // namespace vistrel
