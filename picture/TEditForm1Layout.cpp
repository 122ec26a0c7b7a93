// Layout of the standard editing window: the effects and list column, the
// sliders, the colour row, the size row and the buttons.
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "picture/ColorBox.h"
#include "picture/EditFormTexts.h"
#include "picture/TEditForm1.h"

namespace vistrel {

namespace tx = edit_form_texts;

namespace {

struct TSliderRange {
  int min, max;
};
constexpr TSliderRange kSliderRanges[TEditForm1::kSliderCount] = {
    {kColorSliderMin, kColorSliderMax}, {kColorSliderMin, kColorSliderMax},
    {kColorSliderMin, kColorSliderMax}, {kColorSliderMin, kColorSliderMax},
    {kColorSliderMin, kColorSliderMax}, {kColorSliderMin, kColorSliderMax},
    {kZoomMin, kZoomMax},               {kRotationMin, kRotationMax}};

}  // namespace

QWidget* TEditForm1::BuildEffects() {
  auto* box = new QWidget(this);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  CheckListBox1 = new QListWidget(box);
  CheckListBox1->setObjectName("CheckListBox1");
  for (const char* text : tx::kEffects) {
    auto* item = new QListWidgetItem(QString::fromUtf8(text), CheckListBox1);
    // Toggled by the window itself (click or space), never by the item.
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setCheckState(Qt::Unchecked);
  }
  CheckListBox1->setFixedWidth(150);
  CheckListBox1->setFixedHeight(CheckListBox1->sizeHintForRow(0) * kEffectCount +
                                2 * CheckListBox1->frameWidth() + 2);
  CheckListBox1->installEventFilter(this);
  CheckListBox1->viewport()->installEventFilter(this);
  column->addWidget(CheckListBox1);

  ColorDepthBox = new QComboBox(box);
  ColorDepthBox->setObjectName("ColorDepthBox");
  for (const char* text : tx::kColorDepths) ColorDepthBox->addItem(text);
  ColorDepthBox->setToolTip(tx::kColorDepthHint);
  column->addWidget(ColorDepthBox);

  SizeBox = new QComboBox(box);
  SizeBox->setObjectName("SizeBox");
  for (const char* text : tx::kSizes) SizeBox->addItem(text);
  SizeBox->setToolTip(tx::kSizeHint);
  column->addWidget(SizeBox);
  column->addStretch();
  return box;
}

QWidget* TEditForm1::BuildSliders() {
  auto* box = new QWidget(this);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(2);
  for (int i = 0; i < kSliderCount; ++i) {
    auto* value = new QLabel(box);
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setFixedWidth(value->fontMetrics().horizontalAdvance("-8888") + 6);
    auto* slider = new QSlider(Qt::Horizontal, box);
    slider->setObjectName(QString("Slider_%1").arg(tx::kSliders[i]));
    slider->setRange(kSliderRanges[i].min, kSliderRanges[i].max);
    slider->setSingleStep(1);
    slider->setPageStep(10);
    slider->setMinimumWidth(180);
    grid->addWidget(value, i, 0);
    grid->addWidget(slider, i, 1);
    grid->addWidget(new QLabel(tx::kSliders[i], box), i, 2);
    if (i >= slRed && i <= slBlue) {
      auto* lock = new QCheckBox(box);
      lock->setToolTip(tx::kLockHint);
      lock->setObjectName(QString("Lock_%1").arg(tx::kSliders[i]));
      grid->addWidget(lock, i, 3);
      Locks[std::size_t(i - slRed)] = lock;
    }
    Sliders[std::size_t(i)] = slider;
    SliderValues[std::size_t(i)] = value;
  }
  return box;
}

QWidget* TEditForm1::BuildColors() {
  auto* box = new QWidget(this);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  for (int i = 0; i < kBoxCount; ++i) ColorBoxes[std::size_t(i)] = new TColorBox(i, kBlack, box);
  SubstituteColors = new QCheckBox(tx::kSubstituteColors, box);
  row->addWidget(SubstituteColors);
  row->addWidget(ColorBoxes[bxSubstitute1]);
  row->addWidget(ColorBoxes[bxSubstitute2]);
  row->addSpacing(12);
  SwapColors = new QCheckBox(tx::kSwapColors, box);
  row->addWidget(SwapColors);
  row->addWidget(ColorBoxes[bxSwap1]);
  row->addWidget(ColorBoxes[bxSwap2]);
  row->addSpacing(12);
  row->addWidget(ColorBoxes[bxFrame]);
  row->addWidget(new QLabel(tx::kFrameColor, box));
  row->addSpacing(6);
  auto* size_label = new QLabel(tx::kFrameSize, box);
  FrameSize = new QSpinBox(box);
  FrameSize->setObjectName("FrameSize");
  FrameSize->setRange(0, kFrameSizeMax);
  // Stepped with the arrows only, so every value is a finished choice.
  if (auto* text = FrameSize->findChild<QLineEdit*>()) text->setReadOnly(true);
  FrameSize->installEventFilter(this);
  size_label->setBuddy(FrameSize);
  row->addWidget(size_label);
  row->addWidget(FrameSize);
  row->addStretch();
  return box;
}

QWidget* TEditForm1::BuildSize() {
  auto* box = new QWidget(this);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  auto field = [box](const char* name) {
    auto* edit = new QLineEdit(box);
    edit->setObjectName(name);
    edit->setMaxLength(4);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,4}"), edit));
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("88888") + 12);
    return edit;
  };
  WidthEdit = field("WidthEdit");
  HeightEdit = field("HeightEdit");
  row->addWidget(new QLabel(tx::kWidth, box));
  row->addWidget(WidthEdit);
  row->addWidget(new QLabel(tx::kHeight, box));
  row->addWidget(HeightEdit);
  ChangeButton = new QPushButton(tx::kChange, box);
  ChangeButton->setAutoDefault(false);
  row->addWidget(ChangeButton);
  Proportional = new QCheckBox(tx::kProportional, box);
  Proportional->setChecked(true);
  row->addWidget(Proportional);
  row->addStretch();
  return box;
}

QWidget* TEditForm1::BuildButtons() {
  auto* box = new QWidget(this);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  auto button = [this, box, row](const char* text) {
    auto* b = new QPushButton(text, box);
    b->setAutoDefault(false);
    row->addWidget(b);
    return b;
  };
  SharpenMore = button(tx::kSharpenMore);
  BlurMore = button(tx::kBlurMore);
  AdvancedEditor = button(tx::kAdvancedEditor);
  row->addStretch();
  SaveAsDefault = button(tx::kSaveAsDefault);
  ResetButton = button(tx::kReset);
  CloseButton = button(tx::kClose);
  // Enter closes the window, as Escape does.
  CloseButton->setDefault(true);
  return box;
}

}  // namespace vistrel
