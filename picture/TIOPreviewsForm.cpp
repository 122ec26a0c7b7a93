#include "picture/TIOPreviewsForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "imaging/formats/color_layout.h"
#include "imaging/formats/picture_file.h"
#include "picture/TPictureView.h"

namespace vistrel {
namespace {

struct TColorChoice {
  const char* text;
  int bits;
  int samples;
};

constexpr TColorChoice kColorChoices[] = {
    {"B/W", 1, 1},  {"2", 1, 1},   {"4", 2, 1},   {"8", 3, 1},     {"16", 4, 1},
    {"32", 5, 1},   {"64", 6, 1},  {"128", 7, 1}, {"256", 8, 1},   {"65536", 5, 3},
    {"16M", 8, 3},  {"16777216", 8, 3},           {"16M (32bit)", 8, 4},
};

QComboBox* Choice(const QStringList& items, int selected) {
  auto* box = new QComboBox;
  box->addItems(items);
  box->setCurrentIndex(std::clamp(selected, 0, int(items.size()) - 1));
  return box;
}

// The extension the preview file is written with.
const char* PageExtension(const std::string& page) {
  if (page == "JPEG") return "jpg";
  if (page == "TIFF") return "tif";
  if (page == "GIF") return "gif";
  if (page == "BMP") return "bmp";
  if (page == "PCX") return "pcx";
  if (page == "PNG") return "png";
  if (page == "JPEG2000") return "jp2";
  return "";
}

QString ByteCount(qint64 bytes) { return QLocale().toString(bytes) + " bytes"; }

// A view that shows a picture 1:1 and takes no mouse selections.
TPictureView* PreviewView(const QString& name) {
  auto* view = new TPictureView;
  view->setObjectName(name);
  view->SetMouseInteract({});
  view->setMinimumSize(240, 200);
  return view;
}

}  // namespace

std::string SaveOptionsPage(const std::string& extension) {
  if (extension == "jpg" || extension == "jpeg" || extension == "jpe") return "JPEG";
  if (extension == "tif" || extension == "tiff") return "TIFF";
  if (extension == "gif") return "GIF";
  if (extension == "bmp") return "BMP";
  if (extension == "pcx") return "PCX";
  if (extension == "png") return "PNG";
  if (extension == "jp2") return "JPEG2000";
  return {};
}

std::pair<int, int> ColorChoiceSamples(const std::string& choice) {
  for (const TColorChoice& c : kColorChoices)
    if (choice == c.text) return {c.bits, c.samples};
  return {0, 0};
}

TIOPreviewsForm::TIOPreviewsForm(const std::string& page, TIOParams& params,
                                 const TPictureBitmap& source, QWidget* parent)
    : QDialog(parent), page_(page), params_(params), edited_(params) {
  setObjectName("IOPreviewsForm");
  setWindowTitle("Parameters preview");
  auto* group = new QGroupBox(QString::fromStdString(page), this);
  group->setObjectName("Page");
  auto* form = new QFormLayout(group);

  auto watch = [this](QComboBox* box) {
    connect(box, &QComboBox::currentIndexChanged, this, &TIOPreviewsForm::ControlChanged);
  };
  // The colour choice that matches the set's bits and samples is selected.
  auto add_colors = [&](const char* label, const QStringList& items) {
    int selected = int(items.size()) - 1;
    for (int i = 0; i < items.size(); ++i)
      if (ColorChoiceSamples(items[i].toStdString()) ==
          std::pair{edited_.bits_per_sample, edited_.samples_per_pixel})
        selected = i;
    QComboBox* box = Choice(items, selected);
    box->setObjectName("Colors");
    form->addRow(label, box);
    watch(box);
    // A colour depth the user picked is theirs, even where it equals the
    // one the file was read with: the writer then keeps to it.
    connect(box, &QComboBox::activated, box, [box] { box->setProperty("chosen", true); });
    apply_.push_back([this, box] {
      const auto [bits, samples] = ColorChoiceSamples(box->currentText().toStdString());
      edited_.bits_per_sample = bits;
      edited_.samples_per_pixel = samples;
      if (box->property("chosen").toBool()) NoteColorChoice(edited_, "colors");
    });
  };
  auto add_rle = [&](bool& rle) {
    QComboBox* box = Choice({"UNCOMPRESSED", "RLE"}, rle ? 1 : 0);
    box->setObjectName("Compression");
    form->addRow("&Compression:", box);
    watch(box);
    apply_.push_back([box, &rle] { rle = box->currentIndex() == 1; });
  };

  if (page == "JPEG") {
    auto* row = new QHBoxLayout;
    auto* slider = new QSlider(Qt::Horizontal);
    auto* number = new QSpinBox;
    number->setObjectName("Quality");
    slider->setRange(0, 100);
    number->setRange(0, 100);
    connect(slider, &QSlider::valueChanged, number, &QSpinBox::setValue);
    connect(number, &QSpinBox::valueChanged, slider, &QSlider::setValue);
    number->setValue(edited_.jpeg_quality);
    connect(number, &QSpinBox::valueChanged, this, &TIOPreviewsForm::ControlChanged);
    row->addWidget(slider);
    row->addWidget(number);
    auto* label = new QLabel("&Quality:");
    label->setBuddy(number);
    form->addRow(label, row);
    apply_.push_back([this, number] { edited_.jpeg_quality = number->value(); });
  } else if (page == "TIFF") {
    QComboBox* box = Choice({"UNCOMPRESSED", "CCITT1D", "G3FAX1D", "G3FAX2D", "G4FAX", "LZW",
                             "JPEG", "PACKBITS"},
                            int(edited_.tiff_compression));
    box->setObjectName("Compression");
    form->addRow("&Compression:", box);
    watch(box);
    apply_.push_back(
        [this, box] { edited_.tiff_compression = TTiffCompression(box->currentIndex()); });
    add_colors("C&olors:", {"2", "16", "256", "65536", "16777216"});
  } else if (page == "GIF") {
    add_colors("&Colors:", {"B/W", "4", "8", "16", "32", "64", "128", "256"});
  } else if (page == "BMP") {
    add_rle(edited_.bmp_rle);
    add_colors("C&olors:", {"B/W", "16", "256", "65536", "16M", "16M (32bit)"});
  } else if (page == "PCX") {
    add_rle(edited_.pcx_rle);
    add_colors("C&olors:", {"B/W", "16", "256", "16M"});
  } else if (page == "PNG") {
    add_colors("C&olors:", {"B/W", "256", "16M"});
  } else if (page == "JPEG2000") {
    auto* rate = new QSpinBox;
    rate->setObjectName("Rate");
    rate->setRange(0, 1000);
    rate->setValue(int(std::clamp(edited_.j2k_rate, 0.0, 1.0) * 1000 + 0.5));
    connect(rate, &QSpinBox::valueChanged, this, &TIOPreviewsForm::ControlChanged);
    form->addRow("&Rate:", rate);
    QComboBox* box = Choice({"GrayScale", "RGB", "YCbCr"}, int(edited_.j2k_color_space));
    box->setObjectName("Photometric");
    form->addRow("P&hotometric:", box);
    watch(box);
    apply_.push_back([this, rate, box] {
      edited_.j2k_rate = rate->value() / 1000.0;
      edited_.j2k_color_space = TJ2kColorSpace(box->currentIndex());
    });
  }

  // The source and the result, scrolled together.
  source_view_ = PreviewView("SourceView");
  result_view_ = PreviewView("ResultView");
  source_view_->Picture() = source;
  source_view_->UpdateView();
  for (auto [from, to] : {std::pair{source_view_, result_view_}, {result_view_, source_view_}}) {
    connect(from->horizontalScrollBar(), &QScrollBar::valueChanged, to,
            &TPictureView::SetViewOriginX);
    connect(from->verticalScrollBar(), &QScrollBar::valueChanged, to,
            &TPictureView::SetViewOriginY);
  }
  auto* views = new QGridLayout;
  views->addWidget(source_view_, 0, 0);
  views->addWidget(result_view_, 0, 1);
  preview_error_ = new QLabel(this);
  preview_error_->setObjectName("PreviewError");
  preview_error_->setWordWrap(true);
  preview_error_->setStyleSheet("color: #a40000");
  views->addWidget(preview_error_, 1, 0, 1, 2);
  views->setColumnStretch(0, 1);
  views->setColumnStretch(1, 1);

  preview_button_ = new QPushButton("&Preview", this);
  preview_button_->setObjectName("PreviewButton");
  preview_button_->setEnabled(!source.Empty() && PageExtension(page)[0] != '\0');
  connect(preview_button_, &QPushButton::clicked, this, &TIOPreviewsForm::Preview);
  lock_preview_ = new QCheckBox("Lock Preview", this);
  lock_preview_->setObjectName("LockPreview");
  lock_preview_->setEnabled(preview_button_->isEnabled());
  connect(lock_preview_, &QCheckBox::toggled, this, &TIOPreviewsForm::ControlChanged);

  const qint64 raw_bytes =
      (qint64(source.Width()) * source.BitsPerPixel() + 7) / 8 * source.Height();
  original_size_ = new QLabel(ByteCount(raw_bytes), this);
  original_size_->setObjectName("OriginalSize");
  compressed_size_ = new QLabel("-", this);
  compressed_size_->setObjectName("CompressedSize");
  auto* sizes = new QFormLayout;
  sizes->addRow("Original size:", original_size_);
  sizes->addRow("Compressed size:", compressed_size_);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("Progress");
  progress_->setRange(0, 100);
  progress_->setValue(0);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TIOPreviewsForm::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TIOPreviewsForm::reject);

