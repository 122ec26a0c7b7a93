#include "picture/TSaveOptionsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

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

TSaveOptionsDialog::TSaveOptionsDialog(const std::string& page, TIOParams& params, QWidget* parent)
    : QDialog(parent), params_(params), edited_(params) {
  setObjectName("IOPreviewsForm");
  setWindowTitle("Parameters preview");
  auto* group = new QGroupBox(QString::fromStdString(page), this);
  group->setObjectName("Page");
  auto* form = new QFormLayout(group);

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
    apply_.push_back([this, box] {
      const auto [bits, samples] = ColorChoiceSamples(box->currentText().toStdString());
      edited_.bits_per_sample = bits;
      edited_.samples_per_pixel = samples;
    });
  };
  auto add_rle = [&](bool& rle) {
    QComboBox* box = Choice({"UNCOMPRESSED", "RLE"}, rle ? 1 : 0);
    box->setObjectName("Compression");
    form->addRow("&Compression:", box);
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
    row->addWidget(slider);
    row->addWidget(number);
    form->addRow("&Quality:", row);
    apply_.push_back([this, number] { edited_.jpeg_quality = number->value(); });
  } else if (page == "TIFF") {
    QComboBox* box = Choice({"UNCOMPRESSED", "CCITT1D", "G3FAX1D", "G3FAX2D", "G4FAX", "LZW",
                             "JPEG", "PACKBITS"},
                            int(edited_.tiff_compression));
    box->setObjectName("Compression");
    form->addRow("&Compression:", box);
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
    form->addRow("&Rate:", rate);
    QComboBox* box = Choice({"GrayScale", "RGB", "YCbCr"}, int(edited_.j2k_color_space));
    box->setObjectName("Photometric");
    form->addRow("P&hotometric:", box);
    apply_.push_back([this, rate, box] {
      edited_.j2k_rate = rate->value() / 1000.0;
      edited_.j2k_color_space = TJ2kColorSpace(box->currentIndex());
    });
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TSaveOptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TSaveOptionsDialog::reject);
  auto* column = new QVBoxLayout(this);
  column->addWidget(group);
  column->addWidget(buttons);
}

void TSaveOptionsDialog::accept() {
  for (const auto& apply : apply_) apply();
  params_ = edited_;
  QDialog::accept();
}

}  // namespace vistrel
