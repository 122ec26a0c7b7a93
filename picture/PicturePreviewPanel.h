// The preview panel of the picture file dialogs: the picture in a small
// scrolled view with a zoom choice ("Fit", "25%" .. "400%") and lines
// below it with size, resolution, colour depth and what else the dialog
// tells.
#pragma once

#include <QWidget>

#include "imaging/picture_bitmap.h"

class QComboBox;
class QFileDialog;
class QLabel;
class QVBoxLayout;

namespace vistrel {

class PicturePreviewPanel : public QWidget {
  Q_OBJECT

 public:
  explicit PicturePreviewPanel(QWidget* parent = nullptr);

  // Sets up `dialog` as a picture file dialog: Qt's own dialog (the panel
  // needs its layout), filter details hidden, "PNG" as the default
  // extension, and a new panel at its right, which is returned.
  static PicturePreviewPanel* AttachTo(QFileDialog& dialog);

  // Shows `picture` with its size line; `extra` is appended to the line
  // (for example the file size).
  void ShowPicture(TPictureBitmap picture, const QString& extra = {});
  // An empty preview with `message` in the line.
  void ShowMessage(const QString& message);

  const TPictureBitmap& Picture() const { return picture_; }
  // The panel's column, for the dialog's own controls below the preview.
  QVBoxLayout* Column() const { return column_; }

 private:
  void ShowZoomed();

  TPictureBitmap picture_;
  QVBoxLayout* column_ = nullptr;
  QComboBox* zoom_ = nullptr;
  QLabel* preview_ = nullptr;
  QLabel* info_ = nullptr;
};

}  // namespace vistrel
