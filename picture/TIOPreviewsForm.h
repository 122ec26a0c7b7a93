// "Parameters preview": the per-format writer options of one picture type
// (JPEG quality, TIFF, GIF, BMP, PCX and PNG compression and colours,
// JPEG 2000 rate and photometric), with the picture beside what the writer
// makes of it and both sizes. OK writes the options into the parameter set.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "imaging/formats/io_params.h"
#include "imaging/picture_bitmap.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace vistrel {

class TPictureView;

// The options page of a file extension ("JPEG", "TIFF", "GIF", "BMP",
// "PCX", "PNG", "JPEG2000"); "" for types without options.
std::string SaveOptionsPage(const std::string& extension);

// Bits per sample and samples per pixel of a colour choice ("256" = 8 x 1,
// "16M" = 8 x 3); {0, 0} for an unknown text.
std::pair<int, int> ColorChoiceSamples(const std::string& choice);

class TIOPreviewsForm : public QDialog {
  Q_OBJECT

 public:
  // `page` as SaveOptionsPage gives it; the controls start from `params`.
  // `source` is the picture to preview; an empty one disables the preview.
  TIOPreviewsForm(const std::string& page, TIOParams& params, const TPictureBitmap& source,
                  QWidget* parent = nullptr);

  // Writes the source with the options as they stand into a temporary file
  // of the page's type, shows what reads back and the two sizes.
  void Preview();

  void accept() override;

 private:
  // Recomputes the preview when "Lock Preview" is set.
  void ControlChanged();
  void ApplyControls();
  void ShowPreviewError(const QString& text);

  const std::string page_;
  TIOParams& params_;
  TIOParams edited_;
  // What the controls hold, copied into edited_ before a preview and on OK.
  std::vector<std::function<void()>> apply_;

  TPictureView* source_view_ = nullptr;
  TPictureView* result_view_ = nullptr;
  QPushButton* preview_button_ = nullptr;
  QCheckBox* lock_preview_ = nullptr;
  QLabel* original_size_ = nullptr;
  QLabel* compressed_size_ = nullptr;
  QLabel* preview_error_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace vistrel
