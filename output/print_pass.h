// One print pass (ToolButton11Click's work): the picture on one page per
// copy, scaled, aligned, prepared for the printer (grey, 256 colours), with
// the footer lines under it. Print mode sends one job per copy; preview mode
// records one page through a TWMFPrinter.
#pragma once

#include <QDateTime>
#include <QPicture>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "imaging/picture_bitmap.h"
#include "output/print_layout.h"
#include "platform/print/printers.h"

namespace vistrel {

inline constexpr const char* kPrintJobTitle = "Vistrel-Pro v1.05";
inline constexpr const char* kFooterFont = "Arial";

// What the pass reads from the print setup dialog.
struct TPrintLayout {
  std::string queue;         // the queue to print on
  QString entry;             // the printer list's text for it, for the popup
  TPageOrientation orientation = TPageOrientation::Portrait;
  int paper_size = 0;
  int paper_source = 0;
  int copies = 1;
  TPrintScaling scaling = TPrintScaling::PicturePercent;
  int picture_percent = 100;
  int page_percent = 100;
  bool keep_proportions = true;
  int alignment = 0;
  std::array<bool, 4> footer{};  // Date & Time, User, System Info, Footer Text
  int footer_points = 8;         // 8, 10, 12; 0 keeps the canvas's size
  bool optimize = false;
  bool grayscale = false;
};

// The footer's texts in their order; only the selected ones print.
std::array<QString, 4> FooterTexts(const std::string& footer_text);
// "dddd, mmm dd, yyyy  hh:mm:ss AM/PM" with the locale's names.
QString FooterDateTime(const QDateTime& now);

struct TPrintPassResult {
  std::optional<QPicture> preview;  // preview mode: the recorded page
  QSize page_size;                  // its size in screen pixels
  std::size_t picture_bytes = 0;    // the prepared picture's pixel data
  // Print mode: one receipt a copy, each a job the printer has accepted.
  std::vector<TJobReceipt> accepted;
};

struct TPrintPassHooks {
  // After each copy the printer accepted: "Picture Sent to <entry> Copy
  // Number k". A copy it refused ends the pass with a PrinterError.
  std::function<void(const QString&)> sent;
  // Lets pending window messages run.
  std::function<void()> pump;
};

TPrintPassResult RunPrintPass(const TPictureBitmap& picture, const TPrintLayout& layout,
                              const std::array<QString, 4>& footer_texts, bool preview,
                              IPrinters& printers, const TPrintPassHooks& hooks);

}  // namespace vistrel
