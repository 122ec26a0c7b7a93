// "Parameters preview": the per-format writer options of one picture type
// (JPEG quality, TIFF, GIF, BMP, PCX and PNG compression and colours,
// JPEG 2000 rate and photometric). OK writes them into the parameter set.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "imaging/formats/io_params.h"

namespace vistrel {

// The options page of a file extension ("JPEG", "TIFF", "GIF", "BMP",
// "PCX", "PNG", "JPEG2000"); "" for types without options.
std::string SaveOptionsPage(const std::string& extension);

// Bits per sample and samples per pixel of a colour choice ("256" = 8 x 1,
// "16M" = 8 x 3); {0, 0} for an unknown text.
std::pair<int, int> ColorChoiceSamples(const std::string& choice);

class TSaveOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  // `page` as SaveOptionsPage gives it; the controls start from `params`.
  TSaveOptionsDialog(const std::string& page, TIOParams& params, QWidget* parent = nullptr);

  void accept() override;

 private:
  TIOParams& params_;
  TIOParams edited_;
  // What OK copies from the controls into edited_.
  std::vector<std::function<void()>> apply_;
};

}  // namespace vistrel
