// "Save Picture as ...": Qt's own (non-native) file-save dialog with the
// ten picture types, a preview of the picture to be saved, a question
// before overwriting and a refusal of folders that do not exist.
#pragma once

#include <QFileDialog>

#include "imaging/formats/io_params.h"
#include "imaging/picture_bitmap.h"

class QComboBox;
class QPushButton;

namespace vistrel {

class PicturePreviewPanel;

class TSavePictureDialog : public QFileDialog {
  Q_OBJECT

 public:
  explicit TSavePictureDialog(QWidget* parent = nullptr);

  // The selected type entry, 1 .. 10.
  int FilterIndex() const;
  void SetFilterIndex(int entry);
  // The name in the file-name box (without folder, as proposed).
  void SetFileName(const QString& name);
  // The chosen path after the dialog was accepted.
  QString FileName() const;
  // The picture shown in the preview panel, with its size line, and
  // previewed by the advanced options.
  void SetPreview(const TPictureBitmap& picture);

  // The writer parameters that the advanced-options button edits. They are
  // copied now; a cancelled dialog puts the copy back.
  void SetParameters(TIOParams& params);
  // The options page of the typed name's type; "" when it has none.
  std::string OptionsPage() const;
  // Opens "Parameters preview" for that page.
  void AdvancedClick();

  // Refuses a folder that does not exist, then asks before overwriting.
  void accept() override;

 protected:
  void done(int result) override;

 private:
  void TypeChanged(int combo_index);
  void UpdateAdvancedButton();

  QComboBox* types_ = nullptr;
  PicturePreviewPanel* panel_ = nullptr;
  QPushButton* advanced_ = nullptr;
  TIOParams* params_ = nullptr;
  TIOParams params_copy_;
};

}  // namespace vistrel
