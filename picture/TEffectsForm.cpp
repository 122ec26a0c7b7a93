#include "picture/TEffectsForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "commands/message_boxes.h"
#include "imaging/operations/effect_result.h"
#include "imaging/operations/resample.h"
#include "picture/PictureViewImage.h"
#include "picture/effect_pages.h"

namespace vistrel {

namespace {

constexpr int kPreviewWidth = 240, kPreviewHeight = 180;
constexpr int kHsvPage = 1, kUserFilterPage = 4, kEqualizationPage = 5;
constexpr int kHistogramWidth = 256, kHistogramHeight = 80;

// A copy that fits the preview boxes.
TPictureBitmap Reduced(const TPictureBitmap& source) {
  const double scale = std::min(
      {1.0, double(kPreviewWidth) / source.Width(), double(kPreviewHeight) / source.Height()});
  if (scale >= 1.0) return source;
  TProgress none;
  return ResamplePicture(source, std::max(1, int(source.Width() * scale)),
                         std::max(1, int(source.Height() * scale)), TResampleFilter::rfTriangle,
                         none);
}

const struct {
  const char* name;
  TUserFilter filter;
} kUserFilterPresets[] = {
    {"Identity", {}},
    {"Sharpen", {{-1, 0, -1, 0, 20, 0, -1, 0, -1}, 16}},
    {"Blur", {{1, 1, 1, 1, 1, 1, 1, 1, 1}, 9}},
    {"Emboss", {{-1, 0, 1, -1, 1, 1, -1, 0, 1}, 1}},
    {"Edges", {{-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1}},
};

int ValueOf(const QWidget* input) {
  if (auto* spin = qobject_cast<const QSpinBox*>(input)) return spin->value();
  if (auto* check = qobject_cast<const QCheckBox*>(input)) return check->isChecked() ? 1 : 0;
  if (auto* combo = qobject_cast<const QComboBox*>(input)) return combo->currentIndex();
  return 0;
}

}  // namespace

TEffectsForm::TEffectsForm(const TPictureBitmap& source, QWidget* parent)
    : QDialog(parent), source_(source), reduced_(Reduced(source)) {
  setObjectName("EffectsForm");
  setWindowTitle("Previews");
  setModal(true);
  // Over a window that stays on top (the standard editing window) it must
  // stay on top too, or it opens beneath it.
  if (parent && (parent->window()->windowFlags() & Qt::WindowStaysOnTopHint))
    setWindowFlag(Qt::WindowStaysOnTopHint);

  Pages = new QTabWidget(this);
  Pages->setObjectName("Pages");
  Pages->setUsesScrollButtons(true);
  const auto pages = EffectPages();
  for (int i = 0; i < int(pages.size()); ++i)
    Pages->addTab(BuildPage(i), pages[std::size_t(i)].title);
  Pages->setMinimumWidth(460);
  connect(Pages, &QTabWidget::currentChanged, this, &TEffectsForm::ControlChanged);

  source_view_ = new QLabel(this);
  result_view_ = new QLabel(this);
  for (QLabel* view : {source_view_, result_view_}) {
    view->setFixedSize(kPreviewWidth + 2, kPreviewHeight + 2);
    view->setAlignment(Qt::AlignCenter);
    view->setFrameShape(QFrame::StyledPanel);
  }
  auto* previews = new QVBoxLayout;
  previews->addWidget(new QLabel("Source:", this));
  previews->addWidget(source_view_);
  previews->addWidget(new QLabel("Result:", this));
  previews->addWidget(result_view_);
  previews->addStretch();

  OKButton = new QPushButton("OK", this);
  CancelButton = new QPushButton("Cancel", this);
  PreviewButton = new QPushButton("&Preview", this);
  LockPreview = new QCheckBox("Lock Preview", this);
  OKButton->setDefault(true);
  for (QPushButton* b : {CancelButton, PreviewButton}) b->setAutoDefault(false);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(PreviewButton, &QPushButton::clicked, this, &TEffectsForm::Preview);
  connect(LockPreview, &QCheckBox::toggled, this, &TEffectsForm::ControlChanged);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(LockPreview);
  buttons->addStretch();
  for (QPushButton* b : {PreviewButton, OKButton, CancelButton}) buttons->addWidget(b);

  auto* top = new QHBoxLayout;
  top->addWidget(Pages, 1);
  top->addLayout(previews);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);

