// The colour chooser of the picture window, its standard editing window and
// its text editor: solid colours only. The 48 basic colours, the current
// one marked; no custom colours, no colour mixing, no screen picker.
#pragma once

#include <QColor>
#include <QDialog>
#include <array>
#include <optional>

class QAbstractButton;
class QButtonGroup;

namespace vistrel {

class TSolidColorDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kColorCount = 48;

  // Opens on `initial`, marked when it is one of the basic colours.
  explicit TSolidColorDialog(const QColor& initial, QWidget* parent = nullptr);

  // Shown modally: the colour chosen with OK, nothing when cancelled.
  static std::optional<QColor> GetColor(const QColor& initial, QWidget* parent);

  // The colour OK gives: the last one clicked, else the initial one.
  QColor SelectedColor() const { return selected_; }
  // Basic colour `index` (0 .. 47, column by column) and its button.
  static QColor BasicColor(int index);
  QAbstractButton* Swatch(int index) const { return swatches_[std::size_t(index)]; }

 private:
  QColor selected_;
  QButtonGroup* group_ = nullptr;
  std::array<QAbstractButton*, kColorCount> swatches_{};
};

}  // namespace vistrel