  auto* side = new QVBoxLayout;
  side->addWidget(group);
  side->addWidget(preview_button_);
  side->addWidget(lock_preview_);
  side->addLayout(sizes);
  side->addStretch();
  auto* top = new QHBoxLayout;
  top->addLayout(side);
  top->addLayout(views, 1);
  auto* column = new QVBoxLayout(this);
  column->addLayout(top, 1);
  column->addWidget(progress_);
  column->addWidget(buttons);
}

void TIOPreviewsForm::ApplyControls() {
  for (const auto& apply : apply_) apply();
}

void TIOPreviewsForm::ControlChanged() {
  if (lock_preview_ && lock_preview_->isChecked()) Preview();
}

void TIOPreviewsForm::Preview() {
  if (!preview_button_->isEnabled()) return;
  ApplyControls();
  progress_->setValue(0);
  QTemporaryDir folder;
  if (!folder.isValid()) {
    ShowPreviewError("No temporary folder for the preview: " + folder.errorString());
    return;
  }
  const QString path = folder.filePath(QString("preview.") + PageExtension(page_));
  TPictureBitmap result;
  try {
    SavePictureFile(path.toStdString(), source_view_->Picture(), edited_);
    progress_->setValue(50);
    compressed_size_->setText(ByteCount(QFileInfo(path).size()));
    TIOParams read_back = edited_;
    LoadPictureFile(path.toStdString(), result, read_back);
  } catch (const std::exception& e) {
    ShowPreviewError(QString::fromStdString(e.what()));
    return;
  }
  preview_error_->clear();
  result_view_->Picture() = std::move(result);
  result_view_->UpdateView();
  result_view_->SetViewOrigin(source_view_->ViewOriginX(), source_view_->ViewOriginY());
  progress_->setValue(100);
}

void TIOPreviewsForm::ShowPreviewError(const QString& text) {
  result_view_->Picture() = TPictureBitmap();
  result_view_->UpdateView();
  compressed_size_->setText("-");
  preview_error_->setText(text);
  progress_->setValue(0);
}

void TIOPreviewsForm::accept() {
  ApplyControls();
  params_ = edited_;
  QDialog::accept();
}

}  // namespace vistrel
