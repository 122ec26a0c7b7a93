#include "output/TDefaultsForm1.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "settings/file_naming.h"
#include "settings/picture_type_defaults.h"
#include "platform/qt/system_colors.h"
#include "platform/system_info.h"

namespace vistrel {

namespace {

// A number field that changes only through its arrows.
QSpinBox* ArrowField(int low, int high, int value) {
  auto* box = new QSpinBox;
  box->setRange(low, high);
  box->setValue(std::clamp(value, low, high));
  if (auto* edit = box->findChild<QLineEdit*>()) edit->setReadOnly(true);
  return box;
}

QColor ToQColor(std::int32_t stored) {
  const TRgb rgb = ResolveColor(stored, PaletteSystemColor);
  return QColor(rgb.r, rgb.g, rgb.b);
}

std::uint32_t MakeColorValue(const QColor& c) {
  return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}

}  // namespace

TDefaultsForm1::TDefaultsForm1(TrayOptions& tray, PictureWindowOptions& picture, QWidget* parent)
    : QDialog(parent), tray_(tray), picture_(picture) {
  setObjectName("DefaultsForm1");
  setWindowTitle("Save and Picture Type Defaults");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);

  auto* gif = new QGroupBox("GIF Defaults");
  auto* gif_grid = new QGridLayout(gif);
  Gif89 = new QRadioButton("Version GIF89a");
  Gif87 = new QRadioButton("Version GIF87a");
  (picture.DefGifVer89 ? Gif89 : Gif87)->setChecked(true);
  GifTransparent = new QCheckBox("Transparent");
  GifTransparent->setChecked(picture.DefGifTransp);
  GifBackground = ColorBox(picture.DefGifBColor);
  GifTransparentColor = ColorBox(picture.DefGifTColor);
  gif_grid->addWidget(Gif89, 0, 0);
  gif_grid->addWidget(Gif87, 1, 0);
  gif_grid->addWidget(GifTransparent, 2, 0);
  gif_grid->addWidget(GifBackground, 0, 1);
  gif_grid->addWidget(new QLabel("Background Color"), 0, 2);
  gif_grid->addWidget(GifTransparentColor, 1, 1);
  gif_grid->addWidget(new QLabel("Transparent Color"), 1, 2);

  auto* jpeg = new QGroupBox("JPEG Defaults");
  auto* jpeg_grid = new QGridLayout(jpeg);
  JpegOptimal = new QCheckBox("Optimal Compression");
  JpegOptimal->setChecked(picture.DefJpgOptimal);
  JpegQuality = ArrowField(0, 100, picture.DefJpgQuality);
  JpegSmoothing = ArrowField(0, 100, picture.DefJpgSmooth);
  jpeg_grid->addWidget(JpegOptimal, 0, 0, 1, 2);
  jpeg_grid->addWidget(JpegQuality, 1, 0);
  jpeg_grid->addWidget(new QLabel("Quality %"), 1, 1);
  jpeg_grid->addWidget(JpegSmoothing, 2, 0);
  jpeg_grid->addWidget(new QLabel("Smoothing %"), 2, 1);

  auto* png = new QGroupBox("PNG Defaults");
  auto* png_grid = new QGridLayout(png);
  PngCompression = ArrowField(0, 9, picture.DefPngComp);
  PngBackground = ColorBox(picture.DefPngBColor);
  png_grid->addWidget(PngCompression, 0, 0);
  png_grid->addWidget(new QLabel("( 0 - 9 )"), 0, 1);
  png_grid->addWidget(new QLabel("Compression"), 1, 0, 1, 2);
  png_grid->addWidget(PngBackground, 2, 0);
  png_grid->addWidget(new QLabel("Background Color"), 2, 1);

  auto* name = new QGroupBox("Picture File Name + Type");
  auto* name_grid = new QGridLayout(name);
  for (std::size_t i = 0; i < types_.size(); ++i) {
    types_[i] = new QRadioButton(kTypeCaptions[i]);
    types_[i]->setObjectName(QString("Type_%1").arg(kTypeCaptions[i]));
    if (i < 8)
      name_grid->addWidget(types_[i], 0, int(i));
    else
      name_grid->addWidget(types_[i], 1, 0);
  }
  types_[4]->setChecked(true);  // PNG unless the stored type is one of the nine
  for (std::size_t i = 0; i < types_.size(); ++i)
    if (tray.AutoExtention == kTypeExtensions[i]) types_[i]->setChecked(true);
  BaseName = new QLineEdit(QString::fromStdString(tray.AutoFileName));
  BaseName->setObjectName("BaseName");
  BaseName->setMaxLength(kMaxBaseName);
  connect(BaseName, &QLineEdit::editingFinished, this, [this] {
    if (BaseName->text().isEmpty()) BaseName->setText("Picture");
  });
  AutoNumbering = new QCheckBox("Auto Numbering");
  AutoNumbering->setChecked(tray.AutoNumbering);
  name_grid->addWidget(BaseName, 2, 0, 1, 6);
  name_grid->addWidget(AutoNumbering, 2, 6, 1, 2);

