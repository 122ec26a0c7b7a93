// The standard picture editing window: a small tool window on top of the
// others that edits the recipe of picture options and runs it on the
// picture window's picture (ApplyPictureOptions). Created at program start
// with the stored recipe, shown by "Standard editing window", hidden by
// closing (the controls then return to the stored recipe), destroyed at
// the end.
#pragma once

#include <QDialog>
#include <QPointer>
#include <array>
#include <functional>

#include "imaging/picture_recipe.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;
class QSpinBox;
class QDropEvent;

namespace vistrel {

class TColorBox;
class TMainForm1;
struct TAppContext;

class TEditForm1 : public QDialog {
  Q_OBJECT

 public:
  enum TSlider { slBrightness, slContrast, slSaturation, slRed, slGreen, slBlue, slZoom, slRotation,
                 kSliderCount };
  enum TBox { bxSubstitute1, bxSubstitute2, bxSwap1, bxSwap2, bxFrame, kBoxCount };

  explicit TEditForm1(QWidget* parent = nullptr);
  ~TEditForm1() override;

  // Lends the picture windows of `context` the batch, closing and showing
  // of this form, until the form is destroyed.
  void LendServices(TAppContext& context);

  // "Standard editing window": top right of the screen, not modal, then
  // the batch. Ignored while the picture is busy.
  void Action3Execute(TMainForm1& window);
  // The batch on the window's picture; nothing while the picture is busy.
  void ApplyPictureOptions(TMainForm1& window);

  // The recipe the controls show, and the controls set from a recipe.
  TPictureRecipe Recipe() const;
  void SetRecipe(const TPictureRecipe& recipe);
  // The stored recipe into the controls.
  void ReadStoredOptions();

  // A colour box dropped on the window's picture: the box takes the colour
  // of the pixel under the drop point. Other drops are ignored.
  void PictureViewDragDrop(QDropEvent* event);

  // The controls, for the program's tests.
  QListWidget* CheckListBox1 = nullptr;
  QComboBox* ColorDepthBox = nullptr;
  QComboBox* SizeBox = nullptr;
  std::array<QSlider*, kSliderCount> Sliders{};
  std::array<QLabel*, kSliderCount> SliderValues{};
  std::array<QCheckBox*, 3> Locks{};  // red, green, blue
  QCheckBox* SubstituteColors = nullptr;
  QCheckBox* SwapColors = nullptr;
  std::array<TColorBox*, kBoxCount> ColorBoxes{};
  QSpinBox* FrameSize = nullptr;
  QLineEdit* WidthEdit = nullptr;
  QLineEdit* HeightEdit = nullptr;
  QPushButton* ChangeButton = nullptr;
  QCheckBox* Proportional = nullptr;
  QPushButton* SharpenMore = nullptr;
  QPushButton* BlurMore = nullptr;
  QPushButton* SaveAsDefault = nullptr;
  QPushButton* ResetButton = nullptr;
  QPushButton* CloseButton = nullptr;
  QPushButton* AdvancedEditor = nullptr;

 public slots:
  // Closing reads the stored recipe back into the controls.
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Whether the picture is busy: never before the form has been lent.
  bool PictureBusy() const;
  TAppContext* context_ = nullptr;
  QWidget* BuildEffects();
  QWidget* BuildSliders();
  QWidget* BuildColors();
  QWidget* BuildSize();
  QWidget* BuildButtons();
  void ConnectControls();

  void AttachTo(TMainForm1& window);
  // The batch on the attached window's picture.
  void RunBatch();
  // One operation on the attached window's picture, outside the batch.
  void RunOperation(const std::function<void()>& operation);
  void ToggleEffect(int row, bool by_mouse);
  void SliderMoved(int slider, int value);
  void ColorDepthChanged(int index);
  void SizeChanged(int index);
  void WidthEdited();
  void HeightEdited();
  void ProportionalClicked(bool checked);
  void ChangeClick();
  void SaveAsDefaultClick();
  void ResetClick();
  void ApplyTurn90ToRotation();
  // Top 2, right edge 2 pixels from the screen's.
  // `polls`: how often to look again for the window manager's frame.
  void PlaceTopRight(int polls = 0);
  void ShowPictureSize();

  QPointer<TMainForm1> window_;
  bool loading_ = false;    // controls set by the program, not the user
  bool running_ = false;    // the batch or an operation runs
  bool width_edited_ = false;
  bool height_edited_ = false;
};

}  // namespace vistrel
