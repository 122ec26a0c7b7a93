#include "picture/TOpenPictureDialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "imaging/formats/picture_file.h"
#include "picture/PictureViewImage.h"

namespace vistrel {
namespace {

constexpr int kPreviewSide = 180;
constexpr int kLargestSide = 4096;

struct TOpenTypeEntry {
  const char* text;
  const char* patterns;  // separated by ";"
};

constexpr TOpenTypeEntry kOpenTypeEntries[] = {
    {"All graphics",
     "*.jpg;*.jpe;*.jpeg;*.gif;*.tif;*.tiff;*.pcx;*.png;*.jpe;*.bmp;*.wmf;*.emf;*.ico;*.cur;*.jp2"},
    {"JPEG Bitmap (JPG;JPEG)", "*.jpg;*.jpeg;*jpe"},
    {"CompuServe Bitmap (GIF)", "*.gif"},
    {"TIFF Bitmap (TIF;TIFF)", "*.tif;*.tiff"},
    {"PaintBrush (PCX)", "*.pcx"},
    {"Portable Network Graphics (PNG)", "*.png"},
    {"Windows Bitmap (BMP)", "*.bmp"},
    {"OS/2 Bitmap (BMP)", "*.bmp"},
    {"Enhanced Windows Metafile (EMF)", "*.emf"},
    {"Windows Metafile (WMF)", "*.wmf"},
    {"Icon resource (ICO)", "*.ico"},
    {"Cursor Resource (CUR)", "*.cur"},
    {"JPEG2000 (JP2)", "*.jp2"},
};

const char* const kZoomChoices[] = {"Fit",  "25%",  "50%",  "75%",  "100%", "125%",
                                    "150%", "175%", "200%", "300%", "400%"};

QString FileSizeText(qint64 bytes) {
  if (bytes < 1024) return QString("%1 bytes").arg(bytes);
  return QString("%1 KB").arg((bytes + 512) / 1024);
}

}  // namespace

QStringList OpenPictureFilters() {
  QStringList filters;
  for (const TOpenTypeEntry& entry : kOpenTypeEntries)
    filters << QString("%1 (%2)").arg(entry.text, QString(entry.patterns).replace(';', ' '));
  return filters;
}

TOpenPictureDialog::TOpenPictureDialog(QWidget* parent) : QFileDialog(parent) {
  setObjectName("OpenPictureDialog1");
  setOption(QFileDialog::DontUseNativeDialog, true);
  setOption(QFileDialog::HideNameFilterDetails, true);
  setAcceptMode(QFileDialog::AcceptOpen);
  setFileMode(QFileDialog::ExistingFile);
  setWindowTitle("Load Picture");
  setNameFilters(OpenPictureFilters());
  setDefaultSuffix("PNG");
  setSizeGripEnabled(true);

  auto* panel = new QWidget(this);
  panel->setObjectName("PreviewPanel");
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  zoom_ = new QComboBox(panel);
  zoom_->setObjectName("PreviewZoom");
  for (const char* choice : kZoomChoices) zoom_->addItem(choice);
  auto* scroller = new QScrollArea(panel);
  scroller->setFixedSize(kPreviewSide + 4, kPreviewSide + 4);
  scroller->setAlignment(Qt::AlignCenter);
  preview_ = new QLabel;
  preview_->setObjectName("Preview");
  preview_->setAlignment(Qt::AlignCenter);
  scroller->setWidget(preview_);
  scroller->setWidgetResizable(false);
  preview_info_ = new QLabel(panel);
  preview_info_->setObjectName("PreviewInfo");
  preview_info_->setAlignment(Qt::AlignCenter);
  preview_info_->setWordWrap(true);
  column->addWidget(zoom_);
  column->addWidget(scroller);
  column->addWidget(preview_info_);
  column->addStretch();
  if (auto* grid = qobject_cast<QGridLayout*>(layout()))
    grid->addWidget(panel, 0, grid->columnCount(), grid->rowCount(), 1);

  connect(this, &QFileDialog::currentChanged, this, &TOpenPictureDialog::PreviewFile);
  connect(zoom_, &QComboBox::currentIndexChanged, this, &TOpenPictureDialog::ShowPreview);
}

void TOpenPictureDialog::PreviewFile(const QString& path) {
  picture_.Clear();
  preview_info_->clear();
  const QFileInfo info(path);
  if (info.isFile() && CanLoadPictureFile(path.toStdString())) {
    try {
      TIOParams params;
      LoadPictureFile(path.toStdString(), picture_, params);
      preview_info_->setText(QString("%1 x %2 pixels, %3 dpi, %4 bits, %5")
                                 .arg(picture_.Width())
                                 .arg(picture_.Height())
                                 .arg(picture_.DpiX())
                                 .arg(picture_.BitsPerPixel())
                                 .arg(FileSizeText(info.size())));
    } catch (const std::exception& e) {
      picture_.Clear();
      preview_info_->setText(QString::fromUtf8(e.what()));
    }
  }
  ShowPreview();
}

void TOpenPictureDialog::ShowPreview() {
  if (picture_.Empty()) {
    preview_->clear();
    preview_->resize(kPreviewSide, kPreviewSide);
    return;
  }
  const QImage image = WrapPicture(picture_);
  QImage shown;
  if (zoom_->currentIndex() <= 0) {
    shown = image.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  } else {
    double factor = QString(kZoomChoices[zoom_->currentIndex()]).chopped(1).toDouble() / 100.0;
    // A large picture zoomed up would not fit into memory: the preview
    // stops at kLargestSide.
    factor = std::min(factor, double(kLargestSide) / std::max(image.width(), image.height()));
    const QSize size(std::max(1, int(image.width() * factor)), std::max(1, int(image.height() * factor)));
    shown = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  preview_->setPixmap(QPixmap::fromImage(shown));
  preview_->resize(shown.size());
}

}  // namespace vistrel