  ShowPicture(source_view_, reduced_);
  ShowSwatchesAndHistogram();
  preview_ = reduced_;
  ShowPicture(result_view_, preview_);
}

QWidget* TEffectsForm::BuildPage(int index) {
  const TEffectPage& page = EffectPages()[std::size_t(index)];
  auto* widget = new QWidget;
  auto* form = new QFormLayout(widget);
  std::vector<QWidget*> inputs;
  QGridLayout* kernel = nullptr;
  for (const TEffectControl& control : page.controls) {
    QWidget* input = nullptr;
    switch (control.kind) {
      case TEffectControl::Slider: {
        auto* slider = new QSlider(Qt::Horizontal, widget);
        auto* box = new QSpinBox(widget);
        slider->setRange(control.min, control.max);
        box->setRange(control.min, control.max);
        slider->setValue(control.neutral);
        box->setValue(control.neutral);
        connect(slider, &QSlider::valueChanged, box, &QSpinBox::setValue);
        connect(box, &QSpinBox::valueChanged, slider, &QSlider::setValue);
        connect(box, &QSpinBox::valueChanged, this, &TEffectsForm::ControlChanged);
        auto* row = new QHBoxLayout;
        row->addWidget(slider, 1);
        row->addWidget(box);
        form->addRow(control.caption, row);
        input = box;
        break;
      }
      case TEffectControl::Number: {
        auto* box = new QSpinBox(widget);
        box->setRange(control.min, control.max);
        box->setValue(control.neutral);
        connect(box, &QSpinBox::valueChanged, this, &TEffectsForm::ControlChanged);
        if (*control.caption) {
          form->addRow(control.caption, box);
        } else {
          // The 3 x 3 kernel cells, top row first.
          if (!kernel) {
            kernel = new QGridLayout;
            form->addRow("Filter", kernel);
          }
          const int cell = int(inputs.size());
          kernel->addWidget(box, cell / 3, cell % 3);
        }
        input = box;
        break;
      }
      case TEffectControl::Check: {
        auto* check = new QCheckBox(control.caption, widget);
        check->setChecked(control.neutral != 0);
        connect(check, &QCheckBox::toggled, this, &TEffectsForm::ControlChanged);
        form->addRow(check);
        input = check;
        break;
      }
      case TEffectControl::Choice: {
        auto* combo = new QComboBox(widget);
        for (const char* item : control.choices) combo->addItem(item);
        combo->setCurrentIndex(control.neutral);
        connect(combo, &QComboBox::currentIndexChanged, this, &TEffectsForm::ControlChanged);
        form->addRow(control.caption, combo);
        input = combo;
        break;
      }
    }
    inputs.push_back(input);
  }
  if (index == kUserFilterPage) form->addRow(UserFilterButtons());
  if (index == kHsvPage) {
    base_color_ = new QLabel(widget);
    new_color_ = new QLabel(widget);
    for (QLabel* swatch : {base_color_, new_color_}) swatch->setFixedSize(60, 24);
    form->addRow("Base color", base_color_);
    form->addRow("New color", new_color_);
  }
  if (index == kEqualizationPage) {
    histogram_ = new QLabel(widget);
    histogram_->setFixedSize(kHistogramWidth, kHistogramHeight);
    form->addRow(histogram_);
  }
  inputs_.push_back(std::move(inputs));
  return widget;
}

QWidget* TEffectsForm::UserFilterButtons() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* presets = new QComboBox(row);
  presets->setObjectName("UserFilterPresets");
  presets->addItem("Presets");
  for (const auto& preset : kUserFilterPresets) presets->addItem(preset.name);
  connect(presets, &QComboBox::activated, this, [this](int item) {
    if (item < 1) return;
    const TUserFilter& f = kUserFilterPresets[item - 1].filter;
    SetUserFilter({f.kernel.begin(), f.kernel.end()});
    SetValue(kUserFilterPage, 9, f.divisor);
  });
  auto* load = new QPushButton("Load ...", row);
  auto* save = new QPushButton("Save ...", row);
  for (QPushButton* b : {load, save}) b->setAutoDefault(false);
  connect(load, &QPushButton::clicked, this, &TEffectsForm::LoadUserFilter);
  connect(save, &QPushButton::clicked, this, &TEffectsForm::SaveUserFilter);
  layout->addWidget(presets, 1);
  layout->addWidget(load);
  layout->addWidget(save);
  return row;
}

void TEffectsForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Opens on "Contrast" with its first slider in the focus.
  Pages->setCurrentIndex(0);
  if (auto* slider = Pages->widget(0)->findChild<QSlider*>()) slider->setFocus();
}

int TEffectsForm::PageCount() const { return Pages->count(); }

std::vector<int> TEffectsForm::Values(int page) const {
  std::vector<int> values;
  for (const QWidget* input : inputs_.at(std::size_t(page))) values.push_back(ValueOf(input));
  return values;
}

void TEffectsForm::SetValue(int page, int control, int value) {
  QWidget* input = inputs_.at(std::size_t(page)).at(std::size_t(control));
  if (auto* spin = qobject_cast<QSpinBox*>(input)) spin->setValue(value);
  if (auto* check = qobject_cast<QCheckBox*>(input)) check->setChecked(value != 0);
  if (auto* combo = qobject_cast<QComboBox*>(input)) combo->setCurrentIndex(value);
}

void TEffectsForm::SetUserFilter(const std::vector<int>& values) {
  for (std::size_t i = 0; i < values.size() && i < 10; ++i)
    SetValue(kUserFilterPage, int(i), values[i]);
}

