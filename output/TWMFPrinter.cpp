#include "output/TWMFPrinter.h"

#include <QPainter>
#include <cstdint>
#include <utility>

namespace vistrel {

TWMFPrinter::~TWMFPrinter() {
  FreeCanvas();
  pages_.clear();
}

TPageMetrics TWMFPrinter::PortraitMetrics() {
  TPageSetup portrait = Setup;
  portrait.orientation = TPageOrientation::Portrait;
  try {
    return printers_.Metrics(portrait);
  } catch (const PrinterError&) {
    throw PrinterError("Printer not Valid");
  }
}

int TWMFPrinter::PageHeight() {
  const TPageMetrics m = PortraitMetrics();
  return m.dpi_y > 0 ? int(std::int64_t(m.height) * ScreenDpiY() / m.dpi_y) : 0;
}

int TWMFPrinter::PageWidth() {
  const TPageMetrics m = PortraitMetrics();
  return m.dpi_x > 0 ? int(std::int64_t(m.width) * ScreenDpiX() / m.dpi_x) : 0;
}

QPainter& TWMFPrinter::Canvas() {
  if (!canvas_) NewPage();
  return *canvas_;
}

QPaintDevice* TWMFPrinter::Handle() { return Canvas().device(); }

void TWMFPrinter::FreeCanvas() {
  if (canvas_) canvas_->end();
  canvas_.reset();
}

void TWMFPrinter::Abort() {
  EndDoc();
  pages_.clear();
}

void TWMFPrinter::BeginDoc() {
  FreeCanvas();
  pages_.clear();
  NewPage();
}

std::optional<TJobReceipt> TWMFPrinter::EndDoc() {
  FreeCanvas();
  return std::nullopt;
}

void TWMFPrinter::NewPage() {
  // The page size is asked first: a queue that is gone records nothing.
  int width = PageWidth(), height = PageHeight();
  if (Setup.orientation == TPageOrientation::Landscape) std::swap(width, height);

  // The drawing state carries over to the next page.
  const bool carry = canvas_ != nullptr;
  QPen pen;
  QBrush brush;
  QFont font;
  if (carry) {
    pen = canvas_->pen();
    brush = canvas_->brush();
    font = canvas_->font();
  }
  FreeCanvas();
  auto page = std::make_unique<QPicture>();
  page->setBoundingRect(QRect(0, 0, width, height));
  pages_.push_back(std::move(page));
  canvas_ = std::make_unique<QPainter>(pages_.back().get());
  if (carry) {
    canvas_->setPen(pen);
    canvas_->setBrush(brush);
    canvas_->setFont(font);
  }
}

const QPicture* TWMFPrinter::Page(int index) const {
  return index >= 0 && index < PageCount() ? pages_[std::size_t(index)].get() : nullptr;
}

}  // namespace vistrel
