// The desktop's printers: the installed queues and the default, page
// metrics of a queue with a given set-up, print jobs and the platform's
// printer set-up dialog. The CUPS backend (Qt PrintSupport) is the real
// one; tests use the fake.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class QPainter;
class QWidget;

namespace vistrel {

// A printer fault; the text names the printer and the cause.
class PrinterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TPageOrientation { Portrait, Landscape };

// What the program sets on a queue. Paper codes are the Windows DMPAPER and
// DMBIN numbers the settings keep; 0 or an unknown code keeps the queue's
// own default.
struct TPageSetup {
  std::string printer;  // queue name
  TPageOrientation orientation = TPageOrientation::Portrait;
  int paper_size = 0;
  int paper_source = 0;
};

struct TPrinterList {
  bool answered = false;            // false: the print system could not be reached
  std::vector<std::string> names;   // installed queues, in the system's order
  std::string default_name;         // empty when there is no default
};

// The printable area in device pixels (margins at the printer's minimum,
// origin at its corner), in the set-up's orientation, and the resolution.
struct TPageMetrics {
  int width = 0, height = 0;
  int dpi_x = 0, dpi_y = 0;
};

class IPrintJob {
 public:
  virtual ~IPrintJob() = default;
  // Drawing surface of the current page, device pixels of the printable area.
  virtual QPainter& Canvas() = 0;
  virtual TPageMetrics Metrics() const = 0;
  virtual void NewPage() = 0;
  // Hands the job to the printer; PrinterError when it is refused.
  virtual void End() = 0;
  // Drops the job; nothing is printed.
  virtual void Abort() = 0;
};

class IPrinters {
 public:
  virtual ~IPrinters() = default;
  virtual TPrinterList List() = 0;
  // PrinterError when the queue is not installed (any more).
  virtual TPageMetrics Metrics(const TPageSetup& setup) = 0;
  // A job named `title`; PrinterError when the queue is gone or refuses.
  virtual std::unique_ptr<IPrintJob> BeginJob(const TPageSetup& setup, const std::string& title) = 0;
  // The platform's set-up dialog for the queue; true on OK, with the
  // chosen orientation and paper codes written back into `setup`.
  virtual bool SetupDialog(TPageSetup& setup, QWidget* parent) = 0;
};

// CUPS through Qt PrintSupport; the server named by $CUPS_SERVER or the
// system's configuration.
std::unique_ptr<IPrinters> OpenCupsPrinters();

// Windows paper source (DMBIN) to Qt's QPrinter::PaperSource and back;
// -1 for a code without a match.
int PaperSourceFromBin(int bin);
int BinFromPaperSource(int source);

}  // namespace vistrel
