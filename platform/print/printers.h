// The desktop's printers: the installed queues and the default, page
// metrics of a queue with a given set-up, print jobs and the printer set-up
// dialog. The CUPS backend (libcups, pages drawn by Qt as PDF) is the real
// one; tests use the fake.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
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

// What the set-up dialog offers for a queue: Windows paper-size codes and
// paper-source bins with their names.
struct TQueueChoices {
  std::vector<std::pair<int, std::string>> sizes;
  std::vector<std::pair<int, std::string>> sources;
};

// A job the print system has accepted: it is in the queue.
struct TJobReceipt {
  std::string printer;
  int job_id = 0;
};

class IPrintJob {
 public:
  virtual ~IPrintJob() = default;
  // Drawing surface of the current page, device pixels of the printable area.
  virtual QPainter& Canvas() = 0;
  virtual TPageMetrics Metrics() const = 0;
  virtual void NewPage() = 0;
  // Hands the job to the printer and returns once the printer has accepted
  // it; PrinterError naming the printer and the reason when it did not.
  virtual TJobReceipt End() = 0;
  // Drops the job; nothing is printed.
  virtual void Abort() = 0;
};

class IPrinters {
 public:
  virtual ~IPrinters() = default;
  // PrinterError when the print system does not answer.
  virtual TPrinterList List() = 0;
  // PrinterError when the queue is not installed (any more).
  virtual TPageMetrics Metrics(const TPageSetup& setup) = 0;
  // A job named `title`; PrinterError when the queue is gone or refuses.
  virtual std::unique_ptr<IPrintJob> BeginJob(const TPageSetup& setup, const std::string& title) = 0;
  // The printer set-up dialog, opened on the set-up's queue and offering
  // `queues`; true on OK, with the chosen queue, orientation and paper codes
  // written back into `setup`.
  virtual bool SetupDialog(TPageSetup& setup, const std::vector<std::string>& queues,
                           QWidget* parent) = 0;
};

// CUPS through libcups; the server named by $CUPS_SERVER or the system's
// configuration. Every request runs off the calling thread and gives up
// after a few seconds without an answer ("CUPS is not answering").
std::unique_ptr<IPrinters> OpenCupsPrinters();

// Windows paper source (DMBIN) to the IPP "media-source" keyword and back;
// empty or 0 without a match.
std::string MediaSourceFromBin(int bin);
int BinFromMediaSource(const std::string& keyword);

}  // namespace vistrel
