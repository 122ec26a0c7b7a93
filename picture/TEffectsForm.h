// The effects dialog "Previews": the selection's box (or the whole
// picture) as "Source:", the current page's effect on it as "Result:",
// fourteen pages of effects. Previews work on a reduced copy; Result()
// computes the full size.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "imaging/picture_bitmap.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace vistrel {

class TEffectsForm : public QDialog {
  Q_OBJECT

 public:
  explicit TEffectsForm(const TPictureBitmap& source, QWidget* parent = nullptr);

  // The current page's effect with its controls' values on the whole source.
  TPictureBitmap Result() const;
  // Names the applied effect: the current page's title.
  std::string Caption() const;

  int PageCount() const;
  std::vector<int> Values(int page) const;
  void SetValue(int page, int control, int value);
  // The reduced copy the previews work on, and the last preview.
  const TPictureBitmap& PreviewSource() const { return reduced_; }
  const TPictureBitmap& PreviewResult() const { return preview_; }

  QTabWidget* Pages = nullptr;
  QPushButton* OKButton = nullptr;
  QPushButton* CancelButton = nullptr;
  QPushButton* PreviewButton = nullptr;
  QCheckBox* LockPreview = nullptr;

  void Preview();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* BuildPage(int page);
  QWidget* UserFilterButtons();
  void ControlChanged();
  void ShowSwatchesAndHistogram();
  void ShowPicture(QLabel* label, const TPictureBitmap& picture);
  void LoadUserFilter();
  void SaveUserFilter();
  void SetUserFilter(const std::vector<int>& values);

  TPictureBitmap source_;
  TPictureBitmap reduced_;
  TPictureBitmap preview_;
  QLabel* source_view_ = nullptr;
  QLabel* result_view_ = nullptr;
  QLabel* base_color_ = nullptr;  // HSV page
  QLabel* new_color_ = nullptr;
  QLabel* histogram_ = nullptr;   // Equalization page
  // Per page, one value widget per control (QSpinBox, QCheckBox or QComboBox).
  std::vector<std::vector<QWidget*>> inputs_;
};

}  // namespace vistrel