  auto* folder = new QGroupBox("Folder to Save the Pictures");
  auto* folder_row = new QHBoxLayout(folder);
  Folder = new QLineEdit(QString::fromStdString(tray.AutoFolder));
  Folder->setObjectName("Folder");
  Folder->setReadOnly(true);
  auto* change = new QPushButton("Change");
  connect(change, &QPushButton::clicked, this, [this] {
    ChangeFolder(QFileDialog::getExistingDirectory(this, "Please select a Directory",
                                                   QString::fromStdString(tray_.AutoFolder),
                                                   QFileDialog::ShowDirsOnly));
  });
  folder_row->addWidget(Folder, 1);
  folder_row->addWidget(change);

  auto* defaults = new QPushButton("Default");
  defaults->setAutoDefault(false);
  auto* close = new QPushButton("&Close");
  close->setDefault(true);
  connect(defaults, &QPushButton::clicked, this, &TDefaultsForm1::Button1Click);
  connect(close, &QPushButton::clicked, this, &TDefaultsForm1::Button2Click);

  auto* top = new QHBoxLayout;
  top->addWidget(gif);
  top->addWidget(jpeg);
  top->addWidget(png);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(defaults);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(name);
  layout->addWidget(folder);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QPushButton* TDefaultsForm1::ColorBox(std::int32_t color) {
  auto* box = new QPushButton;
  box->setAutoDefault(false);
  box->setFixedSize(40, 22);
  SetColor(box, color);
  connect(box, &QPushButton::clicked, this, [this, box] {
    const QColor chosen = QColorDialog::getColor(ToQColor(ColorOf(box)), this);
    if (chosen.isValid()) SetColor(box, std::int32_t(MakeColorValue(chosen)));
  });
  return box;
}

void TDefaultsForm1::SetColor(QPushButton* box, std::int32_t color) {
  box->setProperty("storedColor", color);
  box->setStyleSheet(QString("background-color: %1; border: 1px solid black;")
                         .arg(ToQColor(color).name()));
}

std::int32_t TDefaultsForm1::ColorOf(const QPushButton* box) {
  return box->property("storedColor").toInt();
}

void TDefaultsForm1::Button1Click() {
  types_[4]->setChecked(true);
  BaseName->setText("Picture");
  Folder->setText(QString::fromStdString(PicturesFolder()));
  AutoNumbering->setChecked(true);
  Gif89->setChecked(true);
  GifTransparent->setChecked(false);
  SetColor(GifBackground, 0);
  SetColor(GifTransparentColor, 0);
  SetColor(PngBackground, 0);
  JpegOptimal->setChecked(false);
  JpegQuality->setValue(50);
  JpegSmoothing->setValue(0);
  PngCompression->setValue(5);
}

void TDefaultsForm1::Button2Click() {
  tray_.AutoFileName = BaseName->text().isEmpty() ? "Picture" : BaseName->text().toStdString();
  tray_.AutoFolder = Folder->text().toStdString();
  tray_.AutoNumbering = AutoNumbering->isChecked();
  picture_.DefGifBColor = ColorOf(GifBackground);
  picture_.DefGifTColor = ColorOf(GifTransparentColor);
  picture_.DefGifVer89 = Gif89->isChecked();
  picture_.DefGifTransp = GifTransparent->isChecked();
  picture_.DefJpgOptimal = JpegOptimal->isChecked();
  picture_.DefJpgQuality = JpegQuality->value();
  picture_.DefJpgSmooth = JpegSmoothing->value();
  picture_.DefPngComp = PngCompression->value();
  picture_.DefPngBColor = ColorOf(PngBackground);
  for (std::size_t i = 0; i < types_.size(); ++i)
    if (types_[i]->isChecked()) tray_.AutoExtention = kTypeExtensions[i];
  accept();
}

void TDefaultsForm1::ChangeFolder(const QString& chosen) {
  if (!chosen.isEmpty()) tray_.AutoFolder = chosen.left(260).toStdString();
  // Also after Cancel the folder gets its trailing separator.
  tray_.AutoFolder = WithTrailingSeparator(tray_.AutoFolder);
  Folder->setText(QString::fromStdString(tray_.AutoFolder));
}

void TDefaultsForm1::keyPressEvent(QKeyEvent* event) {
  // Escape presses "&Close", which stores, as Enter does.
  if (event->key() == Qt::Key_Escape) {
    Button2Click();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace vistrel