void TEffectsForm::ControlChanged() {
  ShowSwatchesAndHistogram();
  if (LockPreview->isChecked()) Preview();
}

void TEffectsForm::ShowSwatchesAndHistogram() {
  // HSV: a pure red and what the page's settings make of it.
  TPictureBitmap swatch(1, 1);
  swatch.SetPixel(0, 0, MakeColor(255, 0, 0));
  auto fill = [](QLabel* label, TColor c) {
    label->setStyleSheet(QString("background-color: rgb(%1,%2,%3); border: 1px solid gray;")
                             .arg(RedOf(c)).arg(GreenOf(c)).arg(BlueOf(c)));
  };
  fill(base_color_, swatch.Pixel(0, 0));
  TProgress none;
  EffectPages()[kHsvPage].apply(swatch, Values(kHsvPage), none);
  fill(new_color_, swatch.Pixel(0, 0));

  // Equalization: the histogram of the chosen channel of the source.
  const int channel = Values(kEqualizationPage).back();  // red, green, blue, grey
  std::array<std::int64_t, 256> counts{};
  for (int y = 0; y < reduced_.Height(); ++y)
    for (int x = 0; x < reduced_.Width(); ++x) {
      const TColor c = reduced_.Pixel(x, y);
      const int v = channel == 0   ? RedOf(c)
                    : channel == 1 ? GreenOf(c)
                    : channel == 2 ? BlueOf(c)
                                   : (RedOf(c) * 21 + GreenOf(c) * 71 + BlueOf(c) * 8) / 100;
      ++counts[std::size_t(v)];
    }
  const std::int64_t most =
      std::max<std::int64_t>(1, *std::max_element(counts.begin(), counts.end()));
  QImage image(kHistogramWidth, kHistogramHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  const QRgb bar = channel == 0   ? qRgb(200, 0, 0)
                   : channel == 1 ? qRgb(0, 160, 0)
                   : channel == 2 ? qRgb(0, 0, 200)
                                  : qRgb(90, 90, 90);
  for (int v = 0; v < 256; ++v) {
    const int height = int(counts[std::size_t(v)] * kHistogramHeight / most);
    for (int y = kHistogramHeight - height; y < kHistogramHeight; ++y) image.setPixel(v, y, bar);
  }
  histogram_->setPixmap(QPixmap::fromImage(image));
}

void TEffectsForm::Preview() {
  const int page = Pages->currentIndex();
  preview_ = reduced_;
  TProgress none;
  EffectPages()[std::size_t(page)].apply(preview_, Values(page), none);
  ShowPicture(result_view_, preview_);
}

TPictureBitmap TEffectsForm::Result() const {
  const int page = Pages->currentIndex();
  TPictureBitmap result = source_;
  TProgress none;
  EffectPages()[std::size_t(page)].apply(result, Values(page), none);
  return result;
}

std::string TEffectsForm::Caption() const {
  return EffectPages()[std::size_t(Pages->currentIndex())].title;
}

void TEffectsForm::ShowPicture(QLabel* label, const TPictureBitmap& picture) {
  if (picture.Empty()) {
    label->clear();
    return;
  }
  QPixmap pixmap = QPixmap::fromImage(PictureToImage(picture));
  if (pixmap.width() > kPreviewWidth || pixmap.height() > kPreviewHeight)
    pixmap = pixmap.scaled(kPreviewWidth, kPreviewHeight, Qt::KeepAspectRatio);
  label->setPixmap(pixmap);
}

void TEffectsForm::LoadUserFilter() {
  const QString path = QFileDialog::getOpenFileName(this, "Load User Filter", QString(),
                                                    "Filter (*.flt);;All files (*)");
  if (path.isEmpty()) return;
  QFile file(path);
  std::optional<TUserFilter> filter;
  if (file.open(QIODevice::ReadOnly)) filter = ParseUserFilter(file.read(1 << 16).toStdString());
  if (!filter) {
    ShowErrorBox(this, "The user filter \"" + path +
                           "\" cannot be read: it must hold nine filter values and a divisor.");
    return;
  }
  SetUserFilter({filter->kernel.begin(), filter->kernel.end()});
  SetValue(kUserFilterPage, 9, filter->divisor);
}

void TEffectsForm::SaveUserFilter() {
  const QString path = QFileDialog::getSaveFileName(this, "Save User Filter", QString(),
                                                    "Filter (*.flt);;All files (*)");
  if (path.isEmpty()) return;
  const std::vector<int> v = Values(kUserFilterPage);
  TUserFilter filter;
  for (std::size_t i = 0; i < 9; ++i) filter.kernel[i] = v[i];
  filter.divisor = v[9];
  QFile file(path);
  const QByteArray text = QByteArray::fromStdString(FormatUserFilter(filter));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() ||
      !file.flush())
    ShowErrorBox(this, "The user filter \"" + path + "\" cannot be written.");
}

}  // namespace vistrel
