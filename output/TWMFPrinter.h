// A printer that prints nothing: it records each page as a QPicture the
// size of the selected printer's printable area in screen pixels (width and
// height swapped in landscape). The print setup dialog shows its first page
// as the page preview.
#pragma once

#include <QPicture>
#include <memory>
#include <vector>

#include "output/TPrinter.h"

namespace vistrel {

class TWMFPrinter : public TPrinter {
 public:
  using TPrinter::TPrinter;
  ~TWMFPrinter() override;

  QPainter& Canvas() override;
  QPaintDevice* Handle() override;
  // Portrait printable area x screen dpi / printer dpi; PrinterError
  // "Printer not Valid" when the queue is gone.
  int PageHeight() override;
  int PageWidth() override;
  void Abort() override;
  void BeginDoc() override;
  std::optional<TJobReceipt> EndDoc() override;
  void NewPage() override;
  int DpiX() override { return ScreenDpiX(); }
  int DpiY() override { return ScreenDpiY(); }

  int PageCount() const { return int(pages_.size()); }
  // The recorded page, or null.
  const QPicture* Page(int index) const;

 private:
  TPageMetrics PortraitMetrics();
  void FreeCanvas();

  std::vector<std::unique_ptr<QPicture>> pages_;
  std::unique_ptr<QPainter> canvas_;
};

}  // namespace vistrel
