// The printer the print pass draws through. Its eight operations (canvas,
// handle, page height, page width, abort, begin document, end document,
// new page) are virtual, so a recording printer (TWMFPrinter) can take the
// place of paper without the drawing code knowing.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/print/printers.h"

class QPainter;
class QPaintDevice;

namespace vistrel {

// The screen's logical resolution (96 when there is no screen).
int ScreenDpiX();
int ScreenDpiY();

class TPrinter {
 public:
  explicit TPrinter(IPrinters& printers) : printers_(printers) {}
  virtual ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // Drawing surface of the page being printed.
  virtual QPainter& Canvas();
  virtual QPaintDevice* Handle();
  // Printable area in device pixels, in the set-up's orientation.
  virtual int PageHeight();
  virtual int PageWidth();
  virtual void Abort();
  virtual void BeginDoc();
  // The printer's receipt once it accepted the document; none when
  // nothing was printing. PrinterError when the printer did not take it.
  virtual std::optional<TJobReceipt> EndDoc();
  virtual void NewPage();
  // Resolution of the canvas, dots per inch.
  virtual int DpiX();
  virtual int DpiY();

  bool Printing() const { return job_ != nullptr; }

  TPageSetup Setup;        // queue, orientation, paper codes
  std::string Title;       // the job's name in the queue

 protected:
  IPrinters& printers_;

 private:
  TPageMetrics Metrics();
  std::unique_ptr<IPrintJob> job_;
};

}  // namespace vistrel
